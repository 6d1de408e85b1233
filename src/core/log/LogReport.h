#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "log/MessageLog.h"

namespace velmora::log {

// The saved message log: Windows-1252 text (a character the code page cannot
// hold becomes '?'), CR LF line ends, no byte-order mark. A heading line and an
// empty line, then per row its Activity (after a separator line, except for
// the first row), its Text and its Status indented by 20 blanks; an empty
// field writes no line. A tab, line break or backslash in a field is written
// as \t, \n, \r or \\, so that every field keeps to its line.
std::string FormatLogReport(const std::vector<LogRow>& rows);

// Turns one text of the report into the file's 8-bit encoding.
using ReportEncoder = std::function<std::string(std::u16string_view)>;

// The same layout in the encoding encode gives (the desktop program uses the
// system's locale encoding, so that names in any script survive).
std::string FormatLogReport(const std::vector<LogRow>& rows, const ReportEncoder& encode);

// The same report a part at a time, for a log written as its rows come: the
// heading and its empty line, then each row's lines (first: the report's first
// row, which has no separator line before it).
std::string FormatLogHeading(const ReportEncoder& encode);
std::string FormatLogRow(const LogRow& row, bool first, const ReportEncoder& encode);

// Writes FormatLogReport(rows) to path as given, replacing any file there; a
// fifo, a device or a link that leads nowhere is refused, never opened to wait.
// Returns false with reason set ("path: OS text") when the file cannot be
// created or written.
bool WriteLogReport(const std::string& path, const std::vector<LogRow>& rows, std::string& reason);
bool WriteLogReport(const std::string& path, const std::vector<LogRow>& rows, std::string& reason,
                    const ReportEncoder& encode);

}  // namespace velmora::log
