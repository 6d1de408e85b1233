#include "text/NameEscape.h"

#include <cstdio>

namespace velmora::text {

namespace {

void AppendEscaped(std::string& out, std::string_view text, bool slashIsSeparator) {
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '/':
        out += slashIsSeparator ? "/" : "\\/";
        break;
      default:
        if (byte < 0x20 || byte == 0x7F) {
          char hex[5];
          std::snprintf(hex, sizeof hex, "\\x%02X", byte);
          out += hex;
        } else {
          out += c;
        }
    }
  }
}

std::string Escape(std::string_view text, bool slashIsSeparator) {
  std::string out;
  out.reserve(text.size());
  AppendEscaped(out, text, slashIsSeparator);
  return out;
}

}  // namespace

std::string EscapeName(std::string_view name) { return Escape(name, false); }

void AppendEscapedName(std::string& out, std::string_view name) { AppendEscaped(out, name, false); }

std::string EscapePath(std::string_view path) { return Escape(path, true); }

}  // namespace velmora::text
