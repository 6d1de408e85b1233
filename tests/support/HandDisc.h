#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::testing {

// One directory record of a hand-made disc. name holds the file identifier's
// bytes as stored ("A.TXT;1"); it may hold any byte.
struct HandRecord {
  std::string name = {};
  bool folder = false;
  std::uint32_t extent = 0;
  std::uint32_t length = 0;  // data length in bytes
};

// A disc written record by record, for the shapes that no mastering tool
// writes: folders whose extents overlap, lengths that claim more than the disc
// holds, thousands of equal names, chains deeper than a file system allows. The
// image is kept in memory: sectors() * 2048 bytes, zero-filled.
class HandDisc {
 public:
  explicit HandDisc(std::uint32_t sectors);

  std::uint32_t sectors() const { return sectors_; }

  // A primary volume descriptor at sector 16 and the set terminator at 17.
  // volumeSpaceSize 0 records sectors(). The path tables are left out (both
  // locations 0, size 0) unless given.
  void WritePrimary(std::uint32_t rootExtent, std::uint32_t rootLength,
                    std::uint32_t volumeSpaceSize = 0, std::uint32_t typeLPathTable = 0,
                    std::uint32_t pathTableSize = 0);

  // Writes a directory at extent: its "." record (extent, ownLength, or the
  // length its records take when ownLength is 0), its ".." record, then the
  // records, never one across a sector boundary. Returns the bytes it takes,
  // in whole sectors.
  std::uint32_t WriteDirectory(std::uint32_t extent, std::uint32_t parentExtent,
                               const std::vector<HandRecord>& records, std::uint32_t ownLength = 0);
  // The bytes, in whole sectors, that WriteDirectory takes for these records.
  static std::uint32_t DirectoryBytes(const std::vector<HandRecord>& records);

  // Overwrites bytes at a byte offset, growing the disc to hold them.
  void WriteAt(std::uint64_t offset, std::span<const std::byte> bytes);
  void WriteText(std::uint32_t lba, std::string_view text);

  const std::vector<std::byte>& bytes() const { return bytes_; }
  // Writes the image file; throws std::runtime_error when it cannot.
  void Save(const std::filesystem::path& path) const;

 private:
  std::uint32_t sectors_;
  std::vector<std::byte> bytes_;
};

// A directory record of ECMA-119 9.1 as bytes (recorded 2020-01-15 12:30:00 UTC).
std::vector<std::byte> DirectoryRecordBytes(const HandRecord& record);

}  // namespace velmora::testing
