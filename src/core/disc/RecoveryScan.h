#pragma once

#include <cstdint>
#include <vector>

#include "disc/VolumeReader.h"

namespace velmora::disc {

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

  void RecoverVolume();
  // Appends directory candidates from session-relative sector firstSector on;
  // true when at least one was found.
  bool ScanForDirectories(std::uint32_t firstSector);
  // Appends path-table sources found from session-relative sector 16 on.
  void ScanForPathTables();

  const std::vector<DirectoryCandidate>& candidates() const { return candidates_; }
  std::uint8_t shortDirectoryReads() const { return shortDirectoryReads_; }

 private:
  VolumeReader& volume_;
  CCDReader& reader_;
  std::vector<DirectoryCandidate> candidates_;
  std::uint8_t shortDirectoryReads_ = 0;
};

}  // namespace velmora::disc
