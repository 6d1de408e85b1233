#include "select/MaskCriteria.h"

#include <algorithm>
#include <limits>

#include "select/WildcardMatcher.h"

namespace velmora::select {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

std::u16string_view Trimmed(std::u16string_view piece) {
  while (!piece.empty() && IsBlank(piece.front())) piece.remove_prefix(1);
  while (!piece.empty() && IsBlank(piece.back())) piece.remove_suffix(1);
  return piece;
}

}  // namespace

std::vector<MaskToken> MaskTokensOf(std::u16string_view maskText) {
  std::vector<MaskToken> tokens;
  while (true) {
    const std::size_t end = maskText.find(u';');
    const std::u16string_view piece = Trimmed(maskText.substr(0, end));
    // A lone "." names no extension; it would take names ending in a dot.
    if (!piece.empty() && piece != u".") {
      tokens.push_back({std::u16string(piece), NameTermWildcard(piece)});
    }
    if (end == std::u16string_view::npos) break;
    maskText.remove_prefix(end + 1);
  }
  return tokens;
}

std::uint32_t MaskNumber(std::u16string_view text) {
  constexpr std::uint64_t kMax = std::numeric_limits<std::uint32_t>::max();
  std::uint64_t value = 0;
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') break;
    value = std::min(kMax, value * 10 + static_cast<std::uint64_t>(c - u'0'));
  }
  return static_cast<std::uint32_t>(value);
}

}  // namespace velmora::select
