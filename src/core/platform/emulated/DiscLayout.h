#pragma once

#include <cstdint>
#include <vector>

#include "media/Sector.h"
#include "platform/emulated/EmulatedDisc.h"

namespace velmora::platform::emulated {

// A time on the disc as a TOC gives it. Below 100 minutes hour is 0 and minute
// runs to 99, as drives report a CD; longer images carry whole hours in the byte
// before the minute, which the disc reader adds in.
struct Msf {
  std::uint8_t hour = 0;
  std::uint8_t minute = 0;
  std::uint8_t second = 0;
  std::uint8_t frame = 0;
};
Msf MsfOfFrames(std::uint32_t frames);

// One session of one data track: its program area is [start, end).
struct Session {
  std::uint8_t trackNumber = 1;
  std::uint32_t startFrames = kLeadInFrames;
  Lba start = 0;
  Lba end = 0;
  bool xa = false;
};

// Where the sessions of an emulated disc lie and where its lead-out starts.
class DiscLayout {
 public:
  DiscLayout() = default;
  // imageSectors: how many sectors the image holds.
  DiscLayout(const EmulatedDisc& disc, Lba imageSectors);

  const std::vector<Session>& sessions() const { return sessions_; }
  Lba leadOut() const { return sessions_.empty() ? 0 : sessions_.back().end; }
  Lba imageSectors() const { return imageSectors_; }
  // The session whose program area holds lba; nullptr in a gap between sessions,
  // before the first track and from the lead-out on.
  const Session* SessionOf(Lba lba) const;

 private:
  std::vector<Session> sessions_;
  Lba imageSectors_ = 0;
};

}  // namespace velmora::platform::emulated
