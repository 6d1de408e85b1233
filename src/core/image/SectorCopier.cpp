#include "image/SectorCopier.h"

#include <algorithm>
#include <utility>

#include "text/StringTable.h"
#include "text/Utf.h"

namespace velmora::disc {
namespace {

// 64 KiB per read and per write: large enough that the copy runs at the speed
// of the disc, small enough that a batch that fails costs little to read again
// sector by sector.
constexpr Lba kBatchSectors = 32;

}  // namespace

SectorCopier::SectorCopier(CCDReader& reader, AppState& state, ScanProcess& scan, ScanHost& host,
                           ImageFile& file, std::u16string path)
    : reader_(reader),
      state_(state),
      scan_(scan),
      host_(host),
      file_(file),
      path_(std::move(path)),
      batch_(static_cast<std::size_t>(kBatchSectors) * kSectorSize) {}

SectorCopier::End SectorCopier::Read(Lba to, bool endAtEmptyRead) {
  while (blocks_ < to) {
    Lba count = std::min(kBatchSectors, to - blocks_);
    Lba batchEnd = blocks_ + count;
    Lba whole = 0;
    if (count > 1) {
      std::span<std::byte> sectors(batch_.data(), static_cast<std::size_t>(count) * kSectorSize);
      std::fill(sectors.begin(), sectors.end(), kUnreadByte);
      std::uint32_t bytesRead = 0;
      if (reader_.ReadSectors(blocks_, count, sectors, bytesRead)) {
        whole = std::min(count, bytesRead / kSectorSize);
      }
    }
    const Lba before = blocks_;
    const End written = ReportAndWrite(whole);
    Mark(std::uint64_t{before} * kSectorSize, std::uint64_t{blocks_} * kSectorSize,
         AreaStatus::kFinished);
    if (written != End::kDone) return written;
    // From the first sector that did not arrive whole, the rest of the batch is
    // read one sector at a time.
    while (blocks_ < batchEnd) {
      if (End end = CopyOneSector(endAtEmptyRead); end != End::kDone) return end;
    }
  }
  return End::kDone;
}

SectorCopier::End SectorCopier::Fill(Lba to) {
  filling_ = true;
  End end = End::kDone;
  while (end == End::kDone && blocks_ < to) {
    Lba count = std::min(kBatchSectors, to - blocks_);
    std::fill_n(batch_.begin(), static_cast<std::size_t>(count) * kSectorSize, kUnreadByte);
    end = ReportAndWrite(count);
  }
  filling_ = false;
  return end;
}

void SectorCopier::CountReadsOf(std::uint64_t bytesToRead) {
  bytesToRead_ = bytesToRead;
  host_.CountBytes(0, bytesToRead_);
}

SectorCopier::End SectorCopier::ReportAndWrite(Lba count) {
  for (Lba i = 0; i < count; ++i) {
    if (state_.stopRequested) {
      // The blocks before the stop were read and reported: they are kept.
      if (!WriteBlocks(i)) return End::kWriteFailed;
      LogAborted();
      return End::kStopped;
    }
    scan_.ReportEntry(blocks_ + i, nullptr);
  }
  return WriteBlocks(count) ? End::kDone : End::kWriteFailed;
}

SectorCopier::End SectorCopier::CopyOneSector(bool endAtEmptyRead) {
  if (state_.stopRequested) {
    LogAborted();
    return End::kStopped;
  }
  Lba lba = blocks_;
  std::span<std::byte> sector(batch_.data(), kSectorSize);
  std::fill(sector.begin(), sector.end(), kUnreadByte);
  std::uint32_t bytesRead = 0;
  bool ok = reader_.ReadSectors(lba, 1, sector, bytesRead);
  scan_.ReportEntry(lba, nullptr);
  if (!WriteBlocks(1)) return End::kWriteFailed;
  const std::uint64_t at = std::uint64_t{lba} * kSectorSize;
  if (!ok) {
    ++unreadable_;
    Mark(at, at + kSectorSize, AreaStatus::kBadSector);
    LogSector(text::kUnableToReadSector, lba);
  } else if (bytesRead == 0) {
    // Nothing was there to read: the medium may end here.
    if (endAtEmptyRead) return End::kEndOfMedium;
  } else if (bytesRead < kSectorSize) {
    ++partial_;
    Mark(at, at + bytesRead, AreaStatus::kFinished);
    Mark(at + bytesRead, at + kSectorSize, AreaStatus::kBadSector);
    LogSector(text::kProblemReadingSector, lba);
  } else {
    Mark(at, at + kSectorSize, AreaStatus::kFinished);
  }
  return End::kDone;
}

bool SectorCopier::WriteBlocks(Lba count) {
  if (count == 0) return true;
  std::span<const std::byte> blocks(batch_.data(), static_cast<std::size_t>(count) * kSectorSize);
  std::size_t written = file_.WriteAt(std::uint64_t{blocks_} * kSectorSize, blocks);
  blocks_ += static_cast<Lba>(written / kSectorSize);
  if (filling_) {
    filled_ += static_cast<Lba>(written / kSectorSize);
  } else if (bytesToRead_ != 0) {
    host_.CountBytes(std::uint64_t{blocks_ - filled_} * kSectorSize, bytesToRead_);
  }
  if (written == blocks.size()) return true;
  LogFailure();
  return false;
}

void SectorCopier::WriteTrailer(const std::vector<std::byte>& trailer) {
  if (file_.WriteAt(std::uint64_t{blocks_} * kSectorSize, trailer) != trailer.size()) LogFailure();
}

void SectorCopier::Close() {
  if (!file_.Close()) LogFailure();
}

void SectorCopier::Mark(std::uint64_t begin, std::uint64_t end, AreaStatus status) {
  if (!map_ || begin >= end) return;
  map_->Set(begin, end, status);
  map_->currentPos = std::uint64_t{blocks_} * kSectorSize;
  // A map that cannot be saved now is saved again at the end, which tells.
  writer_->SaveIfDue(*map_);
}

void SectorCopier::LogFailure() {
  // The first failure is the one worth telling; later ones follow from it.
  if (failed_) return;
  failed_ = true;
  Log(text::FromUtf8(file_.reason()), log::LogIcon::kFailure);
}

void SectorCopier::LogAborted() {
  Log(text::LoadText(text::kProcessAborted), log::LogIcon::kFailure);
}

void SectorCopier::LogSector(std::uint16_t textId, Lba lba) {
  std::u16string row = text::LoadText(textId) + u" " + text::FromUtf8(std::to_string(lba));
  // What the drive said of the sector (its sense, or a time-out), when it did.
  if (const std::u16string reason = scan_.TakeSectorReason(lba); !reason.empty()) {
    row += u" - " + reason;
  }
  Log(row, log::LogIcon::kFailure);
}

void SectorCopier::Log(std::u16string_view status, log::LogIcon icon) {
  host_.AddLogEntry(u" ", path_, status, icon);
  state_.logHasEntries = true;
}

}  // namespace velmora::disc
