#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace velmora::disc {

// Longest name, in bytes of UTF-8, that Linux file systems hold.
inline constexpr std::size_t kMaxNameBytes = 255;

struct SafeName {
  std::string name;      // UTF-8, one path component
  bool changed = false;  // it differs from the disc's name
};

// A name from the disc made fit to be one component of a destination path:
// "/", NUL and control characters become "_", a lone surrogate becomes U+FFFD,
// "." and ".." become "_." and "_..", an empty name "unnamed", and a name over
// kMaxNameBytes is shortened keeping its extension.
SafeName MakeSafeName(std::u16string_view discName);

// name with the characters that FAT, NTFS and network shares refuse
// (\ : * ? " < > |) and a trailing dot or blank replaced by "_"; for a
// destination that refused the name as it was.
std::string PortableName(std::string_view name);

// name with " (n)" before its extension ("photo (2).jpg"), shortened to stay
// within kMaxNameBytes.
std::string NumberedName(std::string_view name, std::uint32_t n);

}  // namespace velmora::disc
