// The union of a volume's two trees: the tree that the scan shows (Joliet, or
// Rock Ridge on the primary tree) and the other one that names the same files
// (the primary tree, or Joliet). Both trees share the files' extents, never
// the folders': folders are paired from the roots down by the extents of the
// files they hold, and what the other tree adds is what no listed entry
// covers by its extent.

#include <algorithm>
#include <cctype>
#include <deque>
#include <map>
#include <unordered_set>

#include "iso9660/NameDecoder.h"
#include "iso9660/VolumeReader.h"
#include "media/ByteReader.h"
#include "text/StringTable.h"

namespace velmora::disc {
namespace {

constexpr int kMaxDepth = 256;  // folders nested deeper than this are damage, not a tree
// How far below a folder without files its files are looked for, to pair it.
constexpr int kFilesBelowLevels = 4;
constexpr std::size_t kFilesBelowReads = 16;
// The other tree's folders read in one union, at most.
constexpr std::size_t kMaxOtherFolders = kMaxDirectoryBytes / kSectorSize;

std::u16string Decimal(std::uint64_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

std::u16string Upper(std::u16string name) {
  for (char16_t& c : name) c = c < 0x80 ? static_cast<char16_t>(std::toupper(c)) : c;
  return name;
}

std::uint64_t EmptyFileKey(std::int32_t parentId, Lba extent) {
  return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(parentId)) << 32) | extent;
}

}  // namespace

std::optional<std::vector<VolumeReader::OtherItem>> VolumeReader::ReadOtherFolder(
    Lba extent, std::uint32_t length, bool sixteenBit) {
  std::vector<std::byte> buffer;
  const std::uint32_t delivered = ReadDirectoryBytes(extent, length, buffer);
  if (delivered == 0) return std::nullopt;
  const std::span<const std::byte> read = std::span<const std::byte>(buffer).first(delivered);
  std::vector<OtherItem> items;
  for (const FolderItem& item : FolderItems(read)) {
    if (item.record.identifier.empty()) continue;
    OtherItem other;
    WorkRecord& work = other.work;
    const bool folder = item.record.IsDirectory();
    work.type = folder ? EntryType::kFolder : EntryType::kFile;
    work.name = DecodeName(item.record.identifier, sixteenBit, folder);
    work.extent = item.record.extent;
    work.time = item.record.time;
    if (!GmtOffsetInRange(work.time.gmtOffset)) work.time.gmtOffset = 0;
    if (folder) {
      work.folderDataLength = item.record.dataLength;
      other.directoryLength = item.record.dataLength;
    } else {
      work.size = item.size;
      work.moreParts = item.moreParts;
    }
    items.push_back(std::move(other));
  }
  return items;
}

const std::optional<std::vector<VolumeReader::OtherItem>>& VolumeReader::OtherFolder(
    OtherFolders& folders, const OtherItem& folder, bool sixteenBit) {
  static const std::optional<std::vector<OtherItem>> kUnread;
  const Lba extent = folder.work.extent;
  if (const auto known = folders.find(extent); known != folders.end()) return known->second;
  if (folders.size() >= kMaxOtherFolders) return kUnread;
  return folders.emplace(extent, ReadOtherFolder(extent, folder.directoryLength, sixteenBit))
      .first->second;
}

void VolumeReader::NoteListedFile(std::int32_t parentId, Lba extent, std::uint64_t size) {
  if (size > 0) {
    listedFileExtents_.insert(extent);
  } else {
    listedEmptyFiles_.insert(EmptyFileKey(parentId, extent));
  }
  filesIn_[parentId].push_back(extent);
}

bool VolumeReader::Covered(const WorkRecord& file, std::int32_t parentId) const {
  return file.size > 0 ? listedFileExtents_.contains(file.extent)
                       : listedEmptyFiles_.contains(EmptyFileKey(parentId, file.extent));
}

std::vector<Lba> VolumeReader::ShownFilesBelow(Lba folderExtent,
                                               const ShownFolders& shownFolders) const {
  std::vector<Lba> level = {folderExtent};
  for (int depth = 0; depth < kFilesBelowLevels && !level.empty(); ++depth) {
    std::vector<Lba> files;
    std::vector<Lba> below;
    for (Lba folder : level) {
      const auto id = static_cast<std::int32_t>(folder);
      if (const auto held = filesIn_.find(id); held != filesIn_.end()) {
        files.insert(files.end(), held->second.begin(), held->second.end());
      }
      if (const auto under = shownFolders.find(id); under != shownFolders.end()) {
        for (std::size_t i : under->second) below.push_back(workList_[i].extent);
      }
    }
    if (!files.empty()) return files;
    level = std::move(below);
  }
  return {};
}

std::vector<Lba> VolumeReader::OtherFilesBelow(OtherFolders& folders, const OtherItem& folder,
                                               bool sixteenBit) {
  std::vector<const OtherItem*> level = {&folder};
  std::size_t reads = 0;
  for (int depth = 0; depth < kFilesBelowLevels && !level.empty(); ++depth) {
    std::vector<Lba> files;
    std::vector<const OtherItem*> below;
    for (const OtherItem* at : level) {
      if (reads++ >= kFilesBelowReads) break;
      const auto& items = OtherFolder(folders, *at, sixteenBit);
      if (!items) continue;
      for (const OtherItem& item : *items) {
        if (item.work.type == EntryType::kFolder) {
          below.push_back(&item);
        } else {
          files.push_back(item.work.extent);
        }
      }
    }
    if (!files.empty()) return files;
    level = std::move(below);
  }
  return {};
}

std::uint32_t VolumeReader::AddOtherSubtree(const OtherItem& item, std::int32_t parentId,
                                            std::set<Lba>& visited, bool sixteenBit, bool damaged,
                                            OtherFolders& folders) {
  // The subtree first, in breadth-first order (a folder before what it holds),
  // then what of it to add.
  struct Node {
    const OtherItem* item;
    std::size_t parent;  // index of the node above, npos for the subtree's top
    bool leadsToNewFile = false;
    bool holdsListedFile = false;  // a file this session lists elsewhere
  };
  constexpr std::size_t kTop = static_cast<std::size_t>(-1);
  std::vector<Node> nodes = {{&item, kTop}};
  for (std::size_t i = 0; i < nodes.size() && !aborted_; ++i) {
    const WorkRecord& work = nodes[i].item->work;
    if (work.type != EntryType::kFolder || !visited.insert(work.extent).second) continue;
    if (const auto& children = OtherFolder(folders, *nodes[i].item, sixteenBit)) {
      for (const OtherItem& child : *children) nodes.push_back({&child, i});
    }
  }
  const auto parentOf = [&](std::size_t i) {
    return nodes[i].parent == kTop ? parentId
                                   : static_cast<std::int32_t>(nodes[nodes[i].parent].item->work.extent);
  };
  for (std::size_t i = nodes.size(); i-- > 0;) {
    const WorkRecord& work = nodes[i].item->work;
    if (work.type != EntryType::kFolder) {
      // A file an earlier session lists is neither new nor listed here: the
      // folder that holds it is listed in this session as its tree has it.
      const bool listedHere = Covered(work, parentOf(i));
      nodes[i].holdsListedFile = listedHere;
      nodes[i].leadsToNewFile = !listedHere && !ListedInEarlierSession(work);
    }
    if (nodes[i].parent != kTop) {
      nodes[nodes[i].parent].holdsListedFile |= nodes[i].holdsListedFile;
      nodes[nodes[i].parent].leadsToNewFile |= nodes[i].leadsToNewFile;
    }
  }
  std::uint32_t added = 0;
  std::vector<bool> taken(nodes.size(), false);
  for (std::size_t i = 0; i < nodes.size() && !aborted_; ++i) {
    const bool folder = nodes[i].item->work.type == EntryType::kFolder;
    // A folder whose files are all listed elsewhere (a relocated folder
    // listed where it was moved, say) is not listed a second time.
    const bool wanted = nodes[i].leadsToNewFile || (folder && damaged && !nodes[i].holdsListedFile);
    taken[i] = wanted && (nodes[i].parent == kTop || taken[nodes[i].parent]);
    if (!taken[i]) continue;
    WorkRecord work = nodes[i].item->work;
    work.parentId = parentOf(i);
    ++acceptedRecords_;
    ++added;
    if (!folder) NoteListedFile(work.parentId, work.extent, work.size);
    sink_.AcceptRecord(work, true);
  }
  return added;
}

void VolumeReader::MergeOtherTree(std::uint32_t otherSector, bool otherSixteenBit) {
  std::vector<std::byte> sector(kSectorSize);
  std::uint32_t bytesRead = 0;
  if (!ReadRelative(otherSector, 1, sector, bytesRead) || bytesRead != kSectorSize) return;
  const std::optional<VolumeInfo> other = ParseVolumeInfo(sector);
  // Only the primary tree adds its names to the Joliet tree's (allNames).
  const bool allNames = session_.allNames && !otherSixteenBit;
  if (!other || !volumeInfo_) return;

  // The shown folders of each folder, by the Parent ID they carry.
  ShownFolders shownFolders;
  for (std::size_t i = 0; i < workList_.size(); ++i) {
    if (workList_[i].type == EntryType::kFolder) shownFolders[workList_[i].parentId].push_back(i);
  }
  struct Pair {
    std::int32_t shownId;  // the Parent ID of the shown folder's entries
    Lba shownExtent;
    OtherItem other;
    int depth;
  };
  OtherItem otherRoot;
  otherRoot.work.type = EntryType::kFolder;
  otherRoot.work.extent = other->rootExtent;
  otherRoot.directoryLength = other->rootDataLength;
  std::deque<Pair> pairs{{session_.topLevelParentId, volumeInfo_->rootExtent, otherRoot, 0}};
  OtherFolders folders;
  std::set<Lba> visited;
  std::uint32_t namesAdded = 0;
  const auto unreadFolder = [&](Lba extent) {
    const auto damage = damagedFolders_.find(extent);
    return damage != damagedFolders_.end() && damage->second != text::kFolderReadInPart;
  };
  const auto logTaken = [&](Lba extent) {
    sink_.AddLogEntry(u" ",
                      FolderPath(extent) + u" (" + text::LoadText(text::kSector) + u" " +
                          Decimal(extent) + u")",
                      text::LoadText(otherSixteenBit ? text::kFolderFromJoliet : text::kFolderFromPrimary),
                      log::LogIcon::kInformation);
  };
  while (!pairs.empty() && !aborted_) {
    const Pair pair = pairs.front();
    pairs.pop_front();
    if (pair.depth > kMaxDepth || !visited.insert(pair.other.work.extent).second) continue;
    if (sink_.StopRequested()) {
      Abort();
      return;
    }
    const auto& otherItems = OtherFolder(folders, pair.other, otherSixteenBit);
    if (!otherItems) continue;
    const bool unread = unreadFolder(pair.shownExtent);
    const bool partial = damagedFolders_.contains(pair.shownExtent) && !unread;
    // Nothing of the shown folder read: the other tree's copy gives its
    // entries (those a path table gave already pair with theirs below).
    if (unread) logTaken(pair.shownExtent);

    // Folders pair by the files they hold: the pair that shares the most
    // extents first. One folder left on each side pairs when either holds
    // no file to tell (a folder that did not read); folders that both hold
    // none pair by name, as nothing can go to the wrong place through them.
    const std::vector<std::size_t>& shown = shownFolders[pair.shownId];
    std::vector<const OtherItem*> otherFolders;
    for (const OtherItem& item : *otherItems) {
      if (item.work.type == EntryType::kFolder) otherFolders.push_back(&item);
    }
    std::vector<std::vector<Lba>> otherFiles;
    std::unordered_map<Lba, std::vector<std::size_t>> otherByFile;
    for (std::size_t j = 0; j < otherFolders.size(); ++j) {
      otherFiles.push_back(OtherFilesBelow(folders, *otherFolders[j], otherSixteenBit));
      for (Lba extent : otherFiles[j]) otherByFile[extent].push_back(j);
    }
    std::vector<std::vector<Lba>> shownFiles;
    std::map<std::pair<std::size_t, std::size_t>, std::uint32_t> shared;
    for (std::size_t i = 0; i < shown.size(); ++i) {
      shownFiles.push_back(ShownFilesBelow(workList_[shown[i]].extent, shownFolders));
      for (Lba extent : shownFiles[i]) {
        const auto found = otherByFile.find(extent);
        if (found == otherByFile.end()) continue;
        for (std::size_t j : found->second) ++shared[{i, j}];
      }
    }
    std::vector<std::tuple<std::uint32_t, std::size_t, std::size_t>> byShared;
    for (const auto& [ij, count] : shared) byShared.emplace_back(count, ij.first, ij.second);
    std::sort(byShared.begin(), byShared.end(), [](const auto& a, const auto& b) {
      return std::get<0>(a) > std::get<0>(b);
    });
    std::vector<bool> shownPaired(shown.size(), false);
    std::vector<bool> otherPaired(otherFolders.size(), false);
    const auto pairUp = [&](std::size_t i, std::size_t j) {
      shownPaired[i] = otherPaired[j] = true;
      const WorkRecord& folder = workList_[shown[i]];
      pairs.push_back({static_cast<std::int32_t>(folder.extent), folder.extent, *otherFolders[j],
                       pair.depth + 1});
    };
    for (const auto& [count, i, j] : byShared) {
      if (!shownPaired[i] && !otherPaired[j]) pairUp(i, j);
    }
    const auto left = [](const std::vector<bool>& paired) {
      return static_cast<std::size_t>(std::count(paired.begin(), paired.end(), false));
    };
    if (left(shownPaired) == 1 && left(otherPaired) == 1) {
      const auto i = static_cast<std::size_t>(std::find(shownPaired.begin(), shownPaired.end(), false) -
                                              shownPaired.begin());
      const auto j = static_cast<std::size_t>(std::find(otherPaired.begin(), otherPaired.end(), false) -
                                              otherPaired.begin());
      if (shownFiles[i].empty() || otherFiles[j].empty()) pairUp(i, j);
    }
    for (std::size_t i = 0; i < shown.size(); ++i) {
      if (shownPaired[i] || !shownFiles[i].empty()) continue;
      const std::u16string name = Upper(workList_[shown[i]].name);
      std::optional<std::size_t> match;
      for (std::size_t j = 0; j < otherFolders.size(); ++j) {
        if (otherPaired[j] || !otherFiles[j].empty() || Upper(otherFolders[j]->work.name) != name) continue;
        match = match ? std::optional<std::size_t>() : std::optional<std::size_t>(j);
        if (!match) break;  // two of that name: neither is the copy
      }
      if (match) pairUp(i, *match);
    }
    // A shown folder left without its copy that did not read: the other
    // tree's folders left over may hold its files; they are added here,
    // under their own names, when they hold files not listed.
    bool unpairedUnread = false;
    for (std::size_t i = 0; i < shown.size(); ++i) {
      unpairedUnread = unpairedUnread || (!shownPaired[i] && unreadFolder(workList_[shown[i]].extent));
    }

    const bool damaged = partial || unread;
    std::uint32_t added = 0;
    if (damaged || allNames) {
      for (const OtherItem& item : *otherItems) {
        if (item.work.type == EntryType::kFolder || Covered(item.work, pair.shownId)) continue;
        added += AddOtherSubtree(item, pair.shownId, visited, otherSixteenBit, damaged, folders);
      }
    }
    if (damaged || allNames || unpairedUnread) {
      for (std::size_t j = 0; j < otherFolders.size(); ++j) {
        if (otherPaired[j]) continue;
        added += AddOtherSubtree(*otherFolders[j], pair.shownId, visited, otherSixteenBit,
                                 damaged || unpairedUnread, folders);
      }
    }
    if (unpairedUnread && !damaged && added > 0) logTaken(pair.shownExtent);
    if (allNames && !damaged && !unpairedUnread) namesAdded += added;
  }
  if (namesAdded > 0) {
    sink_.AddLogEntry(text::LoadText(text::kInfo),
                      text::LoadText(text::kNamesAddedFromPrimary) + u" " + Decimal(namesAdded),
                      u" ", log::LogIcon::kInformation);
  }
}

}  // namespace velmora::disc
