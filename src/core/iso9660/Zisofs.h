#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace velmora::disc {

// zisofs: a file whose data a Rock Ridge ZF entry says is compressed, block
// by block with zlib. Its data opens with a header (a magic number, the
// uncompressed size, the header's size and the block size), then a table of
// block count + 1 pointers (offsets in the data, 32-bit little-endian), each
// block running from its pointer to the next; two equal pointers are a block
// of zeros.
struct ZisofsHeader {
  std::uint32_t uncompressedSize = 0;
  std::uint32_t headerBytes = 0;  // where the pointer table starts
  std::uint8_t log2BlockSize = 0;

  std::uint32_t BlockSize() const { return 1u << log2BlockSize; }
  std::uint32_t BlockCount() const {
    return static_cast<std::uint32_t>((std::uint64_t{uncompressedSize} + BlockSize() - 1) / BlockSize());
  }
  std::uint64_t PointerTableBytes() const { return (std::uint64_t{BlockCount()} + 1) * 4; }
};

// The header's least size, and the bytes of it that are read.
inline constexpr std::size_t kZisofsHeaderBytes = 16;

// Parses the first kZisofsHeaderBytes of a file's data; nothing when the magic
// number is missing or the sizes are none a writer records (blocks of 32, 64
// or 128 KiB, a header of at least 16 bytes).
std::optional<ZisofsHeader> ParseZisofsHeader(std::span<const std::byte> bytes);

// The most bytes a block of blockSize bytes takes compressed: zlib never adds
// more than a few bytes per 16 KiB to data it cannot compress.
std::uint32_t MostCompressedBytes(std::uint32_t blockSize);

// Inflates one block (a zlib stream) into out; true when it gives exactly
// out.size() bytes.
bool InflateZisofsBlock(std::span<const std::byte> compressed, std::span<std::byte> out);

}  // namespace velmora::disc
