#include "scan/ImageMapLog.h"

#include <string>

#include "text/StringTable.h"
#include "text/Utf.h"

namespace velmora::disc {

bool LogImageMap(const CCDReader& reader, ScanHost& host) {
  const auto& map = reader.imageMap();
  if (!reader.imageOpen() || !map) return false;
  std::uint64_t bytes = 0;
  std::size_t areas = 0;
  map->ForEachRun([&](std::uint64_t begin, std::uint64_t end, AreaStatus status) {
    if (status == AreaStatus::kFinished) return;
    bytes += end - begin;
    ++areas;
  });
  if (areas == 0) return false;
  const std::u16string row = text::FormatText(
      text::kImageMapUnread,
      {text::FromUtf8(std::to_string(bytes)), text::FromUtf8(std::to_string(areas))});
  host.AddLogEntry(text::LoadText(text::kInfo), row, u" ", log::LogIcon::kInformation);
  return true;
}

}  // namespace velmora::disc
