#pragma once

#include <cstddef>
#include <span>
#include <string>

namespace velmora::text {

// Decodes 8-bit names from the disc with the configured code page
// (Windows-1252, the default of the system's home platform).
std::u16string DecodeWindows1252(std::span<const std::byte> bytes);

// Encodes text to Windows-1252; characters it cannot hold become '?'.
std::string EncodeWindows1252(std::u16string_view text);

}  // namespace velmora::text
