#include "text/NameEscape.h"

#include <cstdio>

namespace velmora::text {

std::string EscapeName(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  for (const char c : name) {
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
        out += "\\/";
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
  return out;
}

}  // namespace velmora::text
