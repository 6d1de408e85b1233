#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include <optional>
#include <vector>

#include "host/AppState.h"
#include "image/ImageLayout.h"
#include "disc/CCDReader.h"
#include "entries/EntryTable.h"
#include "host/ScanHost.h"
#include "scan/ScanProcess.h"

namespace velmora::disc {

enum class ImageResult {
  kCompleted,
  kAborted,    // stopped by the user; what was copied ends in a trailer and opens
  kFailed,     // no disc, or the file could not be made or written
  kCancelled,  // the user kept the existing file
  kNotBegun,   // a Stop while the drive spun up: nothing was written
};

struct ImageOutcome {
  ImageResult result = ImageResult::kCancelled;
  // The file written: the chosen path after the destination rule.
  std::string destination;
  // Sector blocks in the image, before its trailer.
  Lba blocks = 0;
  // Sectors the disc was expected to hold; a medium that ends early leaves the
  // image shorter than this.
  Lba expectedSectors = 0;
  // Sectors that did not read (0xF6 blocks) and that read short (0xF6 after
  // what came).
  std::uint32_t unreadableSectors = 0;
  std::uint32_t partialSectors = 0;
  // For kFailed: why, in the system's words.
  std::string reason;
  // The map written beside the image (ImageMapFile.h); empty when none was.
  std::string mapPath;
};

// How a disc goes into an image: the blocks before the trailer, what the disc
// claims, and per session what is read and what is a gap (none for a disc of
// one track, copied whole).
struct ImagePlan {
  bool multiTrack = false;
  Lba sectors = 0;
  // Sectors the disc was expected to hold.
  Lba expected = 0;
  std::vector<TrackCopy> copies;
  // The trailer of the whole copy.
  ImageTrailer trailer;
};

// Create Image: copies the disc that the reader holds, sector by sector, into a
// .cd image file whose block k is sector k, unreadable sectors and the gaps
// between sessions being 0xF6 blocks, and whose last block is the trailer with
// the track list. Beside it goes the map of what was read (ImageMapFile.h):
// every block read '+', what failed '-', what was never read (the gaps between
// sessions, what a stop left) '?'; with gaps, a domain map of the sessions.
class ImageCreator {
 public:
  ImageCreator(CCDReader& reader, AppState& state, const EntryTable& table, ScanProcess& scan,
               ScanHost& host)
      : reader_(reader), state_(state), table_(table), scan_(scan), host_(host) {}

  // Copies the disc into ImageDestination(pathName), asking before an existing
  // file is replaced. Every run starts and ends with no stop pending.
  ImageOutcome CreateImage(const std::string& pathName);
  // The command that runs the copy, as the map's heading names it.
  void SetCommandLine(std::string commandLine) { commandLine_ = std::move(commandLine); }

  // What a copy of the disc the reader holds takes (Create Image and a rescue
  // share it). Nothing when no disc answered. Without readDescriptors the
  // plan reads no sector where the medium's size and the TOC tell enough (a
  // rescue reads each sector through its map).
  std::optional<ImagePlan> PlanCopy(bool readDescriptors = true);

  // The end of node's session from its volume descriptor (the first of sectors
  // 16 ... 115 of the session that reads whole and gives a volume space size),
  // never past the next session or the lead-out; the node's own end when no
  // descriptor qualifies.
  Lba FindSessionEnd(std::size_t node);

 private:
  void Create(ImageOutcome& outcome);
  // The sectors of a single-track disc: the volume space size, else the
  // lead-out. False when no disc answered.
  bool SingleTrackSectors(Lba& sectors, Lba& expected);
  // The first LBA past the disc; 0 when not known.
  Lba LeadOut() const;

  CCDReader& reader_;
  AppState& state_;
  const EntryTable& table_;
  ScanProcess& scan_;
  ScanHost& host_;
  std::string commandLine_ = "velmora Create Image";
};

}  // namespace velmora::disc
