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

// READ TOC/PMA/ATIP format 2 (full TOC) in MSF form.
struct ReadFullTocRequest {
  std::uint8_t startSession = 0;
  std::size_t allocationLength = 0;
};

// Why a command block was refused: the sense a drive returns for it.
using CdbRejection = disc::SenseCode;
inline constexpr CdbRejection kInvalidOpcode{disc::kSenseIllegalRequest, 0x20, 0x00};
inline constexpr CdbRejection kInvalidFieldInCdb{disc::kSenseIllegalRequest, 0x24, 0x00};

using DecodedCdb = std::variant<ReadCdRequest, ReadFullTocRequest, CdbRejection>;

// Decodes a command block the way the emulated drive accepts it: the two commands
// the disc reader sends, with every field it does not use at its neutral value. A
// READ CD must also fit its transfer in dataInSize bytes.
DecodedCdb DecodeCdb(std::span<const std::uint8_t> cdb, std::size_t dataInSize);

}  // namespace velmora::platform::emulated
