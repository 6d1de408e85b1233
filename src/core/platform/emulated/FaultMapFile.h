#pragma once

#include <optional>
#include <string>

#include "platform/emulated/EmulatedDisc.h"

namespace velmora::platform::emulated {

// Reads a fault map from a text file, one sector a line:
//   LBA unreadable | LBA short BYTES | LBA check | LBA slow MILLISECONDS | LBA gone
//   | LBA flaky TRIES (reads at the TRIES-th try) | LBA hold FILE [READ] (SectorFault)
// Blank lines and lines starting with '#' are skipped. Nothing, with reason
// naming the file and line, when the file cannot be read or a line is not of
// that form.
std::optional<FaultMap> ReadFaultMapFile(const std::string& path, std::string& reason);

// Gives disc the faults of a file of either form: the fault map above, or a
// GNU ddrescue mapfile (its first line that is not a comment has a status
// character as its second word), whose areas not finished ('+') become
// disc.badAreas. False, with reason naming the file and what is wrong, when
// the file cannot be read or is of neither form.
bool LoadFaultFile(const std::string& path, EmulatedDisc& disc, std::string& reason);

}  // namespace velmora::platform::emulated
