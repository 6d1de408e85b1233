#include "select/WildcardMatcher.h"

#include <string>

namespace velmora::select {
namespace {

// The lower-case partner of c. Only the alphabets whose capitals sit a fixed
// distance from their small letters are folded (ASCII, Latin-1, Greek,
// Cyrillic): enough for file extensions and the names people type, without a
// Unicode case table in the engine.
char32_t FoldCase(char32_t c) {
  if (c >= U'A' && c <= U'Z') return c + 32;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;     // À..Þ, not ×
  if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 32;  // Α..Ω
  if (c >= 0x410 && c <= 0x42F) return c + 32;                // А..Я
  if (c >= 0x400 && c <= 0x40F) return c + 80;                // Ѐ..Џ
  return c;
}

// Code points of text; a lone surrogate stays a character of its own.
std::u32string CodePoints(std::u16string_view text) {
  std::u32string points;
  points.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    const bool pair = unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() &&
                      text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
    if (pair) {
      points.push_back(0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) +
                       (static_cast<char32_t>(text[i + 1]) - 0xDC00));
      ++i;
    } else {
      points.push_back(unit);
    }
  }
  return points;
}

}  // namespace

bool WildcardMatch(std::u16string_view pattern, std::u16string_view name) {
  const std::u32string p = CodePoints(pattern);
  const std::u32string n = CodePoints(name);
  constexpr std::size_t kNoStar = static_cast<std::size_t>(-1);
  // Greedy with one step back: on a mismatch, the last "*" takes one more
  // character. Earlier stars never need to give anything back, so the walk is
  // bounded by pattern length times name length.
  std::size_t pi = 0;
  std::size_t ni = 0;
  std::size_t star = kNoStar;
  std::size_t starName = 0;
  while (ni < n.size()) {
    if (pi < p.size() && p[pi] == U'*') {
      star = pi++;
      starName = ni;
    } else if (pi < p.size() && (p[pi] == U'?' || FoldCase(p[pi]) == FoldCase(n[ni]))) {
      ++pi;
      ++ni;
    } else if (star != kNoStar) {
      pi = star + 1;
      ni = ++starName;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == U'*') ++pi;
  return pi == p.size();
}

}  // namespace velmora::select
