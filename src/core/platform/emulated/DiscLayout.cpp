#include "platform/emulated/DiscLayout.h"

#include <algorithm>

#include "media/TrackNode.h"

namespace velmora::platform::emulated {
namespace {

constexpr std::uint32_t kFramesPerSecond = 75;
constexpr std::uint32_t kFramesPerMinute = 60 * kFramesPerSecond;
constexpr std::uint32_t kFramesPerHour = 60 * kFramesPerMinute;
// The shortest stretch between two sessions of a CD: a later session's lead-out
// (2250 frames; the first one's is 6750), the next lead-in (4500) and the next
// track's pregap (150). Only a session whose end neither the track list nor its
// volume descriptor gives is taken to end this far before the next one.
constexpr std::uint32_t kShortestSessionGap = 2250 + 4500 + 150;

}  // namespace

Msf MsfOfFrames(std::uint32_t frames) {
  Msf msf;
  msf.frame = static_cast<std::uint8_t>(frames % kFramesPerSecond);
  msf.second = static_cast<std::uint8_t>(frames / kFramesPerSecond % 60);
  if (frames < 100 * kFramesPerMinute) {
    msf.minute = static_cast<std::uint8_t>(frames / kFramesPerMinute);
  } else {
    msf.hour = static_cast<std::uint8_t>(std::min<std::uint32_t>(frames / kFramesPerHour, 0xFF));
    msf.minute = static_cast<std::uint8_t>(frames / kFramesPerMinute % 60);
  }
  return msf;
}

DiscLayout::DiscLayout(const EmulatedDisc& disc, Lba imageSectors) : imageSectors_(imageSectors) {
  if (disc.tracks.empty()) {
    sessions_.push_back(Session{1, kLeadInFrames, 0, imageSectors, disc.xaTracks.contains(1)});
    return;
  }
  for (std::size_t i = 0; i < disc.tracks.size(); ++i) {
    const disc::TrackNode& node = disc.tracks[i];
    Session session;
    session.trackNumber = node.trackNumber;
    session.startFrames = node.start;
    session.start = disc::TrackLba(node);
    session.xa = disc.xaTracks.contains(node.trackNumber);
    if (node.end != 0) {
      session.end = node.end;
    } else if (i + 1 < disc.tracks.size()) {
      Lba next = disc::TrackLba(disc.tracks[i + 1]);
      session.end = next > kShortestSessionGap ? next - kShortestSessionGap : 0;
    } else {
      session.end = imageSectors;
    }
    session.end = std::max(session.end, session.start);
    sessions_.push_back(session);
  }
}

const Session* DiscLayout::SessionOf(Lba lba) const {
  const Session* found = nullptr;
  for (const Session& session : sessions_) {
    if (session.start <= lba) found = &session;
  }
  if (found == nullptr || lba >= found->end) return nullptr;
  return found;
}

}  // namespace velmora::platform::emulated
