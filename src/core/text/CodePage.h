#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace velmora::text {

// The code page 8-bit names from the disc are read in when they are not UTF-8:
// Windows-1252 unless the user chose another.
inline constexpr std::string_view kDefaultCodePage = "WINDOWS-1252";

// True when the system's converter knows the code page name (any iconv name:
// "cp1251", "CP866", "SHIFT_JIS" ...).
bool CodePageKnown(std::string_view name);

// Chooses the code page of 8-bit names for the scans that follow; false, with
// the setting unchanged, when the name is unknown. An empty name restores the
// default. The window remembers the choice; the command line takes --codepage.
bool SetEightBitCodePage(std::string_view name);
std::string EightBitCodePage();

// Decodes an 8-bit name from the disc: as UTF-8 when it is valid UTF-8 and not
// plain ASCII (discs made on Linux record names that way), otherwise through
// the chosen code page. A byte the code page cannot convert is kept as the
// character of the same number.
std::u16string DecodeEightBitName(std::span<const std::byte> bytes);

// Decodes bytes as Windows-1252.
std::u16string DecodeWindows1252(std::span<const std::byte> bytes);

// Encodes text to Windows-1252; characters it cannot hold become '?'.
std::string EncodeWindows1252(std::u16string_view text);

}  // namespace velmora::text
