#pragma once

// What the window's benchmarks share: prompts that answer without a dialog,
// and the discs they read, written by xorriso.

#include <QString>
#include <QStringList>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/WindowPrompts.h"

namespace velmora::bench {

// Answers every question at once: the first drive, the disc is in, nothing
// is overwritten, no Stop; the choosers give output (cancelled while it is
// empty), Create Image's the plain image type.
class WindowBenchPrompts : public gui::WindowPrompts {
 public:
  std::optional<std::size_t> SelectDrive(const std::vector<std::string>&) override { return 0; }
  bool ConfirmInsertDisc() override { return true; }
  bool ConfirmOverwrite(const std::string&) override { return false; }
  void ShowError(int code) override { std::cerr << "error code " << code << "\n"; }
  void ShowNotice(int) override {}
  std::optional<std::string> ChooseFolder(const std::u16string&) override { return Output(); }
  bool ConfirmStop() override { return false; }
  std::optional<QString> ChooseSaveFile(gui::ChooserPurpose, const QString&, const QString&,
                                        const QString&) override {
    if (output.empty()) return {};
    return QString::fromStdString(output);
  }
  std::optional<SaveFileChoice> ChooseSaveFileOfType(gui::ChooserPurpose, const QString&,
                                                     const QStringList&, const QString&) override {
    if (output.empty()) return {};
    return SaveFileChoice{QString::fromStdString(output), 0};
  }
  std::optional<QString> ChooseOpenFile(gui::ChooserPurpose, const QString&,
                                        const QString&) override {
    return {};
  }
  bool ConfirmReplaceFile(const QString&) override { return false; }

  // The folder or file a run writes to.
  std::string output;

 private:
  std::optional<std::string> Output() const {
    if (output.empty()) return {};
    return output;
  }
};

// work/name, made once by xorriso (Rock Ridge, Joliet) from the tree
// writeTree writes; the program ends when xorriso fails.
inline std::filesystem::path MakeXorrisoImage(
    const std::filesystem::path& work, const std::string& name,
    const std::function<void(const std::filesystem::path&)>& writeTree) {
  namespace fs = std::filesystem;
  const fs::path image = work / name;
  if (fs::exists(image)) return image;
  const fs::path tree = work / (name + ".tree");
  fs::remove_all(tree);
  writeTree(tree);
  const std::string command = "xorriso -as mkisofs -quiet -J -R -o '" + image.string() + "' '" +
                              tree.string() + "' >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) {
    std::cerr << "xorriso failed\n";
    std::exit(1);
  }
  fs::remove_all(tree);
  return image;
}

}  // namespace velmora::bench
