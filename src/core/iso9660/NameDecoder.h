#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::disc {

// Decodes a file identifier. 16-bit names are big-endian UTF-16 (an odd length
// loses its last byte); 8-bit names are UTF-8 when they are valid UTF-8 and not
// plain ASCII, else they go through the configured code page. A file name loses
// its version suffix (";" and digits) unless keepVersion is set, and an 8-bit
// file name the dot of an empty extension ("NOEXT.;1" is "NOEXT"); folders keep
// their names as recorded.
std::u16string DecodeName(std::span<const std::byte> identifier, bool sixteenBit, bool isFolder,
                          bool keepVersion = false);

// The version of a file identifier: the number after its last ";", nothing
// without one.
std::optional<std::uint32_t> FileVersion(std::span<const std::byte> identifier, bool sixteenBit);

// Judges whether an identifier holds 16-bit characters by its high bytes (those
// at even offsets): an even length, no 8-bit version suffix, and a high byte
// below 0x20. ISO and 8-bit names never hold control bytes, while a 16-bit
// name holds one in every character below U+2000 (ASCII, Latin, Cyrillic).
bool LooksSixteenBit(std::span<const std::byte> identifier);

// Judges the names of one directory together: 16-bit when a name looks so by
// its high bytes; 8-bit when none does and a name has an odd length, an 8-bit
// version suffix or printable ASCII only; otherwise (every name even and
// without a control high byte, as a name of CJK characters only is) 16-bit
// when a byte lies outside printable ASCII.
bool JudgeSixteenBit(std::span<const std::span<const std::byte>> identifiers);

}  // namespace velmora::disc
