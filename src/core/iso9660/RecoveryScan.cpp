#include "iso9660/RecoveryScan.h"

#include <algorithm>
#include <limits>

#include "media/ByteReader.h"
#include "iso9660/DirectoryRecord.h"
#include "iso9660/NameDecoder.h"

namespace velmora::disc {
namespace {

// Both scans start where the descriptor area starts: nothing of the file
// system lies before it.
constexpr std::uint32_t kFirstScanSector = 16;
// Where the session's end is unknown, a run of this many failed reads is taken
// as the end of the disc: a drive asked past the last sector of a disc fails
// every read, and the scan would otherwise ask for sectors for ever. Where the
// end is known the scan reads up to it, however long a damaged stretch is.
constexpr std::uint32_t kMaxFailedReadsInARow = 256;
// No structure is followed past this many sectors, whatever its records say.
constexpr std::uint32_t kMaxStructureSectors = kMaxDirectoryBytes / kSectorSize;

// A directory opens with its "." and ".." records, 34 bytes each on a disc
// without extensions; its first entry follows them.
constexpr std::size_t kSelfRecordLength = 34;
constexpr std::size_t kFirstEntry = 2 * kSelfRecordLength;
// A writer moves on to the next sector when the next record does not fit, and
// fills the rest with zeros. A zero tail shorter than this is taken as such
// filling, a longer one as the end of the directory's records.
constexpr std::size_t kDirectoryTail = 60;

constexpr std::size_t kPathTableFirstRecord = 10;  // after the root's own record
constexpr std::size_t kPathTableRecordHead = 8;
constexpr std::size_t kPathTableOrderByte = 6;  // the root's parent number: 1 first in type L
constexpr std::size_t kSecondIdentifierByte = kPathTableFirstRecord + kPathTableRecordHead;
// A table that ends this early (the root and at most four one-letter folders)
// is more likely some other sector that happens to begin like one.
constexpr std::size_t kShortestPathTable = 50;
// The type L and type M tables of the ISO 9660 tree and of the Joliet tree.
constexpr std::size_t kPathTablesWanted = 4;


bool StartsDirectory(std::span<const std::byte> sector, Lba lba) {
  return LooksLikeDirectoryStart(sector, lba);
}

bool StartsPathTable(std::span<const std::byte> sector) { return LooksLikePathTableStart(sector); }

// A time some writer can have recorded. Hour 0 is a file written between
// midnight and 1 a.m.
bool PlausibleTime(const RecordingTime& time) {
  return time.month >= 1 && time.month <= 12 && time.day >= 1 && time.day <= 31 && time.hour <= 23;
}

// The names of the records from pos on in the delivered bytes of a
// directory's first sector decide its encoding together.
NameEncoding EncodingOfSector(std::span<const std::byte> sector, std::size_t pos) {
  std::vector<std::span<const std::byte>> identifiers;
  while (pos < sector.size()) {
    const auto length = static_cast<std::size_t>(sector[pos]);
    if (length == 0) break;
    auto record = ParseDirectoryRecord(sector.subspan(pos));
    if (!record) break;
    identifiers.push_back(record->identifier);
    pos += length;
  }
  return JudgeSixteenBit(identifiers) ? NameEncoding::kSixteenBit : NameEncoding::kEightBit;
}

// Only part of a directory's first sector arrived: the directory is taken as
// that sector, its names judged by the entries that arrived whole.
DirectoryCandidate ShortReadCandidate(std::span<const std::byte> read, Lba lba) {
  return {lba, 1, EncodingOfSector(read, std::min(kFirstEntry, read.size())), false};
}

template <typename Counter>
void CountUp(Counter& counter) {
  if (counter < std::numeric_limits<Counter>::max()) ++counter;
}

}  // namespace

bool LooksLikeDirectoryStart(std::span<const std::byte> sector, Lba lba) {
  ByteReader bytes(sector);
  return bytes.U8(0) == kSelfRecordLength && bytes.U32Le(2) == lba &&
         bytes.U8(kSelfRecordLength) == kSelfRecordLength &&
         bytes.U8(kFirstEntry) >= kMinDirectoryRecord;
}

bool LooksLikePathTableStart(std::span<const std::byte> sector) {
  ByteReader bytes(sector);
  return bytes.U8(0) == 1 && bytes.U8(6) <= 1 && bytes.U8(7) <= 1 && bytes.U8(8) == 0 &&
         bytes.U8(9) == 0 && bytes.U32Le(2) != 0;
}

void RecoveryScan::RecoverVolume() {
  volume_.encodingSettled = false;
  volume_.recoveryMode = true;
  ScanForDirectories(kFirstScanSector);
  if (!stopSeen_) ScanForPathTables();
  // The user stopped the scan: nothing is walked.
  if (stopSeen_) {
    volume_.Abort();
    return;
  }
  WalkCandidates();
}

void RecoveryScan::WalkCandidates() {
  if (candidates_.empty()) {
    volume_.WalkPathTable(true, true, false);
    return;
  }
  // Joliet names first, then 8-bit ones, the same way: every directory found
  // is walked for what it holds, the first one found (the root, on the discs
  // writers make) first, and a path table of its encoding gives the top-level
  // folders a directory cut short may have lost. A walk never starts at a
  // folder an earlier one read, so a directory whose parent was lost is listed
  // under Root and nothing twice.
  for (NameEncoding encoding : {NameEncoding::kSixteenBit, NameEncoding::kEightBit}) {
    bool tableWalked =
        std::none_of(volume_.pathTableSources().begin(), volume_.pathTableSources().end(),
                     [&](const PathTableSource& t) { return t.encoding == encoding; });
    for (const DirectoryCandidate& candidate : candidates_) {
      if (candidate.encoding != encoding) continue;
      if (volume_.aborted()) return;
      volume_.WalkFolders(false, false, candidate.firstSector,
                          candidate.sectorCount * kSectorSize, false);
      if (candidate.ended || tableWalked) continue;
      volume_.encodingSettled = false;
      volume_.WalkPathTable(false, false, false, encoding);
      tableWalked = true;
    }
    // Names of this encoding were found: the other kind is another tree of
    // the same files.
    if (volume_.acceptedRecords() > 0) break;
  }
  volume_.FinishWalks();
}

RecoveryScan::SectorRead RecoveryScan::ReadScanSector(std::uint32_t s, std::span<std::byte> sector,
                                                      std::uint32_t& bytesRead) {
  bytesRead = 0;
  const SessionGeometry& session = volume_.session();
  if (s > std::numeric_limits<Lba>::max() - session.base) return SectorRead::kEnd;
  const Lba lba = session.base + s;
  if (session.end != 0 && lba >= session.end) return SectorRead::kEnd;
  std::fill(sector.begin(), sector.end(), kUnreadByte);
  if (!reader_.ReadSectors(lba, 1, sector, bytesRead)) return SectorRead::kFailed;
  // A read that succeeds with nothing is the end of the medium.
  return bytesRead == 0 ? SectorRead::kEnd : SectorRead::kRead;
}

bool RecoveryScan::ReadNextSector(std::uint32_t& s, std::span<std::byte> sector,
                                  std::uint32_t& bytesRead) {
  std::uint32_t failedInARow = 0;
  for (;; ++s) {
    if (volume_.PollStop()) {
      stopSeen_ = true;
      return false;
    }
    switch (ReadScanSector(s, sector, bytesRead)) {
      case SectorRead::kRead:
        return true;
      case SectorRead::kEnd:
        return false;
      case SectorRead::kFailed:
        // An unreadable sector is passed over.
        if (volume_.session().end == 0 && ++failedInARow >= kMaxFailedReadsInARow) return false;
        break;
    }
  }
}

bool RecoveryScan::ScanForDirectories(std::uint32_t firstSector) {
  candidates_.clear();
  std::vector<std::byte> sector(kSectorSize);
  std::uint32_t bytesRead = 0;
  for (std::uint32_t s = firstSector; ReadNextSector(s, sector, bytesRead);) {
    const Lba lba = volume_.session().base + s;
    std::uint32_t next = s + 1;
    std::optional<DirectoryCandidate> candidate;
    if (StartsDirectory(sector, lba)) {
      if (bytesRead < kSectorSize) {
        candidate = ShortReadCandidate(std::span<const std::byte>(sector).first(bytesRead), lba);
        CountUp(shortDirectoryReads_);
      } else {
        candidate = FollowDirectory(s, sector, next);
      }
    }
    s = next;
    if (!candidate) continue;
    candidates_.push_back(*candidate);
    // The whole of a Joliet directory: the 16-bit tree starts here.
    if (candidate->ended && candidate->encoding == NameEncoding::kSixteenBit) break;
  }
  return !candidates_.empty();
}

std::optional<DirectoryCandidate> RecoveryScan::FollowDirectory(std::uint32_t s,
                                                                std::span<std::byte> sector,
                                                                std::uint32_t& next) {
  const Lba base = volume_.session().base;
  DirectoryCandidate candidate{base + s, 1, NameEncoding::kEightBit, false};
  std::uint32_t current = s;  // the sector in the buffer
  // A sector after the first belongs to the directory once a record in it passed.
  bool currentCounted = true;
  std::size_t pos = kFirstEntry;
  std::size_t delivered = kSectorSize;  // bytes of the sector in the buffer that the read delivered
  next = s + 1;
  for (;;) {
    bool recordFollows = false;
    if (pos < kSectorSize) {
      // Nothing was read from here on: the end of the records is not known.
      if (pos >= delivered) return candidate;
      const std::uint8_t length = ByteReader(sector).U8(pos);
      const std::size_t left = kSectorSize - pos;
      // A zero tail of exactly kDirectoryTail bytes also ends the records:
      // taken as a record, its zero date would throw away a whole directory.
      if (length == 0 && left >= kDirectoryTail) {
        candidate.ended = true;
        return candidate;
      }
      recordFollows = length != 0;
    }
    if (recordFollows) {
      // A record must lie in its sector and carry a time a writer can record;
      // in the first sector anything else means this is no directory, after it
      // that the directory ended with the sector before.
      auto record = ParseDirectoryRecord(std::span<const std::byte>(sector).first(delivered).subspan(pos));
      // A record cut short by the end of what was read.
      if (!record && pos + ByteReader(sector).U8(pos) > delivered && pos + ByteReader(sector).U8(pos) <= kSectorSize) {
        return candidate;
      }
      if (!record || !PlausibleTime(record->time)) {
        if (current == s) return std::nullopt;
        candidate.ended = true;
        return candidate;
      }
      if (pos == kFirstEntry && current == s) candidate.encoding = EncodingOfSector(sector, pos);
      if (!currentCounted) {
        ++candidate.sectorCount;
        currentCounted = true;
      }
      pos += record->length;
      continue;
    }
    // On to the next sector: the last record ended at the sector's end, or a
    // short zero tail filled it.
    if (current - s + 1 >= kMaxStructureSectors) return candidate;
    ++current;
    next = current + 1;
    std::uint32_t bytesRead = 0;
    if (ReadScanSector(current, sector, bytesRead) != SectorRead::kRead) return candidate;
    delivered = std::min<std::size_t>(bytesRead, kSectorSize);
    // The next directory begins here: this one ended with the sector before,
    // and the scan examines this one next.
    if (StartsDirectory(sector, base + current)) {
      next = current;
      candidate.ended = true;
      return candidate;
    }
    currentCounted = false;
    pos = 0;
  }
}

void RecoveryScan::ScanForPathTables() {
  std::vector<PathTableSource>& sources = volume_.pathTableSources();
  sources.clear();
  volume_.sixteenBitPathTables = 0;
  std::size_t complete = 0;
  std::vector<std::byte> sector(kSectorSize);
  std::uint32_t bytesRead = 0;
  for (std::uint32_t s = kFirstScanSector;
       complete < kPathTablesWanted && ReadNextSector(s, sector, bytesRead);) {
    std::uint32_t next = s + 1;
    std::optional<FoundPathTable> table;
    if (StartsPathTable(sector)) {
      table = FollowPathTable(s, std::span<const std::byte>(sector).first(bytesRead), next);
    }
    // A follow that was refused goes on after the sectors it took as records:
    // on sectors that all begin like a table, starting again at each one
    // would read the same stretch over and over.
    s = std::max(next, s + 1);
    if (!table) continue;
    sources.push_back(table->source);
    if (table->source.encoding == NameEncoding::kSixteenBit) CountUp(volume_.sixteenBitPathTables);
    // Only a table whose end was read counts towards the four; the scan goes
    // on looking for a whole copy of one that was cut short.
    if (table->complete) ++complete;
  }
}

std::optional<RecoveryScan::FoundPathTable> RecoveryScan::FollowPathTable(
    std::uint32_t s, std::span<const std::byte> first, std::uint32_t& next) {
  FoundPathTable found;
  PathTableSource& source = found.source;
  source.lba = volume_.session().base + s;
  source.sectorCount = 1;
  ByteReader head(first);
  source.order =
      head.U8(kPathTableOrderByte) == 1 ? PathTableOrder::kTypeL : PathTableOrder::kTypeM;
  // A Joliet name starts with a zero byte where an ISO 9660 name never has one.
  source.encoding =
      head.U8(kSecondIdentifierByte) == 0 ? NameEncoding::kSixteenBit : NameEncoding::kEightBit;
  std::vector<std::byte> table(first.begin(), first.end());
  table.resize(kSectorSize, std::byte{0});
  // The end of the bytes the reads delivered, without a gap before it.
  std::size_t delivered = first.size();
  std::vector<std::byte> sector(kSectorSize);
  std::uint32_t examined = 1;
  // Records run on from one sector into the next: reads sectors until the
  // table holds byte at. False when the next sector does not read.
  auto reach = [&](std::size_t at) {
    while (at >= table.size()) {
      ++examined;
      std::uint32_t bytesRead = 0;
      if (ReadScanSector(s + source.sectorCount, sector, bytesRead) != SectorRead::kRead)
        return false;
      if (delivered == table.size()) delivered += std::min<std::size_t>(bytesRead, kSectorSize);
      table.insert(table.end(), sector.begin(), sector.end());
      ++source.sectorCount;
    }
    return true;
  };
  // A table cut short by a sector that does not read is taken with the
  // sectors that did.
  auto cutShort = [&] {
    next = s + examined;
    return found;
  };

  std::size_t pos = kPathTableFirstRecord;
  // Refused after k sectors: the scan goes on after them.
  auto refused = [&]() -> std::optional<FoundPathTable> {
    next = s + examined;
    return std::nullopt;
  };
  while (pos < std::size_t{kMaxStructureSectors} * kSectorSize) {
    if (!reach(pos)) return cutShort();
    // Nothing was read from here on; what came before is used if it is not
    // too short to be a table.
    if (pos >= delivered) {
      if (pos < kShortestPathTable) return std::nullopt;
      return cutShort();
    }
    const std::uint8_t length = ByteReader(table).U8(pos);
    if (length == 0) {
      if (pos <= kShortestPathTable) return std::nullopt;
      found.complete = true;
      next = s + examined;
      return found;
    }
    if (length % 2 != 0) {
      // An odd identifier is followed by a zero padding byte.
      const std::size_t padding = pos + kPathTableRecordHead + length;
      if (!reach(padding) || padding >= delivered) return cutShort();
      if (ByteReader(table).U8(padding) != 0) return refused();
    }
    pos += kPathTableRecordHead + length + length % 2;
  }
  return refused();
}

}  // namespace velmora::disc
