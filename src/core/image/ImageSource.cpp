#include "image/ImageSource.h"

#include <algorithm>
#include <vector>

#include "media/ImageTrailer.h"
#include "iso9660/RecoveryScan.h"
#include "iso9660/VolumeDescriptor.h"
#include "image/ImageMapFile.h"
#include "image/SessionSearch.h"
#include "text/StringTable.h"

namespace velmora::disc {
namespace {

constexpr std::uint32_t kFirstDescriptorSector = 16;
constexpr std::uint32_t kDescriptorArea = 100;
// The system area, a descriptor and a directory: the least a volume takes.
constexpr std::uint64_t kSmallestVolume = std::uint64_t{kFirstDescriptorSector + 2} * kSectorSize;

bool HasVolumeDescriptor(platform::BlockFile& file) {
  std::vector<std::byte> sector(kSectorSize);
  for (std::uint32_t s = kFirstDescriptorSector; s < kFirstDescriptorSector + kDescriptorArea; ++s) {
    platform::IoResult result = file.ReadAt(std::uint64_t{s} * kSectorSize, sector);
    if (!result.ok || result.bytes < kSectorSize) return false;
    if (IsVolumeDescriptor(sector)) return true;
  }
  return false;
}

// A plain image whose descriptors are lost: a sector from 16 on has the shape
// of a directory start or a path table, as the recovery scans look for them.
bool HoldsVolumeStructures(platform::BlockFile& file, std::uint64_t size) {
  constexpr std::uint32_t kRun = 64;
  std::vector<std::byte> run(std::size_t{kRun} * kSectorSize);
  const std::uint64_t sectors = size / kSectorSize;
  for (std::uint64_t s = kFirstDescriptorSector; s < sectors; s += kRun) {
    platform::IoResult result = file.ReadAt(s * kSectorSize, run);
    if (!result.ok) continue;
    for (std::size_t k = 0; (k + 1) * kSectorSize <= result.bytes; ++k) {
      const std::span<const std::byte> sector(run.data() + k * kSectorSize, kSectorSize);
      if (LooksLikeDirectoryStart(sector, static_cast<Lba>(s + k)) ||
          LooksLikePathTableStart(sector)) {
        return true;
      }
    }
  }
  return false;
}

}  // namespace

ImageOpenResult OpenImageSource(CCDReader& reader, platform::Machine& machine,
                                const std::string& path, std::string& reason) {
  platform::OpenError error;
  std::unique_ptr<platform::DeviceFile> file = machine.OpenDevice(path, error);
  if (!file) {
    reason = error.reason;
    return ImageOpenResult::kCannotOpen;
  }
  reason.clear();
  // The map beside the image says which blocks hold no data; one that cannot
  // be read refuses the image, as without it unread blocks would pass for data.
  auto map = std::make_shared<RescueMap>();
  switch (LoadMapFile(MapPathOf(path), *map, reason)) {
    case MapLoad::kNone:
      map.reset();
      break;
    case MapLoad::kLoaded:
      break;
    case MapLoad::kDamaged:
      return ImageOpenResult::kNotAnImage;
  }
  std::uint64_t size = file->Size().value_or(0);
  std::vector<std::byte> last(kSectorSize, kUnreadByte);
  if (size >= kSectorSize) {
    platform::IoResult result = file->ReadAt(size - kSectorSize, last);
    if (!result.ok) last.assign(kSectorSize, kUnreadByte);
  }
  if (HasImageSignature(last)) {
    std::optional<ImageTrailer> trailer = ParseImageTrailer(last);
    if (!trailer) {
      reason = text::FormatTextUtf8(text::kReasonTrackListDamaged, {path});
      return ImageOpenResult::kNotAnImage;
    }
    const auto sectors = static_cast<Lba>(std::min<std::uint64_t>(size / kSectorSize - 1, 0xFFFFFFFF));
    if (sectors == 0) {
      reason = text::FormatTextUtf8(text::kReasonOnlyTrackList, {path});
      return ImageOpenResult::kNotAnImage;
    }
    // Starts and ends past the image's blocks would have the reader look for
    // sectors the file cannot hold.
    EndsToLba(*trailer, sectors);
    const std::size_t clipped = FitTrailerToImage(*trailer, sectors);
    if (trailer->multiTrack && trailer->tracks.empty()) {
      reason = text::FormatTextUtf8(text::kReasonSessionsPastImage,
                                    {path, std::to_string(sectors)});
      return ImageOpenResult::kNotAnImage;
    }
    if (clipped > 0) {
      reason = text::FormatTextUtf8(text::kReasonSessionsCutToImage,
                                    {path, std::to_string(sectors), std::to_string(clipped)});
    }
    // An end before its start would have the copy stop short of the image.
    if (const std::size_t backward = ForgetBackwardEnds(*trailer); backward > 0) {
      const std::string count = std::to_string(backward);
      reason = reason.empty()
                   ? text::FormatTextUtf8(text::kReasonBackwardEnds, {path, count})
                   : text::FormatTextUtf8(text::kReasonAlsoBackwardEnds, {reason, count});
    }
    // The trailer is the last block and not a sector of the disc.
    reader.UseImage(std::move(file), trailer->multiTrack, trailer->lastTrack, trailer->tracks,
                    sectors);
    reader.SetImageMap(std::move(map));
    return ImageOpenResult::kOpened;
  }
  // A plain image whose descriptors are lost is still opened when sectors
  // have the shape of its directories or path tables: the scan's recovery
  // pass walks them.
  if (!HasVolumeDescriptor(*file)) {
    if (size < kSmallestVolume) {
      reason = text::FormatTextUtf8(text::kReasonNotADiscImage, {path});
      return ImageOpenResult::kNotAnImage;
    }
    if (!HoldsVolumeStructures(*file, size)) {
      reason = text::FormatTextUtf8(text::kReasonNothingFound, {path});
      return ImageOpenResult::kNothingFound;
    }
  }
  // Without a track list the sessions are found by their descriptor sets; an
  // image of one session is read as it always was.
  std::optional<FoundSessions> found = FindImageSessions(*file);
  const bool multiTrack = found && found->tracks.size() > 1;
  // A damaged trailer loses the track list, which is said, as later sessions
  // may be missed.
  if (HasDamagedSignature(last)) {
    reason = text::FormatTextUtf8(
        multiTrack ? text::kReasonTrailerCut : text::kReasonTrailerCutOneSession, {path});
  }
  if (multiTrack) {
    std::vector<TrackNode> tracks = found->tracks;
    reader.UseImage(std::move(file), true, static_cast<std::uint8_t>(tracks.size()),
                    std::move(tracks));
  } else {
    reader.UseImage(std::move(file), false, 0, {});
  }
  reader.SetFoundSessions(std::move(found));
  reader.SetImageMap(std::move(map));
  return ImageOpenResult::kOpened;
}

}  // namespace velmora::disc
