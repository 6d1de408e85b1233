#include "text/Utf.h"

#include <cstdint>

namespace velmora::text {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

void AppendUtf16(std::u16string& out, char32_t c) {
  if (c < 0x10000) {
    out += static_cast<char16_t>(c);
  } else {
    c -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (c >> 10));
    out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
  }
}

}  // namespace

std::string ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  AppendUtf8(out, text);
  return out;
}

void AppendUtf8(std::string& out, std::u16string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = kReplacement;
    }
    AppendUtf8(out, c);
  }
}

std::u16string FromUtf8(std::string_view text) {
  // Most names are ASCII throughout, or start so: those bytes are widened as
  // they stand.
  std::size_t i = 0;
  while (i < text.size() && static_cast<std::uint8_t>(text[i]) < 0x80) ++i;
  std::u16string out(i, u'\0');
  for (std::size_t k = 0; k < i; ++k) out[k] = static_cast<char16_t>(text[k]);
  if (i == text.size()) return out;
  out.reserve(text.size());
  while (i < text.size()) {
    auto lead = static_cast<std::uint8_t>(text[i]);
    std::size_t extra = 0;
    char32_t c = lead;
    if ((lead & 0xE0) == 0xC0) {
      extra = 1, c = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
      extra = 2, c = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
      extra = 3, c = lead & 0x07;
    } else if (lead >= 0x80) {
      extra = text.size();  // a stray continuation byte: never valid
    }
    bool valid = i + extra < text.size();
    for (std::size_t k = 1; valid && k <= extra; ++k) {
      auto next = static_cast<std::uint8_t>(text[i + k]);
      valid = (next & 0xC0) == 0x80;
      c = (c << 6) | (next & 0x3F);
    }
    if (!valid || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
      out += static_cast<char16_t>(kReplacement);
      ++i;
      continue;
    }
    AppendUtf16(out, c);
    i += extra + 1;
  }
  return out;
}

}  // namespace velmora::text
