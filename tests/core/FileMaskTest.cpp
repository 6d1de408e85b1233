#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "entries/Entry.h"
#include "select/CivilDate.h"
#include "select/FileMask.h"
#include "select/MaskCriteria.h"
#include "text/Utf.h"

namespace velmora::select {
namespace {

using disc::Entry;

Entry FileNamed(std::u16string name, std::uint32_t size = 0, CivilDate date = {2024, 6, 1}) {
  Entry e;
  e.name = std::move(name);
  e.size = size;
  e.year = date.year;
  e.month = date.month;
  e.day = date.day;
  return e;
}

std::string Show(CivilDate d) {
  return std::to_string(d.year) + "-" + std::to_string(d.month) + "-" + std::to_string(d.day);
}

TEST(FileMaskTest, TokensAreTrimmedPiecesOfTheMaskText) {
  const struct {
    std::u16string text;
    std::vector<std::u16string> wildcards;
  } cases[] = {
      {u"*.txt;*.doc", {u"*.txt", u"*.doc"}},
      {u"*.txt; *.doc ;\t.pdf", {u"*.txt", u"*.doc", u"*.pdf"}},
      {u";;txt;;", {u"*.txt"}},
      {u" ; . ; ", {}},
      {u"", {}},
      {u"readme.txt;IMG_00??.JPG", {u"readme.txt", u"IMG_00??.JPG"}},
  };
  for (const auto& c : cases) {
    std::vector<std::u16string> wildcards;
    for (const MaskToken& token : MaskTokensOf(c.text)) wildcards.push_back(token.wildcard);
    EXPECT_EQ(wildcards, c.wildcards) << text::ToUtf8(c.text);
  }
}

TEST(FileMaskTest, NameTestMatchesEachTokenAgainstTheWholeName) {
  const struct {
    std::u16string mask;
    bool matchCase;
    std::vector<std::u16string> pass;
    std::vector<std::u16string> fail;
  } cases[] = {
      {u"*.txt;*.doc", false, {u"a.txt", u"B.DOC", u"x.y.txt"}, {u"a.pdf", u"txt", u"a.txt.bak"}},
      {u"*.txt; *.doc", false, {u"a.doc"}, {u"a.docx"}},
      {u"*.gz", false, {u"archive.tar.gz", u"A.GZ"}, {u"gz"}},
      {u"*.*", false, {u"README", u"a.b", u".profile"}, {}},
      {u"*.jpg;*.*", false, {u"noext", u"a.txt"}, {}},
      {u"txt", false, {u"a.TXT"}, {u"txt", u"atxt"}},
      {u".TXT", true, {u"a.TXT"}, {u"a.txt"}},
      {u"*.txt", true, {u"a.txt"}, {u"a.TXT"}},
      {u"x", false, {u"a.x"}, {u"x", u"noext"}},
      {u"thesis*.doc", false, {u"Thesis-2.doc"}, {u"thesis.docx"}},
      {u"  ;  ", false, {u"anything", u"a.b"}, {}},  // names nothing: no name test
  };
  for (const auto& c : cases) {
    MaskCriteria criteria;
    criteria.maskText = c.mask;
    criteria.matchCase = c.matchCase;
    const FileMask mask(criteria, {2024, 6, 1});
    for (const auto& name : c.pass) {
      EXPECT_TRUE(mask.Passes(FileNamed(name))) << text::ToUtf8(c.mask) << " / " << text::ToUtf8(name);
    }
    for (const auto& name : c.fail) {
      EXPECT_FALSE(mask.Passes(FileNamed(name))) << text::ToUtf8(c.mask) << " / " << text::ToUtf8(name);
    }
  }
}

TEST(FileMaskTest, ExistenceTestGoesByState2) {
  const struct {
    bool existingFiles;
    std::uint8_t state2;
    bool pass;
  } cases[] = {
      {true, 2, true}, {true, 1, true}, {true, 0, true}, {false, 2, false}, {false, 1, true},
      {false, 0, false},
  };
  for (const auto& c : cases) {
    MaskCriteria criteria;
    criteria.existingFiles = c.existingFiles;
    Entry file = FileNamed(u"a.txt");
    file.state2 = c.state2;
    EXPECT_EQ(FilePassesMask(file, criteria, {2024, 6, 1}), c.pass)
        << c.existingFiles << " " << int(c.state2);
  }
}

TEST(FileMaskTest, SizeBoundsAreWholeKilobytes) {
  const struct {
    std::optional<std::uint32_t> from;
    std::optional<std::uint32_t> upto;
    std::uint32_t bytes;
    bool pass;
  } cases[] = {
      {1, {}, 999, false},   {1, {}, 1000, true},   {1, {}, 1999, true},   {2, {}, 1999, false},
      {{}, 1, 999, true},    {{}, 1, 1000, false},  {{}, 1, 1999, false},  {{}, 2, 1999, true},
      {{}, 2, 2000, false},  {0, {}, 0, true},      {{}, 0, 0, false},
      // Every typed bound applies, 1 and 2 as much as larger ones.
      {{}, 3, 2999, true},   {{}, 3, 3000, false},
      {1, 2, 1500, true},    {1, 2, 500, false},    {1, 2, 2500, false},
      {{}, {}, 4000000000u, true},                  {4000000, {}, 4000000000u, true},
  };
  for (const auto& c : cases) {
    MaskCriteria criteria;
    criteria.sizeFromActive = c.from.has_value();
    criteria.sizeFrom = c.from.value_or(0);
    criteria.sizeUptoActive = c.upto.has_value();
    criteria.sizeUpto = c.upto.value_or(0);
    EXPECT_EQ(FilePassesMask(FileNamed(u"f.bin", c.bytes), criteria, {2024, 6, 1}), c.pass)
        << c.from.value_or(99) << " " << c.upto.value_or(99) << " " << c.bytes;
  }
}

TEST(FileMaskTest, AnUncheckedBoundIsNotAppliedWhateverItsValue) {
  MaskCriteria criteria;
  criteria.sizeFrom = 500;
  criteria.sizeUpto = 1;
  criteria.days = 1;
  criteria.months = 1;
  criteria.dateA = {1990, 1, 1};
  criteria.dateB = {1990, 1, 2};
  EXPECT_TRUE(FilePassesMask(FileNamed(u"a", 5000, {2000, 1, 1}), criteria, {2024, 6, 1}));
}

TEST(FileMaskTest, CalendarArithmetic) {
  const struct {
    CivilDate today;
    std::uint32_t days;
    std::uint32_t months;
    CivilDate cutOff;
  } cases[] = {
      {{2023, 3, 3}, 5, 0, {2023, 2, 26}},      // a common year
      {{2024, 3, 3}, 5, 0, {2024, 2, 27}},      // a leap year
      {{2024, 3, 20}, 5, 0, {2024, 3, 15}},
      {{2024, 1, 3}, 5, 0, {2023, 12, 29}},     // across the year end
      {{2024, 3, 1}, 1, 0, {2024, 2, 29}},      // onto a leap day
      {{2024, 12, 31}, 366, 0, {2023, 12, 31}},
      {{2024, 6, 15}, 365, 0, {2023, 6, 16}},
      {{2024, 3, 10}, 0, 3, {2023, 12, 10}},
      {{2024, 3, 10}, 0, 2, {2024, 1, 10}},
      {{2024, 3, 10}, 0, 12, {2023, 3, 10}},
      {{2024, 3, 10}, 0, 27, {2021, 12, 10}},
      {{2023, 5, 31}, 0, 3, {2023, 2, 28}},     // a day February lacks
      {{2024, 5, 31}, 0, 3, {2024, 2, 29}},
      {{2024, 2, 29}, 0, 12, {2023, 2, 28}},
  };
  for (const auto& c : cases) {
    const CivilDate got = c.days ? DaysBefore(c.today, c.days) : MonthsBefore(c.today, c.months);
    EXPECT_EQ(got, c.cutOff) << Show(c.today) << " " << c.days << "d " << c.months << "m: "
                             << Show(got);
  }
  // Windows reaching before any disc date stay inside the calendar.
  EXPECT_LT(DaysBefore({2024, 1, 1}, 4000000000u), (CivilDate{1, 1, 1}));
  EXPECT_LT(MonthsBefore({2024, 1, 1}, 4000000000u), (CivilDate{1, 1, 1}));
}

TEST(FileMaskTest, DateWindowsKeepFilesFromTheCutOffOn) {
  const struct {
    CivilDate today;
    std::uint32_t days;
    std::uint32_t months;
    CivilDate file;
    bool pass;
  } cases[] = {
      {{2023, 3, 3}, 5, 0, {2023, 2, 26}, true},
      {{2023, 3, 3}, 5, 0, {2023, 2, 25}, false},
      {{2023, 3, 3}, 5, 0, {2023, 3, 3}, true},
      {{2024, 3, 3}, 5, 0, {2024, 2, 29}, true},
      {{2024, 3, 3}, 5, 0, {2024, 2, 26}, false},
      {{2024, 1, 2}, 3, 0, {2023, 12, 30}, true},
      {{2024, 1, 2}, 3, 0, {2023, 12, 29}, false},
      {{2024, 3, 10}, 0, 3, {2023, 12, 10}, true},
      {{2024, 3, 10}, 0, 3, {2023, 12, 9}, false},
      {{2024, 3, 10}, 0, 12, {2023, 3, 10}, true},
      {{2024, 3, 10}, 0, 12, {2023, 3, 9}, false},
      {{2024, 3, 10}, 0, 1, {2024, 2, 10}, true},
      // Later this year passes (a disc written ahead of UTC); a later year not.
      {{2024, 3, 10}, 5, 0, {2024, 3, 11}, true},
      {{2024, 12, 31}, 5, 0, {2025, 1, 1}, false},
      // Dates a damaged disc holds still order.
      {{2024, 3, 10}, 30, 0, {2024, 0, 0}, false},
      {{2024, 3, 10}, 30, 0, {2024, 2, 32}, true},
  };
  for (const auto& c : cases) {
    MaskCriteria criteria;
    criteria.daysActive = c.days > 0;
    criteria.days = c.days;
    criteria.monthsActive = c.months > 0;
    criteria.months = c.months;
    EXPECT_EQ(FilePassesMask(FileNamed(u"f", 1, c.file), criteria, c.today), c.pass)
        << Show(c.today) << " " << c.days << "d " << c.months << "m file " << Show(c.file);
  }
}

TEST(FileMaskTest, DateRangeTakesWholeDatesInEitherOrder) {
  const CivilDate early{2023, 11, 20};
  const CivilDate late{2024, 2, 5};
  const struct {
    CivilDate file;
    bool pass;
  } cases[] = {
      {{2023, 11, 20}, true}, {{2023, 11, 19}, false}, {{2023, 12, 1}, true},
      {{2024, 1, 31}, true},  {{2024, 2, 5}, true},    {{2024, 2, 6}, false},
      {{2023, 12, 31}, true}, {{2024, 1, 1}, true},    {{2022, 12, 25}, false},
      {{2024, 11, 21}, false},
  };
  for (const bool swapped : {false, true}) {
    MaskCriteria criteria;
    criteria.betweenActive = true;
    criteria.dateA = swapped ? late : early;
    criteria.dateB = swapped ? early : late;
    for (const auto& c : cases) {
      EXPECT_EQ(FilePassesMask(FileNamed(u"f", 1, c.file), criteria, {2024, 6, 1}), c.pass)
          << Show(c.file) << (swapped ? " swapped" : "");
    }
  }
}

TEST(FileMaskTest, NumberBoxesReadTheirLeadingDigits) {
  const struct {
    std::u16string text;
    std::uint32_t value;
  } cases[] = {
      {u"0", 0}, {u"12", 12}, {u"12kb", 12}, {u"kb", 0}, {u"", 0}, {u" 7", 7}, {u"-3", 0},
      {u"4294967295", 4294967295u}, {u"99999999999", 4294967295u},
  };
  for (const auto& c : cases) EXPECT_EQ(MaskNumber(c.text), c.value) << text::ToUtf8(c.text);
}

}  // namespace
}  // namespace velmora::select
