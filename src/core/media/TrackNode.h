#pragma once

#include <cstdint>

#include "media/Sector.h"

namespace velmora::disc {

// One track of the disc's table of contents. A multi-track disc is scanned one
// track (session) at a time.
struct TrackNode {
  std::uint8_t trackNumber = 0;
  // Start in frames, as the TOC gives it: no 150-frame offset is taken off, so a
  // track at LBA 0 starts at 150.
  std::uint32_t start = 0;
  // End of the session: the lead-out start for the last node from the TOC, or the
  // session's end found by the full-TOC pass; 0 when unknown.
  std::uint32_t end = 0;
};

// Start of a track node as an LBA.
inline Lba TrackLba(const TrackNode& node) {
  return node.start >= kLeadInFrames ? node.start - kLeadInFrames : 0;
}

}  // namespace velmora::disc
