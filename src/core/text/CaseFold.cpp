#include "text/CaseFold.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace velmora::text {
namespace {

// first, first + stride, ... last fold onto themselves plus delta.
struct FoldRun {
  char32_t first;
  char32_t last;
  std::uint8_t stride;
  std::int32_t delta;
};

constexpr FoldRun kFoldRuns[] = {
#include "text/CaseFoldTable.inc"
};

}  // namespace

char32_t SimpleCaseFold(char32_t c) {
  // In ASCII only the capitals fold; most names never leave it.
  if (c < 0x80) return c >= U'A' && c <= U'Z' ? c + 0x20 : c;
  // The runs are sorted and do not overlap: the candidate is the last run that
  // starts at or before c.
  const auto next = std::upper_bound(std::begin(kFoldRuns), std::end(kFoldRuns), c,
                                     [](char32_t value, const FoldRun& run) { return value < run.first; });
  if (next == std::begin(kFoldRuns)) return c;
  const FoldRun& run = *std::prev(next);
  if (c > run.last || (c - run.first) % run.stride != 0) return c;
  return static_cast<char32_t>(static_cast<std::int32_t>(c) + run.delta);
}

std::u32string CodePoints(std::u16string_view text) {
  std::u32string points;
  AssignCodePoints(points, text);
  return points;
}

void AssignCodePoints(std::u32string& points, std::u16string_view text) {
  // Never more code points than units: sized once, filled, cut to fit.
  points.resize(text.size());
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    const bool pair = unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() &&
                      text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
    if (pair) {
      points[count++] = 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) +
                        (static_cast<char32_t>(text[i + 1]) - 0xDC00);
      ++i;
    } else {
      points[count++] = unit;
    }
  }
  points.resize(count);
}

}  // namespace velmora::text
