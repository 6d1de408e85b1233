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

}  // namespace velmora::testing
