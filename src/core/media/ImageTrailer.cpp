#include "media/ImageTrailer.h"

#include <algorithm>
#include <cassert>

#include "media/ByteReader.h"
#include "media/Sector.h"

namespace velmora::disc {

bool HasImageSignature(std::span<const std::byte> block) {
  if (block.size() < kImageSignature.size()) return false;
  return std::equal(kImageSignature.begin(), kImageSignature.end(), block.begin(),
                    [](char c, std::byte b) { return static_cast<std::byte>(c) == b; });
}

std::optional<ImageTrailer> ParseImageTrailer(std::span<const std::byte> block) {
  if (block.size() < kSectorSize || !HasImageSignature(block)) return std::nullopt;
  ByteReader reader(block);
  ImageTrailer trailer;
  trailer.multiTrack = reader.U8(kTrailerFlagOffset) != 0;
  if (!trailer.multiTrack) return trailer;
  trailer.lastTrack = reader.U8(kTrailerCountOffset);
  if (trailer.lastTrack == 0 || trailer.lastTrack > kTrailerMaxRecords) return std::nullopt;
  for (std::size_t k = 0; k < trailer.lastTrack; ++k) {
    std::size_t at = kTrailerRecordsOffset + k * kTrailerRecordSize;
    TrackNode node{reader.U8(at), reader.U32Le(at + 1), reader.U32Le(at + 5)};
    if (!trailer.tracks.empty() && node.start <= trailer.tracks.back().start) return std::nullopt;
    trailer.tracks.push_back(node);
  }
  return trailer;
}

void EndsToLba(ImageTrailer& trailer, Lba sectors) {
  for (std::size_t k = 0; k < trailer.tracks.size(); ++k) {
    TrackNode& node = trailer.tracks[k];
    if (node.end == 0) continue;
    const Lba limit = k + 1 < trailer.tracks.size() ? TrackLba(trailer.tracks[k + 1]) : sectors;
    if (node.end == limit) continue;  // an LBA end of an earlier writer
    // An end before LBA 0 is no end: unknown.
    node.end = node.end > kLeadInFrames ? node.end - kLeadInFrames : 0;
  }
}

std::size_t FitTrailerToImage(ImageTrailer& trailer, Lba sectors) {
  std::size_t changed = 0;
  std::vector<TrackNode> kept;
  for (TrackNode node : trailer.tracks) {
    if (TrackLba(node) >= sectors) {
      ++changed;
      continue;
    }
    if (node.end > sectors) {
      node.end = sectors;
      ++changed;
    }
    kept.push_back(node);
  }
  trailer.tracks = std::move(kept);
  if (trailer.multiTrack) trailer.lastTrack = static_cast<std::uint8_t>(trailer.tracks.size());
  return changed;
}

std::size_t ForgetBackwardEnds(ImageTrailer& trailer) {
  std::size_t dropped = 0;
  for (TrackNode& node : trailer.tracks) {
    if (node.end != 0 && node.end <= TrackLba(node)) {
      node.end = 0;
      ++dropped;
    }
  }
  return dropped;
}

bool HasDamagedSignature(std::span<const std::byte> block) {
  if (HasImageSignature(block)) return false;
  const auto equal = [](char c, std::byte b) { return static_cast<std::byte>(c) == b; };
  std::size_t inPlace = 0;
  for (std::size_t i = 0; i < kImageSignature.size() && i < block.size(); ++i) {
    if (equal(kImageSignature[i], block[i])) ++inPlace;
  }
  if (inPlace * 2 > kImageSignature.size()) return true;
  // A file cut or grown by a few bytes has its trailer off the block's start.
  constexpr std::size_t kStart = 12;
  const std::string_view start = kImageSignature.substr(0, kStart);
  return std::search(block.begin(), block.end(), start.begin(), start.end(),
                     [&](std::byte b, char c) { return equal(c, b); }) != block.end();
}

std::vector<std::byte> BuildImageTrailer(const ImageTrailer& trailer) {
  std::vector<std::byte> block(kSectorSize, kUnreadByte);
  std::transform(kImageSignature.begin(), kImageSignature.end(), block.begin(),
                 [](char c) { return static_cast<std::byte>(c); });
  block[kImageSignature.size()] = std::byte{0};
  block[kTrailerFlagOffset] = std::byte{trailer.multiTrack ? std::uint8_t{1} : std::uint8_t{0}};
  block[kTrailerCountOffset] = std::byte{trailer.lastTrack};
  if (!trailer.multiTrack) return block;
  assert(trailer.tracks.size() <= kTrailerMaxRecords);
  for (std::size_t k = 0; k < trailer.tracks.size(); ++k) {
    std::size_t at = kTrailerRecordsOffset + k * kTrailerRecordSize;
    const TrackNode& node = trailer.tracks[k];
    // In frames, as the start; an end too large for that is clipped.
    const std::uint32_t end =
        node.end == 0 ? 0
                      : std::min<std::uint32_t>(node.end, 0xFFFFFFFF - kLeadInFrames) + kLeadInFrames;
    block[at] = std::byte{node.trackNumber};
    for (std::size_t i = 0; i < 4; ++i) {
      block[at + 1 + i] = static_cast<std::byte>((node.start >> (8 * i)) & 0xFF);
      block[at + 5 + i] = static_cast<std::byte>((end >> (8 * i)) & 0xFF);
    }
  }
  return block;
}

}  // namespace velmora::disc
