#include "media/MmcCommands.h"

#include <algorithm>

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

std::array<std::uint8_t, 10> BuildModeSense10(std::uint8_t page, std::uint16_t allocationLength) {
  // DBD set; page control 00b (current values).
  return {kModeSense10Opcode, 0x08, static_cast<std::uint8_t>(page & 0x3F), 0, 0, 0, 0,
          static_cast<std::uint8_t>(allocationLength >> 8),
          static_cast<std::uint8_t>(allocationLength), 0};
}

std::array<std::uint8_t, 10> BuildModeSelect10(std::uint16_t parameterLength) {
  // PF set, SP clear.
  return {kModeSelect10Opcode, 0x10, 0, 0, 0, 0, 0,
          static_cast<std::uint8_t>(parameterLength >> 8),
          static_cast<std::uint8_t>(parameterLength), 0};
}

std::array<std::uint8_t, 12> BuildSetCdSpeed(std::uint16_t readKilobytesPerSecond) {
  return {kSetCdSpeedOpcode,
          0,
          static_cast<std::uint8_t>(readKilobytesPerSecond >> 8),
          static_cast<std::uint8_t>(readKilobytesPerSecond),
          static_cast<std::uint8_t>(kFastestSpeed >> 8),
          static_cast<std::uint8_t>(kFastestSpeed),
          0,
          0,
          0,
          0,
          0,
          0};
}

std::uint16_t ReadSpeedKilobytes(std::uint32_t times) {
  const std::uint64_t kilobytes = (std::uint64_t{times} * 1764 + 5) / 10;
  return static_cast<std::uint16_t>(std::min<std::uint64_t>(kilobytes, kFastestSpeed - 1));
}

std::optional<std::vector<std::uint8_t>> ModePageFromSense(std::span<const std::byte> answer,
                                                           std::uint8_t page) {
  const auto u8 = [&](std::size_t at) { return static_cast<std::uint8_t>(answer[at]); };
  if (answer.size() < kModeHeader10Size) return std::nullopt;
  // The mode data length counts the bytes after itself.
  const std::size_t dataEnd = std::min<std::size_t>(answer.size(), 2 + (u8(0) << 8 | u8(1)));
  const std::size_t at = kModeHeader10Size + (u8(6) << 8 | u8(7));
  if (at + 2 > dataEnd || (u8(at) & 0x3F) != page) return std::nullopt;
  const std::size_t length = 2 + std::size_t{u8(at + 1)};
  if (at + length > dataEnd) return std::nullopt;
  std::vector<std::uint8_t> bytes(length);
  for (std::size_t i = 0; i < length; ++i) bytes[i] = u8(at + i);
  return bytes;
}

std::vector<std::byte> ModeSelectParameters(const std::vector<std::uint8_t>& page) {
  std::vector<std::byte> parameters(kModeHeader10Size + page.size(), std::byte{0});
  for (std::size_t i = 0; i < page.size(); ++i) {
    parameters[kModeHeader10Size + i] = static_cast<std::byte>(page[i]);
  }
  // The PS bit is reserved in MODE SELECT.
  if (!page.empty()) parameters[kModeHeader10Size] = static_cast<std::byte>(page[0] & 0x3F);
  return parameters;
}

std::array<std::uint8_t, 10> BuildRead10(Lba lba, std::uint32_t k) {
  return {kRead10Opcode,
          0,
          static_cast<std::uint8_t>(lba >> 24),
          static_cast<std::uint8_t>(lba >> 16),
          static_cast<std::uint8_t>(lba >> 8),
          static_cast<std::uint8_t>(lba),
          0,
          static_cast<std::uint8_t>(k >> 8),
          static_cast<std::uint8_t>(k),
          0};
}

std::array<std::uint8_t, 6> BuildInquiry() {
  // Standard data (no vital product data page), allocation length in bytes 3-4.
  return {kInquiryOpcode, 0, 0, 0, static_cast<std::uint8_t>(kInquiryLength), 0};
}

DriveIdentity ParseInquiry(std::span<const std::byte> data) {
  DriveIdentity identity;
  if (data.size() < kInquiryLength) return identity;
  // Fields are printable ASCII padded with spaces; anything else is shown as '?'.
  const auto field = [&](std::size_t at, std::size_t length) {
    std::string text;
    for (std::size_t i = at; i < at + length; ++i) {
      const auto c = static_cast<unsigned char>(data[i]);
      text += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
    }
    const std::size_t end = text.find_last_not_of(' ');
    text.erase(end == std::string::npos ? 0 : end + 1);
    const std::size_t start = text.find_first_not_of(' ');
    return start == std::string::npos ? std::string() : text.substr(start);
  };
  identity.vendor = field(8, 8);
  identity.product = field(16, 16);
  identity.revision = field(32, 4);
  return identity;
}

std::optional<Lba> SenseInformation(std::span<const std::uint8_t> sense) {
  if (sense.empty()) return std::nullopt;
  const std::uint8_t responseCode = sense[0] & 0x7F;
  const auto be32 = [&](std::size_t at) {
    return static_cast<Lba>(sense[at]) << 24 | static_cast<Lba>(sense[at + 1]) << 16 |
           static_cast<Lba>(sense[at + 2]) << 8 | sense[at + 3];
  };
  if ((responseCode == 0x70 || responseCode == 0x71) && (sense[0] & 0x80) != 0 && sense.size() >= 7) {
    return be32(3);
  }
  if ((responseCode == 0x72 || responseCode == 0x73) && sense.size() >= 8) {
    // Descriptors follow the 8-byte header; the information descriptor (type
    // 0) holds a 64-bit value at its byte 4, valid when its byte 2 says so.
    const std::size_t end = std::min<std::size_t>(sense.size(), 8u + sense[7]);
    for (std::size_t at = 8; at + 2 <= end; at += 2u + sense[at + 1]) {
      if (sense[at] == 0x00 && at + 12 <= end && (sense[at + 2] & 0x80) != 0 &&
          sense[at + 4] == 0 && sense[at + 5] == 0 && sense[at + 6] == 0 && sense[at + 7] == 0) {
        return be32(at + 8);
      }
    }
  }
  return std::nullopt;
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
