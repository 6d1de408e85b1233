#include "entries/EntryTable.h"

#include <algorithm>

namespace velmora::disc {
namespace {
const std::vector<std::size_t> kNoChildren;
}

void EntryTable::Clear() {
  entries_.clear();
  foldersById_.clear();
  firstSessionOfFile_.clear();
  childrenByParent_.clear();
  sessionNodes_.clear();
  currentSessionNode_ = kNone;
  if (observer_) observer_->TableReset();
}

std::size_t EntryTable::Append(Entry entry) {
  std::size_t index = entries_.size();
  if (entry.IsFolder()) {
    foldersById_[entry.fileId].push_back(index);
  } else if (!sessionNodes_.empty()) {
    auto [at, added] = firstSessionOfFile_.try_emplace(
        FileKey{entry.fileId, entry.name, entry.size, entry.linkTarget}, entry.session);
    if (!added) at->second = std::min(at->second, entry.session);
  }
  childrenByParent_[entry.parentId].push_back(index);
  entries_.push_back(std::move(entry));
  if (observer_) observer_->EntryAdded(index);
  return index;
}

void EntryTable::AddRootNode(std::u16string rootName) {
  Entry root;
  root.fileId = 0;
  root.parentId = -1;
  root.type = EntryType::kFolder;
  root.name = std::move(rootName);
  Append(std::move(root));
}

void EntryTable::AddSessionNodes(std::size_t sessionCount, std::uint32_t lastTrackEnd) {
  for (std::size_t k = 1; k <= sessionCount; ++k) {
    Entry node;
    node.fileId = lastTrackEnd + static_cast<std::uint32_t>(k);
    node.parentId = 0;
    node.type = EntryType::kFolder;
    std::string label = "Session " + std::to_string(k);
    node.name.assign(label.begin(), label.end());
    sessionNodes_.push_back(Append(std::move(node)));
  }
  currentSessionNode_ = sessionNodes_.empty() ? kNone : sessionNodes_.front();
}

bool EntryTable::IsSessionNode(std::size_t index) const {
  // At most 99 sessions: a look through them is cheaper than an index.
  return std::find(sessionNodes_.begin(), sessionNodes_.end(), index) != sessionNodes_.end();
}

std::size_t EntryTable::FindFolder(std::uint32_t fileId, std::size_t from) const {
  auto it = foldersById_.find(fileId);
  if (it == foldersById_.end()) return kNone;
  auto at = std::lower_bound(it->second.begin(), it->second.end(), from);
  return at == it->second.end() ? kNone : *at;
}

const std::vector<std::size_t>& EntryTable::ChildrenOf(std::int64_t parentId) const {
  auto it = childrenByParent_.find(parentId);
  return it == childrenByParent_.end() ? kNoChildren : it->second;
}

std::size_t EntryTable::AddEntry(Entry entry) {
  if (!entry.IsFolder()) return Append(std::move(entry));
  if (entry.parentId < 0) return kNone;
  std::size_t from = currentSessionNode_ == kNone ? 0 : currentSessionNode_;
  if (FindFolder(static_cast<std::uint32_t>(entry.parentId), from) == kNone) return kNone;
  return Append(std::move(entry));
}

bool EntryTable::HasFileFromEarlierSession(std::uint32_t fileId, const std::u16string& name,
                                           std::uint64_t size, const std::u16string& linkTarget,
                                           std::uint8_t session) const {
  auto it = firstSessionOfFile_.find(FileKey{fileId, name, size, linkTarget});
  return it != firstSessionOfFile_.end() && it->second < session;
}

}  // namespace velmora::disc
