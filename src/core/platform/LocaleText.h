#pragma once

#include <string>
#include <string_view>

namespace velmora::platform {

// Text in the encoding of the user's locale (the C library's LC_CTYPE, as the
// program set it at start): UTF-8 on current systems. A character that the
// encoding cannot hold becomes '?'.
std::string EncodeForLocale(std::u16string_view text);

}  // namespace velmora::platform
