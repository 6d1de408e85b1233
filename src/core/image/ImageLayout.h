#pragma once

#include <vector>

#include "media/ImageTrailer.h"
#include "media/Sector.h"
#include "media/TrackNode.h"

namespace velmora::disc {

// How one session of a multi-track disc goes into an image, after the blocks
// of the sessions before it: its sectors are read up to block readTo, then the
// blocks up to fillTo, where the next session starts, are 0xF6 without reading,
// so that every block keeps its LBA.
struct TrackCopy {
  Lba readTo = 0;
  Lba fillTo = 0;
  // The session's end as the image's trailer records it.
  Lba end = 0;
};

// The copy of every node in order. A node's end is its own when known; an
// unknown one lies a fixed distance before the next node's start (its lead-out,
// the next lead-in and pregap), or at leadOut for the last node, which never
// reads past leadOut (0: not known).
std::vector<TrackCopy> PlanTrackCopy(const std::vector<TrackNode>& tracks, Lba leadOut);

// The trailer of a multi-track image that holds blocks sector blocks: the nodes
// whose session starts inside it, each ending where its copy ended. A copy that
// was stopped thus opens with the sessions it holds.
ImageTrailer TrailerForCopy(const std::vector<TrackNode>& tracks,
                            const std::vector<TrackCopy>& plan, Lba blocks);

}  // namespace velmora::disc
