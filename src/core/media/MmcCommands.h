#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>
#include <string>

#include "media/Sector.h"

namespace velmora::disc {

// The SCSI MMC command blocks the disc reader sends, byte for byte.

inline constexpr std::uint8_t kReadCdOpcode = 0xBE;
inline constexpr std::uint8_t kReadTocOpcode = 0x43;
inline constexpr std::uint8_t kRead10Opcode = 0x28;
inline constexpr std::uint8_t kInquiryOpcode = 0x12;
// READ CD byte 1: expected sector type Mode 1, or Mode 2 Form 1 (CD-ROM XA).
inline constexpr std::uint8_t kSectorTypeMode1 = 0x08;
inline constexpr std::uint8_t kSectorTypeMode2Form1 = 0x10;
// READ CD byte 9: user data only (no sync, header, EDC/ECC or error flags).
inline constexpr std::uint8_t kUserDataOnly = 0x10;
// At most this many sectors go in one READ CD.
inline constexpr std::uint32_t kMaxSectorsPerReadCd = 4;
inline constexpr std::chrono::milliseconds kReadCdTimeout{10'000};
inline constexpr std::chrono::milliseconds kReadTocTimeout{5'000};
inline constexpr std::chrono::milliseconds kInquiryTimeout{5'000};
inline constexpr std::uint32_t kFullTocBufferSize = 4096;
// Standard INQUIRY data up to the product revision.
inline constexpr std::uint32_t kInquiryLength = 36;

// READ CD (12 bytes): starting LBA and transfer length k, big-endian.
std::array<std::uint8_t, 12> BuildReadCd(Lba lba, std::uint32_t k, std::uint8_t sectorType);
// READ TOC/PMA/ATIP, MSF, format 2 (full TOC), from session 1, 2048 bytes.
std::array<std::uint8_t, 10> BuildReadFullToc();
// READ(10) of k blocks from lba: what a drive that refuses READ CD still reads.
std::array<std::uint8_t, 10> BuildRead10(Lba lba, std::uint32_t k);
// INQUIRY for the standard data, kInquiryLength bytes.
std::array<std::uint8_t, 6> BuildInquiry();

// Vendor, product and product revision (firmware) from standard INQUIRY data,
// with their padding spaces taken off; empty when the data is too short.
struct DriveIdentity {
  std::string vendor;
  std::string product;
  std::string revision;
};
DriveIdentity ParseInquiry(std::span<const std::byte> data);

// MODE SENSE(10), MODE SELECT(10) and SET CD SPEED, which a rescue sends to set
// the drive's read retry count and speed and to put them back.
inline constexpr std::uint8_t kModeSense10Opcode = 0x5A;
inline constexpr std::uint8_t kModeSelect10Opcode = 0x55;
inline constexpr std::uint8_t kSetCdSpeedOpcode = 0xBB;
// The read-write error recovery mode page; byte 3 of it is the read retry count.
inline constexpr std::uint8_t kErrorRecoveryPage = 0x01;
inline constexpr std::size_t kReadRetryCountOffset = 3;
// The mode parameter header of the 10-byte MODE SENSE and MODE SELECT.
inline constexpr std::size_t kModeHeader10Size = 8;
inline constexpr std::uint16_t kModeSenseBufferSize = 256;
// SET CD SPEED 0xFFFF: the drive's fastest.
inline constexpr std::uint16_t kFastestSpeed = 0xFFFF;
inline constexpr std::chrono::milliseconds kModeTimeout{10'000};

// MODE SENSE(10) of the current values of page, no block descriptors (DBD).
std::array<std::uint8_t, 10> BuildModeSense10(std::uint8_t page, std::uint16_t allocationLength);
// MODE SELECT(10) of parameterLength bytes, pages in the page format (PF), not
// saved (SP 0).
std::array<std::uint8_t, 10> BuildModeSelect10(std::uint16_t parameterLength);
// SET CD SPEED: the read speed in kB/s; the write speed left at the fastest.
std::array<std::uint8_t, 12> BuildSetCdSpeed(std::uint16_t readKilobytesPerSecond);
// The read speed of times x single speed (176.4 kB/s) in kB/s, below kFastestSpeed.
std::uint16_t ReadSpeedKilobytes(std::uint32_t times);
// The page (page code, length and parameters) from a MODE SENSE(10) answer:
// after the header and the block descriptors it names; nothing when the
// answer holds no whole page of that code.
std::optional<std::vector<std::uint8_t>> ModePageFromSense(std::span<const std::byte> answer,
                                                           std::uint8_t page);
// The parameter list of a MODE SELECT(10) that sets page: a header of zeros
// (the mode data length is reserved in MODE SELECT; no block descriptor) and
// the page with its PS bit cleared.
std::vector<std::byte> ModeSelectParameters(const std::vector<std::uint8_t>& page);

// Sense key, additional sense code and qualifier from fixed or descriptor sense.
struct SenseCode {
  std::uint8_t key = 0;
  std::uint8_t asc = 0;
  std::uint8_t ascq = 0;
};
SenseCode ParseSense(std::span<const std::uint8_t> sense);
// The INFORMATION field when the drive marked it valid: for a medium error,
// the block that did not read.
std::optional<Lba> SenseInformation(std::span<const std::uint8_t> sense);

inline constexpr std::uint8_t kSenseNotReady = 0x02;
inline constexpr std::uint8_t kSenseMediumError = 0x03;
inline constexpr std::uint8_t kSenseIllegalRequest = 0x05;
inline constexpr std::uint8_t kSenseUnitAttention = 0x06;
// NOT READY with 04/01: the drive is becoming ready (spinning the disc up).
inline constexpr std::uint8_t kAscNotReady = 0x04;
inline constexpr std::uint8_t kAscqBecomingReady = 0x01;
inline constexpr std::uint8_t kAscInvalidOpcode = 0x20;
// UNIT ATTENTION with 28: the medium may have changed.
inline constexpr std::uint8_t kAscMediumChanged = 0x28;
inline constexpr std::uint8_t kAscMediumNotPresent = 0x3A;
// ILLEGAL MODE FOR THIS TRACK: the drive refuses the expected sector type.
inline constexpr std::uint8_t kAscIllegalModeForTrack = 0x64;

}  // namespace velmora::disc
