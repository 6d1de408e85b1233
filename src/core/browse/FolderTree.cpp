#include "browse/FolderTree.h"

#include <algorithm>

#include "browse/NameOrder.h"

namespace velmora::browse {
namespace {
const std::vector<std::size_t> kNoFolders;
}

FolderTree::FolderTree(const disc::EntryTable& table) : table_(table) { Rebuild(); }

void FolderTree::Rebuild() {
  root_ = kNone;
  parent_.clear();
  placed_.clear();
  subfolders_.clear();
  for (std::size_t i = 0; i < table_.size(); ++i) Place(i);
}

// The scan hangs a folder under the first folder with its Parent ID, searched
// from its session's node on; a parent found after the entry itself (only a
// table not made by a scan has one) would let the walk up loop, and is not taken.
std::size_t FolderTree::ListingFolder(std::size_t index) const {
  const disc::Entry& entry = table_[index];
  if (entry.parentId < 0) return kNone;
  std::size_t from = table_.SessionNodeIndex(entry.session);
  if (from == kNone) from = 0;
  std::size_t parent = table_.FindFolder(static_cast<std::uint32_t>(entry.parentId), from);
  if (parent == kNone || parent >= index || !Contains(parent)) return kNone;
  return parent;
}

bool FolderTree::Before(std::size_t a, std::size_t b) const {
  int order = CompareNames(table_[a].name, table_[b].name);
  return order != 0 ? order < 0 : a < b;
}

FolderTree::Slot FolderTree::SlotFor(std::size_t index) const {
  const disc::Entry& entry = table_[index];
  if (!entry.IsFolder()) return {};
  if (entry.parentId < 0) return {kNone, 0};
  std::size_t parent = ListingFolder(index);
  if (parent == kNone) return {};
  const auto& siblings = subfolders_[parent];
  auto at = std::lower_bound(siblings.begin(), siblings.end(), index,
                             [this](std::size_t a, std::size_t b) { return Before(a, b); });
  return {parent, static_cast<std::size_t>(at - siblings.begin())};
}

void FolderTree::Place(std::size_t index) {
  parent_.resize(table_.size(), kNone);
  placed_.resize(table_.size(), false);
  subfolders_.resize(table_.size());
  const disc::Entry& entry = table_[index];
  if (!entry.IsFolder()) return;
  if (entry.parentId < 0) {
    // Only the first Root counts; a second one would be a second tree.
    if (root_ == kNone) {
      root_ = index;
      placed_[index] = true;
    }
    return;
  }
  Slot slot = SlotFor(index);
  if (slot.parent == kNone) return;
  auto& siblings = subfolders_[slot.parent];
  siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(slot.row), index);
  parent_[index] = slot.parent;
  placed_[index] = true;
}

bool FolderTree::Contains(std::size_t index) const {
  return index < placed_.size() && placed_[index];
}

std::size_t FolderTree::ParentOf(std::size_t index) const {
  return index < parent_.size() ? parent_[index] : kNone;
}

const std::vector<std::size_t>& FolderTree::SubfoldersOf(std::size_t index) const {
  return index < subfolders_.size() ? subfolders_[index] : kNoFolders;
}

std::size_t FolderTree::RowOf(std::size_t index) const {
  std::size_t parent = ParentOf(index);
  if (parent == kNone) return 0;
  const auto& siblings = subfolders_[parent];
  auto at = std::lower_bound(siblings.begin(), siblings.end(), index,
                             [this](std::size_t a, std::size_t b) { return Before(a, b); });
  return static_cast<std::size_t>(at - siblings.begin());
}

std::vector<std::size_t> FolderTree::Subtree(std::size_t index) const {
  std::vector<std::size_t> folders;
  if (!Contains(index)) return folders;
  folders.push_back(index);
  for (std::size_t at = 0; at < folders.size(); ++at) {
    const auto& below = SubfoldersOf(folders[at]);
    folders.insert(folders.end(), below.begin(), below.end());
  }
  return folders;
}

bool FolderTree::IsAtOrAbove(std::size_t ancestor, std::size_t index) const {
  for (std::size_t at = index; at != kNone; at = ParentOf(at)) {
    if (at == ancestor) return true;
  }
  return false;
}

}  // namespace velmora::browse
