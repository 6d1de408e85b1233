#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "browse/FileRows.h"
#include "text/Utf.h"

namespace velmora::browse {
namespace {

using disc::Entry;
using disc::EntryType;

Entry Row(std::u16string name, EntryType type, std::uint32_t size, int year, int month, int day,
          int hour = 0, std::uint32_t fileId = 0) {
  Entry e;
  e.name = std::move(name);
  e.type = type;
  e.size = size;
  e.year = year;
  e.month = month;
  e.day = day;
  e.hour = static_cast<std::uint8_t>(hour);
  e.fileId = fileId;
  e.parentId = 0;
  return e;
}

TEST(FileRowsTest, ColumnTexts) {
  Entry file = Row(u"a", EntryType::kFile, 1234, 2001, 12, 3, 13, 77);
  file.minute = 4;
  file.second = 5;
  EXPECT_EQ(text::ToUtf8(DateText(file)), "03-12-2001 13:04:05");
  EXPECT_EQ(text::ToUtf8(SizeText(file)), "   1234");
  EXPECT_EQ(text::ToUtf8(FileIdText(file)), "77");
  Entry big = Row(u"b", EntryType::kFile, 12345678, 1999, 1, 3);
  EXPECT_EQ(text::ToUtf8(SizeText(big)), "12345678");
  big.fileId = 4000000000u;
  EXPECT_EQ(text::ToUtf8(FileIdText(big)), "4000000000");
  // A Session node: no date at all, as the command-line listing shows it.
  Entry node = Row(u"Session 1", EntryType::kFolder, 0, 0, 0, 0);
  EXPECT_EQ(text::ToUtf8(SizeText(node)), "      0");
  EXPECT_EQ(text::ToUtf8(DateText(node)), "");
  // Times that are no calendar time show nothing either.
  for (const auto& [month, day, hour] : {std::tuple{13, 1, 0}, {2, 30, 0}, {0, 1, 0}, {1, 1, 24}}) {
    Entry damaged = Row(u"d", EntryType::kFile, 1, 2001, month, day, hour);
    SCOPED_TRACE(month * 10000 + day * 100 + hour);
    EXPECT_EQ(text::ToUtf8(DateText(damaged)), "");
  }
}

struct SortCase {
  std::string name;
  int column;
  bool ascending;
  std::vector<std::string> order;
};

TEST(FileRowsTest, SortsByColumn) {
  disc::EntryTable table;
  table.AddRootNode(u"Root");
  // Discovery order: readme, Data, zeta, big, old, Alpha.
  const Entry rows[] = {
      Row(u"readme", EntryType::kFile, 9999999, 2001, 12, 3, 10, 50),
      Row(u"Data", EntryType::kFolder, 0, 2001, 12, 3, 9, 20),
      Row(u"zeta", EntryType::kFile, 2, 2001, 12, 3, 10, 30),
      Row(u"big", EntryType::kFile, 10000000, 2005, 6, 1, 0, 40),
      Row(u"old", EntryType::kFile, 5, 1999, 1, 3, 0, 10),
      Row(u"Alpha", EntryType::kFolder, 0, 1999, 1, 30, 0, 60),
  };
  for (const Entry& row : rows) table.AddEntry(row);
  const TypeTexts words{u"Dir", u"File"};
  const SortCase cases[] = {
      {"name up", 0, true, {"Alpha", "big", "Data", "old", "readme", "zeta"}},
      {"name down", 0, false, {"zeta", "readme", "old", "Data", "big", "Alpha"}},
      // Equal keys keep discovery order.
      {"type up", 1, true, {"Data", "Alpha", "readme", "zeta", "big", "old"}},
      {"type down", 1, false, {"readme", "zeta", "big", "old", "Data", "Alpha"}},
      // Eight digits sort after seven.
      {"size up", 2, true, {"Data", "Alpha", "zeta", "old", "readme", "big"}},
      // The whole date and time: 3 Jan 1999 before 30 Jan 1999 before 3 Dec 2001.
      {"date up", 3, true, {"old", "Alpha", "Data", "readme", "zeta", "big"}},
      {"date down", 3, false, {"big", "readme", "zeta", "Data", "Alpha", "old"}},
      {"file id up", 4, true, {"old", "Data", "zeta", "big", "readme", "Alpha"}},
  };
  for (const SortCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::size_t> order = table.ChildrenOf(0);
    ASSERT_TRUE(SortRows(table, order, c.column, c.ascending, words));
    std::vector<std::string> names;
    for (std::size_t i : order) names.push_back(text::ToUtf8(table[i].name));
    EXPECT_EQ(names, c.order);
  }
  std::vector<std::size_t> order = table.ChildrenOf(0);
  EXPECT_FALSE(SortRows(table, order, 5, true, words));
  EXPECT_EQ(order, table.ChildrenOf(0));
  // Another language's words order the types by those words.
  ASSERT_TRUE(SortRows(table, order, 1, true, TypeTexts{u"Verz", u"Datei"}));
  EXPECT_EQ(text::ToUtf8(table[order.front()].name), "readme");
}

}  // namespace
}  // namespace velmora::browse
