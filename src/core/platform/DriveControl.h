#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace velmora::platform {

// One entry of a drive's table of contents, address in MSF form.
struct TocEntry {
  std::uint8_t trackNumber = 0;  // 0xAA for the lead-out
  std::uint8_t control = 0;      // bit 2: data track
  std::uint8_t reserved = 0;     // the byte before M in the address (normally 0)
  std::uint8_t minute = 0;
  std::uint8_t second = 0;
  std::uint8_t frame = 0;
};

// The TOC as the drive reports it: entries for firstTrack..lastTrack, then the
// lead-out.
struct Toc {
  std::uint8_t firstTrack = 0;
  std::uint8_t lastTrack = 0;
  std::vector<TocEntry> entries;
};

inline constexpr std::uint8_t kLeadOutTrack = 0xAA;

// Table of contents and tray lock of an opened drive. On a file that is not a
// drive both fail.
class DriveControl {
 public:
  virtual ~DriveControl() = default;
  virtual std::optional<Toc> ReadToc() = 0;
  // prevent true locks the tray, false releases it. Returns false on failure.
  virtual bool SetMediumRemoval(bool prevent) = 0;
};

}  // namespace velmora::platform
