#include "platform/emulated/FaultMapFile.h"

#include <fstream>
#include <iterator>
#include <sstream>

#include "media/MapFileText.h"
#include "text/StringTable.h"

namespace velmora::platform::emulated {
namespace {

constexpr std::uint32_t kMaxShortBytes = 2047;
constexpr long long kMaxDelayMs = 60000;

constexpr long long kMaxTries = 100;

bool ParseLine(const std::string& line, FaultMap& faults) {
  std::istringstream in(line);
  long long lba = -1;
  std::string kind;
  if (!(in >> lba >> kind) || lba < 0 || lba > 0xFFFFFFFFLL) return false;
  // A hold goes with whatever else the sector does, in either order.
  const auto existing = faults.find(static_cast<Lba>(lba));
  SectorFault fault;
  if (existing != faults.end()) {
    fault.holdFile = existing->second.holdFile;
    fault.holdAtRead = existing->second.holdAtRead;
  }
  if (kind == "hold") {
    if (!(in >> fault.holdFile)) return false;
    long long at = 1;
    std::string word;
    if (in >> word) {
      std::istringstream number(word);
      if (!(number >> at) || !number.eof() || at < 1 || at > kMaxTries) return false;
    }
    fault.holdAtRead = static_cast<std::uint32_t>(at);
    fault.kind = existing != faults.end() ? existing->second.kind : FaultKind::kNone;
    if (existing != faults.end()) {
      fault.shortBytes = existing->second.shortBytes;
      fault.delay = existing->second.delay;
      fault.tries = existing->second.tries;
    }
  } else if (kind == "flaky") {
    long long tries = -1;
    if (!(in >> tries) || tries < 2 || tries > kMaxTries) return false;
    fault.kind = FaultKind::kFlaky;
    fault.tries = static_cast<std::uint32_t>(tries);
  } else if (kind == "unreadable") {
    fault.kind = FaultKind::kUnreadable;
  } else if (kind == "gone") {
    fault.kind = FaultKind::kDriveGone;
  } else if (kind == "check") {
    fault.kind = FaultKind::kCheckCondition;
  } else if (kind == "short") {
    long long bytes = -1;
    if (!(in >> bytes) || bytes < 0 || bytes > kMaxShortBytes) return false;
    fault.kind = FaultKind::kShortRead;
    fault.shortBytes = static_cast<std::uint32_t>(bytes);
  } else if (kind == "slow") {
    long long delay = -1;
    if (!(in >> delay) || delay < 0 || delay > kMaxDelayMs) return false;
    fault.kind = FaultKind::kSlow;
    fault.delay = std::chrono::milliseconds(delay);
  } else {
    return false;
  }
  std::string rest;
  if (in >> rest) return false;
  faults[static_cast<Lba>(lba)] = fault;
  return true;
}

// A ddrescue mapfile: its status line's second word is one status character.
bool LooksLikeMapFile(const std::string& text) {
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    const auto first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos || line[first] == '#') continue;
    std::istringstream words(line);
    std::string position;
    std::string status;
    words >> position >> status;
    return status.size() == 1 && std::string_view("?*/-+FG").find(status[0]) != std::string::npos;
  }
  return false;
}

std::optional<FaultMap> ParseFaultLines(const std::string& path, const std::string& text,
                                        std::string& reason) {
  std::istringstream file(text);
  FaultMap faults;
  std::string line;
  for (int number = 1; std::getline(file, line); ++number) {
    const auto first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos || line[first] == '#') continue;
    if (!ParseLine(line, faults)) {
      reason = path + ":" + std::to_string(number) + ": expected 'LBA unreadable', 'LBA short BYTES', "
               "'LBA check', 'LBA slow MILLISECONDS', 'LBA gone', 'LBA flaky TRIES' or "
               "'LBA hold FILE [READ]'";
      return std::nullopt;
    }
  }
  return faults;
}

std::optional<std::string> ReadText(const std::string& path, std::string& reason) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    reason = path + ": cannot be read";
    return std::nullopt;
  }
  return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

}  // namespace

std::optional<FaultMap> ReadFaultMapFile(const std::string& path, std::string& reason) {
  std::optional<std::string> text = ReadText(path, reason);
  if (!text) return std::nullopt;
  return ParseFaultLines(path, *text, reason);
}

bool LoadFaultFile(const std::string& path, EmulatedDisc& disc, std::string& reason) {
  std::optional<std::string> text = ReadText(path, reason);
  if (!text) return false;
  if (LooksLikeMapFile(*text)) {
    std::size_t badLine = 0;
    std::optional<disc::RescueMap> map = disc::ParseMapFile(*text, badLine);
    if (!map) {
      reason = text::FormatTextUtf8(text::kReasonFaultsNotMapfile, {path, std::to_string(badLine)});
      return false;
    }
    disc.badAreas = std::move(*map);
    return true;
  }
  std::optional<FaultMap> faults = ParseFaultLines(path, *text, reason);
  if (!faults) return false;
  disc.faults = std::move(*faults);
  return true;
}

}  // namespace velmora::platform::emulated
