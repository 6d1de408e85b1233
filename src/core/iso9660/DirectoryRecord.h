#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace velmora::disc {

inline constexpr std::size_t kMinDirectoryRecord = 34;  // 33 bytes and a 1-byte identifier

// Recording date and time of a directory record (ECMA-119 9.1.5) as recorded,
// local to the recorder, with its offset from GMT in 15-minute steps.
struct RecordingTime {
  std::int32_t year = 0;  // full year (stored byte + 1900)
  std::int32_t month = 0;
  std::int32_t day = 0;
  std::uint8_t hour = 0;
  std::uint8_t minute = 0;
  std::uint8_t second = 0;
  std::int8_t gmtOffset = 0;  // -48 (GMT-12) ... +56 (GMT+14)
};

// The time zones in use run from GMT-12 to GMT+14 (Kiribati); offsets outside
// -48 ... +56 quarter hours are no offset a writer can record.
inline bool GmtOffsetInRange(std::int8_t offset) { return offset >= -48 && offset <= 56; }

// One directory record (ECMA-119 9.1).
struct DirectoryRecord {
  std::uint8_t length = 0;
  std::uint32_t extent = 0;      // bytes 2-5, little-endian half
  std::uint32_t dataLength = 0;  // bytes 10-13, little-endian half
  RecordingTime time;
  std::uint8_t flags = 0;        // bit 1: directory
  std::span<const std::byte> identifier;  // cut to the record when its length runs past it
  // The bytes after the identifier and its pad byte (ECMA-119 9.1.13).
  std::span<const std::byte> systemUse;

  bool IsDirectory() const { return (flags & 0x02) != 0; }
  // Bit 7: the file goes on in the next record (ECMA-119 9.1.6).
  bool IsMultiExtent() const { return (flags & 0x80) != 0; }
};

// Parses the record at the start of bytes. Nothing when the length byte is below
// 34 or the record runs past bytes.
std::optional<DirectoryRecord> ParseDirectoryRecord(std::span<const std::byte> bytes);

// True when the record is the "." record of a directory at extent.
bool IsSelfRecord(const DirectoryRecord& record, std::uint32_t extent);

}  // namespace velmora::disc
