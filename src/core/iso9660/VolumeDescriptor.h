#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace velmora::disc {

// Volume descriptor types of ECMA-119 8.1.1 that the reader uses.
inline constexpr std::uint8_t kPrimaryDescriptor = 1;
inline constexpr std::uint8_t kSupplementaryDescriptor = 2;

// The fields of a primary or supplementary volume descriptor that the reader
// uses (ECMA-119 8.4 and 8.5).
struct VolumeInfo {
  std::array<std::byte, 120> head{};  // type, "CD001", version, identifiers, volume space size ...
  std::uint8_t type = 0;
  std::uint32_t volumeSpaceSize = 0;       // byte 80, 7.3.3
  std::uint16_t volumeSetSize = 0;         // byte 120
  std::uint16_t volumeSequenceNumber = 0;  // byte 124
  std::uint16_t logicalBlockSize = 0;      // byte 128
  std::uint32_t pathTableSize = 0;         // byte 132
  std::uint32_t typeLPathTable = 0;        // byte 140, 7.3.1
  std::uint32_t optionalTypeLPathTable = 0;
  std::uint32_t typeMPathTable = 0;        // byte 148, 7.3.2
  std::uint32_t optionalTypeMPathTable = 0;  // byte 152, as stored
  std::uint8_t rootRecordLength = 0;       // byte 156
  std::uint8_t rootExtendedAttributeLength = 0;
  std::uint32_t rootExtent = 0;            // byte 158
  std::uint32_t rootDataLength = 0;        // byte 166
};

// True when byte 0 is 1 or 2, bytes 1-5 are "CD001" and byte 6 is 1.
bool IsVolumeDescriptor(std::span<const std::byte> sector);

// True when a supplementary descriptor's escape sequences (bytes 88-119,
// ECMA-119 8.5.6) name UCS-2 at one of Joliet's three levels ("%/@", "%/C",
// "%/E"): its names are 16-bit. Without them they are 8-bit, as a primary's.
bool IsJolietDescriptor(std::span<const std::byte> sector);

// Parses a descriptor sector; nothing when the sector is shorter than the fields.
std::optional<VolumeInfo> ParseVolumeInfo(std::span<const std::byte> sector);

}  // namespace velmora::disc
