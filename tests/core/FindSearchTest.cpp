#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "entries/EntryTable.h"
#include "host/AppState.h"
#include "select/FindSearch.h"
#include "text/Utf.h"

namespace velmora::select {
namespace {

using disc::Entry;
using disc::EntryTable;
using disc::EntryType;

Entry Folder(std::uint32_t id, std::int32_t parent, std::u16string name) {
  Entry e;
  e.type = EntryType::kFolder;
  e.fileId = id;
  e.parentId = parent;
  e.name = std::move(name);
  return e;
}

Entry File(std::uint32_t id, std::int32_t parent, std::u16string name) {
  Entry e;
  e.fileId = id;
  e.parentId = parent;
  e.name = std::move(name);
  return e;
}

// Root(0) DOCS(20) readme.txt notes.TXT PICS(21) a.jpg README.TXT thesis.doc
EntryTable Disc() {
  EntryTable table;
  table.AddRootNode(u"Root");
  table.AddEntry(Folder(20, 0, u"DOCS"));
  table.AddEntry(File(30, 20, u"readme.txt"));
  table.AddEntry(File(31, 20, u"notes.TXT"));
  table.AddEntry(Folder(21, 0, u"PICS"));
  table.AddEntry(File(32, 21, u"a.jpg"));
  table.AddEntry(File(33, 0, u"README.TXT"));
  table.AddEntry(File(34, 20, u"thesis.doc"));
  return table;
}

// Every hit of a pattern in order, as Find and then Find Next until code 4.
std::vector<std::size_t> AllHits(const EntryTable& table, std::u16string_view pattern,
                                 bool matchCase) {
  AppState state;
  FindSearch search;
  std::vector<std::size_t> hits;
  FindStep step = search.Start(table, pattern, matchCase, state);
  while (step.hit) {
    hits.push_back(*step.hit);
    step = search.Next(table, state);
  }
  return hits;
}

TEST(FindSearchTest, HitsComeInTableOrder) {
  const EntryTable table = Disc();
  const struct {
    std::u16string pattern;
    bool matchCase;
    std::vector<std::size_t> hits;
  } cases[] = {
      {u"*.TXT", false, {2, 3, 6}},
      {u"*.TXT", true, {3, 6}},
      {u"readme.txt", false, {2, 6}},
      {u"root", false, {0}},
      {u"*", false, {0, 1, 2, 3, 4, 5, 6, 7}},
      {u"*.*", false, {0, 1, 2, 3, 4, 5, 6, 7}},
      {u"????", false, {0, 1, 4}},
      {u"*s*", false, {1, 3, 4, 7}},
      {u"nothing", false, {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AllHits(table, c.pattern, c.matchCase), c.hits) << text::ToUtf8(c.pattern);
  }
}

TEST(FindSearchTest, FlagsAndCodesFollowTheSearch) {
  const EntryTable table = Disc();
  AppState state;
  FindSearch search;

  // An empty pattern searches nothing and changes nothing.
  FindStep step = search.Start(table, u"", false, state);
  EXPECT_FALSE(step.hit);
  EXPECT_EQ(step.errorCode, 0);
  EXPECT_FALSE(state.findNextAvailable);
  EXPECT_FALSE(state.lastFindMatched);

  step = search.Start(table, u"*.txt", false, state);
  EXPECT_EQ(step.hit, 2u);
  EXPECT_EQ(step.errorCode, 0);
  EXPECT_EQ(search.findCursor(), 2u);
  EXPECT_TRUE(state.findNextAvailable);
  EXPECT_TRUE(state.lastFindMatched);

  EXPECT_EQ(search.Next(table, state).hit, 3u);
  EXPECT_EQ(search.Next(table, state).hit, 6u);
  EXPECT_TRUE(state.lastFindMatched);
  step = search.Next(table, state);
  EXPECT_FALSE(step.hit);
  EXPECT_EQ(step.errorCode, 4);
  EXPECT_FALSE(state.findNextAvailable);
  EXPECT_FALSE(state.lastFindMatched);
  // Exhausted: later Find Next calls end the same way at once.
  EXPECT_EQ(search.Next(table, state).errorCode, 4);

  // A first search that finds nothing: code 3, Find Next still offered once.
  step = search.Start(table, u"*.pdf", false, state);
  EXPECT_FALSE(step.hit);
  EXPECT_EQ(step.errorCode, 3);
  EXPECT_TRUE(state.findNextAvailable);
  EXPECT_FALSE(state.lastFindMatched);
  step = search.Next(table, state);
  EXPECT_EQ(step.errorCode, 4);
  EXPECT_FALSE(state.findNextAvailable);

  // A new Find starts over at the head.
  EXPECT_EQ(search.Start(table, u"*.TXT", true, state).hit, 3u);
}

TEST(FindSearchTest, ReplacingTheEntryListForgetsTheSearch) {
  EntryTable table = Disc();
  AppState state;
  FindSearch search;
  ASSERT_EQ(search.Start(table, u"*.txt", false, state).hit, 2u);
  ASSERT_EQ(search.Next(table, state).hit, 3u);

  // A mask or a new scan replaces the list: Find Next is unavailable and would
  // not resume at an entry of the old list.
  search.Reset(state);
  EXPECT_FALSE(state.findNextAvailable);
  EXPECT_FALSE(state.lastFindMatched);
  EXPECT_EQ(search.findCursor(), 0u);
  table = EntryTable();
  table.AddRootNode(u"Root");
  table.AddEntry(File(40, 0, u"only.txt"));
  EXPECT_EQ(search.Next(table, state).errorCode, 4);
  EXPECT_EQ(search.Start(table, u"*.txt", false, state).hit, 1u);
}

TEST(FindSearchTest, ATableShorterThanTheCursorEndsTheSearch) {
  const EntryTable table = Disc();
  AppState state;
  FindSearch search;
  ASSERT_EQ(search.Start(table, u"thesis.doc", false, state).hit, 7u);
  EntryTable shorter;
  shorter.AddRootNode(u"Root");
  EXPECT_EQ(search.Next(shorter, state).errorCode, 4);
}

}  // namespace
}  // namespace velmora::select
