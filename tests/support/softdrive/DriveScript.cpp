#include "DriveScript.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <vector>

namespace softdrive {
namespace {

bool ParseNumber(const std::string& text, std::uint64_t& value) {
  if (text.empty() || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return false;
  value = std::stoull(text);
  return true;
}

bool ParseSector(const std::string& text, std::uint32_t& lba) {
  std::uint64_t value = 0;
  if (!ParseNumber(text, value) || value > 0xFFFFFFFFu) return false;
  lba = static_cast<std::uint32_t>(value);
  return true;
}

// "LBA" or "FIRST-LAST", into sectors.
bool ParseSectors(const std::string& text, std::set<std::uint32_t>& sectors) {
  const std::size_t dash = text.find('-');
  std::uint32_t first = 0;
  std::uint32_t last = 0;
  if (dash == std::string::npos) {
    if (!ParseSector(text, first)) return false;
    last = first;
  } else if (!ParseSector(text.substr(0, dash), first) || !ParseSector(text.substr(dash + 1), last) ||
             last < first || last - first > 1'000'000) {
    return false;
  }
  for (std::uint64_t lba = first; lba <= last; ++lba) sectors.insert(static_cast<std::uint32_t>(lba));
  return true;
}

bool ParseTrigger(const std::vector<std::string>& words, std::size_t at, Trigger& trigger) {
  if (words.size() != at + 2) return false;
  if (!ParseNumber(words[at + 1], trigger.value)) return false;
  if (words[at] == "command") {
    trigger.kind = Trigger::Kind::kCommand;
  } else if (words[at] == "sector") {
    trigger.kind = Trigger::Kind::kSector;
  } else {
    return false;
  }
  return true;
}

std::string Spaced(std::string word) {
  std::replace(word.begin(), word.end(), '_', ' ');
  return word;
}

// One line of the emulated drive's fault map.
bool ApplyFault(const std::vector<std::string>& words, DriveScript& script) {
  std::uint32_t lba = 0;
  if (words.size() < 2 || !ParseSector(words[0], lba)) return false;
  const std::string& kind = words[1];
  if ((kind == "unreadable" || kind == "check") && words.size() == 2) {
    script.mediumErrors.insert(lba);
  } else if (kind == "short" && words.size() == 3) {
    std::uint32_t bytes = 0;
    if (!ParseSector(words[2], bytes)) return false;
    script.shortSectors[lba] = bytes;
  } else if (kind == "gone" && words.size() == 2) {
    script.gone = {Trigger::Kind::kSector, lba};
  } else if (kind == "slow" && words.size() == 3) {
    // A slow sector reads; this drive has no clock to be slow by.
  } else {
    return false;
  }
  return true;
}

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line.substr(0, line.find('#')));
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

bool LoadFaults(const std::string& path, DriveScript& script, std::string& error) {
  std::ifstream in(path);
  if (!in) {
    error = "cannot read the fault map " + path;
    return false;
  }
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    const std::vector<std::string> words = Words(line);
    if (!words.empty() && !ApplyFault(words, script)) {
      error = path + ":" + std::to_string(number) + ": not a fault: " + line;
      return false;
    }
  }
  return true;
}

bool ApplyLine(const std::vector<std::string>& words, DriveScript& script, std::string& error) {
  const std::string& name = words[0];
  const std::size_t n = words.size();
  std::uint64_t value = 0;
  if (name == "device" && n == 2) {
    script.device = words[1];
  } else if (name == "disc" && n == 2) {
    script.disc = words[1];
  } else if (name == "no-medium" && n == 1) {
    script.disc.clear();
  } else if (name == "log" && n == 2) {
    script.log = words[1];
  } else if (name == "identity" && n == 4) {
    script.vendor = Spaced(words[1]);
    script.model = Spaced(words[2]);
    script.revision = Spaced(words[3]);
  } else if (name == "xa" && n == 1) {
    script.xa = true;
  } else if (name == "session-end" && n == 3) {
    std::uint32_t end = 0;
    if (!ParseNumber(words[1], value) || value == 0 || value > 99 || !ParseSector(words[2], end)) return false;
    script.sessionEnds[static_cast<unsigned>(value)] = end;
  } else if (name == "not-ready" && n == 2) {
    if (!ParseNumber(words[1], value) || value > 0xFFFFFFFFu) return false;
    script.notReadyCommands = static_cast<std::uint32_t>(value);
  } else if (name == "change-disc" && n == 4) {
    script.secondDisc = words[1];
    return ParseTrigger(words, 2, script.change);
  } else if (name == "medium-error" && n == 2) {
    return ParseSectors(words[1], script.mediumErrors);
  } else if (name == "time-out" && n == 2) {
    return ParseSectors(words[1], script.timeOuts);
  } else if (name == "short" && n == 3) {
    std::uint32_t lba = 0;
    std::uint32_t bytes = 0;
    if (!ParseSector(words[1], lba) || !ParseSector(words[2], bytes) || bytes >= 2048) return false;
    script.shortSectors[lba] = bytes;
  } else if (name == "refuse-read-cd" && n == 1) {
    script.refuseReadCd = true;
  } else if (name == "gone") {
    return ParseTrigger(words, 1, script.gone);
  } else if (name == "hold") {
    return ParseTrigger(words, 1, script.hold);
  } else if (name == "read-only-access" && n == 1) {
    script.readOnlyAccess = true;
  } else if (name == "privileged" && n == 1) {
    script.privileged = true;
  } else if (name == "faults" && n == 2) {
    return LoadFaults(words[1], script, error);
  } else {
    return false;
  }
  return true;
}

}  // namespace

bool Trigger::Fires(std::uint64_t command, std::uint64_t first, std::uint64_t count) const {
  switch (kind) {
    case Kind::kNever:
      return false;
    case Kind::kCommand:
      return command == value;
    case Kind::kSector:
      return value >= first && value < first + count;
  }
  return false;
}

std::optional<DriveScript> DriveScript::Load(const std::string& path, std::string& error) {
  std::ifstream in(path);
  if (!in) {
    error = "cannot read the drive script " + path;
    return std::nullopt;
  }
  DriveScript script;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    const std::vector<std::string> words = Words(line);
    if (words.empty()) continue;
    if (!ApplyLine(words, script, error)) {
      if (error.empty()) error = path + ":" + std::to_string(number) + ": not understood: " + line;
      return std::nullopt;
    }
  }
  if (script.device.empty()) {
    error = path + ": names no device";
    return std::nullopt;
  }
  return script;
}

}  // namespace softdrive
