#include "support/SectorFinder.h"

#include <stdexcept>
#include <string_view>

#include "support/BytePatcher.h"
#include "support/IsoOracle.h"

namespace velmora::testing {

std::vector<DescriptorSector> DescriptorSectors(const std::filesystem::path& image,
                                                std::uint32_t sessionStart) {
  static constexpr std::string_view kStandardId = "CD001";
  std::vector<DescriptorSector> descriptors;
  for (std::uint32_t lba = sessionStart + 16;; ++lba) {
    const std::vector<std::byte> sector = ReadSector(image, lba);
    const std::string_view id(reinterpret_cast<const char*>(sector.data()) + 1, kStandardId.size());
    if (id != kStandardId) {
      throw std::runtime_error("no volume descriptor at block " + std::to_string(lba) + " of " +
                               image.string());
    }
    descriptors.push_back({lba, static_cast<std::uint8_t>(sector[0])});
    if (descriptors.back().type == kTerminatorDescriptor) return descriptors;
  }
}

std::optional<std::uint32_t> FindDescriptor(const std::filesystem::path& image, std::uint8_t type,
                                            std::uint32_t sessionStart) {
  for (const DescriptorSector& descriptor : DescriptorSectors(image, sessionStart)) {
    if (descriptor.type == type) return descriptor.lba;
  }
  return std::nullopt;
}

std::uint32_t FileExtentLba(const std::filesystem::path& image, const std::string& path,
                            bool joliet, std::uint32_t sessionStart) {
  for (const OracleRecord& record : IsoinfoListing(image, joliet, sessionStart)) {
    if (record.path == path) return record.extent;
  }
  throw std::runtime_error("no record " + path + " in " + image.string());
}

std::uint64_t DirectoryRecordOffset(const std::filesystem::path& image, std::uint32_t extent,
                                    const std::string& identifier) {
  const std::vector<std::byte> sector = ReadSector(image, extent);
  for (std::size_t pos = 0; pos + 33 < sector.size();) {
    const auto length = static_cast<std::size_t>(sector[pos]);
    if (length == 0) break;
    const auto idLength = static_cast<std::size_t>(sector[pos + 32]);
    const std::string id(reinterpret_cast<const char*>(sector.data()) + pos + 33, idLength);
    if (id == identifier) return std::uint64_t{extent} * kSectorSize + pos;
    pos += length;
  }
  throw std::runtime_error("no record " + identifier + " in the directory at " +
                           std::to_string(extent));
}

DescriptorTree TreeOfDescriptor(const std::filesystem::path& image, std::uint32_t descriptorLba) {
  const std::vector<std::byte> sector = ReadSector(image, descriptorLba);
  auto le = [&](std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(sector[at + i]) << (8 * i);
    return value;
  };
  auto be = [&](std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) value = (value << 8) | static_cast<std::uint32_t>(sector[at + i]);
    return value;
  };
  return {le(158), le(140), be(148), static_cast<std::uint32_t>((le(132) + kSectorSize - 1) / kSectorSize)};
}

}  // namespace velmora::testing
