#include "recovery/RecoveryLogRows.h"

#include <algorithm>

#include "text/StringTable.h"

namespace velmora::disc {
namespace {

// Unread ranges named in a partial file's row; the report lists them all.
constexpr std::size_t kRangesShown = 4;

std::u16string Decimal(std::uint64_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace

std::u16string SavedFilesText(std::uint64_t files, std::uint64_t folders) {
  const bool oneFile = files == 1;
  const bool oneFolder = folders == 1;
  const std::uint16_t id = oneFile ? (oneFolder ? text::kSavedOneFileInOneFolder
                                                : text::kSavedOneFileInFolders)
                                   : (oneFolder ? text::kSavedFilesInOneFolder
                                                : text::kSavedFilesInFolders);
  return text::FormatText(id, {Decimal(files), Decimal(folders)});
}

std::u16string UnreadBytesText(const std::vector<ByteRange>& unreadable) {
  std::u16string ranges;
  const std::size_t shown = std::min(unreadable.size(), kRangesShown);
  for (std::size_t i = 0; i < shown; ++i) {
    if (i > 0) ranges += u", ";
    ranges += Decimal(unreadable[i].first) + u"-" + Decimal(unreadable[i].last);
  }
  if (unreadable.size() > shown) {
    ranges = text::FormatText(text::kMoreUnreadRanges, {ranges, Decimal(unreadable.size() - shown)});
  }
  return text::FormatText(text::kUnreadBytes, {ranges});
}

std::vector<std::u16string> ShortfallTexts(const RecoverySummary& summary) {
  std::vector<std::u16string> rows;
  const auto add = [&](std::uint32_t count, std::uint16_t id) {
    if (count > 0) rows.push_back(text::FormatText(id, {Decimal(count)}));
  };
  add(summary.filesPartial, text::kFilesReadInPart);
  add(summary.filesFailed, text::kFilesNotRecovered);
  add(summary.filesStopped, text::kFilesCutShortByStop);
  return rows;
}

}  // namespace velmora::disc
