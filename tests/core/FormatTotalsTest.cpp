#include <gtest/gtest.h>

#include <string>

#include "browse/Totals.h"
#include "text/StringTable.h"
#include "text/Utf.h"

namespace velmora::browse {
namespace {

struct TotalsCase {
  Totals totals;
  bool marked;
  std::string text;
};

constexpr std::uint64_t kMB = 1048576;
constexpr std::uint64_t kGB = 1073741824;

TEST(FormatTotalsTest, TextsAndRounding) {
  const TotalsCase cases[] = {
      {{0, 0, 0}, false, "Total  0 Bytes in 0 Files in 0 Folders"},
      {{0, 0, 0}, true, "Marked 0 Bytes in 0 Files in 0 Folders"},
      {{512, 3, 1}, true, "Marked 512 Bytes in 3 Files in 1 Folders"},
      {{1023, 1, 0}, true, "Marked 1023 Bytes in 1 Files in 0 Folders"},
      {{1024, 1, 0}, true, "Marked 1.00 KB in 1 Files in 0 Folders"},
      {{1025, 1, 0}, false, "Total  1.00 KB in 1 Files in 0 Folders"},
      {{1536, 1, 0}, true, "Marked 1.50 KB in 1 Files in 0 Folders"},
      // 7/1024 = 0.0068: the third digit 6 raises the second.
      {{1031, 1, 0}, true, "Marked 1.01 KB in 1 Files in 0 Folders"},
      // 100/1024 = 0.0976: the second digit 9 stays 9, nothing carries.
      {{1124, 1, 0}, true, "Marked 1.09 KB in 1 Files in 0 Folders"},
      {{kMB - 1, 2, 1}, true, "Marked 1023.99 KB in 2 Files in 1 Folders"},
      {{kMB, 2, 1}, true, "Marked 1.000 MB in 2 Files in 1 Folders"},
      {{kMB + kMB / 2, 20, 4}, true, "Marked 1.500 MB in 20 Files in 4 Folders"},
      // Bytes below a whole kilobyte do not count in megabytes.
      {{2 * kMB + 1023 * 1024 + 1023, 1, 0}, true, "Marked 2.999 MB in 1 Files in 0 Folders"},
      {{kGB - 1, 1, 0}, true, "Marked 1023.999 MB in 1 Files in 0 Folders"},
      {{kGB, 1, 0}, true, "Marked 1.000 GB in 1 Files in 0 Folders"},
      {{4 * kGB, 70000, 9000}, false, "Total  4.000 GB in 70000 Files in 9000 Folders"},
      {{5 * kGB + kGB / 2, 3, 0}, true, "Marked 5.500 GB in 3 Files in 0 Folders"},
  };
  for (const TotalsCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(text::ToUtf8(FormatTotals(c.totals, c.marked)), c.text);
  }
}

TEST(FormatTotalsTest, WordsComeFromTheCurrentLanguage) {
  text::SetTextSource([](std::uint16_t id) -> std::u16string {
    switch (id) {
      case text::kMarkedPrefix: return u"Markiert";
      case text::kDecimalSeparator: return u",";
      case text::kGigabytesIn: return u"GB in";
      case text::kFilesIn: return u"Dateien in";
      case text::kFolders: return u"Ordnern";
      default: return u"";
    }
  });
  EXPECT_EQ(text::ToUtf8(FormatTotals({1536, 2, 1}, true)),
            "Markiert 1,50 KB in 2 Dateien in 1 Ordnern");
  EXPECT_EQ(text::ToUtf8(FormatTotals({3 * kGB, 2, 1}, true)),
            "Markiert 3,000 GB in 2 Dateien in 1 Ordnern");
  text::SetTextSource({});
}

}  // namespace
}  // namespace velmora::browse
