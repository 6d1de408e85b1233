#include "iso9660/Zisofs.h"

#include <zlib.h>

#include <limits>

#include "media/ByteReader.h"

namespace velmora::disc {
namespace {

constexpr std::uint8_t kMagic[8] = {0x37, 0xE4, 0x53, 0x96, 0xC9, 0xDB, 0xD6, 0x07};
constexpr std::uint8_t kSmallestLog2Block = 15;
constexpr std::uint8_t kLargestLog2Block = 17;

}  // namespace

std::optional<ZisofsHeader> ParseZisofsHeader(std::span<const std::byte> bytes) {
  ByteReader reader(bytes);
  if (!reader.Has(0, kZisofsHeaderBytes)) return std::nullopt;
  for (std::size_t i = 0; i < std::size(kMagic); ++i) {
    if (reader.U8(i) != kMagic[i]) return std::nullopt;
  }
  ZisofsHeader header;
  header.uncompressedSize = reader.U32Le(8);
  header.headerBytes = std::uint32_t{reader.U8(12)} * 4;
  header.log2BlockSize = reader.U8(13);
  if (header.headerBytes < kZisofsHeaderBytes || header.log2BlockSize < kSmallestLog2Block ||
      header.log2BlockSize > kLargestLog2Block) {
    return std::nullopt;
  }
  return header;
}

std::uint32_t MostCompressedBytes(std::uint32_t blockSize) {
  return blockSize + blockSize / 1000 + 64;
}

bool InflateZisofsBlock(std::span<const std::byte> compressed, std::span<std::byte> out) {
  if (compressed.size() > std::numeric_limits<uInt>::max() ||
      out.size() > std::numeric_limits<uInt>::max()) {
    return false;
  }
  z_stream stream{};
  if (inflateInit(&stream) != Z_OK) return false;
  // zlib takes its input as non-const bytes; it does not write them.
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<std::byte*>(compressed.data()));
  stream.avail_in = static_cast<uInt>(compressed.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  const int status = inflate(&stream, Z_FINISH);
  const bool whole = status == Z_STREAM_END && stream.avail_out == 0;
  inflateEnd(&stream);
  return whole;
}

}  // namespace velmora::disc
