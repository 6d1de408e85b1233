#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velmora::testing {

// One file or folder of a fixture tree, written with designated initializers:
// {.path = "DIR/A.TXT", .content = "a"}, {.path = "big.bin", .patternSize = 9000},
// {.path = "empty", .folder = true}. Every member has an initializer so that
// leaving some out does not trip -Wmissing-field-initializers.
struct FixtureFile {
  std::string path = {};     // relative, UTF-8, "/" between folders
  std::string content = {};  // the file's bytes, used when patternSize is not set
  // When set, the file holds PatternBytes(*patternSize, patternSeed) instead of content.
  std::optional<std::uint64_t> patternSize = std::nullopt;
  std::uint32_t patternSeed = 0;
  std::optional<std::chrono::sys_seconds> mtime = std::nullopt;  // UTC; "now" when unset
  bool folder = false;  // an empty folder (or one whose files come later in the list)
};

// size bytes that depend on seed and on each byte's position, so a sector read
// from the wrong place, or from another file, never matches. Every byte value
// occurs, 0x00 and 0xF6 included.
std::string PatternBytes(std::uint64_t size, std::uint32_t seed);

// Writes files under dir, creating the folders on their paths. Modification times
// are set after all writes, so a folder keeps the time it asked for.
void WriteTree(const std::filesystem::path& dir, const std::vector<FixtureFile>& files);

}  // namespace velmora::testing
