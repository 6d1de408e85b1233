#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "disc/CCDReader.h"

namespace velmora::disc {

// The settings of a drive that a rescue changes and puts back: the read retry
// count of the read-write error recovery mode page (01h), which a drive spends
// seconds on at every bad sector, and the read speed (SET CD SPEED). Whatever
// was changed is put back when the object goes, on every path out.
class DriveTuning {
 public:
  // The read retry count a rescue's copying passes ask for.
  static constexpr std::uint8_t kLowReadRetries = 1;

  explicit DriveTuning(CCDReader& reader) : reader_(reader) {}
  ~DriveTuning();
  DriveTuning(const DriveTuning&) = delete;
  DriveTuning& operator=(const DriveTuning&) = delete;

  // MODE SENSE(10) of the page, then MODE SELECT(10) of it with the read
  // retry count at kLowReadRetries. False when the drive takes neither.
  bool LowerRetries();
  // MODE SELECT(10) of the page as it was sensed; nothing when not lowered.
  bool Restore();
  // SET CD SPEED to times x 176 kB/s.
  bool SetSpeed(std::uint32_t times);
  // SET CD SPEED to the drive's fastest, after SetSpeed.
  bool RestoreSpeed();

 private:
  bool Select(const std::vector<std::uint8_t>& page);

  CCDReader& reader_;
  // The page as the drive had it (its header left out), while lowered.
  std::optional<std::vector<std::uint8_t>> saved_;
  bool speedSet_ = false;
};

}  // namespace velmora::disc
