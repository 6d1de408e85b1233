#pragma once

#include <cstdint>
#include <string>

namespace velmora::disc {

enum class EntryType : std::uint8_t { kFile = 1, kFolder = 2 };

// Check states of the three-state boxes.
inline constexpr std::uint8_t kUnmarked = 0;
inline constexpr std::uint8_t kMarked = 1;
inline constexpr std::uint8_t kPartlyMarked = 2;

// One file, folder, Root node or Session node found on the disc. File IDs are
// extents and are not unique (empty files often share one).
struct Entry {
  std::uint32_t fileId = 0;
  std::int32_t parentId = 0;
  EntryType type = EntryType::kFile;
  std::u16string name;
  std::int32_t year = 0;  // full year; 0 for Root and Session nodes
  std::int32_t month = 0;
  std::int32_t day = 0;
  std::uint8_t hour = 0;
  std::uint8_t minute = 0;
  std::uint8_t second = 0;
  std::uint32_t size = 0;  // bytes of a file; 0 for a folder
  std::uint8_t session = 0;
  std::uint8_t checkState = kUnmarked;
  std::uint8_t state2 = 2;

  bool IsFolder() const { return type == EntryType::kFolder; }
};

}  // namespace velmora::disc
