#include "image/ImageMapFile.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "media/MapFileText.h"
#include "text/StringTable.h"
#include "text/Utf.h"

namespace velmora::disc {
namespace {

// A map is a few lines per bad area; anything far larger is not one.
constexpr std::uintmax_t kLargestMap = std::uintmax_t{256} << 20;

std::string SystemReason(const std::string& path) {
  return text::FormatTextUtf8(text::kReasonSystem, {path, std::generic_category().message(errno)});
}

std::string Unreadable(const std::string& path, const std::string& why) {
  return text::FormatTextUtf8(text::kReasonMapUnreadable, {path, why});
}

}  // namespace

std::string MapPathOf(const std::string& imagePath) { return imagePath + ".map"; }

std::string DomainPathOf(const std::string& imagePath) { return imagePath + ".domain"; }

MapLoad LoadMapFile(const std::string& path, RescueMap& map, std::string& reason) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  if (status.type() == std::filesystem::file_type::not_found) return MapLoad::kNone;
  if (error || !std::filesystem::is_regular_file(status)) {
    reason = Unreadable(path, error ? error.message() : std::generic_category().message(EISDIR));
    return MapLoad::kDamaged;
  }
  if (std::filesystem::file_size(path, error) > kLargestMap || error) {
    reason = Unreadable(path, error ? error.message() : text::ToUtf8(text::LoadText(
                                                            text::kReasonMapTooLarge)));
    return MapLoad::kDamaged;
  }
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in.good() && !in.eof()) {
    reason = Unreadable(path, std::generic_category().message(errno != 0 ? errno : EIO));
    return MapLoad::kDamaged;
  }
  std::size_t badLine = 0;
  std::optional<RescueMap> parsed = ParseMapFile(text, badLine);
  if (!parsed) {
    reason = text::FormatTextUtf8(text::kReasonMapLine, {path, std::to_string(badLine)});
    return MapLoad::kDamaged;
  }
  map = std::move(*parsed);
  return MapLoad::kLoaded;
}

bool ReplaceFileText(const std::string& path, const std::string& text, std::string& reason) {
  const std::string temporary = path + ".new";
  errno = 0;
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (!file) {
    reason = SystemReason(temporary);
    return false;
  }
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  const int writeErrno = errno;
  if (std::fclose(file) != 0 || !written) {
    if (!written) errno = writeErrno;
    reason = SystemReason(temporary);
    std::remove(temporary.c_str());
    return false;
  }
  std::error_code error;
  std::filesystem::rename(temporary, path, error);
  if (error) {
    reason = text::FormatTextUtf8(text::kReasonSystem, {path, error.message()});
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

void RemoveStaleMap(const std::string& path) {
  RescueMap map;
  std::string reason;
  if (LoadMapFile(path, map, reason) != MapLoad::kLoaded) return;
  std::error_code error;
  std::filesystem::remove(path, error);
}

}  // namespace velmora::disc
