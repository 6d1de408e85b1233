#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <variant>

#include "media/MmcCommands.h"
#include "media/Sector.h"

namespace velmora::platform::emulated {

// READ CD of count user-data sectors from lba.
struct ReadCdRequest {
  Lba lba = 0;
  std::uint32_t count = 0;
  bool mode2Form1 = false;  // expected sector type Mode 2 Form 1, else Mode 1
};

// READ(10) of count blocks from lba: user data of any sector type.
struct Read10Request {
  Lba lba = 0;
  std::uint32_t count = 0;
};

// INQUIRY for the standard data.
struct InquiryRequest {
  std::size_t allocationLength = 0;
};

// READ TOC/PMA/ATIP format 2 (full TOC) in MSF form.
struct ReadFullTocRequest {
  std::uint8_t startSession = 0;
  std::size_t allocationLength = 0;
};

// MODE SENSE(10) of one page's current values, without block descriptors.
struct ModeSenseRequest {
  std::uint8_t page = 0;
  std::size_t allocationLength = 0;
};

// MODE SELECT(10) of parameterLength bytes in the page format.
struct ModeSelectRequest {
  std::size_t parameterLength = 0;
};

// SET CD SPEED: the read speed in kB/s (0xFFFF: the fastest).
struct SetCdSpeedRequest {
  std::uint16_t readSpeed = 0;
};

// Why a command block was refused: the sense a drive returns for it.
using CdbRejection = disc::SenseCode;
inline constexpr CdbRejection kInvalidOpcode{disc::kSenseIllegalRequest, 0x20, 0x00};
inline constexpr CdbRejection kInvalidFieldInCdb{disc::kSenseIllegalRequest, 0x24, 0x00};

using DecodedCdb =
    std::variant<ReadCdRequest, ReadFullTocRequest, Read10Request, InquiryRequest,
                 ModeSenseRequest, ModeSelectRequest, SetCdSpeedRequest, CdbRejection>;

// Decodes a command block the way the emulated drive accepts it: the commands the
// disc reader and a rescue send, with every field they do not use at its neutral
// value. A read must also fit its transfer in dataInSize bytes.
DecodedCdb DecodeCdb(std::span<const std::uint8_t> cdb, std::size_t dataInSize);

}  // namespace velmora::platform::emulated
