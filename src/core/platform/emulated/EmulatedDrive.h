#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <optional>
#include <span>
#include <utility>

#include "platform/BlockFile.h"
#include "platform/DriveControl.h"
#include "platform/ScsiTransport.h"
#include "platform/emulated/CdbDecoder.h"
#include "platform/emulated/CommandLog.h"
#include "platform/emulated/DiscLayout.h"
#include "platform/emulated/EmulatedDisc.h"

namespace velmora::platform::emulated {

// One emulated optical drive: the disc in it, and the answers a real drive gives
// to cooked reads, the TOC and tray ioctls, and READ CD / READ TOC command blocks.
// Every handle opened on the drive shares it, so a disc change reaches them all.
// Every command goes to the machine's log.
class EmulatedDrive {
 public:
  explicit EmulatedDrive(std::shared_ptr<CommandLog> log) : log_(std::move(log)) {}

  // image holds the disc's blocks; without it no sector of the disc reads.
  void Insert(EmulatedDisc disc, std::unique_ptr<BlockFile> image);
  void Eject();
  bool trayLocked() const { return trayLocked_; }

  // A read of the drive opened as a file: the sectors up to the first one that
  // does not read; EIO when that is the first; end of file from the lead-out on.
  IoResult ReadAt(std::uint64_t offset, std::span<std::byte> buffer);
  // The lead-out in bytes.
  std::optional<std::uint64_t> Size() const;
  std::optional<Toc> ReadToc();
  bool SetMediumRemoval(bool prevent);
  DriveStatus Status() const;
  // No call waits: the disc in the drive, if any, has no slow or holding sector.
  bool answersAtOnce() const { return answersAtOnce_; }
  ScsiResult Execute(std::span<const std::uint8_t> cdb, std::span<std::byte> dataIn);
  ScsiResult ExecuteOut(std::span<const std::uint8_t> cdb, std::span<const std::byte> dataOut);
  // The read retry count of the read-write error recovery page, as MODE
  // SELECT left it, and the read speed SET CD SPEED asked for (kB/s).
  std::uint8_t readRetryCount() const { return errorRecoveryPage_[disc::kReadRetryCountOffset]; }
  std::uint16_t readSpeed() const { return readSpeed_; }

 private:
  enum class SectorStatus {
    kRead,            // bytes of the sector arrived
    kMissing,         // between sessions, before the first track, or not in the image
    kUnreadable,      // fault kUnreadable
    kCheckCondition,  // fault kCheckCondition
    kWrongMode,       // READ CD asked for the other sector type
    kGone,            // the drive is gone (fault kDriveGone): no command reaches it
  };
  struct SectorRead {
    SectorStatus status = SectorStatus::kMissing;
    std::uint32_t bytes = 0;
  };
  struct Answer {
    ScsiResult result;
    bool malformed = false;
  };

  // Reads sector lba (below the lead-out) into sector, 2048 bytes. mode2Form1 is
  // the sector type a READ CD expects; nullopt for a cooked read, which takes any.
  SectorRead ReadSector(Lba lba, std::span<std::byte> sector, std::optional<bool> mode2Form1);
  // Where the volume of the session at sessionStart ends, by its first primary
  // or supplementary volume descriptor; nothing without a readable one.
  std::optional<Lba> VolumeEnd(Lba sessionStart, Lba imageSectors) const;
  Answer Run(std::span<const std::uint8_t> cdb, std::span<std::byte> dataIn);
  Answer ModeSense(const ModeSenseRequest& request, std::span<std::byte> dataIn);
  // Makes file and waits until it is removed (SectorFault::holdFile).
  static void Hold(const std::string& file);
  Answer ModeSelect(const ModeSelectRequest& request, std::span<const std::byte> dataOut);
  // READ CD of the expected sector type, or READ(10) (mode2Form1 nullopt).
  ScsiResult ReadBlocks(Lba lba, std::uint32_t count, std::optional<bool> mode2Form1,
                        std::span<std::byte> dataIn);

  std::shared_ptr<CommandLog> log_;
  std::optional<EmulatedDisc> disc_;
  DiscLayout layout_;
  std::unique_ptr<BlockFile> image_;
  bool trayLocked_ = false;
  bool answersAtOnce_ = true;
  // Set by a kDriveGone sector; a disc inserted anew brings the drive back.
  bool gone_ = false;
  // The read-write error recovery page (01h) as MODE SENSE gives it: page code,
  // length 0Ah, flags, read retry count, reserved, write retry count,
  // reserved, recovery time limit.
  std::array<std::uint8_t, 12> errorRecoveryPage_{disc::kErrorRecoveryPage, 0x0A, 0, 20, 0, 0,
                                                  0, 0, 20, 0, 0, 0};
  std::uint16_t readSpeed_ = disc::kFastestSpeed;
  // Reads of each flaky or holding sector since the disc went in.
  std::map<Lba, std::uint32_t> faultReads_;
};

}  // namespace velmora::platform::emulated
