#pragma once

#include <optional>

#include "media/FoundSessions.h"
#include "platform/BlockFile.h"

namespace velmora::disc {

// The sessions of an image file that has no track list, found from the file
// itself: a session is a descriptor set whose primary volume descriptor lies
// 16 blocks after the session's start. From the first session on, the next
// one is looked for block by block from where the one before ends, so every
// block past a session's end is read at most once and the search ends at the
// file's end; a plain single-session image costs two reads. Nothing when block
// 16 holds no primary descriptor, or when nothing was found to show or say
// (one session, no descriptors met past it).
std::optional<FoundSessions> FindImageSessions(platform::BlockFile& file);

// Most descriptor blocks FoundSessions::rejected names.
inline constexpr std::size_t kRejectedNamed = 10;
// Most sessions a disc holds (track numbers 1-99).
inline constexpr std::size_t kMostSessions = 99;

}  // namespace velmora::disc
