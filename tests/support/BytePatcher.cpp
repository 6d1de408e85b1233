#include "support/BytePatcher.h"

#include <fstream>
#include <stdexcept>
#include <string>

namespace velmora::testing {

std::vector<std::byte> ReadBytes(const std::filesystem::path& path, std::uint64_t offset,
                                 std::size_t count) {
  std::ifstream in(path, std::ios::binary);
  in.seekg(static_cast<std::streamoff>(offset));
  std::vector<std::byte> bytes(count);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(count));
  if (!in) {
    throw std::runtime_error("cannot read " + std::to_string(count) + " bytes at " +
                             std::to_string(offset) + " of " + path.string());
  }
  return bytes;
}

void WriteBytes(const std::filesystem::path& path, std::uint64_t offset,
                std::span<const std::byte> bytes) {
  // in|out opens an existing file without truncating it.
  std::fstream out(path, std::ios::binary | std::ios::in | std::ios::out);
  out.seekp(static_cast<std::streamoff>(offset));
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    throw std::runtime_error("cannot write " + std::to_string(bytes.size()) + " bytes at " +
                             std::to_string(offset) + " of " + path.string());
  }
}

void FillSectors(const std::filesystem::path& path, std::uint32_t firstLba, std::uint32_t count,
                 std::byte fill) {
  const std::vector<std::byte> sectors(count * kSectorSize, fill);
  WriteBytes(path, firstLba * kSectorSize, sectors);
}

std::vector<std::byte> ReadSector(const std::filesystem::path& path, std::uint32_t lba) {
  return ReadBytes(path, lba * kSectorSize, kSectorSize);
}

}  // namespace velmora::testing
