#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "entries/EntryTable.h"
#include "platform/FileSink.h"

namespace velmora::disc {

// The folders of one recovery at its destination. Each folder entry becomes one
// folder, made when it is first needed, below the folder of its parent entry
// (found as a listing finds it: the first folder with the Parent ID, searched
// from the entry's Session node). Root stands for the destination itself,
// Session nodes become folders "Session k", and an entry whose parent folder is
// not in the table (or whose folders loop) goes to the destination's top.
//
// Names: a disc name becomes a safe name (SafeName.h); a name already taken at
// the destination gets a number, "name (1).ext"; a name the destination refuses
// is tried again in its portable form. A real folder already there is used as
// it is (its files are never overwritten); a link or a file in its place makes
// the folder take a numbered name, so no link is ever followed.
class DestinationTree {
 public:
  // Called for each folder saved under another name than the disc's.
  using FolderRenamed =
      std::function<void(const std::string& discPath, const std::string& savedPath)>;

  // root is the destination folder; without it nothing can be made.
  DestinationTree(const EntryTable& table, std::unique_ptr<platform::FolderSink> root,
                  FolderRenamed folderRenamed);

  // Makes the folder of entry index and the folders on its way; false when it
  // cannot be made. Root needs nothing made.
  bool MakeFolder(std::size_t index);

  struct CreatedFile {
    std::unique_ptr<platform::FileSink> file;  // nullptr when it could not be created
    std::string savedName;
    bool renamed = false;
  };
  // Creates the file of entry index in its folder, making the folders on its
  // way. The file is new: nothing existing is opened.
  CreatedFile CreateFile(std::size_t index);
  // What an earlier recovery into this destination left of entry index's
  // file, looked for under its name and the numbered ones not yet taken by
  // this recovery, up to the first free one. kWhole: a regular file of the
  // disc's size and time (size, modified), or empty as the disc's, kept as it
  // is. Otherwise, unfinished holds the regular files no larger than the
  // disc's that a recovery may have left partial or stopped (at most
  // kMaxUnfinished, each opened to be read only, as FolderSink::OpenEarlier
  // allows), to be compared with the disc's bytes before one is replaced.
  struct Unfinished {
    std::string savedName;
    bool renamed = false;
    std::unique_ptr<platform::FoundFile> file;
  };
  struct Earlier {
    enum class Kind { kNone, kWhole };
    Kind kind = Kind::kNone;
    std::string savedName;  // kWhole
    bool renamed = false;
    std::vector<Unfinished> unfinished;
  };
  static constexpr std::size_t kMaxUnfinished = 4;
  Earlier FindEarlier(std::size_t index, std::uint64_t size,
                      const std::optional<std::int64_t>& modified);
  // Takes an earlier file of entry index as what this recovery found there.
  void Claim(std::size_t index, const std::string& savedName);
  // Puts the file this recovery made for entry index (savedName) in the place
  // of an earlier copy of it, and claims that name; false, with both left as
  // they are, when that name no longer holds the file that was compared.
  bool TakePlace(std::size_t index, const std::string& savedName, const Unfinished& earlier,
                 platform::SinkError& error);

  // Removes a file that CreateFile made for entry index.
  void RemoveFile(std::size_t index, const std::string& savedName);

  struct CreatedLink {
    bool made = false;
    std::string savedName;
    bool renamed = false;
  };
  // Creates entry index as a symbolic link to target in its folder, making
  // the folders on its way; a name taken gets a number as a file's does.
  CreatedLink CreateLink(std::size_t index, const std::string& target);
  // A link to target that an earlier recovery made for entry index, under its
  // name or a numbered one not yet taken by this recovery: kWhole, or kNone.
  Earlier FindEarlierLink(std::size_t index, const std::string& target);
  // Sets the time of the link itself (savedName in entry index's folder).
  void SetLinkTime(std::size_t index, const std::string& savedName, std::int64_t seconds);

  // Paths from the destination's top, "/" between names: as named on the disc,
  // and as saved (savedName: the name the entry's own file was saved under).
  std::string DiscPath(std::size_t index);
  // DiscPath with each name escaped (text::EscapeName): a name holding "/" or
  // NUL cannot pass for another path.
  std::string EscapedDiscPath(std::size_t index);
  std::string SavedPath(std::size_t index, const std::string& savedName);

  // Gives every folder this recovery created its recording time and, where
  // the disc records them (Rock Ridge), its permission bits less umask and
  // never setuid, setgid or sticky; the owner keeps read, write and search,
  // so that a later --resume can still add to it. Called last: each file
  // written into a folder changes its time, and a read-only folder must take
  // its files first.
  void FinishFolders(std::uint32_t umask);

  // What failed last at the destination: the path below it ("Docs/a.txt") and
  // the system's error.
  struct Failure {
    std::string path;
    platform::SinkError error;
  };
  const Failure& lastFailure() const { return lastFailure_; }

  std::uint32_t foldersCreated() const { return foldersCreated_; }
  std::uint32_t foldersRenamed() const { return foldersRenamed_; }

 private:
  static constexpr std::size_t kTop = EntryTable::kNone;  // the destination folder

  enum class State { kPending, kMade, kFailed };
  struct FolderNode {
    std::size_t parent = kTop;
    std::size_t depth = 1;  // a top-level folder is at 1
    State state = State::kPending;
    std::string savedName;
    bool created = false;  // made by this recovery, not found there
  };

  // The folder entry that holds entry index, or kTop.
  std::size_t ParentFolderOf(std::size_t index) const;
  // The first entry of a folder listed more than once (the same extent, name
  // and parent, as the scans may find it twice): it is made once, and its files
  // go there, as they name the folder by its extent.
  std::size_t FirstListing(std::size_t index) const;
  // Adds folder index and the folders on its way to the tree.
  void Register(std::size_t index);
  // The destination folder of node, made as needed; nullptr when it cannot be.
  platform::FolderSink* Open(std::size_t node);
  void Hold(std::size_t node, std::unique_ptr<platform::FolderSink> sink);
  std::unique_ptr<platform::FolderSink> Make(platform::FolderSink& parent, std::size_t node);
  // The path of folder node from the destination's top: its names on the
  // disc, those escaped, or those it was saved under. The reference holds
  // until the next call for the same kind.
  enum class PathKind { kDisc, kEscaped, kSaved };
  const std::string& PathOf(std::size_t node, PathKind kind);
  std::string NameOf(std::size_t node, PathKind kind) const;

  const EntryTable& table_;
  std::unique_ptr<platform::FolderSink> root_;
  FolderRenamed folderRenamed_;
  std::unordered_map<std::size_t, FolderNode> nodes_;
  // Per kind, the path of the folder one was built for last, and where the
  // name of each folder on it ends: the next file mostly lies in that folder
  // or one beside it, so a path costs the names it does not share with the
  // last one, not one look-up and one copy per level of a deep tree.
  struct CachedPath {
    std::string text;
    std::vector<std::pair<std::size_t, std::size_t>> folders;  // node, end of its name
  };
  CachedPath paths_[3];
  // Names that folders of this recovery took, per parent node: a second disc
  // folder of the same name gets its own numbered folder.
  std::unordered_map<std::size_t, std::unordered_set<std::string>> claimed_;
  // Names that files of this recovery took, per folder node: an earlier
  // recovery's file is taken up once.
  std::unordered_map<std::size_t, std::unordered_set<std::string>> filesClaimed_;
  // The open path: held_[d - 1] is the folder at depth d on the way to the
  // folder opened last (files arrive folder by folder). Only the deepest
  // kMaxHeld keep their handle; those above firstHeld_ are closed.
  struct Held {
    std::size_t node = kTop;
    std::unique_ptr<platform::FolderSink> sink;
  };
  static constexpr std::size_t kMaxHeld = 32;
  std::vector<Held> held_;
  std::size_t firstHeld_ = 0;
  // The first name from base on, numbered as FirstFreeName numbers, that no
  // file of this recovery took in folder node: what it holds is passed to
  // look until it returns true.
  template <typename Look>
  void LookAtUnclaimed(std::size_t node, const std::string& base, Look look);

  // Per parent node and name form, the first number not yet tried there
  // (CreateFile, MakeFolder) and the first not claimed (FindEarlier).
  std::unordered_map<std::size_t, std::unordered_map<std::string, std::uint32_t>> nextNumber_;
  std::unordered_map<std::size_t, std::unordered_map<std::string, std::uint32_t>> unclaimedNumber_;
  std::uint32_t foldersCreated_ = 0;
  std::uint32_t foldersRenamed_ = 0;
  Failure lastFailure_;
};

}  // namespace velmora::disc
