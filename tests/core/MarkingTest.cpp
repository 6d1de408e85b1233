#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "browse/FolderTree.h"
#include "browse/Marking.h"
#include "browse/MarkingCommands.h"
#include "entries/EntryTable.h"
#include "text/Utf.h"

namespace velmora::browse {
namespace {

using disc::Entry;
using disc::EntryType;
using disc::kMarked;
using disc::kPartlyMarked;
using disc::kUnmarked;

// A small disc as the scan would add it:
//   Root/ A/ (a1 10, a2 20, Readme 0, README 0, AA/ (aa1 5)), B/ (BB/ (bb1 7)), top 1
// "Readme" and "README" share one extent, as empty files often do.
struct SmallDisc {
  disc::EntryTable table;
  std::map<std::string, std::size_t> index;

  SmallDisc() {
    table.AddRootNode(u"Root");
    index["Root"] = 0;
    Add("A", EntryType::kFolder, 100, 0);
    Add("B", EntryType::kFolder, 200, 0);
    Add("top", EntryType::kFile, 300, 0, 1);
    Add("a1", EntryType::kFile, 101, 100, 10);
    Add("a2", EntryType::kFile, 102, 100, 20);
    Add("Readme", EntryType::kFile, 500, 100);
    Add("README", EntryType::kFile, 500, 100);
    Add("AA", EntryType::kFolder, 110, 100);
    Add("aa1", EntryType::kFile, 111, 110, 5);
    Add("BB", EntryType::kFolder, 210, 200);
    Add("bb1", EntryType::kFile, 211, 210, 7);
  }

  void Add(const std::string& name, EntryType type, std::uint32_t fileId, std::int32_t parentId,
           std::uint32_t size = 0) {
    Entry entry;
    entry.name = text::FromUtf8(name);
    entry.type = type;
    entry.fileId = fileId;
    entry.parentId = parentId;
    entry.size = size;
    index[name] = table.AddEntry(std::move(entry));
  }

  std::uint8_t State(const std::string& name) const { return table[index.at(name)].checkState; }
};

struct Click {
  enum Kind { kTreeBox, kRowBox } kind;
  std::string target;
  std::string displayed = "";  // the folder whose rows are shown, for a row click
};

struct MarkingCase {
  std::string name;
  std::vector<Click> clicks;
  std::map<std::string, std::uint8_t> expected;  // entries not named stay as named in rest
  std::uint8_t rest;                               // the state of every other entry
  Totals marked;
};

class MarkingCases : public ::testing::TestWithParam<MarkingCase> {};

TEST_P(MarkingCases, ClicksLeaveEveryEntryInItsState) {
  const MarkingCase& c = GetParam();
  SmallDisc disc;
  FolderTree tree(disc.table);
  Marking marking(disc.table, tree);
  for (const Click& click : c.clicks) {
    if (click.kind == Click::kTreeBox) {
      marking.ClickFolderBox(disc.index.at(click.target));
    } else {
      marking.ClickRowBox(disc.index.at(click.target), disc.index.at(click.displayed));
    }
  }
  for (const auto& [name, at] : disc.index) {
    auto it = c.expected.find(name);
    std::uint8_t want = it == c.expected.end() ? c.rest : it->second;
    EXPECT_EQ(disc.State(name), want) << name;
  }
  EXPECT_EQ(marking.SumMarked().totals, c.marked);
}

const Click kRootBox{Click::kTreeBox, "Root"};

INSTANTIATE_TEST_SUITE_P(
    SmallDisc, MarkingCases,
    ::testing::Values(
        MarkingCase{"RootMarksEverything", {kRootBox}, {}, kMarked, {43, 7, 4}},
        MarkingCase{"RootTwiceUnmarksEverything", {kRootBox, kRootBox}, {}, kUnmarked, {}},
        MarkingCase{"LastUnmarkedFileMarksTheFolder",
                    {{Click::kTreeBox, "AA"},
                     {Click::kRowBox, "a1", "A"},
                     {Click::kRowBox, "Readme", "A"},
                     {Click::kRowBox, "README", "A"},
                     {Click::kRowBox, "a2", "A"}},
                    {{"A", kMarked}, {"a1", kMarked}, {"a2", kMarked}, {"Readme", kMarked},
                     {"README", kMarked}, {"AA", kMarked}, {"aa1", kMarked},
                     {"Root", kPartlyMarked}},
                    kUnmarked,
                    {35, 5, 2}},
        MarkingCase{"LastFileLeavesTheFolderGreyWhileASubfolderIsUnmarked",
                    {{Click::kRowBox, "a1", "A"},
                     {Click::kRowBox, "Readme", "A"},
                     {Click::kRowBox, "README", "A"},
                     {Click::kRowBox, "a2", "A"}},
                    {{"A", kPartlyMarked}, {"a1", kMarked}, {"a2", kMarked},
                     {"Readme", kMarked}, {"README", kMarked}, {"Root", kPartlyMarked}},
                    kUnmarked,
                    {30, 4, 0}},
        MarkingCase{"OnlySubfolderOfAFilelessParentMarksTheParent",
                    {{Click::kTreeBox, "BB"}},
                    {{"B", kMarked}, {"BB", kMarked}, {"bb1", kMarked}, {"Root", kPartlyMarked}},
                    kUnmarked,
                    {7, 1, 2}},
        MarkingCase{"APartlyMarkedLevelGreysEveryAncestor",
                    {kRootBox, {Click::kRowBox, "aa1", "AA"}},
                    {{"aa1", kUnmarked}, {"AA", kUnmarked}, {"A", kPartlyMarked},
                     {"Root", kPartlyMarked}},
                    kMarked,
                    {38, 6, 2}},
        MarkingCase{"AGreyFolderClickedInTheTreeUnmarksItsSubtree",
                    {{Click::kRowBox, "a1", "A"}, {Click::kTreeBox, "A"}},
                    {},
                    kUnmarked,
                    {}},
        MarkingCase{"AGreyFolderRowClickedUnmarksItsSubtree",
                    {{Click::kTreeBox, "B"},
                     {Click::kRowBox, "aa1", "AA"},
                     {Click::kRowBox, "A", "Root"}},
                    {{"B", kMarked}, {"BB", kMarked}, {"bb1", kMarked}, {"Root", kPartlyMarked}},
                    kUnmarked,
                    {7, 1, 2}},
        MarkingCase{"NamesDifferingInCaseAreTwoRows",
                    {{Click::kRowBox, "README", "A"}},
                    {{"README", kMarked}, {"A", kPartlyMarked}, {"Root", kPartlyMarked}},
                    kUnmarked,
                    {0, 1, 0}},
        MarkingCase{"EveryRowOfRootMarkedMarksRoot",
                    {{Click::kRowBox, "A", "Root"},
                     {Click::kRowBox, "B", "Root"},
                     {Click::kRowBox, "top", "Root"}},
                    {},
                    kMarked,
                    {43, 7, 4}},
        MarkingCase{"UnmarkingOneRowOfAllMarkedLeavesTheFolderGrey",
                    {kRootBox, {Click::kRowBox, "top", "Root"}},
                    {{"top", kUnmarked}, {"Root", kPartlyMarked}},
                    kMarked,
                    {42, 6, 4}}),
    [](const ::testing::TestParamInfo<MarkingCase>& param) { return param.param.name; });

TEST(MarkingTest, ChangedListsEveryEntryWhoseStateMoved) {
  SmallDisc disc;
  FolderTree tree(disc.table);
  Marking marking(disc.table, tree);
  marking.ClickFolderBox(disc.index.at("BB"));
  std::vector<std::size_t> changed = marking.changed();
  std::sort(changed.begin(), changed.end());
  std::vector<std::size_t> expected{disc.index.at("Root"), disc.index.at("B"),
                                    disc.index.at("BB"), disc.index.at("bb1")};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(changed, expected);
}

TEST(MarkingTest, SummaryWordsOfTheRows) {
  SmallDisc disc;
  FolderTree tree(disc.table);
  Marking marking(disc.table, tree);
  const std::size_t a = disc.index.at("A");
  EXPECT_EQ(marking.SummarizeRows(a), RowSummary::kAllItemsUnchecked);
  marking.SetSubtreeCheck(kMarked, a);
  EXPECT_EQ(marking.SummarizeRows(a), RowSummary::kAllItemsBlackchecked);
  marking.ClickRowBox(disc.index.at("a1"), a);
  EXPECT_EQ(marking.SummarizeRows(a), RowSummary::kAllItemsAreMixed);
  // B lists only BB; BB partly marked makes every row grey.
  disc.table.at(disc.index.at("BB")).checkState = kPartlyMarked;
  EXPECT_EQ(marking.SummarizeRows(disc.index.at("B")), RowSummary::kAllItemsGreychecked);
}

class RecordingPanes : public TotalsPanes {
 public:
  void SetDiscTotalsText(std::u16string_view text) override { disc = text::ToUtf8(text); }
  void SetMarkedTotalsText(std::u16string_view text) override { marked = text::ToUtf8(text); }
  std::string disc, marked;
};

struct Commands {
  SmallDisc disc;
  FolderTree tree{disc.table};
  Marking marking{disc.table, tree};
  RecordingPanes panes;
  TotalsDisplay totals{panes};
  AppState state;
  MarkingCommands commands{marking, totals, state};
};

// Select All counts its marks by the rule clicks follow, not from the disc
// pane (whose counters a scan may have taken past entries it dropped).
TEST(MarkingCommandsTest, SelectAllCountsAsClicksDoAndUnselectAllZeros) {
  Commands c;
  c.totals.ShowDiscTotals({5000, 9, 3});
  c.commands.SelectAll();
  EXPECT_TRUE(c.state.allMarked);
  EXPECT_TRUE(c.state.anyEntryMarked);
  EXPECT_EQ(c.disc.State("bb1"), kMarked);
  // As RootMarksEverything counts by clicks: 43 bytes, 7 files, 4 folders.
  EXPECT_EQ(c.panes.marked, "Marked 43 Bytes in 7 Files in 4 Folders");
  // A language switch shows the same numbers again.
  c.totals.Relabel();
  EXPECT_EQ(c.panes.marked, "Marked 43 Bytes in 7 Files in 4 Folders");
  EXPECT_EQ(c.panes.disc, "Total  4.88 KB in 9 Files in 3 Folders");

  c.commands.UnselectAll();
  EXPECT_FALSE(c.state.allMarked || c.state.anyEntryMarked || c.state.markedTotalsNonZero);
  EXPECT_EQ(c.disc.State("Root"), kUnmarked);
  EXPECT_EQ(c.disc.State("bb1"), kUnmarked);
  EXPECT_EQ(c.panes.marked, "Marked 0 Bytes in 0 Files in 0 Folders");
  c.totals.Relabel();
  EXPECT_EQ(c.panes.marked, "Marked 0 Bytes in 0 Files in 0 Folders");
}

// A folder ticked while the scan runs keeps its meaning: what the scan adds
// in it later is ticked and counted; a grey folder's new entries stay
// unticked, so it stays grey.
TEST(MarkingCommandsTest, EntriesAScanAddsInAMarkedFolderTakeItsMark) {
  Commands c;
  c.commands.FolderBoxClicked(c.disc.index.at("B"));
  c.commands.RowBoxClicked(c.disc.index.at("a1"), c.disc.index.at("A"));
  EXPECT_EQ(c.panes.marked, "Marked 17 Bytes in 2 Files in 2 Folders");
  struct Added {
    std::string name;
    EntryType type;
    std::uint32_t fileId;
    std::int32_t parentId;
    std::uint32_t size;
    std::uint8_t state;
  };
  const Added added[] = {
      {"b2", EntryType::kFile, 201, 200, 100, kMarked},          // in B, marked
      {"BC", EntryType::kFolder, 220, 200, 0, kMarked},          // a folder in B
      {"bc1", EntryType::kFile, 221, 220, 1000, kMarked},        // in that folder
      {"a3", EntryType::kFile, 103, 100, 50, kUnmarked},         // in grey A
      {"AB", EntryType::kFolder, 120, 100, 0, kUnmarked},        // a folder in grey A
      {"top2", EntryType::kFile, 301, 0, 9, kUnmarked},          // in grey Root
  };
  for (const Added& entry : added) {
    SCOPED_TRACE(entry.name);
    c.disc.Add(entry.name, entry.type, entry.fileId, entry.parentId, entry.size);
    const std::size_t index = c.disc.index.at(entry.name);
    c.tree.Place(index);
    EXPECT_EQ(c.commands.EntryAdded(index), entry.state == kMarked);
    EXPECT_EQ(c.disc.State(entry.name), entry.state);
  }
  EXPECT_EQ(c.disc.State("B"), kMarked);
  EXPECT_EQ(c.disc.State("A"), kPartlyMarked);
  // The pane follows when asked, with what a recount would show.
  EXPECT_EQ(c.panes.marked, "Marked 17 Bytes in 2 Files in 2 Folders");
  c.commands.ShowMarkedTotals();
  EXPECT_EQ(c.panes.marked, "Marked 1.09 KB in 4 Files in 3 Folders");
  c.commands.RecountMarked();
  EXPECT_EQ(c.panes.marked, "Marked 1.09 KB in 4 Files in 3 Folders");
  EXPECT_TRUE(c.state.anyEntryMarked);
}

TEST(MarkingCommandsTest, ClicksSetTheFlagsFromTheMarks) {
  Commands c;
  c.commands.SelectAll();
  // Unmarking anything ends "all marked".
  c.commands.RowBoxClicked(c.disc.index.at("top"), c.disc.index.at("Root"));
  EXPECT_FALSE(c.state.allMarked);
  EXPECT_TRUE(c.state.anyEntryMarked);
  EXPECT_EQ(c.panes.marked, "Marked 42 Bytes in 6 Files in 4 Folders");
  c.commands.FolderBoxClicked(c.disc.index.at("Root"));
  EXPECT_FALSE(c.state.anyEntryMarked);
  EXPECT_FALSE(c.state.markedTotalsNonZero);
  // Only empty files marked: no bytes, yet something is marked and can be
  // unmarked.
  c.commands.RowBoxClicked(c.disc.index.at("Readme"), c.disc.index.at("A"));
  EXPECT_TRUE(c.state.anyEntryMarked);
  EXPECT_TRUE(c.state.markedTotalsNonZero);
  EXPECT_EQ(c.panes.marked, "Marked 0 Bytes in 1 Files in 0 Folders");
  c.commands.ForgetMarks();
  EXPECT_FALSE(c.state.anyEntryMarked || c.state.markedTotalsNonZero);
  EXPECT_EQ(c.panes.marked, "Marked 0 Bytes in 0 Files in 0 Folders");
}

TEST(FolderTreeTest, FoldersSortByNameUnderTheFolderThatHoldsThem) {
  disc::EntryTable table;
  table.AddRootNode(u"Root");
  auto add = [&](std::u16string name, std::uint32_t id, std::int32_t parent, EntryType type) {
    Entry e;
    e.name = std::move(name);
    e.fileId = id;
    e.parentId = parent;
    e.type = type;
    return table.AddEntry(std::move(e));
  };
  FolderTree tree(table);
  std::size_t zeta = add(u"zeta", 10, 0, EntryType::kFolder);
  tree.Place(zeta);
  std::size_t file = add(u"file", 11, 0, EntryType::kFile);
  tree.Place(file);
  std::size_t alpha = add(u"Alpha", 12, 0, EntryType::kFolder);
  EXPECT_EQ(tree.SlotFor(alpha).row, 0u);
  tree.Place(alpha);
  std::size_t beta = add(u"beta", 13, 0, EntryType::kFolder);
  tree.Place(beta);
  std::size_t inner = add(u"inner", 14, 12, EntryType::kFolder);
  tree.Place(inner);
  EXPECT_EQ(tree.SubfoldersOf(0), (std::vector<std::size_t>{alpha, beta, zeta}));
  EXPECT_EQ(tree.RowOf(zeta), 2u);
  EXPECT_EQ(tree.ParentOf(inner), alpha);
  EXPECT_FALSE(tree.Contains(file));
  EXPECT_EQ(tree.Subtree(alpha), (std::vector<std::size_t>{alpha, inner}));
  EXPECT_TRUE(tree.IsAtOrAbove(0, inner));
  EXPECT_FALSE(tree.IsAtOrAbove(beta, inner));
  // Rebuilding from the table gives the same tree.
  FolderTree again(table);
  EXPECT_EQ(again.SubfoldersOf(0), tree.SubfoldersOf(0));
}

}  // namespace
}  // namespace velmora::browse
