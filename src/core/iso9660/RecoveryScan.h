#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "iso9660/VolumeReader.h"

namespace velmora::disc {

// The first sector of a directory: a 34-byte "." record pointing at the sector
// itself (lba), a 34-byte ".." record, and an entry after them.
bool LooksLikeDirectoryStart(std::span<const std::byte> sector, Lba lba);

// The first sector of a path table opens with the root's record: identifier
// length 1, a nonzero extent, parent number 1 in either byte order, and the
// identifier 0 with its padding byte.
bool LooksLikePathTableStart(std::span<const std::byte> sector);

// A directory start found by the sector scan.
struct DirectoryCandidate {
  Lba firstSector = 0;  // absolute
  std::uint32_t sectorCount = 0;
  NameEncoding encoding = NameEncoding::kEightBit;
  bool ended = false;  // the end of the directory's records was seen
};

// The recovery pass for a session whose volume descriptors are missing or
// unreadable: finds directory starts and path tables by their shape, sector by
// sector, and hands them to the walks of the volume reader.
class RecoveryScan {
 public:
  RecoveryScan(VolumeReader& volume, CCDReader& reader) : volume_(volume), reader_(reader) {}

  // Scans the session for directories and path tables and walks what they
  // found, Joliet names first. A stop request during the scans walks nothing.
  void RecoverVolume();
  // Lists the directory candidates from session-relative sector firstSector on,
  // in a fresh list; true when at least one was found.
  bool ScanForDirectories(std::uint32_t firstSector);
  // Lists the path tables found from session-relative sector 16 on as the
  // volume reader's path-table sources, in a fresh list.
  void ScanForPathTables();

  const std::vector<DirectoryCandidate>& candidates() const { return candidates_; }
  std::uint8_t shortDirectoryReads() const { return shortDirectoryReads_; }

 private:
  enum class SectorRead { kRead, kFailed, kEnd };
  struct FoundPathTable {
    PathTableSource source;
    bool complete = false;  // its closing zero length byte was read
  };

  // Reads session-relative sector s into sector, pre-filled with kUnreadByte.
  // kEnd from the session's end on, and when a read delivers nothing.
  SectorRead ReadScanSector(std::uint32_t s, std::span<std::byte> sector, std::uint32_t& bytesRead);
  // Reads from sector s on until a sector delivers data, leaving s at it; false
  // when the scan ends first.
  bool ReadNextSector(std::uint32_t& s, std::span<std::byte> sector, std::uint32_t& bytesRead);
  // Follows the records of a directory whose first sector s is in sector (read
  // whole); the buffer is reused for the sectors after it. Nothing when the
  // first sector fails the record test. next: where the scan goes on.
  std::optional<DirectoryCandidate> FollowDirectory(std::uint32_t s, std::span<std::byte> sector,
                                                    std::uint32_t& next);
  // Follows the records of a path table whose first sector s is in first.
  // Nothing when the records do not make a table. next: where the scan goes on.
  std::optional<FoundPathTable> FollowPathTable(std::uint32_t s, std::span<const std::byte> first,
                                                std::uint32_t& next);
  // Hands the candidates (or, failing them, the path tables) to the walks.
  void WalkCandidates();

  VolumeReader& volume_;
  CCDReader& reader_;
  std::vector<DirectoryCandidate> candidates_;
  std::uint8_t shortDirectoryReads_ = 0;
  bool stopSeen_ = false;
};

}  // namespace velmora::disc
