#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "entries/Entry.h"

namespace velmora::disc {

// Views observe the table; they never own or copy it.
class EntryTableObserver {
 public:
  virtual ~EntryTableObserver() = default;
  virtual void EntryAdded(std::size_t index) = 0;
  virtual void TableReset() = 0;
  virtual void ChecksChanged() {}
};

// The entries of one scan in discovery order, with indexes so that adding an
// entry, finding its parent folder and listing a folder never walk the table.
class EntryTable {
 public:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  void Clear();
  std::size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }
  const Entry& operator[](std::size_t index) const { return entries_[index]; }
  Entry& at(std::size_t index) { return entries_[index]; }
  const std::vector<Entry>& entries() const { return entries_; }
  // Room for count entries, for a table whose size is known before it is filled.
  void Reserve(std::size_t count) { entries_.reserve(count); }

  // Root: "Root", File ID 0, Parent ID -1.
  void AddRootNode(std::u16string rootName);
  // Session nodes "Session k" with File ID discEndOfLastTrack + k, under Root.
  void AddSessionNodes(std::size_t sessionCount, std::uint32_t lastTrackEnd);
  // Index of the current Session node; the parent search of a multi-session scan
  // starts there. kNone on a single-session disc.
  std::size_t currentSessionNode() const { return currentSessionNode_; }
  void SetCurrentSessionNode(std::size_t index) { currentSessionNode_ = index; }
  // Index of Session node k (1-based), or kNone.
  std::size_t SessionNodeIndex(std::size_t k) const {
    return k >= 1 && k <= sessionNodes_.size() ? sessionNodes_[k - 1] : kNone;
  }
  // True when entry index is a Session node: it stands for a session of the
  // disc, not for a folder on it.
  bool IsSessionNode(std::size_t index) const;

  // Adds an entry: a file is always appended; a folder only when its parent
  // folder is in the table (the first folder with that File ID, searched from the
  // current Session node on a multi-session disc). Returns the new index, or
  // kNone when a folder was dropped.
  std::size_t AddEntry(Entry entry);

  // First folder at or after index from with that File ID, or kNone.
  std::size_t FindFolder(std::uint32_t fileId, std::size_t from = 0) const;
  // Entries whose Parent ID is parentId, in table order.
  const std::vector<std::size_t>& ChildrenOf(std::int64_t parentId) const;
  // True when a file with that File ID, name, size and link target was added
  // from a session before the given one.
  bool HasFileFromEarlierSession(std::uint32_t fileId, const std::u16string& name, std::uint64_t size,
                                 const std::u16string& linkTarget, std::uint8_t session) const;

  void SetObserver(EntryTableObserver* observer) { observer_ = observer; }
  EntryTableObserver* observer() const { return observer_; }

 private:
  std::size_t Append(Entry entry);

  std::vector<Entry> entries_;
  std::unordered_map<std::uint32_t, std::vector<std::size_t>> foldersById_;
  // The earliest session that added a file: a later session asks this once
  // per record, so it is one lookup, not a scan. A file is what it is: its
  // File ID and name, and its size and link target, which a later session may
  // change in place (a link pointed elsewhere keeps its extent). Kept only on
  // a multi-session disc (one with Session nodes); a single session has no
  // later one to ask.
  struct FileKey {
    std::uint32_t fileId;
    std::u16string name;
    std::uint64_t size;
    std::u16string linkTarget;
    bool operator==(const FileKey&) const = default;
  };
  struct FileKeyHash {
    std::size_t operator()(const FileKey& key) const {
      return (std::hash<std::u16string>()(key.name) * 31 + key.fileId) * 31 +
             std::hash<std::u16string>()(key.linkTarget);
    }
  };
  std::unordered_map<FileKey, std::uint8_t, FileKeyHash> firstSessionOfFile_;
  std::unordered_map<std::int64_t, std::vector<std::size_t>> childrenByParent_;
  std::size_t currentSessionNode_ = kNone;
  std::vector<std::size_t> sessionNodes_;
  EntryTableObserver* observer_ = nullptr;
};

}  // namespace velmora::disc
