#include <gtest/gtest.h>

#include <memory>

#include "browse/FolderTree.h"
#include "browse/Marking.h"
#include "browse/MarkingCommands.h"
#include "platform/emulated/EmulatedMachine.h"
#include "support/EngineScan.h"
#include "support/MultiSessionBuilder.h"
#include "support/TempDir.h"
#include "support/TreeWriter.h"

namespace velmora::browse {
namespace {

// A two-session disc read through the emulated drive: Root holds Session 1 and
// Session 2, each with the folders its session wrote.
class TwoSessionMarking : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::WriteTree(dir / "s1", {{.path = "OLD.TXT", .content = "old"},
                                    {.path = "DOCS/ONE.TXT", .content = "one"}});
    testing::WriteTree(dir / "s2", {{.path = "OLD.TXT", .content = "old"},
                                    {.path = "DOCS/ONE.TXT", .content = "one"},
                                    {.path = "DOCS/TWO.TXT", .content = "two!"}});
    auto disc = testing::MakeMultiSessionDisc({dir / "s1", dir / "s2"}, dir / "disc.img", 300);
    auto machine = std::make_unique<platform::emulated::EmulatedMachine>(1);
    platform::emulated::EmulatedDisc emulated;
    emulated.imagePath = disc.image.string();
    emulated.tracks = disc.tracks;
    machine->InsertDisc(0, emulated);
    engine = std::make_unique<testing::EngineScan>(std::move(machine));
    engine->ScanDrive();
  }
  testing::TempDir dir;
  std::unique_ptr<testing::EngineScan> engine;
};

TEST_F(TwoSessionMarking, ASessionBoxMarksThatSessionOnly) {
  disc::EntryTable& table = engine->table;
  FolderTree tree(table);
  Marking marking(table, tree);
  const std::size_t first = table.SessionNodeIndex(1);
  const std::size_t second = table.SessionNodeIndex(2);
  ASSERT_NE(second, disc::EntryTable::kNone);
  EXPECT_EQ(tree.SubfoldersOf(tree.root()), (std::vector<std::size_t>{first, second}));

  marking.ClickFolderBox(first);
  std::size_t marked = 0;
  for (std::size_t i = 0; i < table.size(); ++i) {
    const disc::Entry& entry = table[i];
    SCOPED_TRACE(engine->PathOf(i));
    if (i == tree.root()) {
      EXPECT_EQ(entry.checkState, disc::kPartlyMarked);
    } else if (i == first || entry.session == 1) {
      EXPECT_EQ(entry.checkState, disc::kMarked);
      ++marked;
    } else {
      EXPECT_EQ(entry.checkState, disc::kUnmarked);
    }
  }
  // Session 1: its node, DOCS, DOCS/ONE.TXT and OLD.TXT; the node is no folder
  // of the disc and is not counted.
  EXPECT_EQ(marked, 4u);
  EXPECT_EQ(marking.SumMarked().totals, (Totals{6, 2, 1}));

  // With the second session marked too, Root has every box ticked.
  marking.ClickFolderBox(second);
  EXPECT_EQ(table[tree.root()].checkState, disc::kMarked);
  marking.ClickFolderBox(first);
  EXPECT_EQ(table[tree.root()].checkState, disc::kPartlyMarked);
  EXPECT_EQ(table[second].checkState, disc::kMarked);
}

class NoPanes : public TotalsPanes {
 public:
  void SetDiscTotalsText(std::u16string_view) override {}
  void SetMarkedTotalsText(std::u16string_view) override {}
};

// Select All and the same marks made by clicks count the same folders: the
// disc's, never Root or the Session nodes.
TEST_F(TwoSessionMarking, SelectAllAndClicksCountTheSameFolders) {
  disc::EntryTable& table = engine->table;
  FolderTree tree(table);
  Marking marking(table, tree);
  NoPanes panes;
  TotalsDisplay totals(panes);
  AppState state;
  MarkingCommands commands(marking, totals, state);

  commands.SelectAll();
  const Totals selectAll = totals.marked();
  commands.UnselectAll();
  commands.FolderBoxClicked(table.SessionNodeIndex(1));
  commands.FolderBoxClicked(table.SessionNodeIndex(2));
  EXPECT_EQ(table[tree.root()].checkState, disc::kMarked);
  EXPECT_EQ(totals.marked(), selectAll);
  // A DOCS folder per session; OLD.TXT and ONE.TXT under the first session
  // that holds them, TWO.TXT under the second.
  EXPECT_EQ(selectAll, (Totals{10, 3, 2}));
}

}  // namespace
}  // namespace velmora::browse
