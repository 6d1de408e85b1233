#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/AppState.h"
#include "select/RecoveryFilterList.h"
#include "text/Utf.h"

namespace velmora::select {
namespace {

TEST(RecoveryFilterListTest, KeepsUniqueTextsInCopyOrderAcrossIncludeAndExclude) {
  AppState state;
  RecoveryFilterList list;
  const std::vector<std::u16string> first{u"jpg", u"txt", u"jpg", u"JPG"};
  list.Apply(first, true, state);
  EXPECT_TRUE(state.filterApplied);
  EXPECT_TRUE(state.recoveryFilterInclude);
  // The dialog shows the stored texts again, sorted, and copies its whole list.
  const std::vector<std::u16string> second{u"JPG", u"doc", u"jpg", u"txt", u" txt"};
  list.Apply(second, false, state);
  EXPECT_FALSE(state.recoveryFilterInclude);
  EXPECT_EQ(list.texts(), (std::vector<std::u16string>{u"jpg", u"txt", u"JPG", u"doc", u" txt"}));
  // Exclude now applies to the earlier texts too.
  EXPECT_FALSE(list.Takes(u"a.txt", state));
  EXPECT_TRUE(list.Takes(u"a.png", state));
}

TEST(RecoveryFilterListTest, ClearEmptiesTheListAndLetsEveryFileThrough) {
  AppState state;
  state.pendingFilterCount = 3;
  RecoveryFilterList list;
  const std::vector<std::u16string> texts{u"txt"};
  list.Apply(texts, true, state);
  ASSERT_FALSE(list.Takes(u"a.jpg", state));
  list.Clear(state);
  EXPECT_TRUE(list.empty());
  EXPECT_FALSE(state.filterApplied);
  EXPECT_EQ(state.pendingFilterCount, 0);
  EXPECT_TRUE(state.recoveryFilterInclude);  // the mode stays
  EXPECT_TRUE(list.Takes(u"a.jpg", state));
  // A text added after Clear is stored again.
  list.Add(texts);
  EXPECT_EQ(list.texts(), texts);
}

struct MatchCase {
  std::u16string text;
  std::vector<std::u16string> matching;
  std::vector<std::u16string> notMatching;
};

TEST(RecoveryFilterListTest, WhatATextMatches) {
  const std::vector<MatchCase> cases = {
      // Extensions, with or without the dot or "*.", any case.
      {u"txt", {u"a.txt", u"B.TXT", u"x.y.Txt", u".txt"}, {u"txt", u"a.txt2", u"atxt", u"a.tx"}},
      {u".TXT", {u"a.txt", u"B.TXT"}, {u"a.txt.bak", u"TXT"}},
      {u"*.jpg", {u"a.jpg", u"IMG.JPG"}, {u"a.jpeg", u"jpg"}},
      {u".tar.gz", {u"x.tar.gz", u"X.TAR.GZ"}, {u"x.gz", u"x.tar"}},
      {u"tar.gz", {u"tar.gz", u"TAR.GZ"}, {u"x.tar.gz"}},
      // A dot inside and no wildcard: one whole name.
      {u"IMG_0001.JPG",
       {u"IMG_0001.JPG", u"img_0001.jpg"},
       {u"IMG_0001.JPG.bak", u"xIMG_0001.JPG"}},
      // Wildcards over the whole name.
      {u"IMG_00??.JPG",
       {u"IMG_0001.JPG", u"img_0042.jpg"},
       {u"IMG_001.JPG", u"IMG_00001.JPG", u"IMG_0001.JPEG"}},
      {u"*2019*", {u"2019", u"holiday 2019.jpg", u"x2019"}, {u"201", u"2 0 1 9"}},
      {u"a*b*c", {u"abc", u"aXbYc", u"abbbc", u"ab c"}, {u"acb", u"abcx"}},
      {u"?", {u"a", u"\U0001F600", u"\u00E9"}, {u"", u"ab"}},
      // Letters of other alphabets fold too.
      {u"\u00C9T\u00C9.*", {u"\u00E9t\u00E9.doc"}, {u"ete.doc"}},
      {u"\u0424\u041E\u0422\u041E.*", {u"\u0444\u043E\u0442\u043E.jpg"}, {u"foto.jpg"}},
      // Several terms in one text, blanks around them ignored, empty lines skipped.
      {u" jpg\r\n\n\t.txt \n", {u"a.jpg", u"b.txt"}, {u"c.png", u" jpg"}},
      {u"a\nb", {u"x.a", u"y.B"}, {u"a", u"x.ab"}},
      // Nothing to match: blanks, empty lines, a lone dot.
      {u"  \n\t", {}, {u"a.txt", u"", u"a."}},
      {u".", {}, {u"a.", u"."}},
  };
  for (const MatchCase& c : cases) {
    SCOPED_TRACE(text::ToUtf8(c.text));
    RecoveryFilterList list;
    list.Add(std::vector<std::u16string>{c.text});
    for (const std::u16string& name : c.matching)
      EXPECT_TRUE(list.Matches(name)) << text::ToUtf8(name);
    for (const std::u16string& name : c.notMatching)
      EXPECT_FALSE(list.Matches(name)) << text::ToUtf8(name);
  }
}

TEST(RecoveryFilterListTest, TakesByModeAndFlag) {
  struct Case {
    bool filterApplied;
    bool include;
    std::vector<std::u16string> texts;
    bool takesTxt;
    bool takesJpg;
  };
  const std::vector<Case> cases = {
      {true, true, {u"txt"}, true, false},  {true, false, {u"txt"}, false, true},
      {false, true, {u"txt"}, true, true},  // a filter not applied filters nothing
      {true, true, {u" \n "}, true, true},  // neither does a list without a term
      {true, false, {u" \n "}, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "applied " << c.filterApplied << " include " << c.include
                                      << " text " << text::ToUtf8(c.texts.front()));
    AppState state;
    RecoveryFilterList list;
    list.Add(c.texts);
    state.filterApplied = c.filterApplied;
    state.recoveryFilterInclude = c.include;
    EXPECT_EQ(list.Takes(u"notes.TXT", state), c.takesTxt);
    EXPECT_EQ(list.Takes(u"photo.jpg", state), c.takesJpg);
  }
}

}  // namespace
}  // namespace velmora::select
