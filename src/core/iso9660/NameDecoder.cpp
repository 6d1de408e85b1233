#include "iso9660/NameDecoder.h"

#include <cstdint>

#include "text/CodePage.h"

namespace velmora::disc {
namespace {

void DropVersionSuffix(std::u16string& name) {
  std::size_t end = name.size();
  while (end > 0 && name[end - 1] >= u'0' && name[end - 1] <= u'9') --end;
  if (end > 0 && name[end - 1] == u';') name.resize(end - 1);
}

}  // namespace

std::u16string DecodeName(std::span<const std::byte> identifier, bool sixteenBit, bool isFolder) {
  std::u16string name;
  if (sixteenBit) {
    std::size_t length = identifier.size() & ~std::size_t{1};
    name.reserve(length / 2);
    for (std::size_t i = 0; i < length; i += 2) {
      name += static_cast<char16_t>((static_cast<unsigned>(identifier[i]) << 8) |
                                    static_cast<unsigned>(identifier[i + 1]));
    }
  } else {
    name = text::DecodeWindows1252(identifier);
  }
  if (!isFolder) DropVersionSuffix(name);
  return name;
}

bool LooksSixteenBit(std::span<const std::byte> identifier) {
  const std::size_t length = identifier.size();
  if (length < 2 || length % 2 != 0) return false;
  auto at = [&](std::size_t i) { return static_cast<std::uint8_t>(identifier[i]); };
  // An 8-bit file identifier usually ends in its version, ";1".
  if (at(length - 2) == ';' && at(length - 1) >= '0' && at(length - 1) <= '9') return false;
  for (std::size_t i = 0; i < length; ++i) {
    if (at(i) == 0 || at(i) < 0x20 || at(i) > 0x7E) return true;
  }
  return false;
}

}  // namespace velmora::disc
