#pragma once

#include <string>
#include <vector>

#include "log/MessageLog.h"

namespace velmora::log {

// The saved message log: Windows-1252 text (a character the code page cannot
// hold becomes '?'), CR LF line ends, no byte-order mark. A heading line and an
// empty line, then per row its Activity (after a separator line, except for
// the first row), its Text and its Status indented by 20 blanks; an empty
// field writes no line.
std::string FormatLogReport(const std::vector<LogRow>& rows);

// Writes FormatLogReport(rows) to path as given, replacing any file there.
// Returns false with reason set ("path: OS text") when the file cannot be
// created or written.
bool WriteLogReport(const std::string& path, const std::vector<LogRow>& rows, std::string& reason);

}  // namespace velmora::log
