#pragma once

#include <string>
#include <string_view>

namespace velmora::text {

// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
std::string ToUtf8(std::u16string_view text);
// ToUtf8(text) appended to out.
void AppendUtf8(std::string& out, std::u16string_view text);
// UTF-8 to UTF-16; a malformed byte becomes U+FFFD.
std::u16string FromUtf8(std::string_view text);

}  // namespace velmora::text
