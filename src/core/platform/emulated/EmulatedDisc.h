#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "media/RescueMap.h"
#include "media/Sector.h"
#include "media/TrackNode.h"

namespace velmora::platform::emulated {

// What goes wrong when the drive reads one sector.
enum class FaultKind {
  kUnreadable,      // cooked: EIO; READ CD: the command is not carried (EIO)
  kShortRead,       // shortBytes of the sector arrive, then the read stops
  kCheckCondition,  // cooked: EIO; READ CD: CHECK CONDITION, MEDIUM ERROR 03/11/00
  kSlow,            // served after delay
  kDriveGone,       // the drive leaves the bus at this sector: it and every later command fail
  kFlaky,           // reads on the tries-th read of it; the reads before fail as kUnreadable
  kNone,            // reads as it should (a sector that only holds the drive, below)
};

struct SectorFault {
  FaultKind kind = FaultKind::kUnreadable;
  std::uint32_t shortBytes = 0;
  std::chrono::milliseconds delay{0};
  std::uint32_t tries = 0;  // kFlaky
  // At the holdAtRead-th read of the sector (0: never) the drive makes the
  // file holdFile and waits until it is gone (two minutes at most) before it
  // answers: a test stops the program there, at a point the program reached,
  // never at a time.
  std::string holdFile{};
  std::uint32_t holdAtRead = 0;
};

using FaultMap = std::map<Lba, SectorFault>;

// How the full TOC (READ TOC format 2) lays out its descriptors. Drives differ in
// the points they report and their order; a reader must go by session and POINT.
enum class TocStyle {
  kUsual,      // per session A0, A1, A2, track, B0 (not in the last), C0 (session 1 only)
  kNoC0,       // as usual without C0, as on a pressed disc
  kReordered,  // the usual descriptors in reverse: last session first, track before A2
  kAdr5Points  // usual, plus an ADR 5 descriptor with POINT 01 in every session
};

// A disc for the emulated drive: an image of 2048-byte blocks (block k holds LBA k)
// with its track list and the sectors that read badly.
struct EmulatedDisc {
  std::string imagePath;
  // Sectors the image holds; nullopt: every whole 2048-byte block of the file.
  std::optional<Lba> sectorCount;
  // One node per session. start is in frames (LBA + 150); end is the session's
  // exclusive end LBA, or 0: where the session's volume ends (its volume
  // descriptor's volume space size), or, without a readable descriptor, the next
  // start less the shortest gap between sessions; for the last node the image's
  // sector count. Empty: one data track from LBA 0 to the end of the image.
  std::vector<disc::TrackNode> tracks;
  FaultMap faults;
  // Areas that do not read, as a ddrescue mapfile gives them (byte positions on
  // the disc): a sector whose first byte is not finished is unreadable, one
  // that turns bad inside reads short up to there. Sectors past the map's
  // extent and the faults above are not affected.
  std::optional<disc::RescueMap> badAreas;
  // Track numbers whose sectors are Mode 2 Form 1 (CD-ROM XA): READ CD must ask
  // for that type there, and may not ask for it anywhere else.
  std::set<std::uint8_t> xaTracks;
  bool fullTocUnsupported = false;  // READ TOC format 2 ends in CHECK CONDITION
  // What FromImage had to leave out or forget of the image's track list (its
  // sessions cut to the image, ends before starts), in the words an Open of the
  // image file says it; empty when the track list was whole.
  std::string damage;
  // The folder where the system shows the disc's files, as if it were mounted
  // there; empty: not mounted. A path at or below it lies on the disc.
  std::string mountedAt;
  TocStyle tocStyle = TocStyle::kUsual;

  // The disc in an image file. A .cd image's trailer (its last block, when it
  // starts with the signature) gives the track list and is not a sector; any other
  // file is one track. Nothing, with reason set, when the file cannot be opened or
  // read, or its trailer is damaged.
  static std::optional<EmulatedDisc> FromImage(const std::string& path, std::string& reason);
};

}  // namespace velmora::platform::emulated
