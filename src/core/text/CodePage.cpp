#include "text/CodePage.h"

#include <array>
#include <cstdint>

namespace velmora::text {
namespace {

// Windows-1252 bytes 0x80-0x9F; the five unassigned bytes map to themselves, as
// the OS converter does.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

std::u16string DecodeWindows1252(std::span<const std::byte> bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  for (std::byte b : bytes) {
    auto v = static_cast<std::uint8_t>(b);
    out += (v >= 0x80 && v <= 0x9F) ? kHighControls[v - 0x80] : static_cast<char16_t>(v);
  }
  return out;
}

std::string EncodeWindows1252(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      out += static_cast<char>(c);
      continue;
    }
    char mapped = '?';
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
      if (kHighControls[i] == c) mapped = static_cast<char>(0x80 + i);
    }
    out += mapped;
  }
  return out;
}

}  // namespace velmora::text
