#pragma once

#include <cstddef>
#include <span>
#include <string>

namespace velmora::disc {

// Decodes a file identifier. 16-bit names are big-endian UTF-16 (an odd length
// loses its last byte); 8-bit names go through the configured code page. A file
// name loses a trailing version suffix (";" and digits); folders keep theirs.
std::u16string DecodeName(std::span<const std::byte> identifier, bool sixteenBit, bool isFolder);

// Judges whether an identifier holds 16-bit characters: an even length with a
// zero byte or a byte outside printable ASCII, and no 8-bit version suffix. ISO
// d-characters never hold such bytes, while Latin, Cyrillic and CJK names in 16
// bits do.
bool LooksSixteenBit(std::span<const std::byte> identifier);

}  // namespace velmora::disc
