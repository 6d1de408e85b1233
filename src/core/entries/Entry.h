#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velmora::disc {

enum class EntryType : std::uint8_t { kFile = 1, kFolder = 2 };

// One extent of a file recorded in several.
struct FilePart {
  std::uint32_t extent = 0;
  std::uint32_t length = 0;
  bool operator==(const FilePart&) const = default;
};

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
  // Offset of the recorded time from GMT in 15-minute steps (0 when the disc's
  // was out of range).
  std::int8_t gmtOffset = 0;
  std::uint64_t size = 0;  // bytes of a file (of all its extents); 0 for a folder
  std::uint8_t session = 0;
  std::uint8_t checkState = kUnmarked;
  std::uint8_t state2 = 2;
  // A file recorded in several extents: those after the first (File ID), in
  // order. Empty for every other file.
  std::vector<FilePart> moreParts;
  // File type and permission bits (POSIX st_mode) from a Rock Ridge PX entry;
  // 0 when the disc records none.
  std::uint32_t mode = 0;
  // The target of a symbolic link (a Rock Ridge SL entry), as recorded:
  // relative or from "/". Empty for everything that is not a link.
  std::u16string linkTarget;
  // A file the disc holds compressed (zisofs, a Rock Ridge ZF entry): the
  // bytes it takes on the disc; size is its size uncompressed.
  std::optional<std::uint32_t> compressedSize;

  bool IsFolder() const { return type == EntryType::kFolder; }
  bool IsLink() const { return !linkTarget.empty(); }
};

}  // namespace velmora::disc
