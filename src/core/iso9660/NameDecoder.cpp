#include "iso9660/NameDecoder.h"

#include <cstdint>

#include "text/CodePage.h"

namespace velmora::disc {
namespace {

// Where a version suffix (";" and digits, at least one) starts, or npos.
std::size_t VersionStart(std::u16string_view name) {
  std::size_t end = name.size();
  while (end > 0 && name[end - 1] >= u'0' && name[end - 1] <= u'9') --end;
  if (end == name.size() || end == 0 || name[end - 1] != u';') return std::u16string_view::npos;
  return end - 1;
}

std::u16string DecodeCharacters(std::span<const std::byte> identifier, bool sixteenBit) {
  if (!sixteenBit) return text::DecodeEightBitName(identifier);
  std::u16string name;
  std::size_t length = identifier.size() & ~std::size_t{1};
  name.reserve(length / 2);
  for (std::size_t i = 0; i < length; i += 2) {
    name += static_cast<char16_t>((static_cast<unsigned>(identifier[i]) << 8) |
                                  static_cast<unsigned>(identifier[i + 1]));
  }
  return name;
}

}  // namespace

std::u16string DecodeName(std::span<const std::byte> identifier, bool sixteenBit, bool isFolder,
                          bool keepVersion) {
  std::u16string name = DecodeCharacters(identifier, sixteenBit);
  if (isFolder) return name;
  std::u16string version;
  if (std::size_t at = VersionStart(name); at != std::u16string::npos) {
    version = name.substr(at);
    name.resize(at);
  }
  // An 8-bit file identifier always holds the dot between name and extension.
  if (!sixteenBit && name.size() > 1 && name.back() == u'.') name.pop_back();
  if (keepVersion) name += version;
  return name;
}

std::optional<std::uint32_t> FileVersion(std::span<const std::byte> identifier, bool sixteenBit) {
  const std::u16string name = DecodeCharacters(identifier, sixteenBit);
  const std::size_t at = VersionStart(name);
  if (at == std::u16string::npos) return std::nullopt;
  std::uint32_t version = 0;
  for (std::size_t i = at + 1; i < name.size(); ++i) {
    if (version > 100000) return version;  // far past any version a writer records
    version = version * 10 + static_cast<std::uint32_t>(name[i] - u'0');
  }
  return version;
}

bool LooksSixteenBit(std::span<const std::byte> identifier) {
  const std::size_t length = identifier.size();
  if (length < 2 || length % 2 != 0) return false;
  auto at = [&](std::size_t i) { return static_cast<std::uint8_t>(identifier[i]); };
  // An 8-bit file identifier usually ends in its version, ";1".
  if (at(length - 2) == ';' && at(length - 1) >= '0' && at(length - 1) <= '9') return false;
  for (std::size_t i = 0; i < length; i += 2) {
    if (at(i) < 0x20) return true;
  }
  return false;
}

bool JudgeSixteenBit(std::span<const std::span<const std::byte>> identifiers) {
  bool eightBit = false;
  bool highByte = false;
  for (std::span<const std::byte> identifier : identifiers) {
    if (identifier.empty()) continue;
    if (LooksSixteenBit(identifier)) return true;
    const std::size_t length = identifier.size();
    auto at = [&](std::size_t i) { return static_cast<std::uint8_t>(identifier[i]); };
    if (length % 2 != 0 ||
        (length >= 2 && at(length - 2) == ';' && at(length - 1) >= '0' && at(length - 1) <= '9')) {
      eightBit = true;
    }
    bool printable = true;
    for (std::size_t i = 0; i < length; ++i) {
      if (at(i) < 0x20 || at(i) > 0x7E) printable = false;
    }
    // A name of printable ASCII alone is an 8-bit one far more often than
    // 16-bit characters whose bytes all happen to be printable.
    if (printable) eightBit = true;
    if (!printable) highByte = true;
  }
  return !eightBit && highByte;
}

}  // namespace velmora::disc
