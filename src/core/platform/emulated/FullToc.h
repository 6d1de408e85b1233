#pragma once

#include <cstdint>
#include <vector>

#include "platform/emulated/DiscLayout.h"
#include "platform/emulated/EmulatedDisc.h"

namespace velmora::platform::emulated {

// The answer to READ TOC/PMA/ATIP format 2 (full TOC, MSF) from session
// startSession on (0 counts as 1): a 4-byte header (data length, first and last
// session) and 11-byte descriptors [session, ADR/CONTROL, TNO, POINT, MIN, SEC,
// FRAME, ZERO, PMIN, PSEC, PFRAME], laid out as style says. Every session holds one
// data track. The whole answer; the caller truncates it to the allocation length.
std::vector<std::uint8_t> BuildFullToc(const DiscLayout& layout, TocStyle style,
                                       std::uint8_t startSession);

}  // namespace velmora::platform::emulated
