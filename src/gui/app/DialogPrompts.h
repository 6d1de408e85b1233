#pragma once

#include <QPointer>
#include <QWidget>

#include "app/WindowPrompts.h"

namespace velmora::gui {

// Answers every question with the program's own dialogs, shown modally over
// the main window.
class DialogPrompts final : public WindowPrompts {
 public:
  explicit DialogPrompts(QWidget* parent) : parent_(parent) {}

  std::optional<std::size_t> SelectDrive(const std::vector<std::string>& drivePaths) override;
  bool ConfirmInsertDisc() override;
  bool ConfirmOverwrite(const std::string& path) override;
  void ShowError(int code) override;
  void ShowErrorDetail(int code, const std::string& detail) override;
  void ShowNotice(int type) override;
  bool ConfirmSameMedium() override;
  std::optional<std::string> ChooseFolder(const std::u16string& title) override;
  bool ConfirmStop() override;
  std::optional<QString> ChooseSaveFile(ChooserPurpose purpose, const QString& title,
                                        const QString& filter,
                                        const QString& suggestedName) override;
  std::optional<SaveFileChoice> ChooseSaveFileOfType(ChooserPurpose purpose, const QString& title,
                                                     const QStringList& types,
                                                     const QString& suggestedName) override;
  std::optional<QString> ChooseOpenFile(ChooserPurpose purpose, const QString& title,
                                        const QString& filter) override;
  bool ConfirmReplaceFile(const QString& path) override;

 private:
  QPointer<QWidget> parent_;
};

}  // namespace velmora::gui
