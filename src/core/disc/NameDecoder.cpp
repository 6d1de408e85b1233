#include "disc/NameDecoder.h"

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
  if (identifier.size() < 2 || identifier.size() % 2 != 0) return false;
  for (std::size_t i = 0; i < identifier.size(); ++i) {
    auto b = static_cast<std::uint8_t>(identifier[i]);
    if (b == 0) return true;
    if (i % 2 == 0 && (b < 0x20 || b > 0x7E)) return true;
  }
  return false;
}

}  // namespace velmora::disc
