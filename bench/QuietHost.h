#pragma once

// The host of a benchmark's engine run: every question has a fixed answer and
// nothing is shown, so that the figures are the engine's work alone.

#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "host/ScanHost.h"

namespace velmora::bench {

class QuietPrompts : public Prompts {
 public:
  // The folder that Recover answers with; nothing cancels the recovery.
  std::optional<std::string> destination;

  std::optional<std::size_t> SelectDrive(const std::vector<std::string>&) override { return 0; }
  bool ConfirmInsertDisc() override { return true; }
  // Every run writes to a fresh path: an existing file means a stale run.
  bool ConfirmOverwrite(const std::string&) override { return false; }
  void ShowError(int code) override { std::cerr << "engine error code " << code << "\n"; }
  void ShowNotice(int) override {}
  std::optional<std::string> ChooseFolder(const std::u16string&) override { return destination; }
};

class QuietHost : public disc::ScanHost {
 public:
  QuietPrompts& prompts() override { return prompts_; }
  void PumpPendingMessages() override {}
  void CreateReadingProgress(std::uint32_t) override {}
  void StepProgress(std::u16string_view) override {}
  void DeleteProgress() override {}
  void AddLogEntry(std::u16string_view, std::u16string_view, std::u16string_view,
                   log::LogIcon) override {}

 private:
  QuietPrompts prompts_;
};

}  // namespace velmora::bench
