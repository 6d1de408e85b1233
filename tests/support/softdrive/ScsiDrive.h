#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "DiscImage.h"
#include "DriveScript.h"

namespace softdrive {

inline constexpr std::uint8_t kStatusGood = 0x00;
inline constexpr std::uint8_t kStatusCheckCondition = 0x02;
inline constexpr std::uint8_t kHostTimeOut = 0x03;  // DID_TIME_OUT

struct Sense {
  std::uint8_t key = 0;
  std::uint8_t asc = 0;
  std::uint8_t ascq = 0;
};

inline constexpr Sense kBecomingReady{0x02, 0x04, 0x01};
inline constexpr Sense kNoMedium{0x02, 0x3A, 0x00};
inline constexpr Sense kUnrecoveredReadError{0x03, 0x11, 0x05};  // L-EC uncorrectable
inline constexpr Sense kInvalidOpcode{0x05, 0x20, 0x00};
inline constexpr Sense kLbaOutOfRange{0x05, 0x21, 0x00};
inline constexpr Sense kInvalidFieldInCdb{0x05, 0x24, 0x00};
inline constexpr Sense kInvalidFieldInParameters{0x05, 0x26, 0x00};
inline constexpr Sense kSavingNotSupported{0x05, 0x39, 0x00};
inline constexpr Sense kIllegalModeForTrack{0x05, 0x64, 0x00};
inline constexpr Sense kMediumChanged{0x06, 0x28, 0x00};
inline constexpr Sense kResetOccurred{0x06, 0x29, 0x00};

// How a command ended, as a host adapter reports it.
struct ScsiAnswer {
  int error = 0;  // the command never reached the drive: the call fails with this errno
  std::uint8_t status = kStatusGood;
  std::uint8_t hostStatus = 0;
  std::array<std::uint8_t, 18> sense{};
  std::size_t senseLength = 0;
  std::size_t transferred = 0;

  bool Good() const { return error == 0 && hostStatus == 0 && status == kStatusGood; }
  Sense SenseCode() const { return {static_cast<std::uint8_t>(sense[2] & 0x0F), sense[12], sense[13]}; }
  // The INFORMATION field: the LBA a medium error names.
  std::uint32_t Information() const;
};

// One command block with its data, and who sent it: "sg" for the program's
// pass-through, "os" for a command the kernel sends on the program's behalf
// (a read of the device, a CD-ROM ioctl).
struct Command {
  std::span<const std::uint8_t> cdb;
  std::span<std::uint8_t> dataIn;
  std::span<const std::uint8_t> dataOut;
  const char* via = "sg";
};

// A SCSI-3 MMC optical drive with a disc in it: answers TEST UNIT READY,
// INQUIRY, PREVENT ALLOW MEDIUM REMOVAL, READ CAPACITY, READ(10), READ CD,
// READ TOC/PMA/ATIP formats 0, 1 and 2, MODE SENSE(10) and MODE SELECT(10) of
// the read-write error recovery page (01h) and the capabilities page (2Ah), and
// SET CD SPEED, with fixed-format sense data; misbehaves as its script says.
// Every command goes to the log as one line.
class ScsiDrive {
 public:
  // waitForRelease is called while a command is held; it returns once the
  // release file exists.
  ScsiDrive(DriveScript script, std::function<void(const std::string&)> waitForRelease);
  ~ScsiDrive();
  ScsiDrive(const ScsiDrive&) = delete;
  ScsiDrive& operator=(const ScsiDrive&) = delete;

  // Loads the script's disc; false, with error set, when it cannot.
  bool Start(std::string& error);

  ScsiAnswer Execute(const Command& command);

  const DriveScript& script() const { return script_; }
  bool gone() const { return gone_; }
  bool hasDisc() const { return disc_ != nullptr; }
  bool prevent() const { return prevent_; }
  // The disc's sectors; 0 without a disc.
  std::uint32_t Capacity() const { return disc_ ? disc_->leadOut() : 0; }
  // True once after each disc change: the event a drive reports to GET EVENT
  // STATUS NOTIFICATION, which the kernel keeps for CDROM_MEDIA_CHANGED.
  bool TakeMediaEvent();
  void Log(const std::string& line);

 private:
  // The command number and sectors [first, first + count) it reads: fires the
  // triggers of the script. False when the drive left the bus.
  bool Arrive(std::uint64_t first, std::uint64_t count);
  ScsiAnswer Dispatch(const Command& command, std::string& what);
  ScsiAnswer Read(std::uint32_t lba, std::uint32_t count, std::span<std::uint8_t> dataIn,
                  int expectedType);
  ScsiAnswer ReadToc(std::span<const std::uint8_t> cdb, std::span<std::uint8_t> dataIn);
  ScsiAnswer ModeSense(std::span<const std::uint8_t> cdb, std::span<std::uint8_t> dataIn);
  ScsiAnswer ModeSelect(std::span<const std::uint8_t> cdb, std::span<const std::uint8_t> dataOut);
  ScsiAnswer Inquiry(std::span<const std::uint8_t> cdb, std::span<std::uint8_t> dataIn);
  // The pages MODE SENSE reports for page control pc (0 current, 1
  // changeable, 2 default).
  std::string ErrorRecoveryPage(int pc) const;
  std::string CapabilitiesPage(int pc) const;

  DriveScript script_;
  std::function<void(const std::string&)> waitForRelease_;
  std::unique_ptr<DiscImage> disc_;
  std::FILE* log_ = nullptr;
  std::uint64_t commands_ = 0;
  std::uint32_t notReadyLeft_ = 0;
  const Sense* attention_ = nullptr;  // a UNIT ATTENTION waiting for the next command
  bool mediaEvent_ = false;
  bool gone_ = false;
  bool prevent_ = false;
  bool changed_ = false;  // the script's disc change has happened
  std::uint8_t recoveryParameter_ = 0x00;
  std::uint8_t readRetries_ = 16;
  std::uint16_t readSpeed_ = kMaxReadSpeed;

  static constexpr std::uint16_t kMaxReadSpeed = 7056;  // 40x, in kB/s
};

ScsiAnswer CheckCondition(Sense sense);

}  // namespace softdrive
