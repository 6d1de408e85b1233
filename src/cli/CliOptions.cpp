#include "CliOptions.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>
#include <vector>

namespace velmora::cli {
namespace {

// A decimal number without sign or blanks that fits T.
template <typename T>
std::optional<T> ParseNumber(std::string_view text) {
  T value{};
  auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || status != std::errc() || end != text.data() + text.size()) {
    return std::nullopt;
  }
  return value;
}

struct Parser {
  std::span<const std::string_view> args;
  std::size_t next = 0;
  std::string& error;

  // The value of an option given as "--name VALUE" or "--name=VALUE".
  std::optional<std::string> ValueOf(std::string_view name,
                                     std::optional<std::string_view> inlineValue) {
    if (inlineValue) return std::string(*inlineValue);
    if (next >= args.size()) {
      error = std::string(name) + " needs a value";
      return std::nullopt;
    }
    return std::string(args[next++]);
  }
};

bool ParsePositionals(const std::vector<std::string_view>& words, CliOptions& options,
                      std::string& error) {
  if (words.empty()) {
    error = "no command given";
    return false;
  }
  const std::string_view command = words[0];
  const std::size_t operands = words.size() - 1;
  if (command == "drives") {
    options.command = Command::kDrives;
    if (operands != 0) error = "drives takes no arguments";
  } else if (command == "sectors") {
    options.command = Command::kSectors;
    if (operands != 3) {
      error = "sectors needs SOURCE FIRST COUNT";
    } else {
      options.source = words[1];
      auto first = ParseNumber<Lba>(words[2]);
      auto count = ParseNumber<std::uint32_t>(words[3]);
      if (!first) {
        error = "FIRST must be a logical block address (a decimal number), not '" +
                std::string(words[2]) + "'";
      } else if (!count) {
        error = "COUNT must be a number of sectors (a decimal number), not '" +
                std::string(words[3]) + "'";
      } else if (*count > std::numeric_limits<Lba>::max() - *first) {
        error = "FIRST + COUNT runs past the last logical block address";
      } else {
        options.firstSector = *first;
        options.sectorCount = *count;
      }
    }
  } else if (command == "ls") {
    options.command = Command::kList;
    if (operands != 1) {
      error = "ls needs one SOURCE";
    } else {
      options.source = words[1];
    }
  } else {
    error = "unknown command '" + std::string(command) + "'";
  }
  return error.empty();
}

}  // namespace

std::optional<CliOptions> ParseOptions(std::span<const std::string_view> args, std::string& error) {
  CliOptions options;
  const auto optionsEnd = std::find(args.begin(), args.end(), "--");
  if (std::any_of(args.begin(), optionsEnd,
                  [](std::string_view a) { return a == "--help" || a == "-h"; })) {
    return options;
  }

  Parser parser{args, 0, error};
  std::vector<std::string_view> words;
  bool tsv = false;
  bool json = false;
  bool optionsDone = false;
  while (parser.next < args.size()) {
    const std::string_view arg = args[parser.next++];
    // "-5" is a (bad) number for FIRST or COUNT rather than an option.
    const bool option =
        arg.size() >= 2 && arg[0] == '-' && !std::isdigit(static_cast<unsigned char>(arg[1]));
    if (optionsDone || !option) {
      words.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsDone = true;
      continue;
    }
    std::string_view name = arg;
    std::optional<std::string_view> inlineValue;
    if (auto equals = arg.find('='); arg.starts_with("--") && equals != std::string_view::npos) {
      name = arg.substr(0, equals);
      inlineValue = arg.substr(equals + 1);
    }
    if (name == "--tsv" || name == "--json") {
      if (inlineValue) {
        error = std::string(name) + " takes no value";
        return std::nullopt;
      }
      (name == "--tsv" ? tsv : json) = true;
    } else if (name == "--log") {
      options.logPath = parser.ValueOf(name, inlineValue);
      if (!options.logPath) return std::nullopt;
    } else if (name == "--emulated-drive") {
      options.emulatedImage = parser.ValueOf(name, inlineValue);
      if (!options.emulatedImage) return std::nullopt;
    } else if (name == "--drive") {
      std::optional<std::string> value = parser.ValueOf(name, inlineValue);
      if (!value) return std::nullopt;
      options.drive = ParseNumber<std::size_t>(*value);
      if (!options.drive) {
        error = "--drive needs a drive number as 'drives' lists it, not '" + *value + "'";
        return std::nullopt;
      }
    } else {
      error = "unknown option '" + std::string(arg) + "'";
      return std::nullopt;
    }
  }

  if (!ParsePositionals(words, options, error)) return std::nullopt;
  if (tsv && json) {
    error = "--tsv and --json exclude each other";
    return std::nullopt;
  }
  if (options.command != Command::kList && (tsv || json || options.logPath)) {
    error = "--tsv, --json and --log belong to ls";
    return std::nullopt;
  }
  options.format = tsv ? ListFormat::kTsv : json ? ListFormat::kJson : ListFormat::kAuto;
  return options;
}

}  // namespace velmora::cli
