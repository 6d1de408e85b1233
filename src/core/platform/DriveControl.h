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

// What a drive says of itself when asked whether it can read.
enum class DriveStatus {
  kUnknown,        // not a drive, or it cannot tell
  kReady,          // a disc is in and reads
  kBecomingReady,  // a disc is in and the drive is spinning it up
  kNoDisc,
  kTrayOpen,
  kGone,           // the drive left the machine (unplugged, or off the bus)
};

// Table of contents, tray lock and state of an opened drive. On a file that is
// not a drive the first two fail and the drive's state is unknown.
class DriveControl {
 public:
  virtual ~DriveControl() = default;
  virtual std::optional<Toc> ReadToc() = 0;
  // prevent true locks the tray, false releases it. Returns false on failure.
  virtual bool SetMediumRemoval(bool prevent) = 0;
  virtual DriveStatus Status() { return DriveStatus::kUnknown; }
  // True once after the disc in the drive was changed (or taken out and put
  // back): the system keeps the event until this call takes it.
  virtual bool MediumChanged() { return false; }
};

}  // namespace velmora::platform
