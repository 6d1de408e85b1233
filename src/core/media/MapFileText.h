#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "media/RescueMap.h"

namespace velmora::disc {

// The text of a map in GNU ddrescue's mapfile format: heading comments, the
// status line (current position, phase, pass) and one line per run (position,
// size, status), positions and sizes in hexadecimal. headings are written as
// comment lines first.
std::string FormatMapFile(const RescueMap& map, const std::vector<std::string>& headings);

// Reads a mapfile as ddrescue and ddrescuelog write it: '#' at a line's start
// or after a blank starts a comment; numbers are decimal, 0x hexadecimal or 0
// octal; the runs must follow each other without a gap or an overlap. A map
// whose first run starts past 0 has the bytes before it non-tried. Nothing for
// any other text, with badLine the number of the first line that is wrong (0:
// the text ends before a status line).
std::optional<RescueMap> ParseMapFile(std::string_view text, std::size_t& badLine);

// The words a mapfile's phase line uses ("Copying non-tried blocks...").
std::string_view PhaseText(RescuePhase phase);

}  // namespace velmora::disc
