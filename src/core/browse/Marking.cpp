#include "browse/Marking.h"

namespace velmora::browse {

using disc::kMarked;
using disc::kPartlyMarked;
using disc::kUnmarked;

void Marking::Set(std::size_t index, std::uint8_t state) {
  disc::Entry& entry = table_.at(index);
  if (entry.checkState == state) return;
  entry.checkState = state;
  changed_.push_back(index);
}

const std::vector<std::size_t>& Marking::RowsOf(std::size_t folder) const {
  return table_.ChildrenOf(table_[folder].fileId);
}

void Marking::SetAll(std::uint8_t value) {
  for (std::size_t i = 0; i < table_.size(); ++i) Set(i, value);
}

void Marking::SetSubtreeCheck(std::uint8_t value, std::size_t folder) {
  if (folder == tree_.root()) {
    SetAll(value);
    return;
  }
  for (std::size_t at : tree_.Subtree(folder)) {
    Set(at, value);
    for (std::size_t row : RowsOf(at)) Set(row, value);
  }
}

SiblingOutcome Marking::ClassifySiblings(std::size_t item, std::uint8_t value) const {
  std::size_t parent = tree_.ParentOf(item);
  const std::vector<std::size_t> alone{item};
  const auto& siblings = parent == FolderTree::kNone ? alone : tree_.SubfoldersOf(parent);
  for (std::size_t sibling : siblings) {
    std::uint8_t state = table_[sibling].checkState;
    if (value == kMarked ? state != kMarked : state != kUnmarked) return SiblingOutcome::kMixed;
  }
  return value == kMarked ? SiblingOutcome::kAllMarked : SiblingOutcome::kAllUnmarked;
}

bool Marking::FilesAgree(std::size_t folder, SiblingOutcome wanted) const {
  const std::uint8_t state = wanted == SiblingOutcome::kAllMarked ? kMarked : kUnmarked;
  for (std::size_t row : RowsOf(folder)) {
    const disc::Entry& entry = table_[row];
    if (!entry.IsFolder() && entry.checkState != state) return false;
  }
  return true;
}

bool Marking::SetParentState(std::size_t& walk, SiblingOutcome outcome) {
  std::size_t parent = tree_.ParentOf(walk);
  if (parent == FolderTree::kNone) return false;
  if (outcome == SiblingOutcome::kMixed) {
    for (std::size_t at = parent; at != FolderTree::kNone; at = tree_.ParentOf(at)) {
      Set(at, kPartlyMarked);
    }
    return false;
  }
  if (!FilesAgree(parent, outcome)) {
    Set(parent, kPartlyMarked);
  } else {
    Set(parent, outcome == SiblingOutcome::kAllMarked ? kMarked : kUnmarked);
  }
  walk = parent;
  return true;
}

void Marking::PropagateUp(std::size_t item, std::uint8_t value) {
  std::size_t walk = item;
  // Every step moves one level up, and the tree has no loops, so the walk ends
  // at Root at the latest.
  while (SetParentState(walk, ClassifySiblings(walk, value))) {
  }
}

RowSummary Marking::SummarizeRows(std::size_t folder) const {
  std::size_t unmarked = 0, marked = 0, partly = 0;
  const auto& rows = RowsOf(folder);
  for (std::size_t row : rows) {
    switch (table_[row].checkState) {
      case kUnmarked: ++unmarked; break;
      case kMarked: ++marked; break;
      default: ++partly; break;
    }
  }
  if (unmarked == rows.size()) return RowSummary::kAllItemsUnchecked;
  if (marked == rows.size()) return RowSummary::kAllItemsBlackchecked;
  if (partly == rows.size()) return RowSummary::kAllItemsGreychecked;
  return RowSummary::kAllItemsAreMixed;
}

void Marking::ApplyRowCheck(std::uint8_t value, std::size_t row, RowSummary summary,
                            std::size_t displayed) {
  if (table_[row].IsFolder() && tree_.Contains(row)) {
    SetSubtreeCheck(value, row);
    PropagateUp(row, value);
    return;
  }
  switch (summary) {
    case RowSummary::kAllItemsBlackchecked: Set(displayed, kMarked); break;
    case RowSummary::kAllItemsUnchecked: Set(displayed, kUnmarked); break;
    default: Set(displayed, kPartlyMarked); break;
  }
  PropagateUp(displayed, value);
}

std::uint8_t Marking::ClickFolderBox(std::size_t folder) {
  const std::uint8_t value = table_[folder].checkState == kUnmarked ? kMarked : kUnmarked;
  SetSubtreeCheck(value, folder);
  if (folder != tree_.root()) PropagateUp(folder, value);
  return value;
}

std::uint8_t Marking::ClickRowBox(std::size_t row, std::size_t displayed) {
  const std::uint8_t value = table_[row].checkState == kUnmarked ? kMarked : kUnmarked;
  Set(row, value);
  ApplyRowCheck(value, row, SummarizeRows(displayed), displayed);
  return value;
}

bool Marking::TakeFolderMark(std::size_t index) {
  const std::size_t folder = tree_.ListingFolder(index);
  if (folder == FolderTree::kNone || table_[folder].checkState != kMarked) return false;
  Set(index, kMarked);
  return true;
}

bool Marking::CountsAsMarked(std::size_t index) const {
  return table_[index].checkState == kMarked && index != tree_.root() &&
         !table_.IsSessionNode(index);
}

MarkedSum Marking::SumMarked() const {
  MarkedSum sum;
  for (std::size_t i = 0; i < table_.size(); ++i) {
    const disc::Entry& entry = table_[i];
    if (!CountsAsMarked(i)) continue;
    sum.anyEntryMarked = true;
    if (entry.IsFolder()) {
      ++sum.totals.folders;
    } else {
      ++sum.totals.files;
      sum.totals.bytes += entry.size;
    }
  }
  return sum;
}

}  // namespace velmora::browse
