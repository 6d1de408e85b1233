#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "browse/FolderTree.h"
#include "browse/Totals.h"
#include "entries/EntryTable.h"

namespace velmora::browse {

// What ClassifySiblings finds among the folders beside an item.
enum class SiblingOutcome : std::uint8_t { kAllMarked = 1, kAllUnmarked = 2, kMixed = 3 };

// The states of the rows of a folder listing, as a file-row click reports them to
// the folder that is displayed. The words are never shown.
enum class RowSummary : std::uint8_t {
  kAllItemsUnchecked,
  kAllItemsBlackchecked,
  kAllItemsGreychecked,
  kAllItemsAreMixed,
};

// What SumMarked counts: marked folders and files (partly marked folders do not
// count, marked folders add no bytes) and whether anything counted. Root and
// the Session nodes stand for the disc and its sessions, not for folders on
// it: they never count.
struct MarkedSum {
  Totals totals;
  bool anyEntryMarked = false;
};

// The three-state marks of an entry table. A folder is marked only when all its
// subfolders and files are marked, unmarked only when all are unmarked, and
// partly marked otherwise; every folder above a partly marked one is partly
// marked. Marks live in the entries; every view shows them from there. Every
// entry whose state an operation changes is recorded in changed(), so that views
// repaint only what moved.
class Marking {
 public:
  Marking(disc::EntryTable& table, const FolderTree& tree) : table_(table), tree_(tree) {}

  // Sets folder and every folder below it, and every entry listed in any of
  // them, to value (kMarked or kUnmarked). Root sets every entry of the table.
  void SetSubtreeCheck(std::uint8_t value, std::size_t folder);
  // The folders beside item (item included): for value kMarked, kMixed as soon as
  // one is not marked, else kAllMarked; for kUnmarked, kMixed as soon as one is
  // marked or partly marked, else kAllUnmarked.
  SiblingOutcome ClassifySiblings(std::size_t item, std::uint8_t value) const;
  // True when every file listed in folder is marked (kAllMarked) or unmarked
  // (kAllUnmarked).
  bool FilesAgree(std::size_t folder, SiblingOutcome wanted) const;
  // One step of the upward walk from walk: gives its parent the state the
  // outcome and the parent's files call for and moves walk to it, or, for
  // kMixed, makes every folder above walk partly marked. False when the walk ends.
  bool SetParentState(std::size_t& walk, SiblingOutcome outcome);
  // The upward walk after item changed by a click of value; stops at Root.
  void PropagateUp(std::size_t item, std::uint8_t value);

  // The states of the entries listed in folder (its rows).
  RowSummary SummarizeRows(std::size_t folder) const;
  // A row box was clicked and row already carries value: the displayed folder
  // takes the rows' summary (file row) or the row's subtree takes value (folder
  // row); then the walk goes up.
  void ApplyRowCheck(std::uint8_t value, std::size_t row, RowSummary summary,
                     std::size_t displayed);

  // A click on the box of a tree folder: a tick (black or grey) unmarks, the empty
  // box marks. Returns the value set.
  std::uint8_t ClickFolderBox(std::size_t folder);
  // A click on the box of row, an entry listed in displayed. Returns the value set.
  std::uint8_t ClickRowBox(std::size_t row, std::size_t displayed);
  // Every entry to value.
  void SetAll(std::uint8_t value);
  // Entry index was just added by a scan: when the folder that lists it is
  // marked, it is marked too, so that a folder ticked while the scan runs
  // takes in everything the scan finds in it later. Returns true when it was.
  bool TakeFolderMark(std::size_t index);
  // The entry counts in the marked totals when marked: it is neither Root nor
  // a Session node.
  bool CountsAsMarked(std::size_t index) const;

  // Marked folders and files other than Root, with the bytes of the files.
  MarkedSum SumMarked() const;

  const disc::Entry& entry(std::size_t index) const { return table_[index]; }
  const std::vector<std::size_t>& changed() const { return changed_; }
  void ClearChanged() { changed_.clear(); }

  // The entries listed in folder: those whose Parent ID is its File ID.
  const std::vector<std::size_t>& RowsOf(std::size_t folder) const;

 private:
  void Set(std::size_t index, std::uint8_t state);

  disc::EntryTable& table_;
  const FolderTree& tree_;
  std::vector<std::size_t> changed_;
};

}  // namespace velmora::browse
