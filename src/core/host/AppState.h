#pragma once

#include <cstdint>

#include "iso9660/NameSource.h"

namespace velmora {

// The application-state flags, shared by the engine and the window. The window
// turns them into command availability; the engine sets and clears them as its
// processes start and end.
struct AppState {
  // Application flags.
  bool processRunning = false;
  bool treeComplete = false;
  bool scanInProgress = false;
  bool findNextAvailable = false;
  bool lastFindMatched = false;
  bool allMarked = false;
  bool anyEntryMarked = false;
  bool markedTotalsNonZero = false;
  bool filterApplied = false;
  bool maskApplied = false;
  bool recoveryRunning = false;
  bool logHasEntries = false;
  bool selectionNotRoot = false;
  bool drivesKnown = false;
  bool readingImage = false;
  std::uint8_t driveChoice = 0;
  std::uint8_t pendingFilterCount = 0;

  // Main-frame flags.
  bool busy = false;
  bool stopRequested = false;
  bool imageCreationRunning = false;
  std::uint32_t stepsAfterStop = 0;
  bool recoveryFilterInclude = true;
  bool recoverAll = false;
  std::uint32_t openDriveCount = 0;

  // Settings of the scan. allNames: the Joliet tree shows also what only the
  // primary tree holds, under its primary name.
  bool allNames = false;
  // The names the next scan shows (View > Names, --names).
  disc::NameSource nameSource = disc::NameSource::kAuto;
};

}  // namespace velmora
