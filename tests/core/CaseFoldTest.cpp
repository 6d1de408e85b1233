#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "text/CaseFold.h"

namespace velmora::text {
namespace {

// Debian's unicode-data package, installed by scripts/setup.
constexpr const char* kCaseFolding = "/usr/share/unicode/CaseFolding.txt";

TEST(CaseFoldTest, AgreesWithEverySimpleFoldingOfUnicode) {
  std::ifstream in(kCaseFolding);
  ASSERT_TRUE(in) << kCaseFolding << " is missing (scripts/setup installs unicode-data)";
  std::map<char32_t, char32_t> folds;
  std::string line;
  while (std::getline(in, line)) {
    line = line.substr(0, line.find('#'));
    std::istringstream fields(line);
    std::string code, status, mapping;
    if (!std::getline(fields, code, ';') || !std::getline(fields, status, ';') ||
        !std::getline(fields, mapping, ';')) {
      continue;
    }
    if (status.find_first_of("CS") == std::string::npos) continue;
    folds[static_cast<char32_t>(std::stoul(code, nullptr, 16))] =
        static_cast<char32_t>(std::stoul(mapping, nullptr, 16));
  }
  ASSERT_GT(folds.size(), 1400u);
  // Every code point: the listed ones fold as listed, all others to themselves.
  std::size_t wrong = 0;
  for (char32_t c = 0; c < 0x110000; ++c) {
    const auto it = folds.find(c);
    const char32_t expected = it == folds.end() ? c : it->second;
    if (SimpleCaseFold(c) != expected && ++wrong <= 10) {
      ADD_FAILURE() << std::hex << "U+" << static_cast<std::uint32_t>(c) << " folds to U+"
                    << static_cast<std::uint32_t>(SimpleCaseFold(c)) << ", not U+"
                    << static_cast<std::uint32_t>(expected);
    }
  }
  EXPECT_EQ(wrong, 0u);
}

TEST(CaseFoldTest, FoldsTheLettersPeopleTypeInNames) {
  const struct {
    char32_t letter;
    char32_t folded;
  } cases[] = {
      {U'A', U'a'},        {U'z', U'z'},          {U'É', U'é'},         {U'Ÿ', U'ÿ'},
      {U'Σ', U'σ'},        {U'ς', U'σ'},          {U'Ж', U'ж'},         {U'Ѐ', U'ѐ'},
      {U'K', U'k'} /* Kelvin */, {U'ſ', U's'},    {U'ẞ', U'ß'},         {U'µ', U'μ'},
      {U'Ǆ', U'ǆ'},        {U'ǅ', U'ǆ'},          {U'Ꭰ', U'Ꭰ'},         {U'ꭰ', U'Ꭰ'},
      {U'𐐀', U'𐐨'},       {U'Ａ', U'ａ'},         {U'İ', U'İ'},         {U'ß', U'ß'},
      {U'1', U'1'},        {U'.', U'.'},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(static_cast<std::uint32_t>(SimpleCaseFold(c.letter)),
              static_cast<std::uint32_t>(c.folded))
        << std::hex << static_cast<std::uint32_t>(c.letter);
  }
}

TEST(CaseFoldTest, CodePointsJoinPairsAndKeepLoneSurrogates) {
  EXPECT_EQ(CodePoints(u"a\U0001F600b"), U"a\U0001F600b");
  const std::u16string lone{u'a', char16_t(0xD800), u'b', char16_t(0xDC00)};
  EXPECT_EQ(CodePoints(lone), (std::u32string{U'a', 0xD800, U'b', 0xDC00}));
}

}  // namespace
}  // namespace velmora::text
