#include <gtest/gtest.h>

#include <string>

#include "text/Utf.h"

namespace velmora::text {
namespace {

// ASCII before, after and between other characters, and malformed bytes
// wherever they stand: each comes back as itself or as U+FFFD.
TEST(UtfTest, FromUtf8DecodesEveryPartOfAName) {
  const struct {
    std::string utf8;
    std::u16string utf16;
  } cases[] = {
      {"", u""},
      {"plain.txt", u"plain.txt"},
      {"caf\xC3\xA9", u"caf\u00E9"},
      {"\xC3\xA9t\xC3\xA9 2024", u"\u00E9t\u00E9 2024"},
      {"clef \xF0\x9D\x84\x9E!", u"clef \U0001D11E!"},
      {"ab\x80" "cd", u"ab\uFFFDcd"},
      {"ab\xC3", u"ab\uFFFD"},
      {"\xFF", u"\uFFFD"},
      {"x\xED\xA0\x80y", u"x\uFFFD\uFFFD\uFFFDy"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.utf8);
    EXPECT_EQ(FromUtf8(c.utf8), c.utf16);
  }
}

TEST(UtfTest, AppendUtf8AddsWhatToUtf8Gives) {
  const std::u16string names[] = {u"", u"a.txt", u"caf\u00E9", u"\U0001D11E",
                                  std::u16string(u"lone \xDC00")};
  for (const std::u16string& name : names) {
    std::string out = "prefix/";
    AppendUtf8(out, name);
    EXPECT_EQ(out, "prefix/" + ToUtf8(name));
  }
}

}  // namespace
}  // namespace velmora::text
