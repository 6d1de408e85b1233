#include "iso9660/VolumeReader.h"

#include <algorithm>

#include "media/ByteReader.h"
#include "iso9660/NameDecoder.h"
#include "iso9660/RecoveryScan.h"
#include "text/StringTable.h"

namespace velmora::disc {
namespace {

constexpr std::uint32_t kFirstDescriptorSector = 16;
constexpr std::uint32_t kDescriptorSectors = 100;
constexpr std::size_t kPathTableFirstRecord = 10;  // the root's own record is skipped

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

}  // namespace

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

bool VolumeReader::FindVolume(const SessionGeometry& session) {
  session_ = session;
  encodingSettled = false;
  recoveryMode = false;
  aborted_ = false;
  acceptedRecords_ = 0;
  sixteenBitPathTables = 0;
  volumeInfo_.reset();
  pathTableSources_.clear();
  workList_.clear();
  walkedExtents_.clear();

  std::vector<std::uint32_t> primaries;  // every primary found, in order
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
    if (!IsVolumeDescriptor(sector)) continue;
    if (static_cast<std::uint8_t>(sector[0]) == kPrimaryDescriptor) {
      encodingSettled = true;
      primaries.push_back(s);
    } else if (bytesRead == kSectorSize && LoadVolumeInfo(s)) {
      // A supplementary descriptor is taken before any primary one; its escape
      // sequences are not examined.
      encodingSettled = true;
      if (session_.imageCreation) return true;
      ReadVolumeTree(true);
      return true;
    }
  }
  for (std::uint32_t s : primaries) {
    if (!LoadVolumeInfo(s)) continue;
    if (session_.imageCreation) return true;
    ReadVolumeTree(false);
    return false;
  }
  // Image creation only wants the volume size; it never lists entries.
  if (session_.imageCreation) return false;
  RecoveryScan(*this, reader_).RecoverVolume();
  return false;
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
  std::vector<std::byte> root = FilledBuffer(SectorsFor(rootLength), kUnreadByte);
  std::uint32_t bytesRead = 0;
  bool whole = rootLength > 0 &&
               reader_.ReadSectors(info.rootExtent, 0, root, bytesRead, rootLength, true) &&
               bytesRead == rootLength && StartsDirectory(root, info.rootExtent);
  if (whole) {
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

bool VolumeReader::WalkFolders(bool fromPathTable, bool sixteenBit, Lba lba,
                               std::uint32_t byteLength, bool reportEnd) {
  if (aborted_) return false;
  sink_.AddLogEntry(text::LoadText(text::kInfo), text::LoadText(text::kCreatingTreeStructure),
                    text::LoadText(text::kProcessStarted), log::LogIcon::kInformation);
  std::size_t cursor = 0;
  std::vector<std::byte> buffer;
  if (fromPathTable) {
    auto first = std::find_if(workList_.begin(), workList_.end(),
                              [](const WorkRecord& r) { return r.fromPathTable; });
    cursor = static_cast<std::size_t>(first - workList_.begin());
  } else {
    workList_.clear();
    std::uint32_t sectors = SectorsFor(BoundedLength(lba, byteLength));
    buffer = FilledBuffer(sectors, kUnreadByte);
    std::uint32_t bytesRead = 0;
    if (sectors == 0 || !reader_.ReadSectors(lba, sectors, buffer, bytesRead)) return false;
    if (sink_.StopRequested()) {
      Abort();
      return true;
    }
    walkedExtents_.insert(lba);
    ParseFolder(buffer, lba, true, sixteenBit);
  }

  // Breadth first: folders are read in the order they were appended.
  for (;;) {
    if (sink_.StopRequested()) {
      Abort();
      return true;
    }
    while (cursor < workList_.size() && workList_[cursor].type != EntryType::kFolder) ++cursor;
    if (cursor >= workList_.size()) break;
    const std::uint32_t extent = workList_[cursor].extent;
    const std::uint32_t dataLength = workList_[cursor].folderDataLength;
    ++cursor;
    // A damaged disc can point a directory back up the tree: each extent is
    // walked once per session, so every walk ends.
    if (!walkedExtents_.insert(extent).second) continue;
    std::uint32_t sectors = SectorsFor(BoundedLength(extent, dataLength));
    if (sectors == 0) continue;
    buffer.assign(static_cast<std::size_t>(sectors) * kSectorSize, std::byte{0});
    std::uint32_t bytesRead = 0;
    if (reader_.ReadSectors(extent, sectors, buffer, bytesRead)) {
      ParseFolder(buffer, extent, false, sixteenBit);
    }
  }
  if (reportEnd) {
    sink_.AddLogEntry(u" ", u" ", text::LoadText(text::kProcessCompleted), log::LogIcon::kCompleted);
    sink_.MarkLogHasEntries();
  }
  return true;
}

void VolumeReader::ParseFolder(std::span<const std::byte> buffer, std::uint32_t folderExtent,
                               bool rootChildren, bool sixteenBit) {
  if (!StartsDirectory(buffer, folderExtent)) return;
  const std::size_t total = buffer.size();
  // The "." and ".." records are skipped by their length bytes.
  std::size_t pos = static_cast<std::size_t>(buffer[0]);
  if (pos < total) {
    auto parentLength = static_cast<std::uint8_t>(buffer[pos]);
    if (parentLength != 0 && parentLength != static_cast<std::uint8_t>(kUnreadByte)) pos += parentLength;
  }
  while (pos < total) {
    auto length = static_cast<std::uint8_t>(buffer[pos]);
    std::size_t sectorEnd = (pos / kSectorSize + 1) * kSectorSize;
    if (length == static_cast<std::uint8_t>(kUnreadByte)) return;  // nothing was read from here on
    // A zero length byte ends the records of this sector; a record never
    // crosses a sector boundary, so one that would is taken as the same.
    if (length == 0 || pos + length > sectorEnd) {
      pos = sectorEnd;
      continue;
    }
    auto record = ParseDirectoryRecord(buffer.subspan(pos, length));
    if (record) Accept(*record, rootChildren, folderExtent, sixteenBit);
    pos += length;
  }
}

void VolumeReader::Accept(const DirectoryRecord& record, bool rootChildren,
                          std::uint32_t folderExtent, bool sixteenBit) {
  if (!encodingSettled) {
    // Without a descriptor the first record decides the encoding of the walk.
    sixteenBitNames_ = LooksSixteenBit(record.identifier);
    encodingSettled = true;
  } else if (!recoveryMode) {
    sixteenBitNames_ = sixteenBit;
  }
  WorkRecord work;
  work.type = record.IsDirectory() ? EntryType::kFolder : EntryType::kFile;
  work.name = DecodeName(record.identifier, sixteenBitNames_, record.IsDirectory());
  // In a later session, a file whose extent lies in an earlier one was listed
  // there already, unless that session's directories did not read.
  if (session_.multiTrack && session_.session > 1 && !record.IsDirectory() &&
      record.extent < session_.trackLba && sink_.ListedInEarlierSession(record.extent, work.name)) {
    return;
  }
  ++acceptedRecords_;
  work.extent = record.extent;
  work.time = record.time;
  if (record.IsDirectory()) {
    work.folderDataLength = record.dataLength;
  } else {
    work.size = record.dataLength;
  }
  work.parentId = rootChildren ? session_.topLevelParentId : static_cast<std::int32_t>(folderExtent);
  bool named = !record.identifier.empty();
  if (named) workList_.push_back(work);
  sink_.AcceptRecord(work, named);
}

void VolumeReader::ReadFolderStamp(WorkRecord& record) {
  std::vector<std::byte> sector = FilledBuffer(1, kUnreadByte);
  std::uint32_t bytesRead = 0;
  if (!reader_.ReadSectors(record.extent, 1, sector, bytesRead)) return;
  auto self = ParseDirectoryRecord(sector);
  if (!self) return;
  record.time = self->time;
  record.folderDataLength = self->dataLength;
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

void VolumeReader::WalkPathTable(bool fresh, bool walkAfter, bool sixteenBit) {
  if (aborted_) return;
  if (fresh) workList_.clear();
  std::set<std::pair<std::uint32_t, std::u16string>> known;
  for (const WorkRecord& r : workList_) {
    if (r.type == EntryType::kFolder) known.emplace(r.extent, r.name);
  }

  // Outside recovery mode the first source that reads; in recovery mode the
  // first with 16-bit names, or an 8-bit one when no 16-bit table exists.
  std::vector<std::byte> data;
  const PathTableSource* chosen = nullptr;
  bool whole = false;
  bool anySixteenBit = std::any_of(pathTableSources_.begin(), pathTableSources_.end(),
                                   [](const PathTableSource& s) { return s.encoding == NameEncoding::kSixteenBit; });
  for (const PathTableSource& source : pathTableSources_) {
    if (recoveryMode && anySixteenBit && source.encoding != NameEncoding::kSixteenBit) continue;
    if (ReadPathTableSource(source, data, whole)) {
      chosen = &source;
      break;
    }
  }
  if (!chosen) return;
  if (recoveryMode) {
    sixteenBit = chosen->encoding == NameEncoding::kSixteenBit;
    walkAfter = whole || sixteenBitPathTables < 2;
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
