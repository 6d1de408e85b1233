#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "disc/CCDReader.h"
#include "entries/EntryTable.h"
#include "host/AppState.h"
#include "host/RescueProgress.h"
#include "host/ScanHost.h"
#include "image/RescueCopier.h"
#include "scan/ScanProcess.h"

namespace velmora::disc {

struct RescueOptions {
  // Passes over what is still bad after scraping, alternating direction.
  std::uint32_t retries = 0;
  // SET CD SPEED for the retry passes, in multiples of 176 kB/s (1x).
  std::optional<std::uint32_t> speed;
  // Start anew over an earlier rescue's image and map instead of resuming.
  bool restart = false;
  // The command, as the map's heading names it.
  std::string commandLine = "velmora Create Image (Rescue)";
};

enum class RescueResult {
  kCompleted,  // every pass ran; what is still bad is in the map
  kStopped,    // a Stop: the image, its trailer and the map say how far it got
  kFailed,     // no disc, the image or map could not be made or written
  kCancelled,  // the user kept the existing file
  kOtherDisc,  // the image and map beside OUT (or OTHER) are of another disc
  kNotBegun,   // a Stop while the drive spun up: nothing was written
};

struct RescueOutcome {
  RescueResult result = RescueResult::kCancelled;
  std::string destination;
  std::string mapPath;
  bool resumed = false;
  RescueProgress last;  // the figures at the end
  std::uint64_t reads = 0;
  std::uint64_t failedReads = 0;
  std::string reason;  // for kFailed and kOtherDisc
  bool reasonShown = false;  // the host's prompts already showed it
};

// The sectors of the files of table that takes accepts (every file when
// takes is unset), the parts of a file of several extents included: ascending
// and joined.
std::vector<SectorArea> FileExtents(const EntryTable& table,
                                    const std::function<bool(const Entry&)>& takes = {});

// A rescue's pass and the bad areas it has found, in the current language,
// for a progress pane's label ("Pass 1 (copying): 3 bad areas"); the bytes,
// the rate and the time left are the pane's figures.
std::u16string RescueProgressText(const RescueProgress& progress);

// Chooses what the first pass rescues after the scan: the sectors of the
// chosen files (FileExtents). Unset: every file.
using RescueFileChooser = std::function<std::vector<SectorArea>(EntryTable&)>;

// The files marked in table (the window's ticks) for a rescue, which scans the
// disc again into an empty table: the first pass takes the files found at the
// same paths. Unset when no file is marked: every file then.
RescueFileChooser MarkedFilesChooser(const EntryTable& table);

// Create Image as a rescue tool makes it, into the same .cd image (block k
// sector k, 0xF6 where nothing read, the trailer last) with its map beside it:
//  - pass 0, what matters: the scan reads the volume descriptors, path tables
//    and folders through the rescue (RescueTap), then the chosen files'
//    extents are copied in ascending order;
//  - before pass 1 the drive's read retry count is set low (MODE SELECT of
//    the read-write error recovery page) and put back after scraping and at
//    every stop;
//  - pass 1 copies the rest with large reads, skipping past errors, then what
//    was skipped backwards, then sweeps what is left; pass 2 trims; pass 3
//    scrapes; then the retry passes, at --speed when given (SET CD SPEED);
//  - the gaps between sessions are never read nor counted;
//  - the trailer is written first and the map saved every few seconds and at
//    every stop; blocks not read hold 0xF6 once the rescue stops; the same
//    call resumes from the map without reading a read sector again.
class RescueImager {
 public:
  RescueImager(CCDReader& reader, AppState& state, EntryTable& table, ScanProcess& scan,
               ScanHost& host)
      : reader_(reader), state_(state), table_(table), scan_(scan), host_(host) {}

  void SetOptions(RescueOptions options) { options_ = std::move(options); }
  // Shown after every read, a few times a second, and at the end of each pass.
  void SetProgressShown(std::function<void(const RescueProgress&)> shown) {
    shown_ = std::move(shown);
  }

  RescueOutcome Rescue(const std::string& pathName, const RescueFileChooser& choose = {});
  // Fills what is still not read in the image OUT (and its map) from the disc
  // the reader holds: another image of the same disc, or a drive. The two
  // must agree on the primary volume descriptor and the track list.
  RescueOutcome Merge(const std::string& pathName);

 private:
  // False when the drive holds no disc or left (said), or a Stop came while it
  // spun up; the outcome says which.
  bool DriveReady(RescueOutcome& outcome);

  RescueOptions options_;
  std::function<void(const RescueProgress&)> shown_;
  CCDReader& reader_;
  AppState& state_;
  EntryTable& table_;
  ScanProcess& scan_;
  ScanHost& host_;
};

}  // namespace velmora::disc
