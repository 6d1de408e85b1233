#include <iconv.h>
#include <langinfo.h>

#include <cerrno>
#include <cstring>

#include "platform/LocaleText.h"
#include "text/Utf.h"

namespace velmora::platform {
namespace {

bool IsUtf8(const char* codeset) {
  return std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0;
}

}  // namespace

std::string EncodeForLocale(std::u16string_view text) {
  const std::string utf8 = text::ToUtf8(text);
  const char* codeset = nl_langinfo(CODESET);
  if (codeset == nullptr || *codeset == '\0' || IsUtf8(codeset)) return utf8;
  iconv_t converter = iconv_open(codeset, "UTF-8");
  if (converter == reinterpret_cast<iconv_t>(-1)) return utf8;
  std::string out;
  out.reserve(utf8.size());
  char* in = const_cast<char*>(utf8.data());
  std::size_t inLeft = utf8.size();
  char buffer[256];
  while (inLeft > 0) {
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t result = iconv(converter, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
    if (result != static_cast<std::size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    // EILSEQ or EINVAL: one character the encoding cannot hold (or a cut
    // sequence) gives the default character; skip its UTF-8 bytes.
    out += '?';
    std::size_t skip = 1;
    while (skip < inLeft && (static_cast<unsigned char>(in[skip]) & 0xC0) == 0x80) ++skip;
    in += skip;
    inLeft -= skip;
  }
  iconv_close(converter);
  return out;
}

}  // namespace velmora::platform
