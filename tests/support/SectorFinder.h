#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velmora::testing {

// Volume descriptor types, for finding the sector to patch.
inline constexpr std::uint8_t kPrimaryDescriptor = 1;
inline constexpr std::uint8_t kSupplementaryDescriptor = 2;  // Joliet's, on our fixtures
inline constexpr std::uint8_t kTerminatorDescriptor = 255;

struct DescriptorSector {
  std::uint32_t lba = 0;
  std::uint8_t type = 0;
};

// The volume descriptors from sessionStart + 16 up to and including the set
// terminator. Throws std::runtime_error when a sector on the way lacks "CD001".
std::vector<DescriptorSector> DescriptorSectors(const std::filesystem::path& image,
                                                std::uint32_t sessionStart = 0);

// The first descriptor of the given type after sessionStart + 16, if any.
std::optional<std::uint32_t> FindDescriptor(const std::filesystem::path& image, std::uint8_t type,
                                            std::uint32_t sessionStart = 0);

// Extent of the file or folder at path ("DIR/BIG.BIN", or "dir/big.bin" in the Joliet
// tree; no ";1"), found through IsoinfoListing. Throws when there is no such record.
std::uint32_t FileExtentLba(const std::filesystem::path& image, const std::string& path,
                            bool joliet = false, std::uint32_t sessionStart = 0);

// Byte offset in the image of the directory record whose identifier is exactly
// identifier ("A.TXT;1", or the 16-bit bytes of a Joliet name), searched in the
// first sector of the directory at extent. Throws when there is none.
std::uint64_t DirectoryRecordOffset(const std::filesystem::path& image, std::uint32_t extent,
                                    const std::string& identifier);

// The descriptor's root extent and path tables (ECMA-119 8.4: root record at
// 156, path table size at 132, type L at 140, type M at 148).
struct DescriptorTree {
  std::uint32_t root = 0;
  std::uint32_t typeL = 0;
  std::uint32_t typeM = 0;
  std::uint32_t pathTableSectors = 0;
};
DescriptorTree TreeOfDescriptor(const std::filesystem::path& image, std::uint32_t descriptorLba);

}  // namespace velmora::testing
