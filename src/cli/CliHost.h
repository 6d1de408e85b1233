#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "CliPrompts.h"
#include "Console.h"
#include "LogOutput.h"
#include "ProgressMeter.h"
#include "host/AppState.h"
#include "host/ScanHost.h"
#include "log/MessageLog.h"

namespace velmora::cli {

// The scan's host on the command line: progress on the console, the message
// log written for --log, and Ctrl-C turned into a stop.
class CliHost final : public disc::ScanHost {
 public:
  CliHost(CliPrompts& prompts, Console& console, AppState& state, LogOutput& log)
      : prompts_(prompts), console_(console), state_(state), log_(log) {}

  // What the steps of the next process count, for the figures after the
  // engine's progress text; a scan's steps are not counted.
  void CountStepsAs(StepUnit unit) { meter_ = ProgressMeter(unit); }

  Prompts& prompts() override { return prompts_; }
  void PumpPendingMessages() override;
  void CreateReadingProgress(std::uint32_t range) override { meter_.Start(range); }
  void StepProgress(std::u16string_view text) override;
  void DeleteProgress() override { console_.ClearProgress(); }
  void AddLogEntry(std::u16string_view activity, std::u16string_view text,
                   std::u16string_view status, log::LogIcon icon) override {
    log_.Add({std::u16string(activity), std::u16string(text), std::u16string(status), icon});
  }

  // The engine's last progress text with its figures, drawn or not: at the end
  // of a scan, the number of entries found.
  std::string LastProgress() const;

  // True once Ctrl-C stopped the process.
  bool stopped() const { return stopped_; }

 private:
  CliPrompts& prompts_;
  Console& console_;
  AppState& state_;
  LogOutput& log_;
  ProgressMeter meter_{StepUnit::kUncounted};
  std::u16string lastText_;
  bool stopped_ = false;
};

}  // namespace velmora::cli
