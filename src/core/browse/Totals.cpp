#include "browse/Totals.h"

#include <string>

#include "text/StringTable.h"

namespace velmora::browse {
namespace {

constexpr std::uint64_t kKilobyte = 1024;
constexpr std::uint64_t kMegabyte = kKilobyte * 1024;
constexpr std::uint64_t kGigabyte = kMegabyte * 1024;

std::u16string Decimal(std::uint64_t value) {
  std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

// The first three decimals of part / 1024 (part below 1024), truncated; exact,
// since 1024 is a power of two.
unsigned ThreeDecimals(std::uint64_t part) { return static_cast<unsigned>(part * 1000 / 1024); }

std::u16string Digits(unsigned value, std::size_t width) {
  std::u16string text = Decimal(value);
  if (text.size() < width) text.insert(0, width - text.size(), u'0');
  return text;
}

}  // namespace

std::u16string FormatTotals(const Totals& totals, bool marked) {
  using namespace text;
  const std::u16string prefix = LoadText(marked ? kMarkedPrefix : kTotalPrefix);
  const std::u16string tail = u" " + Decimal(totals.files) + u" " + LoadText(kFilesIn) + u" " +
                              Decimal(totals.folders) + u" " + LoadText(kFolders);
  const std::uint64_t bytes = totals.bytes;
  if (bytes < kKilobyte) {
    return prefix + u" " + Decimal(bytes) + u" " + LoadText(kBytesIn) + tail;
  }
  std::uint64_t whole = 0;
  std::u16string fraction;
  StringId unit = kKilobytesIn;
  if (bytes < kMegabyte) {
    whole = bytes / kKilobyte;
    unsigned decimals = ThreeDecimals(bytes % kKilobyte);
    unsigned first = decimals / 100;
    unsigned second = decimals / 10 % 10;
    if (decimals % 10 >= 6 && second < 9) ++second;
    fraction = Digits(first * 10 + second, 2);
  } else if (bytes < kGigabyte) {
    whole = bytes / kMegabyte;
    fraction = Digits(ThreeDecimals(bytes % kMegabyte / kKilobyte), 3);
    unit = kMegabytesIn;
  } else {
    whole = bytes / kGigabyte;
    fraction = Digits(ThreeDecimals(bytes % kGigabyte / kMegabyte), 3);
    unit = kGigabytesIn;
  }
  return prefix + u" " + Decimal(whole) + LoadText(kDecimalSeparator) + fraction + u" " +
         LoadText(unit) + tail;
}

}  // namespace velmora::browse
