#include "platform/emulated/CdbDecoder.h"

namespace velmora::platform::emulated {
namespace {

constexpr std::size_t kReadCdLength = 12;
constexpr std::size_t kReadTocLength = 10;
constexpr std::size_t kRead10Length = 10;
constexpr std::size_t kInquiryLength = 6;
constexpr std::uint8_t kTocMsfBit = 0x02;
constexpr std::uint8_t kTocFormatFull = 0x02;

DecodedCdb DecodeReadCd(std::span<const std::uint8_t> cdb, std::size_t dataInSize) {
  if (cdb.size() != kReadCdLength) return kInvalidFieldInCdb;
  // Byte 1 holds the expected sector type in bits 2-4; DAP and the reserved bits
  // stay clear.
  if (cdb[1] != disc::kSectorTypeMode1 && cdb[1] != disc::kSectorTypeMode2Form1) {
    return kInvalidFieldInCdb;
  }
  // User data only, no error flags, no sub-channel, control byte 0.
  if (cdb[9] != disc::kUserDataOnly || cdb[10] != 0 || cdb[11] != 0) return kInvalidFieldInCdb;
  ReadCdRequest request;
  request.lba = static_cast<Lba>(cdb[2]) << 24 | static_cast<Lba>(cdb[3]) << 16 |
                static_cast<Lba>(cdb[4]) << 8 | cdb[5];
  request.count =
      static_cast<std::uint32_t>(cdb[6]) << 16 | static_cast<std::uint32_t>(cdb[7]) << 8 | cdb[8];
  request.mode2Form1 = cdb[1] == disc::kSectorTypeMode2Form1;
  if (request.count == 0) return kInvalidFieldInCdb;
  if (dataInSize / kSectorSize < request.count) return kInvalidFieldInCdb;
  return request;
}

DecodedCdb DecodeReadToc(std::span<const std::uint8_t> cdb) {
  if (cdb.size() != kReadTocLength) return kInvalidFieldInCdb;
  if (cdb[1] != kTocMsfBit || cdb[2] != kTocFormatFull) return kInvalidFieldInCdb;
  // Reserved bytes, and the control byte whose top bits once carried the format.
  if (cdb[3] != 0 || cdb[4] != 0 || cdb[5] != 0 || cdb[9] != 0) return kInvalidFieldInCdb;
  ReadFullTocRequest request;
  request.startSession = cdb[6];
  request.allocationLength = static_cast<std::size_t>(cdb[7]) << 8 | cdb[8];
  return request;
}

DecodedCdb DecodeModeSense(std::span<const std::uint8_t> cdb) {
  if (cdb.size() != 10) return kInvalidFieldInCdb;
  // DBD may be set; LLBAA and the reserved bits stay clear. Page control 00b
  // (current values), subpage 0, reserved bytes and control 0.
  if ((cdb[1] & ~0x08) != 0 || (cdb[2] & 0xC0) != 0 || cdb[3] != 0 || cdb[4] != 0 ||
      cdb[5] != 0 || cdb[6] != 0 || cdb[9] != 0) {
    return kInvalidFieldInCdb;
  }
  ModeSenseRequest request;
  request.page = cdb[2] & 0x3F;
  request.allocationLength = static_cast<std::size_t>(cdb[7]) << 8 | cdb[8];
  return request;
}

DecodedCdb DecodeModeSelect(std::span<const std::uint8_t> cdb) {
  if (cdb.size() != 10) return kInvalidFieldInCdb;
  // PF set; SP clear (a CD drive saves no pages); reserved bytes and control 0.
  if (cdb[1] != 0x10 || cdb[2] != 0 || cdb[3] != 0 || cdb[4] != 0 || cdb[5] != 0 ||
      cdb[6] != 0 || cdb[9] != 0) {
    return kInvalidFieldInCdb;
  }
  ModeSelectRequest request;
  request.parameterLength = static_cast<std::size_t>(cdb[7]) << 8 | cdb[8];
  return request;
}

DecodedCdb DecodeSetCdSpeed(std::span<const std::uint8_t> cdb) {
  if (cdb.size() != 12) return kInvalidFieldInCdb;
  // Rotational control 0 (CLV); reserved bytes and control 0.
  if (cdb[1] != 0) return kInvalidFieldInCdb;
  for (std::size_t i = 6; i < 12; ++i) {
    if (cdb[i] != 0) return kInvalidFieldInCdb;
  }
  SetCdSpeedRequest request;
  request.readSpeed = static_cast<std::uint16_t>(cdb[2] << 8 | cdb[3]);
  return request;
}

DecodedCdb DecodeRead10(std::span<const std::uint8_t> cdb, std::size_t dataInSize) {
  if (cdb.size() != kRead10Length) return kInvalidFieldInCdb;
  // No cache bits, no group number, control byte 0.
  if (cdb[1] != 0 || cdb[6] != 0 || cdb[9] != 0) return kInvalidFieldInCdb;
  Read10Request request;
  request.lba = static_cast<Lba>(cdb[2]) << 24 | static_cast<Lba>(cdb[3]) << 16 |
                static_cast<Lba>(cdb[4]) << 8 | cdb[5];
  request.count = static_cast<std::uint32_t>(cdb[7]) << 8 | cdb[8];
  if (request.count == 0) return kInvalidFieldInCdb;
  if (dataInSize / kSectorSize < request.count) return kInvalidFieldInCdb;
  return request;
}

DecodedCdb DecodeInquiry(std::span<const std::uint8_t> cdb) {
  if (cdb.size() != kInquiryLength) return kInvalidFieldInCdb;
  // Standard data only: no vital product data page, control byte 0.
  if (cdb[1] != 0 || cdb[2] != 0 || cdb[5] != 0) return kInvalidFieldInCdb;
  return InquiryRequest{static_cast<std::size_t>(cdb[3]) << 8 | cdb[4]};
}

}  // namespace

DecodedCdb DecodeCdb(std::span<const std::uint8_t> cdb, std::size_t dataInSize) {
  if (cdb.empty()) return kInvalidOpcode;
  switch (cdb[0]) {
    case disc::kReadCdOpcode:
      return DecodeReadCd(cdb, dataInSize);
    case disc::kReadTocOpcode:
      return DecodeReadToc(cdb);
    case disc::kModeSense10Opcode:
      return DecodeModeSense(cdb);
    case disc::kModeSelect10Opcode:
      return DecodeModeSelect(cdb);
    case disc::kSetCdSpeedOpcode:
      return DecodeSetCdSpeed(cdb);
    case disc::kRead10Opcode:
      return DecodeRead10(cdb, dataInSize);
    case disc::kInquiryOpcode:
      return DecodeInquiry(cdb);
    default:
      return kInvalidOpcode;
  }
}

}  // namespace velmora::platform::emulated
