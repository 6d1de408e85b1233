#pragma once

#include <cstdint>

#include "iso9660/NameSource.h"
#include "media/Sector.h"

namespace velmora::disc {

// Where the session being read lies and how it is read.
struct SessionGeometry {
  bool multiTrack = false;
  std::uint8_t session = 1;  // 1-based
  // Sector numbers within the session (the descriptor area, the recovery scans)
  // are read at base + number.
  Lba base = 0;
  // First LBA of the session's track: files of later sessions whose extent lies
  // below it may belong to an earlier session.
  Lba trackLba = 0;
  // Parent ID of the session's top-level entries: its Session node, or Root.
  std::int32_t topLevelParentId = 0;
  // Exclusive end of the readable area, 0 when unknown. Lengths read from the
  // disc are bounded by it and the sector scans end there.
  Lba end = 0;
  // Image creation only needs the descriptor: stop once it is loaded.
  bool imageCreation = false;
  // Add to the Joliet tree what only the primary tree holds, under its own name.
  bool allNames = false;
  NameSource names = NameSource::kAuto;
};

}  // namespace velmora::disc
