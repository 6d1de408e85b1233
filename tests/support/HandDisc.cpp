#include "support/HandDisc.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace velmora::testing {
namespace {

constexpr std::size_t kBlock = 2048;

void PutBothEndian32(std::vector<std::byte>& out, std::size_t at, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) {
    out[at + i] = static_cast<std::byte>((value >> (8 * i)) & 0xFF);      // 7.3.3, LE half
    out[at + 7 - i] = static_cast<std::byte>((value >> (8 * i)) & 0xFF);  // BE half
  }
}

void PutBothEndian16(std::vector<std::byte>& out, std::size_t at, std::uint16_t value) {
  out[at] = static_cast<std::byte>(value & 0xFF);
  out[at + 1] = static_cast<std::byte>(value >> 8);
  out[at + 2] = static_cast<std::byte>(value >> 8);
  out[at + 3] = static_cast<std::byte>(value & 0xFF);
}

void PutText(std::vector<std::byte>& out, std::size_t at, std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) out[at + i] = static_cast<std::byte>(text[i]);
}

}  // namespace

std::vector<std::byte> DirectoryRecordBytes(const HandRecord& record) {
  const std::size_t nameLength = std::max<std::size_t>(record.name.size(), 1);
  std::size_t length = 33 + nameLength;
  length += length % 2;  // 9.1.12: a padding byte keeps the record even
  std::vector<std::byte> out(length, std::byte{0});
  out[0] = static_cast<std::byte>(length);
  PutBothEndian32(out, 2, record.extent);
  PutBothEndian32(out, 10, record.length);
  const std::uint8_t time[] = {120, 1, 15, 12, 30, 0, 0};  // 9.1.5
  for (std::size_t i = 0; i < 7; ++i) out[18 + i] = std::byte{time[i]};
  out[25] = std::byte{record.folder ? std::uint8_t{2} : std::uint8_t{0}};
  PutBothEndian16(out, 28, 1);
  out[32] = static_cast<std::byte>(nameLength);
  PutText(out, 33, record.name);
  return out;
}

HandDisc::HandDisc(std::uint32_t sectors)
    : sectors_(sectors), bytes_(static_cast<std::size_t>(sectors) * kBlock, std::byte{0}) {}

void HandDisc::WritePrimary(std::uint32_t rootExtent, std::uint32_t rootLength,
                            std::uint32_t volumeSpaceSize, std::uint32_t typeLPathTable,
                            std::uint32_t pathTableSize) {
  std::vector<std::byte> sector(kBlock, std::byte{0x20});
  sector[0] = std::byte{1};
  PutText(sector, 1, "CD001");
  sector[6] = std::byte{1};
  sector[7] = std::byte{0};
  PutText(sector, 40, "HANDMADE");
  std::fill(sector.begin() + 72, sector.begin() + 80, std::byte{0});
  PutBothEndian32(sector, 80, volumeSpaceSize == 0 ? sectors_ : volumeSpaceSize);
  std::fill(sector.begin() + 88, sector.begin() + 120, std::byte{0});
  PutBothEndian16(sector, 120, 1);
  PutBothEndian16(sector, 124, 1);
  PutBothEndian16(sector, 128, static_cast<std::uint16_t>(kBlock));
  PutBothEndian32(sector, 132, pathTableSize);
  std::fill(sector.begin() + 140, sector.begin() + 156, std::byte{0});
  for (std::size_t i = 0; i < 4; ++i) {
    sector[140 + i] = static_cast<std::byte>((typeLPathTable >> (8 * i)) & 0xFF);
  }
  const std::vector<std::byte> root =
      DirectoryRecordBytes({.name = std::string(1, '\0'), .folder = true, .extent = rootExtent,
                            .length = rootLength});
  std::copy(root.begin(), root.end(), sector.begin() + 156);
  sector[881] = std::byte{1};
  WriteAt(16 * kBlock, sector);
  std::vector<std::byte> terminator(kBlock, std::byte{0});
  terminator[0] = std::byte{255};
  PutText(terminator, 1, "CD001");
  terminator[6] = std::byte{1};
  WriteAt(17 * kBlock, terminator);
}

std::uint32_t HandDisc::DirectoryBytes(const std::vector<HandRecord>& records) {
  std::size_t at = 2 * 34;  // "." and ".."
  for (const HandRecord& record : records) {
    const std::size_t length = DirectoryRecordBytes(record).size();
    if (at % kBlock + length > kBlock) at = (at / kBlock + 1) * kBlock;
    at += length;
  }
  return static_cast<std::uint32_t>((at + kBlock - 1) / kBlock * kBlock);
}

std::uint32_t HandDisc::WriteDirectory(std::uint32_t extent, std::uint32_t parentExtent,
                                       const std::vector<HandRecord>& records,
                                       std::uint32_t ownLength) {
  const std::uint32_t bytes = DirectoryBytes(records);
  const std::uint32_t selfLength = ownLength == 0 ? bytes : ownLength;
  std::vector<std::byte> out(bytes, std::byte{0});
  std::size_t at = 0;
  auto put = [&](const std::vector<std::byte>& record) {
    if (at % kBlock + record.size() > kBlock) at = (at / kBlock + 1) * kBlock;
    std::copy(record.begin(), record.end(), out.begin() + static_cast<std::ptrdiff_t>(at));
    at += record.size();
  };
  put(DirectoryRecordBytes(
      {.name = std::string(1, '\0'), .folder = true, .extent = extent, .length = selfLength}));
  put(DirectoryRecordBytes(
      {.name = std::string(1, '\1'), .folder = true, .extent = parentExtent, .length = kBlock}));
  for (const HandRecord& record : records) put(DirectoryRecordBytes(record));
  WriteAt(static_cast<std::uint64_t>(extent) * kBlock, out);
  return bytes;
}

void HandDisc::WriteAt(std::uint64_t offset, std::span<const std::byte> bytes) {
  if (offset + bytes.size() > bytes_.size()) {
    const std::uint64_t end = offset + bytes.size();
    sectors_ = static_cast<std::uint32_t>((end + kBlock - 1) / kBlock);
    bytes_.resize(static_cast<std::size_t>(sectors_) * kBlock, std::byte{0});
  }
  std::copy(bytes.begin(), bytes.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(offset));
}

void HandDisc::WriteText(std::uint32_t lba, std::string_view text) {
  std::vector<std::byte> bytes(text.size());
  std::transform(text.begin(), text.end(), bytes.begin(),
                 [](char c) { return static_cast<std::byte>(c); });
  WriteAt(static_cast<std::uint64_t>(lba) * kBlock, bytes);
}

void HandDisc::Save(const std::filesystem::path& path) const {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes_.data()),
            static_cast<std::streamsize>(bytes_.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace velmora::testing
