#pragma once

#include <cstdint>
#include <vector>

#include "media/Sector.h"
#include "media/TrackNode.h"

namespace velmora::disc {

// How the sessions of an image without a track list lie in it.
enum class SessionLayout : std::uint8_t {
  // Each session's descriptor set 16 blocks after its start, the first session
  // at block 0, each later one after the end of the one before (a disc's blocks
  // written one after another, as genisoimage -C/-M lays them out).
  kOneAfterAnother,
  // The same from block 32 on, with the newest session's descriptors copied to
  // block 16 (sessions appended the way overwritable media are grown).
  kNewestCopiedToStart,
};

// The sessions an image file holds by its descriptor sets, oldest first, as
// track nodes (start in frames, end the exclusive end LBA), and what the search
// met on the way.
struct FoundSessions {
  SessionLayout layout = SessionLayout::kOneAfterAnother;
  std::vector<TrackNode> tracks;
  // The last session claims blocks past the image's end; its end is cut to it.
  bool lastCut = false;
  // Descriptor blocks met by the search whose set is not a session (the root
  // directory lies outside the volume it claims, or past the image): how many,
  // and the first few of them.
  std::uint32_t rejectedCount = 0;
  std::vector<Lba> rejected;
  // The search stopped at the most sessions a disc can hold.
  bool limitReached = false;
  // Later sessions found from their supplementary descriptor, as their primary
  // descriptor is damaged: the primary's blocks.
  std::vector<Lba> withoutPrimary;

  // Sessions, or the end of one, that the image does not let be read.
  bool Damaged() const { return lastCut || limitReached || !withoutPrimary.empty(); }
};

}  // namespace velmora::disc
