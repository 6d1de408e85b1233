#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/WindowPrompts.h"

namespace velmora::testing {

// Answers the window's questions from a script and records what was asked, so
// that a test drives the real commands without a dialog on screen.
class ScriptedWindowPrompts final : public gui::WindowPrompts {
 public:
  // Answers, each used for every question of its kind until changed.
  bool insertDisc = true;
  bool overwrite = true;
  bool stop = true;
  bool replaceFile = true;
  bool sameMedium = true;
  std::optional<std::size_t> drive = 0;
  std::optional<std::string> folder;
  std::optional<QString> saveFile;
  int saveFileType = 0;  // the type ChooseSaveFileOfType answers with saveFile
  std::optional<QString> openFile;
  // Runs inside ConfirmStop, before it answers (a test's look at the window
  // while the process is still on the stack).
  std::function<void()> duringStop;

  // What was asked, in order: "insert", "stop", "error 5", "notice 2", ...
  QStringList asked;
  std::vector<int> errors;
  std::vector<std::string> errorDetails;  // of the errors shown with a detail line

  std::optional<std::size_t> SelectDrive(const std::vector<std::string>&) override {
    asked << QStringLiteral("select drive");
    return drive;
  }
  bool ConfirmInsertDisc() override {
    asked << QStringLiteral("insert");
    return insertDisc;
  }
  bool ConfirmOverwrite(const std::string&) override {
    asked << QStringLiteral("overwrite");
    return overwrite;
  }
  void ShowError(int code) override {
    asked << QStringLiteral("error %1").arg(code);
    errors.push_back(code);
  }
  void ShowErrorDetail(int code, const std::string& detail) override {
    ShowError(code);
    errorDetails.push_back(detail);
  }
  void ShowNotice(int type) override { asked << QStringLiteral("notice %1").arg(type); }
  bool ConfirmSameMedium() override {
    asked << QStringLiteral("same medium");
    return sameMedium;
  }
  std::optional<std::string> ChooseFolder(const std::u16string&) override {
    asked << QStringLiteral("folder");
    return folder;
  }
  bool ConfirmStop() override {
    asked << QStringLiteral("stop");
    if (duringStop) duringStop();
    return stop;
  }
  std::optional<QString> ChooseSaveFile(gui::ChooserPurpose, const QString& title,
                                        const QString& filter, const QString& suggested) override {
    asked << QStringLiteral("save file: %1 | %2 | %3").arg(title, filter, suggested);
    return saveFile;
  }
  std::optional<SaveFileChoice> ChooseSaveFileOfType(gui::ChooserPurpose, const QString& title,
                                                     const QStringList& types,
                                                     const QString& suggested) override {
    asked << QStringLiteral("save file: %1 | %2 | %3")
                 .arg(title, types.join(QStringLiteral(";;")), suggested);
    if (!saveFile) return std::nullopt;
    return SaveFileChoice{*saveFile, saveFileType};
  }
  std::optional<QString> ChooseOpenFile(gui::ChooserPurpose, const QString& title,
                                        const QString& filter) override {
    asked << QStringLiteral("open file: %1 | %2").arg(title, filter);
    return openFile;
  }
  bool ConfirmReplaceFile(const QString&) override {
    asked << QStringLiteral("replace");
    return replaceFile;
  }
};

}  // namespace velmora::testing
