#include "text/CodePage.h"

#include <iconv.h>

#include <array>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <mutex>
#include <optional>

namespace velmora::text {
namespace {

// Windows-1252 bytes 0x80-0x9F; the five unassigned bytes map to themselves, as
// the OS converter does.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::mutex& SettingLock() {
  static std::mutex lock;
  return lock;
}

std::string& Setting() {
  static std::string codePage(kDefaultCodePage);
  return codePage;
}

std::string Upper(std::string_view name) {
  std::string out(name);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

bool IsWindows1252(std::string_view name) {
  const std::string upper = Upper(name);
  return upper == "WINDOWS-1252" || upper == "CP1252" || upper == "MS-ANSI";
}

// The code points of valid UTF-8 with at least one multi-byte sequence;
// nothing for plain ASCII or bytes that are not UTF-8 (overlong forms,
// surrogates and values past U+10FFFF included).
std::optional<std::u16string> DecodeUtf8Name(std::span<const std::byte> bytes) {
  std::u16string out;
  bool multiByte = false;
  std::size_t i = 0;
  auto at = [&](std::size_t k) { return static_cast<std::uint8_t>(bytes[k]); };
  while (i < bytes.size()) {
    const std::uint8_t lead = at(i);
    std::size_t extra = 0;
    char32_t c = 0;
    char32_t least = 0;
    if (lead < 0x80) {
      out += static_cast<char16_t>(lead);
      ++i;
      continue;
    } else if ((lead & 0xE0) == 0xC0) {
      extra = 1, c = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      extra = 2, c = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      extra = 3, c = lead & 0x07, least = 0x10000;
    } else {
      return std::nullopt;
    }
    if (i + extra >= bytes.size()) return std::nullopt;
    for (std::size_t k = 1; k <= extra; ++k) {
      if ((at(i + k) & 0xC0) != 0x80) return std::nullopt;
      c = (c << 6) | (at(i + k) & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
    if (c < 0x10000) {
      out += static_cast<char16_t>(c);
    } else {
      c -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (c >> 10));
      out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    }
    multiByte = true;
    i += extra + 1;
  }
  if (!multiByte) return std::nullopt;
  return out;
}

// Converts through iconv, byte by byte where a byte does not convert.
std::u16string DecodeWithIconv(std::span<const std::byte> bytes, const std::string& codePage) {
  iconv_t converter = iconv_open("UTF-16LE", codePage.c_str());
  if (converter == reinterpret_cast<iconv_t>(-1)) return DecodeWindows1252(bytes);
  std::u16string out;
  std::string input(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  char* in = input.data();
  std::size_t inLeft = input.size();
  std::array<char, 512> buffer{};
  while (inLeft > 0) {
    char* outPtr = buffer.data();
    std::size_t outLeft = buffer.size();
    const std::size_t result = iconv(converter, &in, &inLeft, &outPtr, &outLeft);
    const std::size_t produced = buffer.size() - outLeft;
    for (std::size_t k = 0; k + 1 < produced; k += 2) {
      out += static_cast<char16_t>(static_cast<std::uint8_t>(buffer[k]) |
                                   (static_cast<std::uint8_t>(buffer[k + 1]) << 8));
    }
    if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
      // A byte this code page cannot convert (or a sequence cut short).
      out += static_cast<char16_t>(static_cast<std::uint8_t>(*in));
      ++in;
      --inLeft;
      iconv(converter, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(converter);
  return out;
}

}  // namespace

bool CodePageKnown(std::string_view name) {
  if (name.empty()) return false;
  iconv_t converter = iconv_open("UTF-16LE", std::string(name).c_str());
  if (converter == reinterpret_cast<iconv_t>(-1)) return false;
  iconv_close(converter);
  return true;
}

bool SetEightBitCodePage(std::string_view name) {
  if (name.empty()) name = kDefaultCodePage;
  if (!IsWindows1252(name) && !CodePageKnown(name)) return false;
  std::lock_guard guard(SettingLock());
  Setting() = std::string(name);
  return true;
}

std::string EightBitCodePage() {
  std::lock_guard guard(SettingLock());
  return Setting();
}

std::u16string DecodeEightBitName(std::span<const std::byte> bytes) {
  bool ascii = true;
  for (std::byte b : bytes) {
    if (static_cast<std::uint8_t>(b) >= 0x80) {
      ascii = false;
      break;
    }
  }
  if (ascii) return DecodeWindows1252(bytes);
  if (std::optional<std::u16string> utf8 = DecodeUtf8Name(bytes)) return *utf8;
  const std::string codePage = EightBitCodePage();
  if (IsWindows1252(codePage)) return DecodeWindows1252(bytes);
  return DecodeWithIconv(bytes, codePage);
}

std::u16string DecodeWindows1252(std::span<const std::byte> bytes) {
  // One code unit per byte: sized once and filled, as every name of a scan
  // passes here.
  std::u16string out(bytes.size(), u'\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto v = static_cast<std::uint8_t>(bytes[i]);
    out[i] = (v >= 0x80 && v <= 0x9F) ? kHighControls[v - 0x80] : static_cast<char16_t>(v);
  }
  return out;
}

std::string EncodeWindows1252(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      out += static_cast<char>(c);
      continue;
    }
    char mapped = '?';
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
      if (kHighControls[i] == c) mapped = static_cast<char>(0x80 + i);
    }
    out += mapped;
  }
  return out;
}

}  // namespace velmora::text
