#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "media/Sector.h"
#include "media/TrackNode.h"

namespace velmora::disc {

// The last 2048-byte block of a .cd image: signature, a zero byte, the
// multi-track flag, the record count and 9-byte track records, 0xF6 after them.
// A record's start and end are frames (LBA + 150), as the TOC gives them; its
// end is the session's end, the last one's the lead-out, or 0 when not known.
inline constexpr std::string_view kImageSignature = "12345abbgtpogpkicupog6789";
inline constexpr std::size_t kTrailerFlagOffset = 26;
inline constexpr std::size_t kTrailerCountOffset = 27;
inline constexpr std::size_t kTrailerRecordsOffset = 28;
inline constexpr std::size_t kTrailerRecordSize = 9;
inline constexpr std::size_t kTrailerMaxRecords = (2048 - kTrailerRecordsOffset) / kTrailerRecordSize;

struct ImageTrailer {
  bool multiTrack = false;
  std::uint8_t lastTrack = 0;
  std::vector<TrackNode> tracks;  // empty unless multiTrack
};

// True when the block starts with the signature.
bool HasImageSignature(std::span<const std::byte> block);

// Parses a trailer block. Nothing when the signature is missing, the count does
// not fit the block, or the track starts do not ascend: such a file is not a
// usable image.
std::optional<ImageTrailer> ParseImageTrailer(std::span<const std::byte> block);

// The records' ends as the reader keeps them, in LBAs: an end in frames less
// 150; 0 stays unknown. Images written before the ends were frames hold LBAs,
// told apart as ending exactly at the next track's start less 150, or, for the
// last track, at the image's end (sectors).
void EndsToLba(ImageTrailer& trailer, Lba sectors);

// An image holds nothing past its blocks: drops the nodes that start at or past
// sectors (the blocks before the trailer) and clips every end to it. Returns
// how many nodes were dropped or clipped; a multi-track trailer left without a
// node holds no usable session.
std::size_t FitTrailerToImage(ImageTrailer& trailer, Lba sectors);

// A session cannot end at or before its start: such an end (not 0) is taken
// as unknown, so that the session is read up to the next one or the medium's
// end. Returns how many ends were dropped.
std::size_t ForgetBackwardEnds(ImageTrailer& trailer);

// True when the block holds a signature that is damaged or cut: most of its
// bytes in place, or its start somewhere in the block, but not the whole of it
// at the block's start. Such a file was a .cd image whose track list is lost.
bool HasDamagedSignature(std::span<const std::byte> block);

// The trailer block for a track list whose ends are LBAs (multiTrack false
// writes no records); the ends are written in frames.
std::vector<std::byte> BuildImageTrailer(const ImageTrailer& trailer);

}  // namespace velmora::disc
