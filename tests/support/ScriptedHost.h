#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/Prompts.h"
#include "host/ScanHost.h"
#include "log/MessageLog.h"

namespace velmora::testing {

// Answers every question from a script and records what was asked, so a test
// can check both what the engine did and what it asked the user.
class ScriptedPrompts : public Prompts {
 public:
  std::optional<std::size_t> driveAnswer;
  bool insertAnswer = true;
  bool overwriteAnswer = true;
  std::optional<std::string> folderAnswer;
  bool sameMediumAnswer = true;

  std::vector<std::string> asked;  // "SelectDrive", "InsertDisc", "Overwrite", ...
  std::vector<int> errors;
  std::vector<std::string> errorDetails;  // of the errors shown with a detail
  std::vector<int> notices;

  std::optional<std::size_t> SelectDrive(const std::vector<std::string>& drivePaths) override;
  bool ConfirmInsertDisc() override;
  bool ConfirmOverwrite(const std::string& path) override;
  void ShowError(int code) override;
  void ShowErrorDetail(int code, const std::string& detail) override;
  void ShowNotice(int type) override;
  // Recorded as notice 0, then answered from sameMediumAnswer.
  bool ConfirmSameMedium() override;
  std::optional<std::string> ChooseFolder(const std::u16string& title) override;
};

// A host that keeps the log and the progress texts, and can ask for a stop once
// a number of entries has been reported (as a user's Stop would arrive).
class ScriptedHost : public disc::ScanHost {
 public:
  ScriptedPrompts scriptedPrompts;
  log::MessageLog log;
  std::vector<std::u16string> progressTexts;
  // Each CountBytes: the bytes done and the whole.
  std::vector<std::pair<std::uint64_t, std::uint64_t>> bytesCounted;
  bool progressShown = false;
  std::size_t progressCreated = 0;
  // When set, PumpPendingMessages calls this (a test sets AppState.stopRequested there).
  std::function<void()> onPump;
  std::function<void()> onProgressCreated;

  Prompts& prompts() override { return scriptedPrompts; }
  void PumpPendingMessages() override {
    if (onPump) onPump();
  }
  void CreateReadingProgress(std::uint32_t) override {
    progressShown = true;
    ++progressCreated;
    if (onProgressCreated) onProgressCreated();
  }
  void StepProgress(std::u16string_view text) override { progressTexts.emplace_back(text); }
  void DeleteProgress() override { progressShown = false; }
  void CountBytes(std::uint64_t done, std::uint64_t total) override {
    bytesCounted.emplace_back(done, total);
  }
  void AddLogEntry(std::u16string_view activity, std::u16string_view text,
                   std::u16string_view status, log::LogIcon icon) override {
    log.Add(activity, text, status, icon);
  }
  // The statuses of the log rows, in order.
  std::vector<std::u16string> Statuses() const;
};

}  // namespace velmora::testing
