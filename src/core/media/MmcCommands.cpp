#include "media/MmcCommands.h"

namespace velmora::disc {

std::array<std::uint8_t, 12> BuildReadCd(Lba lba, std::uint32_t k, std::uint8_t sectorType) {
  return {kReadCdOpcode,
          sectorType,
          static_cast<std::uint8_t>(lba >> 24),
          static_cast<std::uint8_t>(lba >> 16),
          static_cast<std::uint8_t>(lba >> 8),
          static_cast<std::uint8_t>(lba),
          static_cast<std::uint8_t>(k >> 16),
          static_cast<std::uint8_t>(k >> 8),
          static_cast<std::uint8_t>(k),
          kUserDataOnly,
          0,
          0};
}

std::array<std::uint8_t, 10> BuildReadFullToc() {
  // MSF bit, format 2, starting session 1, allocation length 0x0800.
  return {kReadTocOpcode, 0x02, 0x02, 0x00, 0x00, 0x00, 0x01, 0x08, 0x00, 0x00};
}

SenseCode ParseSense(std::span<const std::uint8_t> sense) {
  if (sense.empty()) return {};
  std::uint8_t responseCode = sense[0] & 0x7F;
  if ((responseCode == 0x72 || responseCode == 0x73) && sense.size() >= 4) {
    return {static_cast<std::uint8_t>(sense[1] & 0x0F), sense[2], sense[3]};
  }
  if ((responseCode == 0x70 || responseCode == 0x71) && sense.size() >= 14) {
    return {static_cast<std::uint8_t>(sense[2] & 0x0F), sense[12], sense[13]};
  }
  return {};
}

}  // namespace velmora::disc
