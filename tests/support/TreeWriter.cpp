#include "support/TreeWriter.h"

#include <fstream>
#include <stdexcept>

namespace velmora::testing {
namespace {

// SplitMix64: a cheap mixer whose output differs in every bit for neighbouring inputs.
std::uint64_t Mix(std::uint64_t x) {
  x += 0x9E3779B97F4A7C15ULL;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
  return x ^ (x >> 31);
}

std::filesystem::path Under(const std::filesystem::path& dir, const std::string& relative) {
  // u8path keeps the UTF-8 name as the bytes the tools will see on Linux.
  const std::filesystem::path path =
      std::filesystem::path(std::u8string(relative.begin(), relative.end()));
  if (relative.empty() || path.is_absolute()) {
    throw std::invalid_argument("fixture path must be relative: '" + relative + "'");
  }
  return dir / path;
}

}  // namespace

std::string PatternBytes(std::uint64_t size, std::uint32_t seed) {
  std::string bytes(size, '\0');
  std::uint64_t word = 0;
  for (std::uint64_t i = 0; i < size; ++i) {
    if (i % 8 == 0) word = Mix((std::uint64_t{seed} << 40) ^ (i / 8));
    bytes[i] = static_cast<char>(static_cast<unsigned char>(word >> (8 * (i % 8))));
  }
  return bytes;
}

void WriteTree(const std::filesystem::path& dir, const std::vector<FixtureFile>& files) {
  std::vector<std::pair<std::filesystem::path, std::chrono::sys_seconds>> times;
  for (const FixtureFile& file : files) {
    const std::filesystem::path target = Under(dir, file.path);
    if (file.folder) {
      std::filesystem::create_directories(target);
    } else {
      std::filesystem::create_directories(target.parent_path());
      std::ofstream out(target, std::ios::binary | std::ios::trunc);
      const std::string bytes =
          file.patternSize ? PatternBytes(*file.patternSize, file.patternSeed) : file.content;
      out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
      if (!out) throw std::runtime_error("cannot write " + target.string());
    }
    if (file.mtime) times.emplace_back(target, *file.mtime);
  }
  // After all writes: creating a file moves its folder's time, setting a time does not.
  for (const auto& [path, time] : times) {
    std::filesystem::last_write_time(path, std::chrono::file_clock::from_sys(time));
  }
}

}  // namespace velmora::testing
