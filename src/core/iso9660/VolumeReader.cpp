#include "iso9660/VolumeReader.h"

#include <algorithm>

#include "media/ByteReader.h"
#include "iso9660/NameDecoder.h"
#include "iso9660/RecordingTime.h"
#include "iso9660/RecoveryScan.h"
#include "text/StringTable.h"

namespace velmora::disc {
namespace {

constexpr std::uint32_t kFirstDescriptorSector = 16;
constexpr std::uint32_t kDescriptorSectors = 100;
constexpr std::size_t kPathTableFirstRecord = 10;  // the root's own record is skipped
// Top-level folders read to learn whether a volume whose root does not read
// has Rock Ridge.
constexpr std::size_t kRockRidgeProbes = 8;
// A folder is read this many sectors at a time (ReadFolder).
constexpr std::uint32_t kFolderRunSectors = 16;

std::u16string Decimal(std::uint64_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

// Byte 0 is 255 and bytes 1-6 the standard identifier and version.
bool IsSetTerminator(std::span<const std::byte> sector) {
  static constexpr std::uint8_t kTerminator[] = {255, 'C', 'D', '0', '0', '1', 1};
  for (std::size_t i = 0; i < std::size(kTerminator); ++i) {
    if (static_cast<std::uint8_t>(sector[i]) != kTerminator[i]) return false;
  }
  return true;
}

std::uint32_t SectorsFor(std::uint32_t bytes) { return (bytes + kSectorSize - 1) / kSectorSize; }

std::vector<std::byte> FilledBuffer(std::uint32_t sectors, std::byte fill) {
  return std::vector<std::byte>(static_cast<std::size_t>(sectors) * kSectorSize, fill);
}

// The first record of a directory is its "." record, pointing at the
// directory's own extent. Sectors that were overwritten, or a path to a file,
// fail this and are not parsed as a directory.
bool StartsDirectory(std::span<const std::byte> buffer, std::uint32_t extent) {
  auto self = ParseDirectoryRecord(buffer.first(std::min<std::size_t>(buffer.size(), kSectorSize)));
  return self && IsSelfRecord(*self, extent);
}

// The folder writers move deep folders to: "rr_moved" (genisoimage),
// ".rr_moved" (xorriso), in either case.
bool IsRelocationFolder(std::u16string_view name) {
  if (name.starts_with(u".")) name.remove_prefix(1);
  constexpr std::u16string_view kName = u"rr_moved";
  return name.size() == kName.size() &&
         std::equal(name.begin(), name.end(), kName.begin(),
                    [](char16_t a, char16_t b) { return (a >= u'A' && a <= u'Z' ? a + 32 : a) == b; });
}

}  // namespace

VolumeReader::VolumeReader(CCDReader& reader, ScanSink& sink) : reader_(reader), sink_(sink) {
  continuationReader_ = [this](std::uint32_t extent, std::vector<std::byte>& sector) {
    std::uint32_t got = 0;
    return reader_.ReadSectors(extent, 1, sector, got) && got == kSectorSize;
  };
}

bool VolumeReader::ReadRelative(std::uint32_t relativeSector, std::uint32_t count,
                                std::span<std::byte> buffer, std::uint32_t& bytesRead) {
  return reader_.ReadSectors(session_.base + relativeSector, count, buffer, bytesRead);
}

std::uint32_t VolumeReader::BoundedLength(Lba lba, std::uint32_t length) const {
  std::uint32_t bounded = std::min(length, kMaxDirectoryBytes);
  if (session_.end == 0) return bounded;
  if (lba >= session_.end) return 0;
  std::uint64_t room = static_cast<std::uint64_t>(session_.end - lba) * kSectorSize;
  return static_cast<std::uint32_t>(std::min<std::uint64_t>(bounded, room));
}

void VolumeReader::ResetWalk() {
  workList_.clear();
  walkedExtents_.clear();
  listedSectors_.clear();
  folderNames_.clear();
  listedFileExtents_.clear();
  listedEmptyFiles_.clear();
  filesIn_.clear();
  pathTableSources_.clear();
  acceptedRecords_ = 0;
  treeRead_ = false;
  completionLogged_ = false;
  damagedFolders_.clear();
  movedAway_.clear();
  relocationFolders_.clear();
  listedThoughMoved_.clear();
}

bool VolumeReader::FindVolume(const SessionGeometry& session) {
  session_ = session;
  encodingSettled = false;
  recoveryMode = false;
  aborted_ = false;
  damageCounted_ = false;
  sixteenBitPathTables = 0;
  offsetsOutOfRange_ = 0;
  rockRidge_ = false;
  keepFilesForUnion_ = false;
  namesFound_ = true;
  namesCarried_ = {};
  volumeInfo_.reset();
  ResetWalk();

  // The descriptor set runs from sector 16 to its terminator; what lies past
  // it (an image file written as the first file, say) is not this volume's.
  std::vector<std::uint32_t> primaries;  // every primary found, in order
  std::optional<std::uint32_t> supplementary;
  // Supplementary descriptors of 8-bit names: read as primaries are, after them.
  std::vector<std::uint32_t> eightBitSupplementaries;
  std::vector<std::byte> sector(kSectorSize);
  for (std::uint32_t s = kFirstDescriptorSector; s < kFirstDescriptorSector + kDescriptorSectors; ++s) {
    if (sink_.StopRequested()) {
      // Image creation logs its own stop.
      if (!session_.imageCreation) Abort();
      return false;
    }
    std::fill(sector.begin(), sector.end(), kUnreadByte);
    std::uint32_t bytesRead = 0;
    if (!ReadRelative(s, 1, sector, bytesRead)) continue;
    if (IsSetTerminator(sector)) break;
    if (!IsVolumeDescriptor(sector)) continue;
    if (static_cast<std::uint8_t>(sector[0]) == kPrimaryDescriptor) {
      encodingSettled = true;
      primaries.push_back(s);
    } else if (bytesRead == kSectorSize && !IsJolietDescriptor(sector)) {
      eightBitSupplementaries.push_back(s);
    } else if (bytesRead == kSectorSize && !supplementary) {
      // A Joliet descriptor is taken before any primary one.
      encodingSettled = true;
      supplementary = s;
    }
  }
  primaries.insert(primaries.end(), eightBitSupplementaries.begin(), eightBitSupplementaries.end());
  // Either tree may take entries from the other: the walk keeps what it listed.
  keepFilesForUnion_ = supplementary.has_value() && !primaries.empty();
  const auto finish = [&](bool result) {
    if (offsetsOutOfRange_ > 0) {
      sink_.AddLogEntry(text::LoadText(text::kInfo),
                        text::LoadText(text::kGmtOffsetsIgnored) + u" " + Decimal(offsetsOutOfRange_),
                        u" ", log::LogIcon::kInformation);
    }
    return result;
  };
  const NameSource names = session_.names;
  namesCarried_.joliet = supplementary.has_value();
  namesCarried_.primary = !primaries.empty();
  const auto logNames = [&](std::uint16_t which) {
    sink_.AddLogEntry(text::LoadText(text::kInfo), text::LoadText(which), u" ",
                      log::LogIcon::kInformation);
  };
  // Rock Ridge names are the names the recording system had: shown first.
  rockRidgeUnknown_ = false;
  if (!session_.imageCreation && (names == NameSource::kAuto || names == NameSource::kRockRidge)) {
    for (std::uint32_t s : primaries) {
      const std::optional<std::uint8_t> skip = RockRidgeOf(s);
      if (!skip) continue;
      namesCarried_.rockRidge = true;
      logNames(text::kNamesRockRidge);
      rockRidge_ = true;
      rockRidgeSkip_ = *skip;
      if (ReadTreeOf(s, false) || aborted_) {
        // A Rock Ridge folder that did not read takes its entries from the
        // Joliet tree, which names the same files.
        if (!damagedFolders_.empty() && supplementary && !aborted_) {
          MergeOtherTree(*supplementary, true);
        }
        return finish(false);
      }
      rockRidge_ = false;
      break;
    }
    if (!rockRidge_ && rockRidgeUnknown_) {
      // Names, links and modes may be lost: said, and counted as damage.
      sink_.AddLogEntry(text::LoadText(text::kInfo), text::LoadText(text::kRockRidgeUnknown), u" ",
                        log::LogIcon::kFailure);
      sink_.MarkLogHasEntries();
      sink_.CountDamage(ScanDamage::kRockRidgeUnread);
      damageCounted_ = true;
    }
    if (names == NameSource::kRockRidge && !rockRidge_) namesFound_ = false;
  } else if (!session_.imageCreation) {
    // Other names were asked for; whether Rock Ridge could have been shown is
    // still worth knowing (the window offers it).
    for (std::uint32_t s : primaries) {
      if (RockRidgeOf(s)) {
        namesCarried_.rockRidge = true;
        break;
      }
    }
  }
  if (names == NameSource::kJoliet && !supplementary) namesFound_ = false;
  if (names == NameSource::kPrimary || names == NameSource::kRockRidge) supplementary.reset();
  if (supplementary) {
    if (!session_.imageCreation) logNames(text::kNamesJoliet);
    if (session_.imageCreation && LoadVolumeInfo(*supplementary)) return true;
    if (!session_.imageCreation && ReadTreeOf(*supplementary, true)) {
      if ((!damagedFolders_.empty() || session_.allNames) && !primaries.empty() && !aborted_) {
        MergeOtherTree(primaries.front(), false);
      }
      return finish(true);
    }
    if (aborted_) return finish(true);
    if (!session_.imageCreation) {
      sink_.AddLogEntry(text::LoadText(text::kInfo), text::LoadText(text::kJolietTreeUnreadable),
                        u" ", log::LogIcon::kInformation);
    }
  }
  if (!session_.imageCreation && !primaries.empty()) logNames(text::kNamesPrimary);
  for (std::uint32_t s : primaries) {
    if (session_.imageCreation) {
      if (LoadVolumeInfo(s)) return true;
      continue;
    }
    if (ReadTreeOf(s, false) || aborted_) return finish(false);
  }
  // Image creation only wants the volume size; it never lists entries.
  if (session_.imageCreation) return false;
  if (volumeInfo_) {
    sink_.AddLogEntry(text::LoadText(text::kInfo), text::LoadText(text::kPrimaryTreeUnreadable),
                      u" ", log::LogIcon::kInformation);
  }
  ResetWalk();
  RecoveryScan(*this, reader_).RecoverVolume();
  return finish(false);
}

bool VolumeReader::ReadTreeOf(std::uint32_t relativeSector, bool sixteenBit) {
  if (!LoadVolumeInfo(relativeSector)) return false;
  ResetWalk();
  encodingSettled = true;
  ReadVolumeTree(sixteenBit);
  return treeRead_ || acceptedRecords_ > 0;
}

std::optional<std::uint8_t> VolumeReader::RockRidgeOf(std::uint32_t relativeSector) {
  if (!LoadVolumeInfo(relativeSector)) return std::nullopt;
  std::vector<std::byte> sector = FilledBuffer(1, kUnreadByte);
  std::uint32_t bytesRead = 0;
  const Lba root = volumeInfo_->rootExtent;
  const bool read = reader_.ReadSectors(root, 1, sector, bytesRead) && bytesRead == kSectorSize;
  const auto self = read ? ParseDirectoryRecord(sector) : std::nullopt;
  if (!self || !IsSelfRecord(*self, root)) return RockRidgeBelowRoot();
  // The SP entry stands first in the root's "." record, before any skip.
  const RockRidgeRecord entries = ReadRockRidge(self->systemUse, continuationReader_, session_.end);
  if (!entries.hasSharingProtocol || (entries.extensions.empty() && !entries.hasRockRidge)) {
    return std::nullopt;
  }
  return entries.skipLength;
}

std::optional<std::uint8_t> VolumeReader::RockRidgeBelowRoot() {
  // The top-level folders, from the path table (type L, else type M): each
  // holds a "." record of its own and a ".." record copied from the root's.
  const VolumeInfo info = *volumeInfo_;
  std::vector<Lba> folders;
  for (const auto& [lba, order] : {std::pair{info.typeLPathTable, PathTableOrder::kTypeL},
                                   std::pair{info.typeMPathTable, PathTableOrder::kTypeM}}) {
    const std::uint32_t length = BoundedLength(lba, std::min(info.pathTableSize, kSectorSize));
    std::vector<std::byte> table = FilledBuffer(1, kUnreadByte);
    std::uint32_t got = 0;
    if (length == 0 || !reader_.ReadSectors(lba, 1, table, got)) continue;
    ByteReader records(std::span<const std::byte>(table).first(std::min(got, length)));
    for (std::size_t pos = kPathTableFirstRecord;
         records.Has(pos, 8) && folders.size() < kRockRidgeProbes;) {
      const std::uint8_t identifierLength = records.U8(pos);
      if (identifierLength == 0) break;
      folders.push_back(order == PathTableOrder::kTypeL ? records.U32Le(pos + 2) : records.U32Be(pos + 2));
      pos += 8u + identifierLength + (identifierLength % 2);
    }
    if (!folders.empty()) break;
  }
  for (Lba folder : folders) {
    std::vector<std::byte> sector = FilledBuffer(1, kUnreadByte);
    std::uint32_t got = 0;
    if (!reader_.ReadSectors(folder, 1, sector, got) || got != kSectorSize) continue;
    const auto self = ParseDirectoryRecord(sector);
    if (!self || !IsSelfRecord(*self, folder)) continue;
    const auto parent = ParseDirectoryRecord(std::span<const std::byte>(sector).subspan(self->length));
    // The root's copy names the skip (SP) when a writer put one there;
    // writers skip nothing.
    const RockRidgeRecord up =
        parent ? ReadRockRidge(parent->systemUse, continuationReader_, session_.end) : RockRidgeRecord{};
    const RockRidgeRecord own = ReadRockRidge(
        self->systemUse.subspan(std::min<std::size_t>(up.skipLength, self->systemUse.size())),
        continuationReader_, session_.end);
    if (own.hasRockRidge || up.hasRockRidge) return up.hasSharingProtocol ? up.skipLength : 0;
  }
  // Nothing tells whether the volume has Rock Ridge.
  rockRidgeUnknown_ = true;
  return std::nullopt;
}

RockRidgeRecord VolumeReader::RockRidgeEntries(const DirectoryRecord& record) const {
  const std::span<const std::byte> area = record.systemUse;
  return ReadRockRidge(area.subspan(std::min<std::size_t>(rockRidgeSkip_, area.size())),
                       continuationReader_, session_.end);
}

// The bytes of a parsed record: its identifier stands at byte 33.
std::vector<std::byte> VolumeReader::RecordBytes(const DirectoryRecord& record) {
  const std::byte* start = record.identifier.data() - 33;
  return std::vector<std::byte>(start, start + record.length);
}

std::uint32_t VolumeReader::ReadDirectoryBytes(Lba extent, std::uint32_t length,
                                               std::vector<std::byte>& out) {
  const std::uint32_t bounded = BoundedLength(extent, length);
  out = FilledBuffer(SectorsFor(bounded), kUnreadByte);
  std::uint32_t got = 0;
  if (bounded == 0 || !reader_.ReadSectors(extent, 1, std::span(out).first(kSectorSize), got)) return 0;
  got = std::min(got, kSectorSize);
  if (!StartsDirectory(std::span<const std::byte>(out).first(got), extent)) return 0;
  std::uint32_t rest = 0;
  if (got == kSectorSize && out.size() > kSectorSize &&
      reader_.ReadSectors(extent + 1, SectorsFor(bounded) - 1, std::span(out).subspan(kSectorSize),
                          rest)) {
    got += std::min<std::uint32_t>(rest, static_cast<std::uint32_t>(out.size() - kSectorSize));
  }
  return std::min(got, bounded);
}

bool VolumeReader::AllWentHome(const DirectoryRecord& record) {
  std::vector<std::byte> folder;
  const std::uint32_t got = ReadDirectoryBytes(record.extent, record.dataLength, folder);
  if (got == 0 || got != BoundedLength(record.extent, record.dataLength)) return false;
  const std::vector<FolderItem> items = FolderItems(std::span<const std::byte>(folder).first(got));
  const bool allMoved =
      !items.empty() && std::all_of(items.begin(), items.end(), [&](const FolderItem& item) {
        return RockRidgeEntries(item.record).relocated;
      });
  // Its records are not walked: each waits for its CL record.
  for (std::size_t i = 0; allMoved && i < items.size(); ++i) {
    movedAway_.push_back(MovedRecord{RecordBytes(items[i].record), record.extent, false});
  }
  return allMoved;
}

void VolumeReader::ReportRockRidge(std::uint32_t folderExtent, const std::u16string& name,
                                   std::uint16_t what) {
  const std::u16string folder =
      folderNames_.contains(folderExtent) ? FolderPath(folderExtent) + u"/" : std::u16string();
  sink_.AddLogEntry(u" ", folder + name, text::LoadText(what), log::LogIcon::kFailure);
  sink_.MarkLogHasEntries();
}

bool VolumeReader::LoadVolumeInfo(std::uint32_t relativeSector) {
  std::vector<std::byte> sector = FilledBuffer(1, kUnreadByte);
  std::uint32_t bytesRead = 0;
  if (!ReadRelative(relativeSector, 1, sector, bytesRead) || bytesRead != kSectorSize) return false;
  volumeInfo_ = ParseVolumeInfo(sector);
  if (!volumeInfo_) return false;
  if (!reader_.multiTrack()) reader_.SetDiscEnd(volumeInfo_->volumeSpaceSize);
  return true;
}

void VolumeReader::ReadVolumeTree(bool sixteenBit) {
  const VolumeInfo& info = *volumeInfo_;
  std::uint32_t rootLength = BoundedLength(info.rootExtent, info.rootDataLength);
  std::vector<std::byte> root;
  const bool whole = rootLength > 0 && ReadDirectoryBytes(info.rootExtent, rootLength, root) == rootLength;
  if (whole) {
    treeRead_ = true;
    WalkFolders(false, sixteenBit, info.rootExtent, rootLength, true);
    return;
  }
  // Walk what reads of the root, then let the path table give the top-level
  // folders: type L first, then type M.
  WalkFolders(false, sixteenBit, info.rootExtent, rootLength, false);
  if (aborted_) return;
  auto readTable = [&](Lba lba) {
    std::uint32_t tableLength = BoundedLength(lba, info.pathTableSize);
    std::vector<std::byte> table = FilledBuffer(SectorsFor(tableLength), kUnreadByte);
    std::uint32_t got = 0;
    return tableLength > 0 && reader_.ReadSectors(lba, 0, table, got, tableLength, true) &&
           got == tableLength;
  };
  auto useTable = [&](Lba lba, PathTableOrder order, bool walkAfter) {
    std::uint32_t sectors = SectorsFor(BoundedLength(lba, info.pathTableSize));
    pathTableSources_.assign(1, PathTableSource{lba, sectors, order,
                                                sixteenBit ? NameEncoding::kSixteenBit
                                                           : NameEncoding::kEightBit});
    WalkPathTable(false, walkAfter, sixteenBit);
  };
  if (readTable(info.typeLPathTable)) {
    useTable(info.typeLPathTable, PathTableOrder::kTypeL, true);
  } else if (readTable(info.typeMPathTable)) {
    useTable(info.typeMPathTable, PathTableOrder::kTypeM, true);
  } else {
    useTable(info.typeLPathTable, PathTableOrder::kTypeL, false);
    if (!aborted_) useTable(info.typeMPathTable, PathTableOrder::kTypeM, true);
  }
}

bool VolumeReader::ReadFolder(Lba extent, std::uint32_t sectors, std::uint32_t& delivered) {
  delivered = 0;
  if (sectors == 0) {
    if (session_.end != 0 && extent >= session_.end) {
      ReportDamagedFolder(extent, text::kFolderPastEnd);
      return false;
    }
    // A length of 0 (or one not known: a CL record whose folder's "."
    // record did not read) is damage; the first sector tells what lies there.
    sectors = 1;
  }
  // Read a run at a time: a directory's records never reach into another
  // directory, nor into sectors listed already, so a length that claims them
  // (folders that overlap, each claiming the rest of the disc) ends there and
  // costs only the sectors the folder holds.
  buffer_.clear();
  std::uint32_t taken = 0;
  while (taken < sectors) {
    // The first sector alone first: a record that points into a file's data
    // costs one sector, not the length it claims.
    const std::uint32_t run = std::min(sectors - taken, taken == 0 ? 1 : kFolderRunSectors);
    buffer_.resize(static_cast<std::size_t>(taken + run) * kSectorSize, std::byte{0});
    const std::span<std::byte> bytes = std::span(buffer_).subspan(std::size_t{taken} * kSectorSize);
    std::uint32_t got = 0;
    if (!reader_.ReadSectors(extent + taken, run, bytes, got)) {
      delivered = 0;
      ReportDamagedFolder(extent, text::kFolderNotRead);
      return false;
    }
    got = std::min(got, run * kSectorSize);
    bool cut = false;
    for (std::uint32_t k = 0; k < run && std::size_t{k} * kSectorSize < got; ++k) {
      const Lba lba = extent + taken + k;
      if (lba != extent && (listedSectors_.contains(lba) ||
                            StartsDirectory(bytes.subspan(std::size_t{k} * kSectorSize), lba))) {
        got = k * kSectorSize;
        buffer_.resize(std::size_t{taken + k} * kSectorSize);
        cut = true;
        break;
      }
    }
    delivered = taken * kSectorSize + got;
    if (cut || got < run * kSectorSize) break;  // the rest did not read, or is not this folder's
    if (taken == 0 && !StartsDirectory(buffer_, extent)) break;
    taken += run;
  }
  if (!StartsDirectory(std::span<const std::byte>(buffer_).first(delivered), extent)) {
    const std::span<const std::byte> first = std::span<const std::byte>(buffer_).first(delivered);
    const bool descriptor = delivered >= kSectorSize && (IsVolumeDescriptor(first) || IsSetTerminator(first));
    ReportDamagedFolder(extent, delivered == 0 ? text::kFolderNotRead
                                : descriptor   ? text::kFolderIsVolumeDescriptor
                                               : text::kFolderNoDirectory);
    return false;
  }
  if (delivered < buffer_.size()) {
    ReportDamagedFolder(extent, text::kFolderReadInPart);
  }
  for (Lba lba = extent; lba < extent + SectorsFor(delivered); ++lba) listedSectors_.insert(lba);
  return true;
}

bool VolumeReader::WalkFolders(bool fromPathTable, bool sixteenBit, Lba lba,
                               std::uint32_t byteLength, bool reportEnd) {
  if (aborted_) return false;
  // A walk that starts at a folder an earlier walk of this session read
  // would list its files a second time.
  if (!fromPathTable && walkedExtents_.contains(lba)) return true;
  sink_.AddLogEntry(text::LoadText(text::kInfo), text::LoadText(text::kCreatingTreeStructure),
                    text::LoadText(text::kProcessStarted), log::LogIcon::kInformation);
  std::size_t cursor = 0;
  if (fromPathTable) {
    auto first = std::find_if(workList_.begin(), workList_.end(),
                              [](const WorkRecord& r) { return r.fromPathTable; });
    cursor = static_cast<std::size_t>(first - workList_.begin());
  } else {
    workList_.clear();
    walkedExtents_.insert(lba);
    std::uint32_t sectors = SectorsFor(BoundedLength(lba, byteLength));
    std::uint32_t delivered = 0;
    const bool read = ReadFolder(lba, sectors, delivered);
    if (delivered == 0) return false;
    if (sink_.StopRequested()) {
      Abort();
      return true;
    }
    if (read) ParseFolder(std::span<const std::byte>(buffer_).first(delivered), lba, true, sixteenBit);
  }

  // Breadth first: folders are read in the order they were appended.
  for (;;) {
    if (sink_.StopRequested()) {
      Abort();
      return true;
    }
    while (cursor < workList_.size() && workList_[cursor].type != EntryType::kFolder) ++cursor;
    if (cursor >= workList_.size() && !(reportEnd && ListFoldersNotHome())) break;
    if (cursor >= workList_.size()) continue;
    const std::uint32_t extent = workList_[cursor].extent;
    const std::uint32_t dataLength = workList_[cursor].folderDataLength;
    ++cursor;
    // A damaged disc can point a directory back up the tree: each extent is
    // walked once per session, so every walk ends. Nor is a sector listed
    // twice: a folder that starts inside another's records was listed there.
    if (!walkedExtents_.insert(extent).second || listedSectors_.contains(extent)) continue;
    std::uint32_t delivered = 0;
    if (ReadFolder(extent, SectorsFor(BoundedLength(extent, dataLength)), delivered)) {
      ParseFolder(std::span<const std::byte>(buffer_).first(delivered), extent, false, sixteenBit);
    }
  }
  if (reportEnd) FinishWalks();
  return true;
}

void VolumeReader::FinishWalks() {
  if (completionLogged_ || aborted_) return;
  completionLogged_ = true;
  // A tree with a folder that did not read ends as a recovery with lost files
  // does: the words say so, and no green tick.
  if (damageCounted_) {
    sink_.AddLogEntry(u" ", u" ", text::LoadText(text::kProcessCompletedWithErrors),
                      log::LogIcon::kFailure);
  } else {
    sink_.AddLogEntry(u" ", u" ", text::LoadText(text::kProcessCompleted),
                      log::LogIcon::kCompleted);
  }
  sink_.MarkLogHasEntries();
}

std::vector<VolumeReader::FolderItem> VolumeReader::FolderItems(
    std::span<const std::byte> buffer) const {
  std::vector<FolderItem> items;
  const std::size_t total = buffer.size();
  // The "." and ".." records are skipped by their length bytes.
  std::size_t pos = total > 0 ? static_cast<std::size_t>(buffer[0]) : 0;
  if (pos < total) pos += static_cast<std::size_t>(buffer[pos]);
  // The parts of a file recorded in several extents, until its last record.
  std::optional<FolderItem> pending;
  const auto sameFile = [](const DirectoryRecord& a, const DirectoryRecord& b) {
    return std::equal(a.identifier.begin(), a.identifier.end(), b.identifier.begin(),
                      b.identifier.end());
  };
  while (pos < total) {
    auto length = static_cast<std::uint8_t>(buffer[pos]);
    std::size_t sectorEnd = (pos / kSectorSize + 1) * kSectorSize;
    // A zero length byte ends the records of this sector; a record never
    // crosses a sector boundary, so one that would is taken as the same.
    if (length == 0 || pos + length > sectorEnd) {
      pos = sectorEnd;
      continue;
    }
    // A record that runs past what the read delivered: nothing more was read.
    if (pos + length > total) break;
    auto record = ParseDirectoryRecord(buffer.subspan(pos, length));
    pos += length;
    if (!record) continue;
    if (pending && !record->IsDirectory() && sameFile(pending->record, *record)) {
      pending->moreParts.push_back({record->extent, record->dataLength});
      pending->size += record->dataLength;
      if (!record->IsMultiExtent()) {
        items.push_back(std::move(*pending));
        pending.reset();
      }
      continue;
    }
    if (pending) {
      // Its last record is missing: the parts that were recorded make the file.
      items.push_back(std::move(*pending));
      pending.reset();
    }
    FolderItem item{*record, record->IsDirectory() ? 0 : record->dataLength, {}, false};
    if (!record->IsDirectory() && record->IsMultiExtent()) {
      pending = std::move(item);
    } else {
      items.push_back(std::move(item));
    }
  }
  if (pending) items.push_back(std::move(*pending));
  return items;
}

void VolumeReader::ParseFolder(std::span<const std::byte> buffer, std::uint32_t folderExtent,
                               bool rootChildren, bool sixteenBit) {
  std::vector<FolderItem> items = FolderItems(buffer);
  if (!encodingSettled) {
    // Without a descriptor the records of the walk's first folder decide.
    std::vector<std::span<const std::byte>> identifiers;
    for (const FolderItem& item : items) identifiers.push_back(item.record.identifier);
    sixteenBitNames_ = JudgeSixteenBit(identifiers);
    encodingSettled = true;
  } else if (!recoveryMode) {
    sixteenBitNames_ = sixteenBit;
  }
  // Several versions of one file name: the highest keeps the plain name, the
  // others their ";N". When every file carries the same version (";1" on
  // almost every disc), none is below its name's highest and no name needs
  // decoding for it.
  std::unordered_map<std::u16string, std::uint32_t> highest;
  std::vector<std::optional<std::uint32_t>> versions(items.size());
  std::optional<std::uint32_t> firstVersion;
  bool versionsDiffer = false;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const DirectoryRecord& record = items[i].record;
    if (record.IsDirectory()) continue;
    versions[i] = FileVersion(record.identifier, sixteenBitNames_);
    if (!versions[i]) continue;
    if (!firstVersion) firstVersion = versions[i];
    versionsDiffer = versionsDiffer || *versions[i] != *firstVersion;
  }
  for (std::size_t i = 0; versionsDiffer && i < items.size(); ++i) {
    if (!versions[i]) continue;
    std::uint32_t& top = highest[DecodeName(items[i].record.identifier, sixteenBitNames_, false)];
    top = std::max(top, *versions[i]);
  }
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (versions[i] && highest.size() > 0) {
      const auto top = highest.find(DecodeName(items[i].record.identifier, sixteenBitNames_, false));
      items[i].keepVersion = top != highest.end() && *versions[i] < top->second;
    }
    Accept(items[i], rootChildren, folderExtent);
  }
}

void VolumeReader::Accept(const FolderItem& item, bool rootChildren, std::uint32_t folderExtent) {
  const DirectoryRecord& record = item.record;
  WorkRecord work;
  work.type = record.IsDirectory() ? EntryType::kFolder : EntryType::kFile;
  const auto kept = [&] { return MovedRecord{RecordBytes(record), folderExtent, rootChildren}; };
  const auto recordName = [&] {
    return DecodeName(record.identifier, sixteenBitNames_, record.IsDirectory(), item.keepVersion);
  };
  std::optional<std::uint32_t> childLink;
  std::optional<RecordingTime> modified;
  std::optional<CompressedData> compressed;
  if (rockRidge_) {
    RockRidgeRecord entries = RockRidgeEntries(record);
    // A relocated folder is listed where its CL record stands, not here.
    if (entries.relocated && record.IsDirectory() && !listedThoughMoved_.contains(record.extent)) {
      movedAway_.push_back(kept());
      return;
    }
    // The record's own name stands where Rock Ridge gives none.
    std::optional<std::u16string> name = RockRidgeName(entries);
    work.name = name ? std::move(*name) : recordName();
    if (rootChildren && record.IsDirectory() && IsRelocationFolder(work.name) &&
        !listedThoughMoved_.contains(record.extent) && AllWentHome(record)) {
      relocationFolders_.push_back(kept());
      return;
    }
    if (!record.IsDirectory()) {
      childLink = entries.childLink;
      compressed = entries.compressed;
      if (std::optional<std::u16string> target = RockRidgeLinkTarget(entries)) {
        work.linkTarget = std::move(*target);
      }
    }
    if (entries.damage != 0) ReportRockRidge(folderExtent, work.name, text::kRockRidgeDamaged);
    // A sector that did not read is damage the exit status tells, as a
    // folder's is.
    if (entries.damage & RockRidgeRecord::kContinuationUnread) {
      sink_.CountDamage(ScanDamage::kContinuationUnread);
      damageCounted_ = true;
    }
    work.mode = entries.mode.value_or(0);
    modified = entries.modified;
  } else {
    work.name = recordName();
  }
  work.extent = record.extent;
  if (!record.IsDirectory()) {
    work.size = item.size;
    // A compressed file is listed with its real size; one recorded in
    // several extents is none a writer compresses.
    if (compressed && item.moreParts.empty()) {
      work.compressedSize = item.record.dataLength;
      work.size = compressed->realSize;
    }
  }
  if (!record.IsDirectory() && ListedInEarlierSession(work)) {
    // Not listed again, yet the folder holds it: the union pairs folders by
    // the files they hold.
    if (keepFilesForUnion_ && !record.identifier.empty()) {
      NoteListedFile(rootChildren ? session_.topLevelParentId : static_cast<std::int32_t>(folderExtent),
                     record.extent, item.size);
    }
    return;
  }
  ++acceptedRecords_;
  work.extent = record.extent;
  // Rock Ridge's TF holds the modification time the recording system had;
  // without it the record's own time stands.
  work.time = modified ? *modified : record.time;
  if (!GmtOffsetInRange(work.time.gmtOffset)) {
    work.time.gmtOffset = 0;
    ++offsetsOutOfRange_;
  }
  if (childLink) {
    // The CL record stands for the relocated folder in its real place.
    work.type = EntryType::kFolder;
    work.linkTarget.clear();
    work.compressedSize.reset();
    work.extent = *childLink;
    ReadFolderStamp(work);
    if (walkedExtents_.contains(*childLink)) {
      ReportRockRidge(folderExtent, work.name, text::kRockRidgeFolderLoop);
    }
  } else if (record.IsDirectory()) {
    work.folderDataLength = record.dataLength;
  } else {
    work.moreParts = item.moreParts;
  }
  work.parentId = rootChildren ? session_.topLevelParentId : static_cast<std::int32_t>(folderExtent);
  bool named = !record.identifier.empty();
  if (named && work.type == EntryType::kFolder) {
    folderNames_.try_emplace(work.extent, FolderName{work.name, work.parentId});
  }
  // The walk needs the folders; the union with the other tree the files'
  // extents.
  if (named && work.type == EntryType::kFolder) workList_.push_back(work);
  if (named && work.type == EntryType::kFile && keepFilesForUnion_) {
    NoteListedFile(work.parentId, work.extent, item.size);
  }
  sink_.AcceptRecord(work, named);
}

bool VolumeReader::ListFoldersNotHome() {
  std::vector<MovedRecord> notHome;
  for (MovedRecord& moved : movedAway_) {
    const auto record = ParseDirectoryRecord(moved.bytes);
    if (record && !walkedExtents_.contains(record->extent)) notHome.push_back(std::move(moved));
  }
  movedAway_.clear();
  for (const MovedRecord& moved : notHome) {
    for (const MovedRecord& relocation : relocationFolders_) {
      const auto folder = ParseDirectoryRecord(relocation.bytes);
      if (!folder || folder->extent != moved.folderExtent || folderNames_.contains(folder->extent)) continue;
      // Its records were read when the root's were: they are not read again.
      listedThoughMoved_.insert(folder->extent);
      walkedExtents_.insert(folder->extent);
      Accept(FolderItem{*folder, 0, {}, false}, relocation.rootChildren, relocation.folderExtent);
    }
    const auto record = ParseDirectoryRecord(moved.bytes);
    listedThoughMoved_.insert(record->extent);
    Accept(FolderItem{*record, 0, {}, false}, moved.rootChildren, moved.folderExtent);
    const auto named = folderNames_.find(record->extent);
    ReportRockRidge(moved.folderExtent, named != folderNames_.end() ? named->second.name : u"?",
                    text::kRockRidgeFolderNotHome);
  }
  return !notHome.empty();
}

bool VolumeReader::ListedInEarlierSession(const WorkRecord& file) {
  // A later session shows the files of the earlier ones it kept: each was
  // listed there already, unless that session's directories did not read.
  // Whatever the track list says of where the sessions lie: tracks that
  // overlap each show the same files.
  return session_.multiTrack && session_.session > 1 && sink_.ListedInEarlierSession(file);
}

std::u16string VolumeReader::FolderPath(Lba extent) const {
  std::u16string path;
  Lba at = extent;
  // A damaged disc can name folders in a loop: the path is cut short then.
  for (int depth = 0; depth < 256; ++depth) {
    const auto found = folderNames_.find(at);
    if (found == folderNames_.end()) break;
    path = path.empty() ? found->second.name : found->second.name + u"/" + path;
    if (found->second.parentId == session_.topLevelParentId || found->second.parentId < 0) break;
    at = static_cast<Lba>(found->second.parentId);
  }
  return path.empty() ? text::LoadText(text::kRootName) : path;
}

void VolumeReader::ReportDamagedFolder(Lba extent, std::uint16_t what) {
  damagedFolders_.try_emplace(extent, what);
  sink_.AddLogEntry(u" ",
                    FolderPath(extent) + u" (" + text::LoadText(text::kSector) + u" " +
                        Decimal(extent) + u")",
                    text::LoadText(what), log::LogIcon::kFailure);
  sink_.MarkLogHasEntries();
  sink_.CountDamagedFolder();
  damageCounted_ = true;
}

void VolumeReader::ReadFolderStamp(WorkRecord& record) {
  std::vector<std::byte> sector = FilledBuffer(1, kUnreadByte);
  std::uint32_t bytesRead = 0;
  if (!reader_.ReadSectors(record.extent, 1, sector, bytesRead)) return;
  auto self = ParseDirectoryRecord(std::span<const std::byte>(sector).first(
      std::min<std::size_t>(bytesRead, sector.size())));
  if (!self || !IsSelfRecord(*self, record.extent)) return;
  record.folderDataLength = self->dataLength;
  if (!IsRealTime(self->time)) return;
  record.time = self->time;
  if (!GmtOffsetInRange(record.time.gmtOffset)) {
    record.time.gmtOffset = 0;
    ++offsetsOutOfRange_;
  }
}

bool VolumeReader::ReadPathTableSource(const PathTableSource& source, std::vector<std::byte>& data,
                                       bool& whole) {
  std::uint32_t sectors = SectorsFor(BoundedLength(source.lba, source.sectorCount * kSectorSize));
  data = FilledBuffer(sectors, kUnreadByte);
  std::uint32_t bytesRead = 0;
  if (sectors == 0 || !reader_.ReadSectors(source.lba, sectors, data, bytesRead)) return false;
  whole = bytesRead == data.size();
  return true;
}

void VolumeReader::WalkPathTable(bool fresh, bool walkAfter, bool sixteenBit,
                                 std::optional<NameEncoding> encoding) {
  if (aborted_) return;
  if (fresh) workList_.clear();
  std::set<std::pair<std::uint32_t, std::u16string>> known;
  for (const WorkRecord& r : workList_) {
    if (r.type == EntryType::kFolder) known.emplace(r.extent, r.name);
  }

  // Outside recovery mode the first source that reads; in recovery mode the
  // first with the names asked for, by default 16-bit ones, or an 8-bit one
  // when no 16-bit table exists.
  std::vector<std::byte> data;
  const PathTableSource* chosen = nullptr;
  bool whole = false;
  if (!encoding) {
    const bool anySixteenBit = std::any_of(
        pathTableSources_.begin(), pathTableSources_.end(),
        [](const PathTableSource& s) { return s.encoding == NameEncoding::kSixteenBit; });
    encoding = anySixteenBit ? NameEncoding::kSixteenBit : NameEncoding::kEightBit;
  }
  for (const PathTableSource& source : pathTableSources_) {
    if (recoveryMode && source.encoding != *encoding) continue;
    if (ReadPathTableSource(source, data, whole)) {
      chosen = &source;
      break;
    }
  }
  if (!chosen) return;
  if (recoveryMode) {
    sixteenBit = chosen->encoding == NameEncoding::kSixteenBit;
    const std::size_t tablesOfEncoding = static_cast<std::size_t>(
        std::count_if(pathTableSources_.begin(), pathTableSources_.end(),
                      [&](const PathTableSource& s) { return s.encoding == chosen->encoding; }));
    walkAfter = whole || tablesOfEncoding < 2;
  }

  ByteReader table(data);
  std::size_t pos = kPathTableFirstRecord;
  while (table.Has(pos, 8)) {
    std::uint8_t identifierLength = table.U8(pos);
    std::uint32_t extent = chosen->order == PathTableOrder::kTypeL ? table.U32Le(pos + 2) : table.U32Be(pos + 2);
    // Only the top-level folders (parent number 1, in either byte order) are taken.
    if (table.U16Le(pos + 6) != 1 && table.U16Be(pos + 6) != 1) break;
    if (identifierLength == 0 || !table.Has(pos + 8, identifierLength)) break;
    std::u16string name = DecodeName(table.Bytes(pos + 8, identifierLength), sixteenBit, true);
    pos += 8u + identifierLength + (identifierLength % 2);
    if (!known.emplace(extent, name).second) continue;
    WorkRecord work;
    work.type = EntryType::kFolder;
    work.name = name;
    work.extent = extent;
    work.parentId = session_.topLevelParentId;
    work.fromPathTable = true;
    ReadFolderStamp(work);
    workList_.push_back(work);
    ++acceptedRecords_;
    sink_.AcceptRecord(work, true);
    if (sink_.StopRequested()) break;
  }
  if (walkAfter) {
    WalkFolders(true, sixteenBit, 0, 0, true);
  }
}

void VolumeReader::Abort() {
  if (aborted_) return;  // one row per stop
  aborted_ = true;
  sink_.AddLogEntry(u" ", u" ", text::LoadText(text::kProcessAborted), log::LogIcon::kFailure);
  sink_.MarkLogHasEntries();
}

}  // namespace velmora::disc
