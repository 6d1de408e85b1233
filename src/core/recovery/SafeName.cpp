#include "recovery/SafeName.h"

#include "text/Utf.h"

namespace velmora::disc {
namespace {

// An extension longer than this is no extension worth keeping: the name is
// shortened from its end instead.
constexpr std::size_t kMaxKeptExtension = 32;

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Start of the extension (its dot), or npos. A leading dot starts no extension:
// ".profile" is a name.
std::size_t ExtensionStart(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  return dot == std::string_view::npos || dot == 0 ? std::string_view::npos : dot;
}

// Cuts text to at most maxBytes without splitting a UTF-8 sequence.
void CutUtf8(std::string& text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return;
  std::size_t end = maxBytes;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  text.resize(end);
}

// stem + suffix + extension within kMaxNameBytes, the stem giving way.
std::string Fit(std::string_view name, std::string_view suffix) {
  std::size_t dot = ExtensionStart(name);
  if (dot != std::string_view::npos && name.size() - dot > kMaxKeptExtension) {
    dot = std::string_view::npos;
  }
  std::string stem(name.substr(0, dot));
  const std::string_view extension = dot == std::string_view::npos ? "" : name.substr(dot);
  CutUtf8(stem, kMaxNameBytes - suffix.size() - extension.size());
  return stem + std::string(suffix) + std::string(extension);
}

}  // namespace

SafeName MakeSafeName(std::u16string_view discName) {
  std::u16string units(discName);
  for (std::size_t i = 0; i < units.size(); ++i) {
    char16_t& c = units[i];
    if (c == u'/' || c < 0x20 || (c >= 0x7F && c <= 0x9F)) {
      c = u'_';
    } else if (IsHighSurrogate(c) && i + 1 < units.size() && IsLowSurrogate(units[i + 1])) {
      ++i;
    } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
      c = 0xFFFD;
    }
  }
  SafeName safe;
  if (units.empty()) {
    safe.name = "unnamed";
  } else if (units == u"." || units == u"..") {
    safe.name = "_" + text::ToUtf8(units);
  } else {
    safe.name = text::ToUtf8(units);
    if (safe.name.size() > kMaxNameBytes) safe.name = Fit(safe.name, "");
  }
  safe.changed = units != discName || safe.name != text::ToUtf8(discName);
  return safe;
}

std::string PortableName(std::string_view name) {
  std::string portable(name);
  for (char& c : portable) {
    if (std::string_view("\\:*?\"<>|").find(c) != std::string_view::npos) c = '_';
  }
  if (!portable.empty() && (portable.back() == '.' || portable.back() == ' ')) {
    portable.back() = '_';
  }
  return portable;
}

std::string NumberedName(std::string_view name, std::uint32_t n) {
  return Fit(name, " (" + std::to_string(n) + ")");
}

}  // namespace velmora::disc
