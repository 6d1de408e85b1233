#include "image/RescueTap.h"

namespace velmora::disc {
namespace {

constexpr std::uint64_t Bytes(Lba lba) { return std::uint64_t{lba} * kSectorSize; }

}  // namespace

ReadTap::Known RescueTap::Lookup(Lba lba, Lba limit, Lba& runEnd) {
  const std::uint64_t begin = Bytes(lba);
  const std::uint64_t end = Bytes(limit);
  // Whole sectors only: a sector read in part is not held.
  const Lba held = static_cast<Lba>(map_.FirstNotIn(begin, end, AreaStatus::kFinished) / kSectorSize);
  if (held > lba) {
    runEnd = held;
    return Known::kHeld;
  }
  const Lba unknown =
      static_cast<Lba>(map_.FirstNotIn(begin, end, AreaStatus::kNonTried) / kSectorSize);
  if (unknown > lba) {
    runEnd = unknown;
    return Known::kUnknown;
  }
  // Failed, in part or whole: left to the passes that try it again.
  runEnd = lba + 1;
  return Known::kBad;
}

bool RescueTap::CopyHeld(Lba lba, std::uint32_t count, std::span<std::byte> buffer) {
  return image_.ReadAt(Bytes(lba), buffer.first(Bytes(count)));
}

void RescueTap::Took(Lba lba, std::uint32_t count, bool ok, std::span<const std::byte> delivered) {
  copier_.RecordRead(lba, count, ok, delivered);
}

}  // namespace velmora::disc
