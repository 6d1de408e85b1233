#pragma once

#include <string>
#include <string_view>

namespace velmora::text {

// A disc name (UTF-8) as one part of a path in a listing, a report or the log:
// a backslash, tab, line feed and carriage return as \\, \t, \n, \r; a "/"
// inside the name as \/ so that it never reads as a folder boundary; any other
// control byte (NUL included) as \xHH. Every name thus reads back unambiguously.
std::string EscapeName(std::string_view name);
// EscapeName(name) appended to out.
void AppendEscapedName(std::string& out, std::string_view name);

// A path whose parts were joined with "/" already: the same escapes, the
// separators kept.
std::string EscapePath(std::string_view path);

}  // namespace velmora::text
