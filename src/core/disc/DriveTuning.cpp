#include "disc/DriveTuning.h"

#include <algorithm>

#include "media/MmcCommands.h"

namespace velmora::disc {

DriveTuning::~DriveTuning() {
  Restore();
  RestoreSpeed();
}

bool DriveTuning::LowerRetries() {
  if (saved_) return true;
  std::vector<std::byte> sensed(kModeSenseBufferSize);
  const auto sense = BuildModeSense10(kErrorRecoveryPage, kModeSenseBufferSize);
  platform::ScsiResult result = reader_.SendCommand(sense, sensed);
  if (!result.delivered || result.status != platform::kScsiStatusGood) return false;
  std::optional<std::vector<std::uint8_t>> page =
      ModePageFromSense(std::span(sensed).first(result.bytesTransferred), kErrorRecoveryPage);
  if (!page || page->size() <= kReadRetryCountOffset) return false;
  std::vector<std::uint8_t> lowered = *page;
  lowered[kReadRetryCountOffset] = std::min(lowered[kReadRetryCountOffset], kLowReadRetries);
  if (!Select(lowered)) return false;
  saved_ = std::move(page);
  return true;
}

bool DriveTuning::Restore() {
  if (!saved_) return true;
  const bool restored = Select(*saved_);
  saved_.reset();
  return restored;
}

bool DriveTuning::Select(const std::vector<std::uint8_t>& page) {
  const std::vector<std::byte> parameters = ModeSelectParameters(page);
  const auto select = BuildModeSelect10(static_cast<std::uint16_t>(parameters.size()));
  platform::ScsiResult result = reader_.SendCommandOut(select, parameters);
  return result.delivered && result.status == platform::kScsiStatusGood;
}

bool DriveTuning::SetSpeed(std::uint32_t times) {
  const auto speed = BuildSetCdSpeed(ReadSpeedKilobytes(times));
  platform::ScsiResult result = reader_.SendCommand(speed, {});
  speedSet_ = result.delivered && result.status == platform::kScsiStatusGood;
  return speedSet_;
}

bool DriveTuning::RestoreSpeed() {
  if (!speedSet_) return true;
  speedSet_ = false;
  const auto speed = BuildSetCdSpeed(kFastestSpeed);
  platform::ScsiResult result = reader_.SendCommand(speed, {});
  return result.delivered && result.status == platform::kScsiStatusGood;
}

}  // namespace velmora::disc
