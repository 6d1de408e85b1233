#pragma once

#include <string_view>

namespace velmora::select {

// True when name matches pattern as a whole: "*" stands for any run of
// characters (none included), "?" for exactly one, and every other character
// for itself, letters without regard to case. A surrogate pair counts as one
// character.
bool WildcardMatch(std::u16string_view pattern, std::u16string_view name);

}  // namespace velmora::select
