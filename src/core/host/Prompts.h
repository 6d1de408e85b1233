#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

// Every modal question and message of the engine. The window answers with
// dialogs, the command-line tool from its options, tests from a script.
class Prompts {
 public:
  virtual ~Prompts() = default;

  // Select CD Drive, asked only when the machine has two or more drives.
  // Returns the chosen index, or nothing when dismissed without a choice.
  virtual std::optional<std::size_t> SelectDrive(const std::vector<std::string>& drivePaths) = 0;
  // Insert CDROM To Start Process: true for OK.
  virtual bool ConfirmInsertDisc() = 0;
  // An image file of that name exists: true to overwrite it.
  virtual bool ConfirmOverwrite(const std::string& path) = 0;
  // The error-message dialog with one of the program's codes.
  virtual void ShowError(int code) = 0;
  // The same for a failure about one path: detail names the path and the
  // system's reason ("cannot create /dest/a.txt: Read-only file system").
  virtual void ShowErrorDetail(int code, const std::string& detail) {
    static_cast<void>(detail);
    ShowError(code);
  }
  // A failure of the same kind as one shown before, about another path: the
  // window leaves it to the log instead of showing one dialog per file; the
  // command line names it.
  virtual void NoteErrorAgain(int code, const std::string& detail) {
    static_cast<void>(code);
    static_cast<void>(detail);
  }
  // The two-line notice of a type (2: the window cannot close now).
  virtual void ShowNotice(int type) = 0;
  // The recovery's destination lies on the medium being read: the two-line
  // notice of type 0, with the choice to go on (true) or cancel (false;
  // nothing is written). Where nobody can answer, the notice is given and the
  // recovery goes on.
  virtual bool ConfirmSameMedium() {
    ShowNotice(0);
    return true;
  }
  // A folder for recovered files; nothing when the user cancels.
  virtual std::optional<std::string> ChooseFolder(const std::u16string& title) = 0;
};

}  // namespace velmora
