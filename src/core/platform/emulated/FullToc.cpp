#include "platform/emulated/FullToc.h"

#include <algorithm>
#include <array>

namespace velmora::platform::emulated {
namespace {

using Descriptor = std::array<std::uint8_t, 11>;

// ADR in the high nibble, CONTROL in the low one; CONTROL 4 marks a data track.
constexpr std::uint8_t kAdr1DataTrack = 0x14;
constexpr std::uint8_t kAdr5DataTrack = 0x54;
constexpr std::uint8_t kPointFirstTrack = 0xA0;
constexpr std::uint8_t kPointLastTrack = 0xA1;
constexpr std::uint8_t kPointLeadOut = 0xA2;
constexpr std::uint8_t kPointNextProgramArea = 0xB0;
constexpr std::uint8_t kPointLeadInStart = 0xC0;
constexpr std::uint8_t kPointSkipInterval = 0x01;  // with ADR 5: a skip pointer, not a track
constexpr std::uint8_t kDiscTypeCdRom = 0x00;
constexpr std::uint8_t kDiscTypeCdRomXa = 0x20;
// An 80-minute CD-R: the last possible lead-out start (79:59:74) and the start of
// the first lead-in as its pregroove gives it (97:27:00).
constexpr std::uint32_t kMaxLeadOutFrames = (79 * 60 + 59) * 75 + 74;
constexpr std::uint32_t kFirstLeadInFrames = (97 * 60 + 27) * 75;

Descriptor Make(std::uint8_t session, std::uint8_t adrControl, std::uint8_t point) {
  Descriptor d{};
  d[0] = session;
  d[1] = adrControl;
  d[3] = point;
  return d;
}

// MIN, SEC, FRAME have no hour byte before them: only times below 100 minutes fit.
void SetTime(Descriptor& d, std::uint32_t frames) {
  Msf msf = MsfOfFrames(frames);
  d[4] = msf.minute;
  d[5] = msf.second;
  d[6] = msf.frame;
}

void SetPointTime(Descriptor& d, std::uint32_t frames) {
  Msf msf = MsfOfFrames(frames);
  d[7] = msf.hour;
  d[8] = msf.minute;
  d[9] = msf.second;
  d[10] = msf.frame;
}

}  // namespace

std::vector<std::uint8_t> BuildFullToc(const DiscLayout& layout, TocStyle style,
                                       std::uint8_t startSession) {
  const std::vector<Session>& sessions = layout.sessions();
  bool xaDisc =
      std::any_of(sessions.begin(), sessions.end(), [](const Session& s) { return s.xa; });
  std::uint32_t maxLeadOut = std::max(kMaxLeadOutFrames, layout.leadOut() + kLeadInFrames);

  std::vector<Descriptor> descriptors;
  for (std::size_t i = 0; i < sessions.size(); ++i) {
    const Session& session = sessions[i];
    auto number = static_cast<std::uint8_t>(i + 1);
    if (number < startSession) continue;
    Descriptor first = Make(number, kAdr1DataTrack, kPointFirstTrack);
    first[8] = session.trackNumber;
    first[9] = xaDisc ? kDiscTypeCdRomXa : kDiscTypeCdRom;
    descriptors.push_back(first);
    Descriptor last = Make(number, kAdr1DataTrack, kPointLastTrack);
    last[8] = session.trackNumber;
    descriptors.push_back(last);
    Descriptor leadOut = Make(number, kAdr1DataTrack, kPointLeadOut);
    SetPointTime(leadOut, session.end + kLeadInFrames);
    descriptors.push_back(leadOut);
    Descriptor track = Make(number, kAdr1DataTrack, session.trackNumber);
    SetPointTime(track, session.startFrames);
    descriptors.push_back(track);
    if (style == TocStyle::kAdr5Points) {
      descriptors.push_back(Make(number, kAdr5DataTrack, kPointSkipInterval));
    }
    // The last session is closed: no next program area.
    if (i + 1 < sessions.size()) {
      Descriptor next = Make(number, kAdr5DataTrack, kPointNextProgramArea);
      SetTime(next, sessions[i + 1].startFrames);
      SetPointTime(next, maxLeadOut);
      descriptors.push_back(next);
    }
    if (number == 1 && style != TocStyle::kNoC0) {
      Descriptor leadIn = Make(number, kAdr5DataTrack, kPointLeadInStart);
      SetPointTime(leadIn, kFirstLeadInFrames);
      descriptors.push_back(leadIn);
    }
  }
  if (style == TocStyle::kReordered) std::reverse(descriptors.begin(), descriptors.end());

  std::size_t dataLength = 2 + descriptors.size() * sizeof(Descriptor);
  std::vector<std::uint8_t> response;
  response.reserve(2 + dataLength);
  response.push_back(static_cast<std::uint8_t>(dataLength >> 8));
  response.push_back(static_cast<std::uint8_t>(dataLength));
  response.push_back(1);
  response.push_back(static_cast<std::uint8_t>(sessions.size()));
  for (const Descriptor& d : descriptors) response.insert(response.end(), d.begin(), d.end());
  return response;
}

}  // namespace velmora::platform::emulated
