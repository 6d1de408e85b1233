// The union of a volume's two trees: the tree that the scan shows (Joliet, or
// Rock Ridge on the primary tree) and the other one that names the same files
// (the primary tree, or Joliet). Folders are paired from the roots down; files
// by their extents, which both trees share.

#include <algorithm>
#include <cctype>
#include <deque>
#include <unordered_set>

#include "iso9660/NameDecoder.h"
#include "iso9660/VolumeReader.h"
#include "media/ByteReader.h"
#include "text/StringTable.h"

namespace velmora::disc {
namespace {

constexpr int kMaxDepth = 256;  // folders nested deeper than this are damage, not a tree

std::u16string Decimal(std::uint64_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

std::u16string Upper(std::u16string name) {
  for (char16_t& c : name) c = c < 0x80 ? static_cast<char16_t>(std::toupper(c)) : c;
  return name;
}

// The other tree's name, in capitals, is the shown name in capitals with the
// characters ISO 9660 does not allow made "_", cut short (a primary name, or a
// Joliet name cut at 64 characters): each of its characters must fit.
bool OtherNameFits(const std::u16string& other, const std::u16string& shown) {
  if (other.empty() || other.size() > shown.size()) return false;
  const std::u16string upper = Upper(shown);
  for (std::size_t i = 0; i < other.size(); ++i) {
    if (other[i] != upper[i] && other[i] != u'_') return false;
  }
  return true;
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

std::uint32_t VolumeReader::AddOtherSubtree(const OtherItem& item, std::int32_t parentId,
                                            std::set<Lba>& visited, bool sixteenBit) {
  std::uint32_t added = 0;
  std::deque<std::pair<OtherItem, std::int32_t>> queue{{item, parentId}};
  while (!queue.empty() && !aborted_) {
    auto [next, parent] = std::move(queue.front());
    queue.pop_front();
    next.work.parentId = parent;
    if (next.work.type != EntryType::kFolder &&
        ListedInEarlierSession(next.work.extent, next.work.name)) {
      continue;
    }
    ++acceptedRecords_;
    ++added;
    sink_.AcceptRecord(next.work, true);
    if (next.work.type != EntryType::kFolder || !visited.insert(next.work.extent).second) continue;
    if (visited.size() > kMaxDirectoryBytes / kSectorSize) continue;
    if (auto children = ReadOtherFolder(next.work.extent, next.directoryLength, sixteenBit)) {
      for (OtherItem& child : *children) {
        queue.emplace_back(std::move(child), static_cast<std::int32_t>(next.work.extent));
      }
    }
  }
  return added;
}

void VolumeReader::MergeOtherTree(std::uint32_t otherSector, bool otherSixteenBit) {
  std::vector<std::byte> sector(kSectorSize);
  std::uint32_t bytesRead = 0;
  if (!ReadRelative(otherSector, 1, sector, bytesRead) || bytesRead != kSectorSize) return;
  const std::optional<VolumeInfo> primary = ParseVolumeInfo(sector);
  // Only the primary tree adds its names to the Joliet tree's (allNames).
  const bool allNames = session_.allNames && !otherSixteenBit;
  if (!primary || !volumeInfo_) return;

  // The Joliet entries of each folder, by the Parent ID they carry.
  std::unordered_map<std::int64_t, std::vector<std::size_t>> jolietChildren;
  for (std::size_t i = 0; i < workList_.size(); ++i) {
    jolietChildren[workList_[i].parentId].push_back(i);
  }
  struct Pair {
    std::int32_t jolietId;  // the Parent ID of the Joliet folder's entries
    Lba jolietExtent;
    Lba primaryExtent;
    std::uint32_t primaryLength;
    int depth;
  };
  std::deque<Pair> pairs{{session_.topLevelParentId, volumeInfo_->rootExtent, primary->rootExtent,
                          primary->rootDataLength, 0}};
  std::set<Lba> visited;
  std::uint32_t namesAdded = 0;
  while (!pairs.empty() && !aborted_) {
    const Pair pair = pairs.front();
    pairs.pop_front();
    if (pair.depth > kMaxDepth || !visited.insert(pair.primaryExtent).second) continue;
    if (sink_.StopRequested()) {
      Abort();
      return;
    }
    std::optional<std::vector<OtherItem>> primaryItems =
        ReadOtherFolder(pair.primaryExtent, pair.primaryLength, otherSixteenBit);
    if (!primaryItems) continue;
    const auto damage = damagedFolders_.find(pair.jolietExtent);
    const bool unread = damage != damagedFolders_.end() && damage->second != text::kFolderReadInPart;
    const bool partial = damage != damagedFolders_.end() && !unread;
    if (unread) {
      // Nothing of the shown folder read: the other tree's copy gives its
      // entries (those a path table gave already pair with theirs below).
      sink_.AddLogEntry(
          u" ",
          FolderPath(pair.jolietExtent) + u" (" + text::LoadText(text::kSector) + u" " +
              Decimal(pair.jolietExtent) + u")",
          text::LoadText(otherSixteenBit ? text::kFolderFromJoliet : text::kFolderFromPrimary),
          log::LogIcon::kInformation);
    }
    const std::vector<std::size_t>& children = jolietChildren[pair.jolietId];
    std::unordered_set<std::uint32_t> jolietFiles;
    std::vector<std::size_t> jolietFolders;
    for (std::size_t i : children) {
      if (workList_[i].type == EntryType::kFolder) {
        jolietFolders.push_back(i);
      } else {
        jolietFiles.insert(workList_[i].extent);
      }
    }
    // Folders pair by name, a capitals match before a fitting one; a single
    // folder left on each side pairs with the other.
    std::vector<bool> jolietPaired(jolietFolders.size(), false);
    std::vector<const OtherItem*> unpaired;
    for (const OtherItem& item : *primaryItems) {
      if (item.work.type != EntryType::kFolder) continue;
      const std::u16string otherName = Upper(item.work.name);
      std::optional<std::size_t> match;
      for (int exact = 1; exact >= 0 && !match; --exact) {
        for (std::size_t k = 0; k < jolietFolders.size() && !match; ++k) {
          if (jolietPaired[k]) continue;
          const std::u16string& name = workList_[jolietFolders[k]].name;
          if (exact ? Upper(name) == otherName : OtherNameFits(otherName, name)) match = k;
        }
      }
      if (!match) {
        unpaired.push_back(&item);
        continue;
      }
      jolietPaired[*match] = true;
      const WorkRecord& folder = workList_[jolietFolders[*match]];
      pairs.push_back({static_cast<std::int32_t>(folder.extent), folder.extent, item.work.extent,
                       item.directoryLength, pair.depth + 1});
    }
    const auto left = std::count(jolietPaired.begin(), jolietPaired.end(), false);
    if (unpaired.size() == 1 && left == 1) {
      const auto k = static_cast<std::size_t>(
          std::find(jolietPaired.begin(), jolietPaired.end(), false) - jolietPaired.begin());
      const WorkRecord& folder = workList_[jolietFolders[k]];
      pairs.push_back({static_cast<std::int32_t>(folder.extent), folder.extent,
                       unpaired.front()->work.extent, unpaired.front()->directoryLength,
                       pair.depth + 1});
      unpaired.clear();
    }
    if (!allNames && !partial && !unread) continue;
    // What the Joliet folder lacks: files by extent, folders left unpaired.
    for (const OtherItem& item : *primaryItems) {
      const bool missing = item.work.type == EntryType::kFolder
                               ? std::find(unpaired.begin(), unpaired.end(), &item) != unpaired.end()
                               : !jolietFiles.contains(item.work.extent);
      if (!missing) continue;
      const std::uint32_t added = AddOtherSubtree(item, pair.jolietId, visited, otherSixteenBit);
      if (allNames && !partial && !unread) namesAdded += added;
    }
  }
  if (namesAdded > 0) {
    sink_.AddLogEntry(text::LoadText(text::kInfo),
                      text::LoadText(text::kNamesAddedFromPrimary) + u" " + Decimal(namesAdded),
                      u" ", log::LogIcon::kInformation);
  }
}

}  // namespace velmora::disc
