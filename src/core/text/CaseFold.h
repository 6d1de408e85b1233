#pragma once

#include <string>
#include <string_view>

namespace velmora::text {

// The simple case folding of Unicode (CaseFolding.txt, status C and S): the one
// code point that c compares as when letter case is ignored. Characters whose
// folding takes several code points (status F, such as U+00DF) keep their
// simple mapping or themselves, so that one character always stays one.
char32_t SimpleCaseFold(char32_t c);

// The code points of text; a surrogate pair is one code point, and a lone
// surrogate stays a character of its own.
std::u32string CodePoints(std::u16string_view text);
// CodePoints(text) in place of what points held, its storage kept.
void AssignCodePoints(std::u32string& points, std::u16string_view text);

}  // namespace velmora::text
