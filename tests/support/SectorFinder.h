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

}  // namespace velmora::testing
