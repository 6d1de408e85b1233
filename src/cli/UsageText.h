#pragma once

#include <string_view>

namespace velmora::cli {

// What --help prints.
std::string_view UsageText();

}  // namespace velmora::cli
