#include "iso9660/NameDecoder.h"

#include <gtest/gtest.h>

#include <vector>

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

TEST(NameDecoderTest, SixteenBitJudgement) {
  struct Case {
    std::vector<std::byte> identifier;
    bool sixteenBit;
  };
  const std::vector<Case> cases = {
      {Bytes16(u"readme.txt"), true},
      {Bytes16(u"\u0416\u0443\u043A"), true},  // Cyrillic: no zero byte, high bytes 0x04
      {Bytes16(u"\u4E2D\u6587"), true},        // CJK: a high byte above 0x7E
      {Bytes8("README.TXT;1"), false},
      {Bytes8("AB"), false},
      {Bytes8("A"), false},
  };
  for (const Case& c : cases) EXPECT_EQ(LooksSixteenBit(c.identifier), c.sixteenBit);
}

}  // namespace
}  // namespace velmora::disc
