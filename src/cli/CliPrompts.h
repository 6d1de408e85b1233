#pragma once

#include <cstddef>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "CliOptions.h"
#include "Console.h"
#include "host/Prompts.h"

namespace velmora::cli {

// The engine's questions answered from the command line, and its messages
// written to standard error.
class CliPrompts final : public Prompts {
 public:
  CliPrompts(Console& console, const CliOptions& options);

  // --drive N, else the first drive.
  std::optional<std::size_t> SelectDrive(const std::vector<std::string>& drivePaths) override;
  // The disc is in the drive when the command runs.
  bool ConfirmInsertDisc() override { return true; }
  // image --overwrite replaces an existing image; nothing else does.
  bool ConfirmOverwrite(const std::string&) override { return overwrite_; }
  // recover's DEST; no other command saves files.
  std::optional<std::string> ChooseFolder(const std::u16string&) override { return folder_; }
  // Prints the message of each code once, and remembers the code.
  void ShowError(int code) override;
  // Prints detail in place of the code's message, every time: each names
  // another path.
  void ShowErrorDetail(int code, const std::string& detail) override;
  // Each file that fails is named on its own line, as the first one was.
  void NoteErrorAgain(int code, const std::string& detail) override {
    ShowErrorDetail(code, detail);
  }
  void ShowNotice(int type) override;

  bool ErrorShown(int code) const { return errors_.contains(code); }

 private:
  Console& console_;
  std::optional<std::size_t> drive_;
  bool overwrite_;
  std::optional<std::string> folder_;
  std::set<int> errors_;
};

}  // namespace velmora::cli
