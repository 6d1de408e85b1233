#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "browse/EntryListing.h"
#include "entries/EntryTable.h"
#include "select/ApplyMask.h"
#include "select/FileMask.h"

namespace velmora::select {
namespace {

using disc::Entry;
using disc::EntryTable;
using disc::EntryType;

Entry Make(EntryType type, std::uint32_t id, std::int32_t parent, std::u16string name,
           std::uint32_t size = 0, std::uint8_t session = 0) {
  Entry e;
  e.type = type;
  e.fileId = id;
  e.parentId = parent;
  e.name = std::move(name);
  e.size = size;
  e.session = session;
  e.year = 2024;
  e.month = 1;
  e.day = 1;
  return e;
}

Entry Folder(std::uint32_t id, std::int32_t parent, std::u16string name, std::uint8_t session = 0) {
  return Make(EntryType::kFolder, id, parent, std::move(name), 0, session);
}
Entry File(std::uint32_t id, std::int32_t parent, std::u16string name, std::uint32_t size,
           std::uint8_t session = 0) {
  return Make(EntryType::kFile, id, parent, std::move(name), size, session);
}

std::vector<std::string> Paths(const EntryTable& table) {
  const browse::EntryListing listing(table);
  std::vector<std::string> paths;
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (i != listing.root()) paths.push_back(listing.PathOf(i));
  }
  return paths;
}

MaskedTable Masked(const EntryTable& table, std::u16string maskText) {
  MaskCriteria criteria;
  criteria.maskText = std::move(maskText);
  return ApplyMask(table, FileMask(criteria, {2024, 6, 1}));
}

EntryTable SingleSession() {
  EntryTable table;
  table.AddRootNode(u"Root");
  table.AddEntry(Folder(20, 0, u"DOCS"));
  table.AddEntry(Folder(21, 20, u"OLD"));
  table.AddEntry(Folder(22, 0, u"PICS"));
  table.AddEntry(Folder(23, 0, u"EMPTY"));
  table.AddEntry(File(30, 0, u"top.txt", 10));
  table.AddEntry(File(31, 20, u"a.txt", 100));
  table.AddEntry(File(32, 21, u"old.TXT", 1000));
  table.AddEntry(File(33, 22, u"p.jpg", 5000));
  table.AddEntry(File(34, 99, u"orphan.txt", 7));  // its folder is not in the table
  table.AddEntry(File(35, 21, u"archive.tar.gz", 3));
  return table;
}

TEST(ApplyMaskTest, KeepsPassingFilesAndTheirFoldersInTableOrder) {
  const EntryTable complete = SingleSession();
  const struct {
    std::u16string mask;
    std::vector<std::string> paths;
    std::uint64_t bytes;
    std::size_t files;
    std::size_t folders;
  } cases[] = {
      {u"*.txt", {"DOCS", "DOCS/OLD", "top.txt", "DOCS/a.txt", "DOCS/OLD/old.TXT"}, 1110, 3, 2},
      {u"*.jpg", {"PICS", "PICS/p.jpg"}, 5000, 1, 1},
      {u"*.gz", {"DOCS", "DOCS/OLD", "DOCS/OLD/archive.tar.gz"}, 3, 1, 2},
      {u"*.pdf", {}, 0, 0, 0},
      {u"", {"DOCS", "DOCS/OLD", "PICS", "top.txt", "DOCS/a.txt", "DOCS/OLD/old.TXT",
             "PICS/p.jpg", "DOCS/OLD/archive.tar.gz"}, 6113, 5, 3},
  };
  for (const auto& c : cases) {
    const MaskedTable masked = Masked(complete, c.mask);
    EXPECT_EQ(Paths(masked.table), c.paths);
    EXPECT_EQ(masked.byteTotal, c.bytes);
    EXPECT_EQ(masked.fileCount, c.files);
    EXPECT_EQ(masked.folderCount, c.folders);
    ASSERT_EQ(masked.sourceIndex.size(), masked.table.size());
    for (std::size_t i = 0; i < masked.table.size(); ++i) {
      EXPECT_EQ(masked.table[i].name, complete[masked.sourceIndex[i]].name);
    }
  }
}

TEST(ApplyMaskTest, MultiSessionFoldersFindTheirOwnSession) {
  EntryTable complete;
  complete.AddRootNode(u"Root");
  complete.AddSessionNodes(2, 500);
  complete.SetCurrentSessionNode(complete.SessionNodeIndex(1));
  complete.AddEntry(Folder(20, 501, u"A", 1));
  complete.AddEntry(File(30, 20, u"one.txt", 1, 1));
  complete.SetCurrentSessionNode(complete.SessionNodeIndex(2));
  // The second session reuses folder extent 20 under its own node.
  complete.AddEntry(Folder(20, 502, u"B", 2));
  complete.AddEntry(File(31, 20, u"two.txt", 2, 2));
  complete.AddEntry(File(32, 20, u"two.jpg", 2, 2));

  const browse::EntryListing completeListing(complete);
  for (const std::u16string& mask : {std::u16string(u"two.*"), std::u16string(u"*.txt"),
                                     std::u16string(u"*.jpg")}) {
    const MaskedTable masked = Masked(complete, mask);
    const browse::EntryListing maskedListing(masked.table);
    // Session nodes stay; every entry sits where it sat in the complete tree.
    EXPECT_EQ(masked.table.SessionNodeIndex(2), 2u);
    for (std::size_t i = 1; i < masked.table.size(); ++i) {
      EXPECT_EQ(maskedListing.PathOf(i), completeListing.PathOf(masked.sourceIndex[i]));
    }
  }
  EXPECT_EQ(Masked(complete, u"*.jpg").fileCount, 1u);
  EXPECT_EQ(Masked(complete, u"*.txt").fileCount, 2u);
}

TEST(ApplyMaskTest, MarksCarryOverBothWays) {
  EntryTable complete = SingleSession();
  complete.at(6).checkState = disc::kMarked;  // DOCS/a.txt
  MaskedTable masked = Masked(complete, u"*.txt");
  ASSERT_EQ(masked.table[4].name, u"a.txt");
  EXPECT_EQ(masked.table[4].checkState, disc::kMarked);
  masked.table.at(5).checkState = disc::kMarked;  // old.TXT, marked while masked
  masked.table.at(4).checkState = disc::kUnmarked;
  CarryMarksBack(masked, complete);
  EXPECT_EQ(complete[7].checkState, disc::kMarked);
  EXPECT_EQ(complete[6].checkState, disc::kUnmarked);
  EXPECT_EQ(complete[8].checkState, disc::kUnmarked);  // hidden files keep theirs
}

TEST(ApplyMaskTest, FoldersFollowTheirContentsAfterMarksCameBack) {
  // Marking everything the mask shows, then unmasking: DOCS and OLD hold files
  // the mask hid, so they are partly marked; Root too.
  EntryTable complete = SingleSession();
  MaskedTable masked = Masked(complete, u"*.txt");
  for (std::size_t i = 0; i < masked.table.size(); ++i) masked.table.at(i).checkState = disc::kMarked;
  CarryMarksBack(masked, complete);
  RecomputeFolderMarks(complete);
  const struct {
    std::size_t index;
    std::uint8_t state;
  } cases[] = {
      {0, disc::kPartlyMarked},  // Root
      {1, disc::kPartlyMarked},  // DOCS: a.txt marked, OLD partly
      {2, disc::kPartlyMarked},  // OLD: old.TXT marked, archive.tar.gz not
      {3, disc::kUnmarked},      // PICS
      {4, disc::kUnmarked},      // EMPTY keeps its state
      {5, disc::kMarked},        {6, disc::kMarked}, {7, disc::kMarked}, {10, disc::kUnmarked},
  };
  for (const auto& c : cases) EXPECT_EQ(complete[c.index].checkState, c.state) << c.index;

  // A mask that shows only marked files shows their folders marked.
  complete.at(10).checkState = disc::kMarked;
  RecomputeFolderMarks(complete);
  MaskedTable old = Masked(complete, u"*.txt;*.gz");
  RecomputeFolderMarks(old.table);
  EXPECT_EQ(old.table[1].checkState, disc::kMarked);  // DOCS
  EXPECT_EQ(old.table[0].checkState, disc::kMarked);  // Root
}

TEST(ApplyMaskTest, AnEmptyTableStaysEmpty) {
  EXPECT_EQ(Masked(EntryTable(), u"*.txt").table.size(), 0u);
}

}  // namespace
}  // namespace velmora::select
