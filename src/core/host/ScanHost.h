#pragma once

#include <cstdint>
#include <string_view>

#include "host/Prompts.h"
#include "log/MessageLog.h"

namespace velmora::disc {

// What a long process needs from the program that runs it: the main window, the
// command-line tool, or a test.
class ScanHost {
 public:
  virtual ~ScanHost() = default;
  virtual Prompts& prompts() = 0;
  // Lets pending window messages (Stop, clicks, repaints) through; hosts
  // throttle it, as it is called after every entry.
  virtual void PumpPendingMessages() = 0;
  // The progress indicator with its "Reading.." label and a range of steps.
  virtual void CreateReadingProgress(std::uint32_t range) = 0;
  // Sets the progress text and advances the indicator by one step.
  virtual void StepProgress(std::u16string_view text) = 0;
  virtual void DeleteProgress() = 0;
  // The bytes a recovery has dealt with of all it will copy (the wanted files'
  // sizes), told from its start and then as it goes, many times a second.
  // Hosts that show bytes, a rate and a time left keep the figures.
  virtual void CountBytes(std::uint64_t /*done*/, std::uint64_t /*total*/) {}
  virtual void AddLogEntry(std::u16string_view activity, std::u16string_view text,
                           std::u16string_view status, log::LogIcon icon) = 0;
  // The folder tree: show Root selected and expanded (collapsed first when asked).
  virtual void ShowRoot(bool /*collapseFirst*/) {}
  // The folder tree: collapse every child of Root.
  virtual void CollapseTopLevel() {}
};

}  // namespace velmora::disc
