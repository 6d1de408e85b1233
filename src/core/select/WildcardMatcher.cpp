#include "select/WildcardMatcher.h"

#include "text/CaseFold.h"

namespace velmora::select {
namespace {

void FoldAll(std::u32string& points) {
  for (char32_t& c : points) {
    // ASCII folds here, without the call: Find and masks test every name.
    c = c < 0x80 ? (c >= U'A' && c <= U'Z' ? c + 0x20 : c) : text::SimpleCaseFold(c);
  }
}

}  // namespace

Wildcard::Wildcard(std::u16string_view pattern, Case letterCase, DotStar dotStar)
    : pattern_(text::CodePoints(pattern)), case_(letterCase) {
  if (case_ == Case::kIgnore) FoldAll(pattern_);
  dotStarRule_ = dotStar == DotStar::kNameRule && pattern_.size() >= 2 &&
                 pattern_.ends_with(U".*");
}

bool Wildcard::Matches(std::u16string_view text) const {
  // One buffer per thread for the text's code points: a search over a whole
  // table allocates nothing per name.
  thread_local std::u32string points;
  text::AssignCodePoints(points, text);
  if (case_ == Case::kIgnore) FoldAll(points);
  if (MatchesPoints(pattern_, points)) return true;
  return dotStarRule_ && points.find(U'.') == std::u32string::npos &&
         MatchesPoints(std::u32string_view(pattern_).substr(0, pattern_.size() - 2), points);
}

bool Wildcard::MatchesPoints(std::u32string_view p, std::u32string_view n) const {
  constexpr std::size_t kNoStar = static_cast<std::size_t>(-1);
  // Greedy with one step back: on a mismatch, the last "*" takes one more
  // character. Earlier stars never need to give anything back, so the walk is
  // bounded by pattern length times text length.
  std::size_t pi = 0;
  std::size_t ni = 0;
  std::size_t star = kNoStar;
  std::size_t starText = 0;
  while (ni < n.size()) {
    if (pi < p.size() && p[pi] == U'*') {
      star = pi++;
      starText = ni;
    } else if (pi < p.size() && (p[pi] == U'?' || p[pi] == n[ni])) {
      ++pi;
      ++ni;
    } else if (star != kNoStar) {
      pi = star + 1;
      ni = ++starText;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == U'*') ++pi;
  return pi == p.size();
}

bool WildcardMatch(std::u16string_view pattern, std::u16string_view name) {
  return Wildcard(pattern).Matches(name);
}

std::u16string NameTermWildcard(std::u16string_view term) {
  if (term.find_first_of(u"*?") != std::u16string_view::npos) return std::u16string(term);
  if (term.front() == u'.') return u"*" + std::u16string(term);
  if (term.find(u'.') != std::u16string_view::npos) return std::u16string(term);  // a whole name
  return u"*." + std::u16string(term);
}

}  // namespace velmora::select
