#pragma once

#include <span>
#include <string>
#include <vector>

#include "entries/EntryTable.h"

namespace velmora::cli {

// recover --select: marks (disc::kMarked) every entry whose path, as ls prints
// it, matches one of the patterns as a whole, and everything below a folder that
// matches, as a click on the folder's box marks it. Patterns are UTF-8 wildcards
// as select::WildcardMatch reads them: "*" any run of characters, "/" included,
// "?" one character, letters without regard to case. Returns the patterns that
// matched no entry.
std::vector<std::string> MarkSelected(disc::EntryTable& table,
                                      std::span<const std::string> patterns);

}  // namespace velmora::cli
