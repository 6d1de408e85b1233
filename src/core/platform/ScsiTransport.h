#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace velmora::platform {

inline constexpr std::uint8_t kScsiStatusGood = 0x00;
inline constexpr std::uint8_t kScsiStatusCheckCondition = 0x02;

struct ScsiResult {
  bool delivered = false;  // false: the OS could not carry the command (error, reason)
  bool timedOut = false;   // not delivered because the drive did not answer in time
  std::uint8_t status = 0;  // SCSI status byte
  std::array<std::uint8_t, 32> sense{};
  std::size_t senseLength = 0;
  std::size_t bytesTransferred = 0;
  int error = 0;
  std::string reason;
};

// Carries one command block with a data-in or a data-out buffer to a drive. The engine builds
// the command block byte for byte; the transport only carries it.
class ScsiTransport {
 public:
  virtual ~ScsiTransport() = default;
  virtual ScsiResult Execute(std::span<const std::uint8_t> cdb, std::span<std::byte> dataIn,
                             std::chrono::milliseconds timeout) = 0;
  // The same with a data-out buffer (MODE SELECT).
  virtual ScsiResult ExecuteOut(std::span<const std::uint8_t> cdb,
                                std::span<const std::byte> dataOut,
                                std::chrono::milliseconds timeout) = 0;
  // True while no command can keep its caller waiting (as DeviceFile's).
  virtual bool AnswersAtOnce() { return false; }
};

}  // namespace velmora::platform
