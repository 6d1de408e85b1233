#pragma once

#include <cstdint>

#include "media/Sector.h"

namespace velmora::disc {

// Where a session that starts at LBA start ends, by the volume space size of
// its volume descriptor: the LBA past its last block. Multi-session writers
// (genisoimage -C, xorriso) count a session's blocks from its own start, so
// the end is start + size. Some writers count from LBA 0 instead, taking in
// the sessions before: when start + size runs past mediumEnd but size alone
// lies past the start, size is taken as that absolute end, so that a newest
// session is never dropped for it. mediumEnd 0: the medium's end is unknown.
inline std::uint64_t SessionEndBySize(Lba start, std::uint32_t size, std::uint64_t mediumEnd) {
  const std::uint64_t fromStart = std::uint64_t{start} + size;
  if (mediumEnd != 0 && fromStart > mediumEnd && size > start) return size;
  return fromStart;
}

}  // namespace velmora::disc
