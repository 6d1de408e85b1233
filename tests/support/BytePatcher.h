#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace velmora::testing {

inline constexpr std::uint64_t kSectorSize = 2048;

// Reads count bytes at offset; throws std::runtime_error when the file is shorter.
std::vector<std::byte> ReadBytes(const std::filesystem::path& path, std::uint64_t offset,
                                 std::size_t count);

// Overwrites bytes at offset in place; writing past the end grows the file.
void WriteBytes(const std::filesystem::path& path, std::uint64_t offset,
                std::span<const std::byte> bytes);

// Overwrites count whole sectors from firstLba on with fill.
void FillSectors(const std::filesystem::path& path, std::uint32_t firstLba, std::uint32_t count,
                 std::byte fill);

std::vector<std::byte> ReadSector(const std::filesystem::path& path, std::uint32_t lba);

}  // namespace velmora::testing
