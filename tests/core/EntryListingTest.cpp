#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "browse/EntryListing.h"
#include "entries/EntryTable.h"
#include "support/TextFiles.h"

namespace velmora::browse {
namespace {

using disc::Entry;
using disc::EntryTable;
using disc::EntryType;

Entry Make(EntryType type, std::uint32_t id, std::int32_t parent, std::u16string name,
           std::uint8_t session = 0) {
  Entry e;
  e.type = type;
  e.fileId = id;
  e.parentId = parent;
  e.name = std::move(name);
  e.session = session;
  e.size = type == EntryType::kFile ? 1000u + id : 0u;
  e.year = 2024;
  e.month = 2;
  e.day = 29;
  e.hour = 7;
  e.minute = 5;
  e.second = 9;
  return e;
}

using testing::Lines;

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1) {
    fields.push_back(line.substr(start, tab - start));
  }
  fields.push_back(line.substr(start));
  return fields;
}

std::string Tsv(const EntryTable& table) {
  std::ostringstream out;
  WriteTsvListing(table, out);
  return out.str();
}

// Names that need escaping or more than one UTF-8 byte, an empty one, files
// whose folder is missing, folders below folders listed earlier and later.
EntryTable AwkwardNames() {
  EntryTable table;
  table.AddRootNode(u"Root");
  table.AddEntry(Make(EntryType::kFolder, 20, 0, u"a/b"));
  table.AddEntry(Make(EntryType::kFolder, 21, 20, u"tab\there"));
  table.AddEntry(Make(EntryType::kFolder, 22, 21, u""));
  table.AddEntry(Make(EntryType::kFile, 30, 22, u"after empty"));
  table.AddEntry(Make(EntryType::kFile, 31, 21, u"back\\slash\r\n"));
  table.AddEntry(Make(EntryType::kFile, 32, 20, std::u16string(u"nul\0bell\a", 9)));
  table.AddEntry(Make(EntryType::kFile, 33, 0, u"caf\u00e9 \u20ac"));
  table.AddEntry(Make(EntryType::kFile, 34, 0, u"clef \U0001D11E"));
  table.AddEntry(Make(EntryType::kFile, 35, 0, std::u16string(u"lone \xD800 half")));
  table.AddEntry(Make(EntryType::kFile, 36, 99, u"orphan.txt"));
  table.AddEntry(Make(EntryType::kFolder, 23, 22, u"deeper"));
  table.AddEntry(Make(EntryType::kFile, 37, 23, u"deepest.txt"));
  table.AddEntry(Make(EntryType::kFile, 38, 20, u"late.txt"));
  Entry link = Make(EntryType::kFile, 39, 23, u"link");
  link.linkTarget = u"../up/tab\there";
  table.AddEntry(link);
  return table;
}

EntryTable TwoSessions() {
  EntryTable table;
  table.AddRootNode(u"Root");
  table.AddSessionNodes(2, 500);
  table.SetCurrentSessionNode(table.SessionNodeIndex(1));
  table.AddEntry(Make(EntryType::kFolder, 20, 501, u"DOCS", 1));
  table.AddEntry(Make(EntryType::kFile, 30, 20, u"a.txt", 1));
  table.SetCurrentSessionNode(table.SessionNodeIndex(2));
  // The same File ID again, below the second Session node.
  table.AddEntry(Make(EntryType::kFolder, 20, 502, u"DOCS", 2));
  table.AddEntry(Make(EntryType::kFile, 31, 20, u"b.txt", 2));
  return table;
}

// A chain of folders far deeper than any real disc nests them.
EntryTable DeepChain() {
  EntryTable table;
  table.AddRootNode(u"Root");
  std::int32_t parent = 0;
  for (std::uint32_t level = 0; level < 300; ++level) {
    const std::uint32_t id = 1000 + level;
    const auto digit = static_cast<char16_t>(u'0' + level % 10);
    table.AddEntry(Make(EntryType::kFolder, id, parent, u"level" + std::u16string(1, digit)));
    table.AddEntry(Make(EntryType::kFile, 5000 + level, static_cast<std::int32_t>(id), u"f"));
    parent = static_cast<std::int32_t>(id);
  }
  return table;
}

// Every line of the listing names its entry by EscapedPathOf, and carries its
// type, size, date and extent, in table order, Root left out.
TEST(EntryListingTest, TsvLinesMatchTheEntriesPathByPath) {
  const struct {
    const char* name;
    EntryTable table;
  } cases[] = {{"awkward names", AwkwardNames()}, {"two sessions", TwoSessions()},
               {"deep chain", DeepChain()}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const EntryListing listing(c.table);
    const std::vector<std::string> lines = Lines(Tsv(c.table));
    ASSERT_EQ(lines.size(), c.table.size() - 1);
    std::size_t line = 0;
    for (std::size_t i = 0; i < c.table.size(); ++i) {
      if (i == listing.root()) continue;
      const Entry& entry = c.table[i];
      const std::vector<std::string> fields = Fields(lines[line++]);
      ASSERT_EQ(fields.size(), entry.IsLink() ? 6u : 5u) << lines[line - 1];
      EXPECT_EQ(fields[0], listing.EscapedPathOf(i));
      EXPECT_EQ(fields[1], entry.IsFolder() ? "d" : entry.IsLink() ? "l" : "f");
      EXPECT_EQ(fields[2], std::to_string(entry.size));
      EXPECT_EQ(fields[3], FormatEntryDate(entry));
      EXPECT_EQ(fields[4], std::to_string(entry.fileId));
      if (entry.IsLink()) {
        EXPECT_EQ(fields[5], "../up/tab\\there");
      }
    }
  }
}

TEST(EntryListingTest, TsvPathsEscapeEachNameAndMarkMissingFolders) {
  const std::vector<std::string> lines = Lines(Tsv(AwkwardNames()));
  std::vector<std::string> paths;
  for (const std::string& line : lines) paths.push_back(Fields(line)[0]);
  EXPECT_EQ(Fields(lines.back()).back(), "../up/tab\\there");
  const std::vector<std::string> expected = {
      "a\\/b",
      "a\\/b/tab\\there",
      "a\\/b/tab\\there/",
      // After an empty name the next one follows a "/" as it does after any
      // other name.
      "a\\/b/tab\\there//after empty",
      "a\\/b/tab\\there/back\\\\slash\\r\\n",
      "a\\/b/nul\\x00bell\\x07",
      "caf\xC3\xA9 \xE2\x82\xAC",
      "clef \xF0\x9D\x84\x9E",
      "lone \xEF\xBF\xBD half",
      "?/orphan.txt",
      "a\\/b/tab\\there//deeper",
      "a\\/b/tab\\there//deeper/deepest.txt",
      "a\\/b/late.txt",
      "a\\/b/tab\\there//deeper/link",
  };
  EXPECT_EQ(paths, expected);
}

TEST(EntryListingTest, TsvDateIsEmptyUnlessTheFieldsAreARealTime) {
  const struct {
    std::int32_t year, month, day;
    std::uint8_t hour, minute, second;
    const char* shown;
  } cases[] = {
      {2024, 2, 29, 7, 5, 9, "2024-02-29 07:05:09"},
      {1900, 1, 1, 0, 0, 0, "1900-01-01 00:00:00"},
      {12345, 12, 31, 23, 59, 59, "12345-12-31 23:59:59"},
      {7, 3, 4, 1, 2, 3, "0007-03-04 01:02:03"},
      {2023, 2, 29, 0, 0, 0, ""},
      {2024, 13, 1, 0, 0, 0, ""},
      {0, 1, 1, 0, 0, 0, ""},
      {2024, 1, 1, 24, 0, 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shown);
    EntryTable table;
    table.AddRootNode(u"Root");
    Entry file = Make(EntryType::kFile, 30, 0, u"x");
    file.year = c.year;
    file.month = c.month;
    file.day = c.day;
    file.hour = c.hour;
    file.minute = c.minute;
    file.second = c.second;
    table.AddEntry(file);
    const std::vector<std::string> lines = Lines(Tsv(table));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(Fields(lines[0])[3], c.shown);
    EXPECT_EQ(FormatEntryDate(table[1]), c.shown);
  }
}

}  // namespace
}  // namespace velmora::browse
