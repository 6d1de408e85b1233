#pragma once

#include <cstddef>
#include <vector>

#include "entries/EntryTable.h"

namespace velmora::browse {

// The folder tree over an entry table: Root at the top, the Session nodes and
// folders below their parent folder, sorted by name. Files have no place in it;
// the folder that lists a file is found by its Parent ID. Everything is named by
// entry index, never by name or File ID, so two entries with one File ID or with
// names that differ only in case stay apart.
class FolderTree {
 public:
  static constexpr std::size_t kNone = disc::EntryTable::kNone;

  explicit FolderTree(const disc::EntryTable& table);

  // Forgets everything and places every entry of the table again.
  void Rebuild();
  // Where folder entry index would go under its parent: the parent (kNone when
  // the entry gets no place) and the row. Call before Place.
  struct Slot {
    std::size_t parent = kNone;
    std::size_t row = 0;
  };
  Slot SlotFor(std::size_t index) const;
  // Places entry index, the newest of the table, in the tree (files and folders
  // whose parent is not in the tree get no place).
  void Place(std::size_t index);

  std::size_t root() const { return root_; }
  // How many entries of the table (from the first) have been placed.
  std::size_t placedCount() const { return parent_.size(); }
  bool Contains(std::size_t index) const;
  // The folder that holds folder index in the tree; kNone for Root, files and
  // folders without a place.
  std::size_t ParentOf(std::size_t index) const;
  // The folder in the tree that lists entry index, a file or a folder (the one
  // the scan hung it under); kNone when that folder has no place.
  std::size_t ListingFolder(std::size_t index) const;
  // The subfolders of folder index, sorted by name.
  const std::vector<std::size_t>& SubfoldersOf(std::size_t index) const;
  // The row of folder index under its parent (0 for Root).
  std::size_t RowOf(std::size_t index) const;
  // Folder index and every folder below it, parents before children.
  std::vector<std::size_t> Subtree(std::size_t index) const;
  // True when ancestor is folder index or one of the folders above it.
  bool IsAtOrAbove(std::size_t ancestor, std::size_t index) const;

  const disc::EntryTable& table() const { return table_; }

 private:
  bool Before(std::size_t a, std::size_t b) const;

  const disc::EntryTable& table_;
  std::size_t root_ = kNone;
  std::vector<std::size_t> parent_;
  std::vector<bool> placed_;
  std::vector<std::vector<std::size_t>> subfolders_;
};

}  // namespace velmora::browse
