#include "scan/FoundSessionsLog.h"

#include <string>

#include "text/StringTable.h"

namespace velmora::disc {
namespace {

std::u16string Decimal(std::uint64_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

// As the folder tree names the session's node.
std::u16string SessionLabel(std::size_t k) { return u"Session " + Decimal(k); }

std::u16string SectorLabel(Lba lba) { return text::LoadText(text::kSector) + u" " + Decimal(lba); }

}  // namespace

bool LogFoundSessions(const FoundSessions& found, ScanHost& host) {
  const std::u16string info = text::LoadText(text::kInfo);
  if (found.tracks.size() > 1) {
    std::u16string row = text::LoadText(found.layout == SessionLayout::kNewestCopiedToStart
                                             ? text::kSessionsNewestCopied
                                             : text::kSessionsOneAfterAnother);
    for (std::size_t k = 0; k < found.tracks.size(); ++k) {
      row += (k == 0 ? u" " : u", ") + SessionLabel(k + 1) + u" (" +
             SectorLabel(TrackLba(found.tracks[k])) + u")";
    }
    host.AddLogEntry(info, row, u" ", log::LogIcon::kInformation);
  }
  if (found.lastCut) {
    host.AddLogEntry(info,
                     text::LoadText(text::kSessionCutToImage) + u" " +
                         SessionLabel(found.tracks.size()),
                     u" ", log::LogIcon::kFailure);
  }
  if (found.rejectedCount > 0) {
    std::u16string row = text::LoadText(text::kDescriptorsNotSession);
    for (std::size_t i = 0; i < found.rejected.size(); ++i) {
      row += (i == 0 ? u" " : u", ") + SectorLabel(found.rejected[i]);
    }
    if (found.rejectedCount > found.rejected.size()) {
      row += u" ... (" + Decimal(found.rejectedCount) + u")";
    }
    // Blocks that only look like descriptors lose no file: said, not damage.
    host.AddLogEntry(info, row, u" ", log::LogIcon::kInformation);
  }
  if (!found.withoutPrimary.empty()) {
    std::u16string row = text::LoadText(text::kSessionsWithoutPrimary);
    for (std::size_t i = 0; i < found.withoutPrimary.size(); ++i) {
      row += (i == 0 ? u" " : u", ") + SectorLabel(found.withoutPrimary[i]);
    }
    host.AddLogEntry(info, row, u" ", log::LogIcon::kFailure);
  }
  if (found.limitReached) {
    host.AddLogEntry(info, text::LoadText(text::kSessionsPastLimit), u" ", log::LogIcon::kFailure);
  }
  return found.Damaged();
}

}  // namespace velmora::disc
