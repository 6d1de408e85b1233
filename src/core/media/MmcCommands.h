#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <span>

#include "media/Sector.h"

namespace velmora::disc {

// The SCSI MMC command blocks the disc reader sends, byte for byte.

inline constexpr std::uint8_t kReadCdOpcode = 0xBE;
inline constexpr std::uint8_t kReadTocOpcode = 0x43;
// READ CD byte 1: expected sector type Mode 1, or Mode 2 Form 1 (CD-ROM XA).
inline constexpr std::uint8_t kSectorTypeMode1 = 0x08;
inline constexpr std::uint8_t kSectorTypeMode2Form1 = 0x10;
// READ CD byte 9: user data only (no sync, header, EDC/ECC or error flags).
inline constexpr std::uint8_t kUserDataOnly = 0x10;
// At most this many sectors go in one READ CD.
inline constexpr std::uint32_t kMaxSectorsPerReadCd = 4;
inline constexpr std::chrono::milliseconds kReadCdTimeout{10'000};
inline constexpr std::chrono::milliseconds kReadTocTimeout{5'000};
inline constexpr std::uint32_t kFullTocBufferSize = 4096;

// READ CD (12 bytes): starting LBA and transfer length k, big-endian.
std::array<std::uint8_t, 12> BuildReadCd(Lba lba, std::uint32_t k, std::uint8_t sectorType);
// READ TOC/PMA/ATIP, MSF, format 2 (full TOC), from session 1, 2048 bytes.
std::array<std::uint8_t, 10> BuildReadFullToc();

// Sense key, additional sense code and qualifier from fixed or descriptor sense.
struct SenseCode {
  std::uint8_t key = 0;
  std::uint8_t asc = 0;
  std::uint8_t ascq = 0;
};
SenseCode ParseSense(std::span<const std::uint8_t> sense);

inline constexpr std::uint8_t kSenseIllegalRequest = 0x05;
inline constexpr std::uint8_t kSenseMediumError = 0x03;
// ILLEGAL MODE FOR THIS TRACK: the drive refuses the expected sector type.
inline constexpr std::uint8_t kAscIllegalModeForTrack = 0x64;

}  // namespace velmora::disc
