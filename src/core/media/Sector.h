#pragma once

#include <cstddef>
#include <cstdint>

namespace velmora {

// A logical block address: the number of a 2048-byte user-data sector.
using Lba = std::uint32_t;

inline constexpr std::uint32_t kSectorSize = 2048;

// Buffers that receive sectors are pre-filled with this byte; met where a length
// byte is expected it means nothing was read there, and an unreadable sector is
// stored in an image as a block of it.
inline constexpr std::byte kUnreadByte{0xF6};

// Frames (1/75 s) before LBA 0 on a CD: a track at LBA 0 starts at frame 150.
inline constexpr std::uint32_t kLeadInFrames = 150;

}  // namespace velmora
