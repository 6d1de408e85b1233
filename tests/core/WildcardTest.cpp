#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "select/WildcardMatcher.h"
#include "text/Utf.h"

namespace velmora::select {
namespace {

struct NameCase {
  std::u16string pattern;
  bool matchCase;
  std::vector<std::u16string> found;
  std::vector<std::u16string> missed;
};

// The names Find takes for a pattern (Wildcard with the name rule).
TEST(WildcardTest, FindPatternsMatchWholeNames) {
  const std::vector<NameCase> cases = {
      {u"*.TXT", false, {u"readme.txt", u"A.TXT", u".txt", u"a.b.txt"}, {u"readme.txt2", u"txt"}},
      {u"a*", false, {u"a", u"A", u"abc", u"a.doc"}, {u"ba", u""}},
      {u"*x*", false, {u"xyz", u"axe", u"x", u"ABX"}, {u"abc"}},
      {u"???", false, {u"abc", u"a.b", u"ÄÖÜ", u"\U0001F600ab"}, {u"ab", u"abcd", u""}},
      {u"a.b.c", false, {u"A.B.C", u"a.b.c"}, {u"a.b", u"a.b.c.d", u"axb.c"}},
      {u".profile", false, {u".profile", u".PROFILE"}, {u"profile", u"x.profile"}},
      {u"abc.*", false, {u"ABC", u"abc.doc", u"abc.txt", u"abc.", u"abc.tar.gz"}, {u"abcd", u"ab"}},
      {u"abc.t*", false, {u"abc.txt", u"ABC.T"}, {u"ABC", u"abc.doc"}},
      {u"abc.*t", false, {u"abc.txt", u"abc.t", u"abc.x.t"}, {u"abc.doc", u"ABC"}},
      {u"*.*", false, {u"a", u"a.b", u".x", u"ROOT", u"Session 1"}, {}},
      {u"*", false, {u"a", u"", u"a.b"}, {}},
      {u"readme.txt", false, {u"README.TXT", u"readme.txt"}, {u"readme.txt.bak"}},
      {u"readme.txt", true, {u"readme.txt"}, {u"README.TXT", u"Readme.txt"}},
      {u"*.TXT", true, {u"A.TXT"}, {u"a.txt"}},
      {u"thesis*.doc", false, {u"Thesis.doc", u"thesis-final.DOC"}, {u"thesis.docx"}},
      {u"*a*b*c", false, {u"abc", u"aXbYc", u"aabbcc", u"abcabc"}, {u"acb", u"abcx"}},
      {u"?*?", false, {u"ab", u"abc"}, {u"a"}},
      // Unicode simple case folding, and Match Case keeping cases apart.
      {u"ÉTÉ.*", false, {u"été.jpg", u"ÉTÉ"}, {u"ete.jpg"}},
      {u"σοφία*", false, {u"ΣΟΦΊΑ.TXT", u"ΣΟΦΊΑς"}, {}},
      {u"привет.txt", false, {u"ПРИВЕТ.TXT"}, {u"привет.tx"}},
      {u"ſ*", false, {u"S", u"soft"}, {u"t"}},
      {u"ÉTÉ.*", true, {u"ÉTÉ.jpg"}, {u"été.jpg"}},
      {u"\U00010400*", false, {u"\U00010428x"}, {u"x"}},
      // Wildcard characters in a name are ordinary characters there.
      {u"a?c", false, {u"a*c", u"a?c", u"abc"}, {u"ac"}},
  };
  for (const NameCase& c : cases) {
    const Wildcard pattern(c.pattern, c.matchCase ? Wildcard::Case::kMatch : Wildcard::Case::kIgnore,
                           Wildcard::DotStar::kNameRule);
    for (const std::u16string& name : c.found) {
      EXPECT_TRUE(pattern.Matches(name)) << text::ToUtf8(c.pattern) << " should find " << text::ToUtf8(name);
    }
    for (const std::u16string& name : c.missed) {
      EXPECT_FALSE(pattern.Matches(name)) << text::ToUtf8(c.pattern) << " should miss " << text::ToUtf8(name);
    }
  }
}

TEST(WildcardTest, NamesLongerThan255CharactersMatch) {
  const std::u16string longName = std::u16string(300, u'x') + u".Doc";
  const std::u16string longPattern = std::u16string(280, u'X') + u"*.doc";
  for (const std::u16string& pattern : {std::u16string(u"*.doc"), longPattern, std::u16string(300, u'?') + u".*"}) {
    EXPECT_TRUE(Wildcard(pattern, Wildcard::Case::kIgnore, Wildcard::DotStar::kNameRule).Matches(longName))
        << pattern.size();
  }
  EXPECT_FALSE(Wildcard(std::u16string(301, u'?') + u".doc").Matches(longName));
  // A pattern of many stars over a long name that does not match ends quickly.
  std::u16string stars;
  for (int i = 0; i < 200; ++i) stars += u"*x";
  EXPECT_FALSE(Wildcard(stars + u"y").Matches(std::u16string(5000, u'x')));
}

TEST(WildcardTest, PlainWildcardsKeepDotStarLiteral) {
  // Paths for --select: ".*" asks for a dot, "*" spans "/".
  EXPECT_FALSE(WildcardMatch(u"docs/*.*", u"docs/readme"));
  EXPECT_TRUE(WildcardMatch(u"docs/*.*", u"docs/sub/READ.ME"));
  EXPECT_TRUE(WildcardMatch(u"*/IMG_00??.JPG", u"Photos/2024/img_0042.jpg"));
}

TEST(WildcardTest, NameTermsStandForExtensionsOrWholeNames) {
  const struct {
    std::u16string term;
    std::u16string wildcard;
  } cases[] = {
      {u"txt", u"*.txt"},           {u".txt", u"*.txt"},         {u".tar.gz", u"*.tar.gz"},
      {u"*.gz", u"*.gz"},           {u"IMG_00??.JPG", u"IMG_00??.JPG"},
      {u"readme.txt", u"readme.txt"},
  };
  for (const auto& c : cases) EXPECT_EQ(NameTermWildcard(c.term), c.wildcard) << text::ToUtf8(c.term);
}

}  // namespace
}  // namespace velmora::select
