#include "media/MapFileText.h"

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <sstream>

namespace velmora::disc {
namespace {

// The line without its comment: '#' at the start or after a blank.
std::string_view WithoutComment(std::string_view line) {
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) {
      return line.substr(0, i);
    }
  }
  return line;
}

std::vector<std::string> Words(std::string_view line) {
  std::vector<std::string> words;
  std::istringstream in{std::string(line)};
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

// An integer as C++ writes a constant: decimal, 0x hexadecimal, 0 octal.
std::optional<std::uint64_t> Number(const std::string& word) {
  if (word.empty() || word[0] == '-' || word[0] == '+') return std::nullopt;
  errno = 0;
  char* end = nullptr;
  const unsigned long long value = std::strtoull(word.c_str(), &end, 0);
  if (errno != 0 || end != word.c_str() + word.size()) return std::nullopt;
  return value;
}

std::optional<RescuePhase> PhaseOf(const std::string& word) {
  if (word.size() != 1) return std::nullopt;
  switch (word[0]) {
    case '?':
    // Filling and generating maps are ddrescue's own modes; to a reader of
    // the map they say nothing about the runs.
    case 'F':
    case 'G':
      return RescuePhase::kCopying;
    case '*':
      return RescuePhase::kTrimming;
    case '/':
      return RescuePhase::kScraping;
    case '-':
      return RescuePhase::kRetrying;
    case '+':
      return RescuePhase::kFinished;
    default:
      return std::nullopt;
  }
}

std::string Hex(std::uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%08" PRIX64, value);
  return text;
}

}  // namespace

std::string_view PhaseText(RescuePhase phase) {
  switch (phase) {
    case RescuePhase::kCopying:
      return "Copying non-tried blocks...";
    case RescuePhase::kTrimming:
      return "Trimming failed blocks...";
    case RescuePhase::kScraping:
      return "Scraping failed blocks...";
    case RescuePhase::kRetrying:
      return "Retrying bad sectors...";
    case RescuePhase::kFinished:
      return "Finished";
  }
  return "";
}

std::string FormatMapFile(const RescueMap& map, const std::vector<std::string>& headings) {
  std::string text;
  for (const std::string& heading : headings) text += "# " + heading + "\n";
  text += "# current_pos  current_status  current_pass\n";
  text += Hex(map.currentPos) + "     " + static_cast<char>(map.phase) + "               " +
          std::to_string(map.pass) + "\n";
  text += "#      pos        size  status\n";
  map.ForEachRun([&](std::uint64_t begin, std::uint64_t end, AreaStatus status) {
    text += Hex(begin) + "  " + Hex(end - begin) + "  " + static_cast<char>(status) + "\n";
  });
  return text;
}

std::optional<RescueMap> ParseMapFile(std::string_view text, std::size_t& badLine) {
  RescueMap map;
  bool statusLineSeen = false;
  std::size_t number = 0;
  while (!text.empty()) {
    const std::size_t newline = text.find('\n');
    std::string_view line = text.substr(0, newline);
    text = newline == std::string_view::npos ? std::string_view() : text.substr(newline + 1);
    ++number;
    const std::vector<std::string> words = Words(WithoutComment(line));
    if (words.empty()) continue;
    badLine = number;
    if (!statusLineSeen) {
      std::optional<std::uint64_t> pos = Number(words[0]);
      std::optional<RescuePhase> phase = words.size() >= 2 ? PhaseOf(words[1]) : std::nullopt;
      std::optional<std::uint64_t> pass =
          words.size() == 3 ? Number(words[2]) : std::optional<std::uint64_t>(1);
      if (!pos || !phase || !pass || words.size() > 3 || *pass > 1000) {
        return std::nullopt;
      }
      map.currentPos = *pos;
      map.phase = *phase;
      map.pass = static_cast<int>(*pass);
      statusLineSeen = true;
      continue;
    }
    std::optional<std::uint64_t> pos = words.size() == 3 ? Number(words[0]) : std::nullopt;
    std::optional<std::uint64_t> size = words.size() == 3 ? Number(words[1]) : std::nullopt;
    if (!pos || !size || words[2].size() != 1 || !IsAreaStatus(words[2][0])) {
      return std::nullopt;
    }
    if (*pos != map.extent() && !(map.extent() == 0 && *pos > 0)) {
      return std::nullopt;
    }
    if (*size > UINT64_MAX - *pos) {
      return std::nullopt;
    }
    map.Extend(*pos, AreaStatus::kNonTried);
    map.Extend(*pos + *size, static_cast<AreaStatus>(words[2][0]));
  }
  if (!statusLineSeen) {
    badLine = 0;
    return std::nullopt;
  }
  return map;
}

}  // namespace velmora::disc
