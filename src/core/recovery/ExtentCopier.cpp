#include "recovery/ExtentCopier.h"

#include <algorithm>
#include <span>

namespace velmora::disc {
namespace {

constexpr std::uint64_t kLastLba = 0xFFFFFFFF;

void AddUnreadable(std::vector<ByteRange>& ranges, std::uint64_t first, std::uint64_t last) {
  if (!ranges.empty() && ranges.back().last + 1 == first) {
    ranges.back().last = last;
  } else {
    ranges.push_back({first, last});
  }
}

bool Write(platform::FileSink& sink, std::span<const std::byte> bytes, CopyResult& result) {
  if (bytes.empty() || sink.Append(bytes, result.writeError)) return true;
  result.writeFailed = true;
  return false;
}

}  // namespace

ExtentCopier::ExtentCopier(CCDReader& reader, ScanHost& host, const AppState& state)
    : reader_(reader),
      host_(host),
      state_(state),
      run_(static_cast<std::size_t>(kRunSectors) * kSectorSize) {}

bool ExtentCopier::KeepGoing() {
  host_.PumpPendingMessages();
  return !state_.stopRequested;
}

CopyResult ExtentCopier::Copy(Lba extent, std::uint32_t size, platform::FileSink& sink) {
  return CopyPart(extent, size, sink, true);
}

CopyResult ExtentCopier::CopyPart(Lba extent, std::uint32_t recordedSize, platform::FileSink& sink,
                                  bool boundByMedium) {
  CopyResult result;
  // What lies past the medium's end is unreadable, and is not written: a record
  // that claims 4 GiB on a small disc costs the disc's size at most.
  std::uint64_t size = recordedSize;
  const Lba mediumEnd = reader_.MediumSectors();
  if (boundByMedium && mediumEnd != 0) {
    const std::uint64_t onMedium =
        extent < mediumEnd ? std::uint64_t{mediumEnd - extent} * kSectorSize : 0;
    size = std::min(size, onMedium);
  }
  const std::uint64_t sectors = (size + kSectorSize - 1) / kSectorSize;
  std::uint64_t sector = 0;
  while (sector < sectors && !result.stopped) {
    if (!KeepGoing()) {
      result.stopped = true;
      break;
    }
    const std::uint64_t at = sector * kSectorSize;
    const std::uint64_t lba = extent + sector;
    const auto count =
        static_cast<std::uint32_t>(std::min<std::uint64_t>(kRunSectors, sectors - sector));
    const auto wanted = static_cast<std::uint32_t>(
        std::min<std::uint64_t>(std::uint64_t{count} * kSectorSize, size - at));
    std::uint32_t delivered = 0;
    // An extent running past the last LBA has sectors no read can reach.
    if (lba + count - 1 <= kLastLba) {
      std::uint32_t bytesRead = 0;
      if (reader_.ReadSectors(static_cast<Lba>(lba), count, run_, bytesRead)) {
        delivered = std::min(bytesRead, wanted);
      }
    }
    // Whole sectors of a short run are kept; the sector it broke off in is
    // read again on its own with the rest.
    const std::uint32_t kept = delivered == wanted ? wanted : delivered / kSectorSize * kSectorSize;
    if (!Write(sink, std::span(run_).first(kept), result)) return result;
    result.bytesRead += kept;
    for (std::uint32_t s = kept / kSectorSize; kept < wanted && s < count; ++s) {
      if (!KeepGoing()) {
        result.stopped = true;
        break;
      }
      const std::uint64_t sectorAt = at + std::uint64_t{s} * kSectorSize;
      const auto sectorWanted =
          static_cast<std::uint32_t>(std::min<std::uint64_t>(kSectorSize, size - sectorAt));
      if (!CopySector(lba + s, sectorAt, sectorWanted, sink, result)) return result;
    }
    if (!result.stopped) sector += count;
  }
  // What lies past the medium's end did not read: zeros in the file, as for
  // any sector that does not read, so that the file keeps its size and every
  // byte its offset. They are skipped, never read or written one by one. A
  // stopped file ends with the last byte written: what was never read is
  // neither zeros nor listed as unreadable.
  if (!result.stopped && size < recordedSize) {
    AddUnreadable(result.unreadable, size, std::uint64_t{recordedSize} - 1);
    if (!sink.Skip(std::uint64_t{recordedSize} - size, result.writeError)) result.writeFailed = true;
  }
  return result;
}

CopyResult ExtentCopier::CopyFile(const Entry& entry, platform::FileSink& sink) {
  if (entry.moreParts.empty()) {
    return Copy(entry.fileId, static_cast<std::uint32_t>(entry.size), sink);
  }
  std::vector<FilePart> parts;
  std::uint64_t rest = entry.size;
  for (const FilePart& part : entry.moreParts) rest -= std::min<std::uint64_t>(rest, part.length);
  parts.push_back({entry.fileId, static_cast<std::uint32_t>(rest)});
  parts.insert(parts.end(), entry.moreParts.begin(), entry.moreParts.end());

  CopyResult whole;
  std::uint64_t at = 0;
  for (const FilePart& part : parts) {
    // After a Stop the file ends with what was written.
    if (whole.stopped || whole.writeFailed) break;
    // A part before the last keeps its length even past the medium, so that
    // the parts after it stay at their offsets.
    CopyResult one = CopyPart(part.extent, part.length, sink, &part == &parts.back());
    whole.bytesRead += one.bytesRead;
    for (const ByteRange& range : one.unreadable) {
      AddUnreadable(whole.unreadable, at + range.first, at + range.last);
    }
    whole.stopped = one.stopped;
    if (one.writeFailed) {
      whole.writeFailed = true;
      whole.writeError = one.writeError;
    }
    at += part.length;
  }
  return whole;
}

bool ExtentCopier::CopySector(std::uint64_t lba, std::uint64_t at, std::uint32_t wanted,
                              platform::FileSink& sink, CopyResult& result) {
  std::span<std::byte> sector = std::span(run_).first(kSectorSize);
  std::uint32_t got = 0;
  if (lba <= kLastLba) {
    std::uint32_t bytesRead = 0;
    if (reader_.ReadSectors(static_cast<Lba>(lba), 1, sector, bytesRead)) {
      got = std::min(bytesRead, wanted);
    }
  }
  result.bytesRead += got;
  if (!Write(sink, sector.first(got), result)) return false;
  if (got == wanted) return true;
  AddUnreadable(result.unreadable, at + got, at + wanted - 1);
  // Zeros in a new file; a file written again keeps what it held there.
  if (sink.Skip(wanted - got, result.writeError)) return true;
  result.writeFailed = true;
  return false;
}

}  // namespace velmora::disc
