#include "select/ApplyMask.h"

#include <algorithm>

#include "browse/EntryListing.h"

namespace velmora::select {
namespace {

using disc::EntryTable;

std::size_t SessionNodeCount(const EntryTable& table) {
  std::size_t count = 0;
  while (table.SessionNodeIndex(count + 1) != EntryTable::kNone) ++count;
  return count;
}

// Marks in keep every file that passes and the folders above it, as long as
// the chain of folders reaches Root.
std::vector<bool> EntriesToKeep(const EntryTable& complete, const browse::EntryListing& listing,
                                const FileMask& mask) {
  std::vector<bool> keep(complete.size(), false);
  keep[listing.root()] = true;
  std::vector<std::size_t> chain;
  for (std::size_t i = 0; i < complete.size(); ++i) {
    const disc::Entry& entry = complete[i];
    if (entry.IsFolder() || !mask.Passes(entry)) continue;
    chain.clear();
    std::size_t at = i;
    for (; at != EntryTable::kNone && !keep[at]; at = listing.ParentOf(at)) chain.push_back(at);
    if (at == EntryTable::kNone) continue;  // its folder is not in the tree
    for (std::size_t index : chain) keep[index] = true;
  }
  return keep;
}

}  // namespace

MaskedTable ApplyMask(const EntryTable& complete, const FileMask& mask) {
  MaskedTable masked;
  const browse::EntryListing listing(complete);
  if (listing.root() == EntryTable::kNone) return masked;
  std::vector<bool> keep = EntriesToKeep(complete, listing, mask);
  const auto kept = static_cast<std::size_t>(std::count(keep.begin(), keep.end(), true));
  // Root, the Session nodes and what passed: the table never grows past it.
  masked.table.Reserve(kept + SessionNodeCount(complete));
  masked.sourceIndex.reserve(kept + SessionNodeCount(complete));

  const std::size_t root = listing.root();
  masked.table.AddRootNode(complete[root].name);
  masked.sourceIndex.push_back(root);
  const std::size_t sessions = SessionNodeCount(complete);
  if (sessions > 0) {
    const std::size_t first = complete.SessionNodeIndex(1);
    masked.table.AddSessionNodes(sessions, complete[first].fileId - 1);
    for (std::size_t k = 1; k <= sessions; ++k) {
      const std::size_t index = complete.SessionNodeIndex(k);
      masked.sourceIndex.push_back(index);
      keep[index] = false;  // already in
    }
  }
  keep[root] = false;
  for (std::size_t i = 0; i < masked.table.size(); ++i) {
    const disc::Entry& source = complete[masked.sourceIndex[i]];
    masked.table.at(i).checkState = source.checkState;
    masked.table.at(i).state2 = source.state2;
  }

  for (std::size_t i = 0; i < complete.size(); ++i) {
    if (!keep[i]) continue;
    const disc::Entry& entry = complete[i];
    // Parents are looked up from the entry's Session node, as the scan did.
    masked.table.SetCurrentSessionNode(masked.table.SessionNodeIndex(entry.session));
    if (masked.table.AddEntry(entry) == EntryTable::kNone) continue;
    masked.sourceIndex.push_back(i);
    if (entry.IsFolder()) {
      ++masked.folderCount;
    } else {
      ++masked.fileCount;
      masked.byteTotal += entry.size;
    }
  }
  masked.table.SetCurrentSessionNode(EntryTable::kNone);
  return masked;
}

void CarryMarksBack(const MaskedTable& masked, EntryTable& complete) {
  for (std::size_t i = 0; i < masked.table.size() && i < masked.sourceIndex.size(); ++i) {
    const std::size_t source = masked.sourceIndex[i];
    if (source < complete.size()) complete.at(source).checkState = masked.table[i].checkState;
  }
}

void RecomputeFolderMarks(EntryTable& table) {
  const browse::EntryListing listing(table);
  // Depth of every entry below Root (or below the top of its chain), so that
  // folders are settled from the deepest up.
  std::vector<std::size_t> depth(table.size(), 0);
  std::vector<std::size_t> order(table.size());
  for (std::size_t i = 0; i < table.size(); ++i) {
    order[i] = i;
    for (std::size_t at = listing.ParentOf(i); at != EntryTable::kNone; at = listing.ParentOf(at)) {
      ++depth[i];
    }
  }
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return depth[a] > depth[b]; });
  struct Count {
    std::size_t entries = 0;
    std::size_t marked = 0;
    std::size_t unmarked = 0;
  };
  std::vector<Count> counts(table.size());
  for (std::size_t i : order) {
    disc::Entry& entry = table.at(i);
    const Count& count = counts[i];
    if (entry.IsFolder() && count.entries > 0) {
      entry.checkState = count.marked == count.entries     ? disc::kMarked
                         : count.unmarked == count.entries ? disc::kUnmarked
                                                           : disc::kPartlyMarked;
    }
    const std::size_t parent = listing.ParentOf(i);
    if (parent == EntryTable::kNone) continue;
    ++counts[parent].entries;
    if (entry.checkState == disc::kMarked) ++counts[parent].marked;
    if (entry.checkState == disc::kUnmarked) ++counts[parent].unmarked;
  }
}

}  // namespace velmora::select
