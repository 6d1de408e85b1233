#include "platform/emulated/EmulatedDisc.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <memory>

#include "media/ImageTrailer.h"
#include "platform/Machine.h"
#include "text/StringTable.h"

namespace velmora::platform::emulated {

std::optional<EmulatedDisc> EmulatedDisc::FromImage(const std::string& path, std::string& reason) {
  std::unique_ptr<Machine> host = CreateHostMachine();
  OpenError openError;
  std::unique_ptr<DeviceFile> file = host->OpenDevice(path, openError);
  if (!file) {
    reason = openError.reason;
    return std::nullopt;
  }
  std::optional<std::uint64_t> size = file->Size();
  if (!size) {
    reason = text::FormatTextUtf8(text::kReasonSizeUnknown, {path});
    return std::nullopt;
  }
  EmulatedDisc disc;
  disc.imagePath = path;
  disc.sectorCount = static_cast<Lba>(*size / kSectorSize);
  if (*size < kSectorSize) return disc;

  // The trailer is looked for where the image reader looks: the last 2048 bytes.
  std::array<std::byte, kSectorSize> block{};
  IoResult read = file->ReadAt(*size - kSectorSize, block);
  if (!read.ok || read.bytes != block.size()) {
    reason = read.ok ? text::FormatTextUtf8(text::kReasonFileEndedEarly, {path})
                     : text::FormatTextUtf8(text::kReasonSystem, {path, read.reason});
    return std::nullopt;
  }
  if (!disc::HasImageSignature(block)) return disc;
  std::optional<disc::ImageTrailer> trailer = disc::ParseImageTrailer(block);
  if (!trailer) {
    reason = text::FormatTextUtf8(text::kReasonTrailerTrackListDamaged, {path});
    return std::nullopt;
  }
  Lba sectors = static_cast<Lba>((*size - kSectorSize) / kSectorSize);
  // The image holds nothing past its sectors, whatever start or end a node was
  // given: a session that starts past them is not on this disc.
  disc::EndsToLba(*trailer, sectors);
  const std::size_t clipped = disc::FitTrailerToImage(*trailer, sectors);
  const std::size_t backward = disc::ForgetBackwardEnds(*trailer);
  if (trailer->multiTrack && trailer->tracks.empty()) {
    reason = text::FormatTextUtf8(text::kReasonSessionsPastImage, {path, std::to_string(sectors)});
    return std::nullopt;
  }
  // Said as the image file itself is when read as a disc image.
  if (clipped > 0) {
    disc.damage = text::FormatTextUtf8(text::kReasonSessionsCutToImage,
                                       {path, std::to_string(sectors), std::to_string(clipped)});
  }
  if (backward > 0) {
    const std::string count = std::to_string(backward);
    disc.damage = disc.damage.empty()
                      ? text::FormatTextUtf8(text::kReasonBackwardEnds, {path, count})
                      : text::FormatTextUtf8(text::kReasonAlsoBackwardEnds, {disc.damage, count});
  }
  disc.sectorCount = sectors;
  disc.tracks = std::move(trailer->tracks);
  return disc;
}

}  // namespace velmora::platform::emulated
