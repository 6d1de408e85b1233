#include "app/DialogPrompts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <algorithm>

#include "app/DriveDialogs.h"
#include "app/MessageDialogs.h"

namespace velmora::gui {

std::optional<std::size_t> DialogPrompts::SelectDrive(const std::vector<std::string>& drivePaths) {
  CSelectDriveDlg dialog(drivePaths, parent_);
  dialog.exec();
  return dialog.choice();
}

bool DialogPrompts::ConfirmInsertDisc() {
  CInsertDiscDlg dialog(parent_);
  return dialog.exec() == QDialog::Accepted;
}

bool DialogPrompts::ConfirmOverwrite(const std::string& /*path*/) {
  COverwriteImageDlg dialog(parent_);
  return dialog.exec() == QDialog::Accepted;
}

void DialogPrompts::ShowError(int code) {
  CErrorMessageDialog dialog(code, parent_);
  dialog.exec();
}

void DialogPrompts::ShowErrorDetail(int code, const std::string& detail) {
  CErrorMessageDialog dialog(code, QString::fromLocal8Bit(detail), parent_);
  dialog.exec();
}

void DialogPrompts::ShowNotice(int type) {
  CTwoLineInfoDialog dialog(type, parent_);
  dialog.exec();
}

std::optional<std::string> DialogPrompts::ChooseFolder(const std::u16string& title) {
  // The engine asks for a folder only for the recovered files.
  const QString folder = QFileDialog::getExistingDirectory(
      parent_, QString::fromStdU16String(title), ChooserStartFolder(ChooserPurpose::kDestination));
  if (folder.isEmpty()) return std::nullopt;
  RememberChosen(ChooserPurpose::kDestination, folder, true);
  return QFile::encodeName(folder).toStdString();
}

bool DialogPrompts::ConfirmSameMedium() {
  CTwoLineInfoDialog dialog(0, parent_);
  return dialog.exec() == QDialog::Accepted;
}

bool DialogPrompts::ConfirmStop() { return CStopConfirmDialog::Ask(parent_); }

std::optional<QString> DialogPrompts::ChooseSaveFile(ChooserPurpose purpose, const QString& title,
                                                     const QString& filter,
                                                     const QString& suggestedName) {
  // The suggested name in the folder last used for this purpose, never in
  // the folder the program happened to be started from.
  const QString start = QDir(ChooserStartFolder(purpose)).filePath(suggestedName);
  // The program asks its own question before a file is replaced.
  const QString path = QFileDialog::getSaveFileName(parent_, title, start, filter, nullptr,
                                                    QFileDialog::DontConfirmOverwrite);
  if (path.isEmpty()) return std::nullopt;
  RememberChosen(purpose, path, false);
  return path;
}

std::optional<WindowPrompts::SaveFileChoice> DialogPrompts::ChooseSaveFileOfType(
    ChooserPurpose purpose, const QString& title, const QStringList& types,
    const QString& suggestedName) {
  QString chosen = types.value(0);
  const QString start = QDir(ChooserStartFolder(purpose)).filePath(suggestedName);
  const QString path = QFileDialog::getSaveFileName(parent_, title, start,
                                                    types.join(QStringLiteral(";;")), &chosen,
                                                    QFileDialog::DontConfirmOverwrite);
  if (path.isEmpty()) return std::nullopt;
  RememberChosen(purpose, path, false);
  return SaveFileChoice{path, std::max(0, static_cast<int>(types.indexOf(chosen)))};
}

std::optional<QString> DialogPrompts::ChooseOpenFile(ChooserPurpose purpose, const QString& title,
                                                     const QString& filter) {
  const QString path =
      QFileDialog::getOpenFileName(parent_, title, ChooserStartFolder(purpose), filter);
  if (path.isEmpty()) return std::nullopt;
  RememberChosen(purpose, path, false);
  return path;
}

bool DialogPrompts::ConfirmReplaceFile(const QString& path) {
  const QString question =
      QCoreApplication::translate("DialogPrompts", "%1 already exists.\nDo you want to replace it?")
          .arg(QDir::toNativeSeparators(path));
  return QMessageBox::question(parent_, ProductCaption(), question,
                               QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace velmora::gui
