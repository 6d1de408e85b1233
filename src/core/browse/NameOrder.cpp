#include "browse/NameOrder.h"

#include <algorithm>

namespace velmora::browse {
namespace {

char16_t Fold(char16_t c) {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 32);
  // Latin-1 capitals, less the multiplication sign.
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 32);
  return c;
}

}  // namespace

int CompareNamesIgnoringCase(std::u16string_view a, std::u16string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    char16_t x = Fold(a[i]);
    char16_t y = Fold(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

int CompareNames(std::u16string_view a, std::u16string_view b) {
  int folded = CompareNamesIgnoringCase(a, b);
  if (folded != 0) return folded;
  return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

}  // namespace velmora::browse
