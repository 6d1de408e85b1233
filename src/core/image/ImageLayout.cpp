#include "image/ImageLayout.h"

#include <algorithm>

#include "disc/CCDReader.h"

namespace velmora::disc {
namespace {

// How far before the next node's start (in frames) a session of unknown end is
// taken to end: after the first session, and after any later one.
constexpr std::uint32_t kFirstSessionTail = 10740;
constexpr std::uint32_t kLaterSessionTail = 6345;

Lba SessionEnd(const std::vector<TrackNode>& tracks, std::size_t node, Lba leadOut) {
  const TrackNode& track = tracks[node];
  if (node + 1 == tracks.size()) {
    if (track.end == 0) return leadOut;
    return leadOut != 0 ? std::min(track.end, leadOut) : track.end;
  }
  if (track.end != 0) return track.end;
  std::uint32_t next = tracks[node + 1].start;
  std::uint32_t tail = track.start == kLeadInFrames ? kFirstSessionTail : kLaterSessionTail;
  return next > tail ? next - tail : 0;
}

}  // namespace

std::vector<TrackCopy> PlanTrackCopy(const std::vector<TrackNode>& tracks, Lba leadOut) {
  std::vector<TrackCopy> plan;
  Lba k = 0;
  for (std::size_t node = 0; node < tracks.size(); ++node) {
    TrackCopy copy;
    copy.end = SessionEnd(tracks, node, leadOut);
    copy.readTo = std::max(k, copy.end);
    copy.fillTo = copy.readTo;
    if (node + 1 < tracks.size()) copy.fillTo = std::max(copy.readTo, TrackLba(tracks[node + 1]));
    k = copy.fillTo;
    plan.push_back(copy);
  }
  return plan;
}

ImageTrailer TrailerForCopy(const std::vector<TrackNode>& tracks,
                            const std::vector<TrackCopy>& plan, Lba blocks) {
  ImageTrailer trailer;
  for (std::size_t node = 0; node < tracks.size() && node < plan.size(); ++node) {
    // The image reader refuses starts that do not ascend, and the trailer's room.
    if (TrackLba(tracks[node]) >= blocks || trailer.tracks.size() == kTrailerMaxRecords) break;
    if (!trailer.tracks.empty() && tracks[node].start <= trailer.tracks.back().start) break;
    trailer.tracks.push_back(
        {tracks[node].trackNumber, tracks[node].start, std::min(plan[node].end, blocks)});
  }
  trailer.multiTrack = !trailer.tracks.empty();
  trailer.lastTrack = static_cast<std::uint8_t>(trailer.tracks.size());
  return trailer;
}

}  // namespace velmora::disc
