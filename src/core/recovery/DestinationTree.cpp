#include "recovery/DestinationTree.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <vector>

#include "iso9660/RecordingTime.h"
#include "recovery/SafeName.h"
#include "text/NameEscape.h"
#include "text/Utf.h"

namespace velmora::disc {
namespace {

// The last number a taken name gets: numbering goes on for as long as names
// are taken, so that no file is left unsaved for its name.
constexpr std::uint32_t kMaxNumber = 0xFFFFFFFE;

// The first name that attempt accepts: base, then "base (1)", "base (2)", ...
// while the name is taken; when the destination refuses base, the same again
// with its portable form. Nothing when attempt fails otherwise (attempt sets
// error then), or when every number is taken (error says so). next holds, per
// form, the first number not yet handed out in this folder, so that thousands
// of equal names cost one attempt each, not one per name before them.
template <typename Attempt>
std::optional<std::string> FirstFreeName(const std::string& base,
                                         std::unordered_map<std::string, std::uint32_t>& next,
                                         platform::SinkError& error, Attempt attempt) {
  std::string form = base;
  for (;;) {
    bool refused = false;
    std::uint32_t& first = next[form];
    for (std::uint64_t n = first; n <= kMaxNumber && !refused; ++n) {
      const std::string name = n == 0 ? form : NumberedName(form, static_cast<std::uint32_t>(n));
      const platform::SinkStatus status = attempt(name);
      if (status == platform::SinkStatus::kCreated || status == platform::SinkStatus::kExisting) {
        first = static_cast<std::uint32_t>(n + 1);
        return name;
      }
      refused = status == platform::SinkStatus::kNameRefused;
      if (!refused && status != platform::SinkStatus::kNameTaken) return std::nullopt;
    }
    const std::string portable = PortableName(form);
    if (!refused) error = {EEXIST, "every numbered form of the name is taken"};
    if (!refused || portable == form) return std::nullopt;
    form = portable;
  }
}

}  // namespace

DestinationTree::DestinationTree(const EntryTable& table,
                                 std::unique_ptr<platform::FolderSink> root,
                                 FolderRenamed folderRenamed)
    : table_(table), root_(std::move(root)), folderRenamed_(std::move(folderRenamed)) {}

std::size_t DestinationTree::ParentFolderOf(std::size_t index) const {
  const Entry& entry = table_[index];
  if (entry.parentId < 0) return kTop;
  const std::size_t sessionNode = table_.SessionNodeIndex(entry.session);
  const std::size_t parent = table_.FindFolder(static_cast<std::uint32_t>(entry.parentId),
                                               sessionNode == EntryTable::kNone ? 0 : sessionNode);
  if (parent == EntryTable::kNone || table_[parent].parentId < 0) return kTop;  // Root
  return parent;
}

std::size_t DestinationTree::FirstListing(std::size_t index) const {
  const Entry& entry = table_[index];
  const std::size_t sessionNode = table_.SessionNodeIndex(entry.session);
  const std::size_t first =
      table_.FindFolder(entry.fileId, sessionNode == EntryTable::kNone ? 0 : sessionNode);
  if (first == EntryTable::kNone || first == index) return index;
  const Entry& earlier = table_[first];
  return earlier.name == entry.name && earlier.parentId == entry.parentId ? first : index;
}

void DestinationTree::Register(std::size_t index) {
  std::vector<std::size_t> chain;
  std::unordered_set<std::size_t> onChain;
  std::size_t at = index;
  bool loops = false;
  while (at != kTop && !nodes_.contains(at)) {
    if (!onChain.insert(at).second) {
      loops = true;
      break;
    }
    chain.push_back(at);
    at = ParentFolderOf(at);
  }
  // A loop of Parent IDs has no top; its last folder reached is put there.
  for (std::size_t i = 0; i < chain.size(); ++i) {
    const bool last = i + 1 == chain.size();
    nodes_[chain[i]].parent = !last ? chain[i + 1] : loops ? kTop : at;
  }
  // Depths from the top down: the top-level folders are at depth 1.
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    FolderNode& folder = nodes_[*it];
    folder.depth = folder.parent == kTop ? 1 : nodes_.at(folder.parent).depth + 1;
  }
}

void DestinationTree::Hold(std::size_t node, std::unique_ptr<platform::FolderSink> sink) {
  held_.push_back({node, std::move(sink)});
  if (held_.size() - firstHeld_ > kMaxHeld) held_[firstHeld_++].sink.reset();
}

// The folders from the top to the one opened last stay open (the deepest
// kMaxHeld of them): the next folder is mostly that one, its child or a
// sibling, and is reached from there with one call, however deep it lies.
platform::FolderSink* DestinationTree::Open(std::size_t node) {
  if (node == kTop) return root_.get();
  // Up from node to the deepest folder on the open path that is still held.
  std::vector<std::size_t> down;
  std::size_t at = node;
  while (at != kTop) {
    const std::size_t depth = nodes_.at(at).depth;
    if (depth <= held_.size() && held_[depth - 1].node == at && depth > firstHeld_) break;
    down.push_back(at);
    at = nodes_.at(at).parent;
  }
  const std::size_t keep = at == kTop ? 0 : nodes_.at(at).depth;
  held_.resize(keep);
  firstHeld_ = std::min(firstHeld_, keep);
  // The folders above the first held one are closed: a node below them climbs
  // to the top and opens its way down again.
  platform::FolderSink* parent = keep == 0 ? root_.get() : held_[keep - 1].sink.get();
  for (auto it = down.rbegin(); it != down.rend() && parent != nullptr; ++it) {
    FolderNode& folder = nodes_.at(*it);
    std::unique_ptr<platform::FolderSink> next;
    if (folder.state == State::kPending) {
      next = Make(*parent, *it);
    } else if (folder.state == State::kMade) {
      platform::SinkError error;
      next = parent->OpenFolder(folder.savedName, error);
      if (!next) {
        folder.state = State::kFailed;  // replaced by something else meanwhile
        lastFailure_ = {PathOf(*it, PathKind::kSaved), error};
      }
    }
    parent = next.get();
    if (parent != nullptr) Hold(*it, std::move(next));
  }
  return parent;
}

std::unique_ptr<platform::FolderSink> DestinationTree::Make(platform::FolderSink& parent,
                                                            std::size_t node) {
  FolderNode& folder = nodes_.at(node);
  std::unordered_set<std::string>& claimed = claimed_[folder.parent];
  const SafeName safe = MakeSafeName(table_[node].name);
  platform::FolderResult made;
  const std::optional<std::string> name =
      FirstFreeName(safe.name, nextNumber_[folder.parent], made.error,
                    [&](const std::string& candidate) {
        if (claimed.contains(candidate)) return platform::SinkStatus::kNameTaken;
        made = parent.MakeFolder(candidate);
        return made.status;
      });
  if (!name) {
    folder.state = State::kFailed;
    const std::string above =
        folder.parent == kTop ? "" : PathOf(folder.parent, PathKind::kSaved) + "/";
    lastFailure_ = {above + safe.name, made.error};
    return nullptr;
  }
  folder.state = State::kMade;
  folder.savedName = *name;
  // A saved path built while the folder had no name yet holds it no longer.
  CachedPath& saved = paths_[static_cast<int>(PathKind::kSaved)];
  if (folder.depth <= saved.folders.size() && saved.folders[folder.depth - 1].first == node) {
    saved.folders.resize(folder.depth - 1);
    saved.text.resize(saved.folders.empty() ? 0 : saved.folders.back().second);
  }
  folder.created = made.status == platform::SinkStatus::kCreated;
  claimed.insert(*name);
  if (folder.created) ++foldersCreated_;
  if (safe.changed || *name != safe.name) {
    ++foldersRenamed_;
    if (folderRenamed_)
      folderRenamed_(PathOf(node, PathKind::kDisc), PathOf(node, PathKind::kSaved));
  }
  return std::move(made.folder);
}

bool DestinationTree::MakeFolder(std::size_t index) {
  // Root is the destination itself: nothing to make. A destination that does
  // not open shows with the first file or folder below it.
  if (table_[index].parentId < 0) return true;
  const std::size_t node = FirstListing(index);
  Register(node);
  return Open(node) != nullptr;
}

DestinationTree::CreatedFile DestinationTree::CreateFile(std::size_t index) {
  CreatedFile created;
  const std::size_t parent = ParentFolderOf(index);
  if (parent != kTop) Register(parent);
  platform::FolderSink* folder = Open(parent);
  if (folder == nullptr) return created;
  const SafeName safe = MakeSafeName(table_[index].name);
  platform::SinkError error;
  const std::optional<std::string> name =
      FirstFreeName(safe.name, nextNumber_[parent], error, [&](const std::string& candidate) {
        platform::FileResult made = folder->CreateFile(candidate);
        created.file = std::move(made.file);
        error = made.error;
        return made.status;
      });
  if (!name) {
    lastFailure_ = {SavedPath(index, safe.name), error};
    return created;
  }
  filesClaimed_[parent].insert(*name);
  created.savedName = *name;
  created.renamed = safe.changed || *name != safe.name;
  return created;
}

template <typename Look>
void DestinationTree::LookAtUnclaimed(std::size_t node, const std::string& base, Look look) {
  const std::unordered_set<std::string>& claimed = filesClaimed_[node];
  // The numbers below the first one not claimed by this recovery are passed
  // over at once: thousands of equal names cost one look each.
  std::uint32_t& firstUnclaimed = unclaimedNumber_[node][base];
  const auto nameOf = [&](std::uint64_t n) {
    return n == 0 ? base : NumberedName(base, static_cast<std::uint32_t>(n));
  };
  while (firstUnclaimed < kMaxNumber && claimed.contains(nameOf(firstUnclaimed))) ++firstUnclaimed;
  for (std::uint64_t n = firstUnclaimed; n <= kMaxNumber; ++n) {
    const std::string name = nameOf(n);
    if (!claimed.contains(name) && look(name)) return;
  }
}

DestinationTree::Earlier DestinationTree::FindEarlier(std::size_t index, std::uint64_t size,
                                                      const std::optional<std::int64_t>& modified) {
  Earlier earlier;
  const std::size_t parent = ParentFolderOf(index);
  if (parent != kTop) Register(parent);
  platform::FolderSink* folder = Open(parent);
  if (folder == nullptr) return earlier;
  const SafeName safe = MakeSafeName(table_[index].name);
  LookAtUnclaimed(parent, safe.name, [&](const std::string& name) {
    const std::optional<platform::FileFacts> facts = folder->Inspect(name);
    if (!facts) return true;  // the first free name: a new file goes there
    // A folder, a link or a larger file is not what a recovery of this file left.
    if (!facts->regularFile || facts->size > size) return false;
    const bool renamed = safe.changed || name != safe.name;
    if (facts->size == size && ((modified && facts->modified == *modified) || size == 0)) {
      earlier.kind = Earlier::Kind::kWhole;
      earlier.savedName = name;
      earlier.renamed = renamed;
      filesClaimed_[parent].insert(name);
      return true;
    }
    platform::SinkError error;
    std::unique_ptr<platform::FoundFile> found = folder->OpenEarlier(name, error);
    if (found) earlier.unfinished.push_back({name, renamed, std::move(found)});
    return earlier.unfinished.size() == kMaxUnfinished;
  });
  return earlier;
}

void DestinationTree::Claim(std::size_t index, const std::string& savedName) {
  filesClaimed_[ParentFolderOf(index)].insert(savedName);
}

bool DestinationTree::TakePlace(std::size_t index, const std::string& savedName,
                                const Unfinished& earlier, platform::SinkError& error) {
  const std::size_t parent = ParentFolderOf(index);
  platform::FolderSink* folder = Open(parent);
  if (folder == nullptr) {
    error = lastFailure_.error;
    return false;
  }
  if (!folder->ReplaceFile(savedName, earlier.savedName, earlier.file->identity(), error)) {
    return false;
  }
  filesClaimed_[parent].insert(earlier.savedName);
  return true;
}

void DestinationTree::RemoveFile(std::size_t index, const std::string& savedName) {
  platform::FolderSink* folder = Open(ParentFolderOf(index));
  platform::SinkError error;
  if (folder != nullptr) folder->RemoveFile(savedName, error);
}

DestinationTree::CreatedLink DestinationTree::CreateLink(std::size_t index,
                                                        const std::string& target) {
  CreatedLink created;
  const std::size_t parent = ParentFolderOf(index);
  if (parent != kTop) Register(parent);
  platform::FolderSink* folder = Open(parent);
  if (folder == nullptr) return created;
  const SafeName safe = MakeSafeName(table_[index].name);
  platform::SinkError error;
  const std::optional<std::string> name =
      FirstFreeName(safe.name, nextNumber_[parent], error, [&](const std::string& candidate) {
        return folder->MakeLink(candidate, target, error);
      });
  if (!name) {
    lastFailure_ = {SavedPath(index, safe.name), error};
    return created;
  }
  filesClaimed_[parent].insert(*name);
  created.made = true;
  created.savedName = *name;
  created.renamed = safe.changed || *name != safe.name;
  return created;
}

DestinationTree::Earlier DestinationTree::FindEarlierLink(std::size_t index,
                                                          const std::string& target) {
  Earlier earlier;
  const std::size_t parent = ParentFolderOf(index);
  if (parent != kTop) Register(parent);
  platform::FolderSink* folder = Open(parent);
  if (folder == nullptr) return earlier;
  const SafeName safe = MakeSafeName(table_[index].name);
  LookAtUnclaimed(parent, safe.name, [&](const std::string& name) {
    const std::optional<platform::FileFacts> facts = folder->Inspect(name);
    if (!facts) return true;  // the first free name: the link goes there
    if (!facts->link || folder->ReadLink(name) != target) return false;
    filesClaimed_[parent].insert(name);
    earlier.kind = Earlier::Kind::kWhole;
    earlier.savedName = name;
    earlier.renamed = safe.changed || name != safe.name;
    return true;
  });
  return earlier;
}

void DestinationTree::SetLinkTime(std::size_t index, const std::string& savedName,
                                  std::int64_t seconds) {
  platform::FolderSink* folder = Open(ParentFolderOf(index));
  platform::SinkError error;
  // A time that does not take costs no data; the link stays as it is.
  if (folder != nullptr) folder->SetLinkModified(savedName, seconds, error);
}

std::string DestinationTree::NameOf(std::size_t node, PathKind kind) const {
  switch (kind) {
    case PathKind::kDisc:
      return text::ToUtf8(table_[node].name);
    case PathKind::kEscaped:
      return text::EscapeName(text::ToUtf8(table_[node].name));
    case PathKind::kSaved:
      return nodes_.at(node).savedName;
  }
  return {};
}

const std::string& DestinationTree::PathOf(std::size_t node, PathKind kind) {
  CachedPath& path = paths_[static_cast<int>(kind)];
  // Up from node to the deepest folder it shares with the path built last.
  std::vector<std::size_t> up;
  std::size_t at = node;
  while (at != kTop) {
    const std::size_t depth = nodes_.at(at).depth;
    if (depth <= path.folders.size() && path.folders[depth - 1].first == at) break;
    up.push_back(at);
    at = nodes_.at(at).parent;
  }
  const std::size_t keep = at == kTop ? 0 : nodes_.at(at).depth;
  path.folders.resize(keep);
  path.text.resize(keep == 0 ? 0 : path.folders.back().second);
  for (auto it = up.rbegin(); it != up.rend(); ++it) {
    if (!path.text.empty()) path.text += '/';
    path.text += NameOf(*it, kind);
    path.folders.emplace_back(*it, path.text.size());
  }
  return path.text;
}

std::string DestinationTree::DiscPath(std::size_t index) {
  const std::size_t parent = ParentFolderOf(index);
  const std::string name = text::ToUtf8(table_[index].name);
  if (parent == kTop) return name;
  Register(parent);
  return PathOf(parent, PathKind::kDisc) + "/" + name;
}

std::string DestinationTree::EscapedDiscPath(std::size_t index) {
  const std::size_t parent = ParentFolderOf(index);
  const std::string name = text::EscapeName(text::ToUtf8(table_[index].name));
  if (parent == kTop) return name;
  Register(parent);
  return PathOf(parent, PathKind::kEscaped) + "/" + name;
}

std::string DestinationTree::SavedPath(std::size_t index, const std::string& savedName) {
  const std::size_t parent = ParentFolderOf(index);
  if (parent == kTop) return savedName;
  Register(parent);
  return PathOf(parent, PathKind::kSaved) + "/" + savedName;
}

void DestinationTree::FinishFolders(std::uint32_t umask) {
  // Depth first from the top, so that each folder opens from the one before.
  std::unordered_map<std::size_t, std::vector<std::size_t>> children;
  for (const auto& [node, folder] : nodes_) children[folder.parent].push_back(node);
  std::vector<std::size_t> order;
  std::vector<std::size_t> stack = std::move(children[kTop]);
  while (!stack.empty()) {
    const std::size_t node = stack.back();
    stack.pop_back();
    auto below = children.find(node);
    if (below != children.end()) stack.insert(stack.end(), below->second.begin(), below->second.end());
    if (nodes_.at(node).created) order.push_back(node);
  }
  platform::SinkError error;
  for (const std::size_t node : order) {
    const std::optional<std::int64_t> seconds = RecordingInstant(table_[node]);
    if (!seconds) continue;
    platform::FolderSink* sink = Open(node);
    // A time that does not take costs no data; the folder stays as it is.
    if (sink != nullptr) sink->SetModified(*seconds, error);
  }
  // Permissions from the deepest up: a folder is closed only once nothing
  // below it is left to finish.
  for (auto it = order.rbegin(); it != order.rend(); ++it) {
    const std::uint32_t mode = table_[*it].mode;
    if (mode == 0) continue;
    platform::FolderSink* sink = Open(*it);
    if (sink != nullptr) sink->SetPermissions(((mode & 0777) & ~umask) | 0700, error);
  }
}

}  // namespace velmora::disc
