#include "recovery/ZisofsCopier.h"

#include <algorithm>

#include "iso9660/Zisofs.h"
#include "media/ByteReader.h"

namespace velmora::disc {

bool ZisofsCopier::ReadStored(Lba extent, std::uint32_t storedSize, std::uint64_t offset,
                              std::span<std::byte> out) {
  if (out.empty()) return true;
  if (offset + out.size() > storedSize) return false;
  const std::uint64_t first = offset / kSectorSize;
  const std::uint64_t last = (offset + out.size() - 1) / kSectorSize;
  if (extent + last > 0xFFFFFFFFu) return false;
  const auto count = static_cast<std::uint32_t>(last - first + 1);
  sectors_.assign(std::size_t{count} * kSectorSize, std::byte{0});
  std::uint32_t got = 0;
  if (!reader_.ReadSectors(static_cast<Lba>(extent + first), count, sectors_, got)) return false;
  const std::uint64_t skip = offset - first * kSectorSize;
  if (got < skip + out.size()) return false;
  std::copy_n(sectors_.begin() + static_cast<std::ptrdiff_t>(skip), out.size(), out.begin());
  return true;
}

CopyResult ZisofsCopier::Copy(const Entry& entry, platform::FileSink& sink) {
  CopyResult result;
  const Lba extent = entry.fileId;
  const std::uint32_t stored = entry.compressedSize.value_or(0);
  const std::uint64_t size = entry.size;
  const auto unreadable = [&](std::uint64_t first, std::uint64_t count) {
    if (count == 0) return true;
    if (!result.unreadable.empty() && result.unreadable.back().last + 1 == first) {
      result.unreadable.back().last = first + count - 1;
    } else {
      result.unreadable.push_back({first, first + count - 1});
    }
    // Zeros in a new file; a file written again keeps what it held there.
    if (sink.Skip(count, result.writeError)) return true;
    result.writeFailed = true;
    return false;
  };

  std::vector<std::byte> bytes(kZisofsHeaderBytes);
  std::optional<ZisofsHeader> header;
  if (ReadStored(extent, stored, 0, bytes)) header = ParseZisofsHeader(bytes);
  std::vector<std::byte> table;
  if (header && header->uncompressedSize == size) {
    table.resize(static_cast<std::size_t>(header->PointerTableBytes()));
    if (!ReadStored(extent, stored, header->headerBytes, table)) header.reset();
  } else {
    header.reset();
  }
  if (!header) {
    unreadable(0, size);
    return result;
  }
  ByteReader pointers(table);
  const std::uint32_t blockSize = header->BlockSize();
  std::vector<std::byte> compressed;
  std::vector<std::byte> block(blockSize);
  for (std::uint32_t k = 0; k < header->BlockCount(); ++k) {
    host_.PumpPendingMessages();
    if (state_.stopRequested) {
      result.stopped = true;
      break;
    }
    const std::uint64_t at = std::uint64_t{k} * blockSize;
    const auto length = static_cast<std::uint32_t>(std::min<std::uint64_t>(blockSize, size - at));
    const std::uint32_t from = pointers.U32Le(std::size_t{k} * 4);
    const std::uint32_t to = pointers.U32Le(std::size_t{k} * 4 + 4);
    const std::span<std::byte> out = std::span(block).first(length);
    bool inflated = false;
    if (from == to) {
      std::fill(out.begin(), out.end(), std::byte{0});
      inflated = true;
    } else if (from < to && to - from <= MostCompressedBytes(blockSize)) {
      compressed.resize(to - from);
      inflated = ReadStored(extent, stored, from, compressed) && InflateZisofsBlock(compressed, out);
    }
    if (!inflated) {
      if (!unreadable(at, length)) return result;
      continue;
    }
    if (!sink.Append(out, result.writeError)) {
      result.writeFailed = true;
      return result;
    }
    result.bytesRead += length;
  }
  return result;
}

}  // namespace velmora::disc
