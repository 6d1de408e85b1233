#include "iso9660/NameDecoder.h"

#include <gtest/gtest.h>

#include <span>
#include <vector>

#include "text/CodePage.h"

namespace velmora::disc {
namespace {

std::vector<std::byte> Bytes8(std::string_view text) {
  std::vector<std::byte> bytes;
  for (char c : text) bytes.push_back(static_cast<std::byte>(c));
  return bytes;
}

std::vector<std::byte> Bytes16(std::u16string_view text, bool oddTail = false) {
  std::vector<std::byte> bytes;
  for (char16_t c : text) {
    bytes.push_back(static_cast<std::byte>(c >> 8));
    bytes.push_back(static_cast<std::byte>(c & 0xFF));
  }
  if (oddTail) bytes.push_back(std::byte{0x41});
  return bytes;
}

TEST(NameDecoderTest, EightBitNamesLoseOnlyAVersionSuffix) {
  struct Case {
    std::string_view identifier;
    bool folder;
    std::u16string expected;
  };
  for (const Case& c : {Case{"README.TXT;1", false, u"README.TXT"},
                        Case{"README.TXT", false, u"README.TXT"},  // written without versions
                        Case{"DATA.TXX", false, u"DATA.TXX"},
                        Case{"LONG.DAT;12", false, u"LONG.DAT"},
                        Case{"NOEXT.;1", false, u"NOEXT"},  // an empty extension
                        Case{"NOEXT.", false, u"NOEXT"},
                        Case{"DIR.", true, u"DIR."},
                        Case{"AB", false, u"AB"},
                        Case{"DOCS", true, u"DOCS"},
                        Case{"V;1", true, u"V;1"},  // folders keep their identifier
                        Case{"\x80UR\xE9.TXT;1", false, u"\u20ACUR\u00E9.TXT"}}) {
    SCOPED_TRACE(std::string(c.identifier));
    EXPECT_EQ(DecodeName(Bytes8(c.identifier), false, c.folder), c.expected);
  }
}

TEST(NameDecoderTest, SixteenBitNamesAreBigEndianWithEveryCharacterKept) {
  struct Case {
    std::vector<std::byte> identifier;
    bool folder;
    std::u16string expected;
  };
  const std::vector<Case> cases = {
      {Bytes16(u"A.TXT;1"), false, u"A.TXT"},
      {Bytes16(u"Price \u20AC"), false, u"Price \u20AC"},  // a high byte in the last character
      {Bytes16(u"\u042F"), false, u"\u042F"},              // one character above U+00FF
      {Bytes16(u"\u042F"), true, u"\u042F"},
      {Bytes16(u"x"), false, u"x"},
      {Bytes16(u"\u65E5\u672C.txt;1"), false, u"\u65E5\u672C.txt"},
      {Bytes16(u"caf\u00E9", true), true, u"caf\u00E9"},  // an odd length loses its last byte
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.expected.size()));
    EXPECT_EQ(DecodeName(c.identifier, true, c.folder), c.expected);
  }
}

TEST(NameDecoderTest, SixteenBitJudgementLooksAtTheHighBytes) {
  struct Case {
    std::vector<std::byte> identifier;
    bool sixteenBit;
  };
  const std::vector<Case> cases = {
      {Bytes16(u"readme.txt"), true},
      {Bytes16(u"\u0416\u0443\u043A"), true},  // Cyrillic: no zero byte, high bytes 0x04
      {Bytes16(u"\u4E2D\u6587.txt"), true},     // CJK with an ASCII extension
      {Bytes16(u"\u4E2D\u6587"), false},        // CJK alone: no high byte says so
      {Bytes8("README.TXT;1"), false},
      {Bytes8("D\xD6" "CS"), false},  // Latin-1 in an 8-bit name
      {Bytes8("\xC9T\xC9"), false},
      {Bytes8("AB"), false},
      {Bytes8("A"), false},
  };
  for (const Case& c : cases) EXPECT_EQ(LooksSixteenBit(c.identifier), c.sixteenBit);
}

TEST(NameDecoderTest, ADirectoryIsJudgedByAllItsNames) {
  struct Case {
    const char* name;
    std::vector<std::vector<std::byte>> identifiers;
    bool sixteenBit;
  };
  const std::vector<Case> cases = {
      {"one 16-bit name decides", {Bytes8("DOCS"), Bytes16(u"a.txt")}, true},
      {"Latin-1 folder beside 8-bit files", {Bytes8("D\xD6" "CS"), Bytes8("README.TXT;1")}, false},
      {"Latin-1 folder beside a plain folder", {Bytes8("D\xD6" "CS"), Bytes8("ABCD")}, false},
      {"CJK names alone", {Bytes16(u"\u4E2D\u6587")}, true},
      {"ASCII folders alone", {Bytes8("DOCS"), Bytes8("PICS")}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::span<const std::byte>> spans(c.identifiers.begin(), c.identifiers.end());
    EXPECT_EQ(JudgeSixteenBit(spans), c.sixteenBit);
  }
}

TEST(NameDecoderTest, OtherVersionsKeepTheirSuffix) {
  EXPECT_EQ(DecodeName(Bytes8("VERS.TXT;1"), false, false, true), u"VERS.TXT;1");
  EXPECT_EQ(DecodeName(Bytes8("NOEXT.;2"), false, false, true), u"NOEXT;2");
  EXPECT_EQ(FileVersion(Bytes8("VERS.TXT;12"), false), 12u);
  EXPECT_EQ(FileVersion(Bytes16(u"a.txt;3"), true), 3u);
  EXPECT_EQ(FileVersion(Bytes8("VERS.TXT"), false), std::nullopt);
}

// 8-bit names: valid UTF-8 that is not plain ASCII as UTF-8, the rest through
// the chosen code page.
TEST(NameDecoderTest, EightBitNamesAreUtf8OrInTheCodePage) {
  struct Case {
    const char* codePage;
    std::string_view identifier;
    std::u16string expected;
  };
  const Case cases[] = {
      {"WINDOWS-1252", "caf\xC3\xA9.txt;1", u"caf\u00E9.txt"},
      {"WINDOWS-1252", "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E.txt", u"\u65E5\u672C\u8A9E.txt"},
      {"WINDOWS-1252", "CAF\xC9.TXT;1", u"CAF\u00C9.TXT"},
      {"WINDOWS-1252", "\xC3(", u"\u00C3("},               // not UTF-8
      {"WINDOWS-1252", "\xC0\xAF", u"\u00C0\u00AF"},     // overlong: not UTF-8
      {"cp1251", "\xCF\xE0\xEF\xEA\xE0", u"\u041F\u0430\u043F\u043A\u0430"},
      {"cp866", "\x8F\xA0\xAF\xAA\xA0", u"\u041F\u0430\u043F\u043A\u0430"},
      {"cp1251", "caf\xC3\xA9", u"caf\u00E9"},  // UTF-8 before the code page
      {"shift_jis", "\x93\xFA\x96\x7B.TXT;1", u"\u65E5\u672C.TXT"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.codePage) + " " + std::string(c.identifier));
    ASSERT_TRUE(text::SetEightBitCodePage(c.codePage));
    EXPECT_EQ(DecodeName(Bytes8(c.identifier), false, false), c.expected);
  }
  EXPECT_FALSE(text::SetEightBitCodePage("no-such-code-page"));
  EXPECT_EQ(text::EightBitCodePage(), "shift_jis");
  ASSERT_TRUE(text::SetEightBitCodePage(""));
  EXPECT_EQ(text::EightBitCodePage(), text::kDefaultCodePage);
}

}  // namespace
}  // namespace velmora::disc
