#pragma once

#include <optional>
#include <string>

#include "platform/emulated/EmulatedDisc.h"

namespace velmora::platform::emulated {

// Reads a fault map from a text file, one sector a line:
//   LBA unreadable | LBA short BYTES | LBA check | LBA slow MILLISECONDS | LBA gone
// Blank lines and lines starting with '#' are skipped. Nothing, with reason
// naming the file and line, when the file cannot be read or a line is not of
// that form.
std::optional<FaultMap> ReadFaultMapFile(const std::string& path, std::string& reason);

}  // namespace velmora::platform::emulated
