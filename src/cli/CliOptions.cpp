#include "CliOptions.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <chrono>
#include <limits>
#include <utility>
#include <vector>

#include "text/Utf.h"
#include "text/CodePage.h"

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
  } else if (command == "find") {
    options.command = Command::kFind;
    if (operands != 2) {
      error = "find needs SOURCE PATTERN";
    } else if (words[2].empty()) {
      error = "PATTERN must not be empty";
    } else {
      options.source = words[1];
      options.pattern = words[2];
    }
  } else if (command == "image" || command == "recover") {
    const bool image = command == "image";
    options.command = image ? Command::kImage : Command::kRecover;
    const std::string_view target = image ? "OUT" : "DEST";
    if (operands != 2) {
      error = std::string(command) + " needs SOURCE " + std::string(target);
    } else if (words[2].empty()) {
      // An empty OUT would become the hidden file ".cd" in the current folder.
      error = std::string(target) + " must not be empty";
    } else {
      options.source = words[1];
      options.target = words[2];
    }
  } else {
    error = "unknown command '" + std::string(command) + "'";
  }
  return error.empty();
}

constexpr unsigned Bit(Command command) { return 1u << static_cast<unsigned>(command); }

// The commands an option is for, and the usage error that says so.
struct OptionScope {
  std::string_view option;
  unsigned commands;
  std::string_view owners;
};

constexpr std::string_view kListOnly = "--tsv and --json belong to ls";
constexpr std::string_view kMaskOwners =
    "--mask, --mask-match-case, --min-kb, --max-kb, --days, --months and --between belong "
    "to ls, find, recover and image --rescue";
constexpr unsigned kMaskCommands = Bit(Command::kList) | Bit(Command::kFind) | Bit(Command::kRecover);
// image --rescue takes the mask and --select for the files it rescues first.
constexpr unsigned kRescueChoice = kMaskCommands | Bit(Command::kImage);
constexpr std::string_view kRecoverOnly =
    "--select, --include, --exclude, --report and --resume belong to recover (--select also "
    "to image --rescue)";

constexpr std::string_view kImageOnly = "--rescue, --retries, --speed and --merge belong to image";

constexpr OptionScope kScopes[] = {
    {"--tsv", Bit(Command::kList), kListOnly},
    {"--json", Bit(Command::kList), kListOnly},
    {"--log",
     Bit(Command::kList) | Bit(Command::kFind) | Bit(Command::kImage) | Bit(Command::kRecover),
     "--log belongs to ls, find, image and recover"},
    {"--overwrite",
     Bit(Command::kList) | Bit(Command::kFind) | Bit(Command::kImage) | Bit(Command::kRecover),
     "--overwrite belongs to ls, find, image and recover"},
    {"--select", Bit(Command::kRecover) | Bit(Command::kImage), kRecoverOnly},
    {"--include", Bit(Command::kRecover), kRecoverOnly},
    {"--exclude", Bit(Command::kRecover), kRecoverOnly},
    {"--report", Bit(Command::kRecover), kRecoverOnly},
    {"--match-case", Bit(Command::kFind), "--match-case belongs to find"},
    {"--mask", kRescueChoice, kMaskOwners},
    {"--mask-match-case", kRescueChoice, kMaskOwners},
    {"--min-kb", kRescueChoice, kMaskOwners},
    {"--max-kb", kRescueChoice, kMaskOwners},
    {"--days", kRescueChoice, kMaskOwners},
    {"--months", kRescueChoice, kMaskOwners},
    {"--between", kRescueChoice, kMaskOwners},
    {"--codepage", kMaskCommands, "--codepage belongs to ls, find and recover"},
    {"--all-names", kMaskCommands, "--all-names belongs to ls, find and recover"},
    {"--names", kMaskCommands, "--names belongs to ls, find and recover"},
    {"--resume", Bit(Command::kRecover), kRecoverOnly},
    {"--rescue", Bit(Command::kImage), kImageOnly},
    {"--retries", Bit(Command::kImage), kImageOnly},
    {"--speed", Bit(Command::kImage), kImageOnly},
    {"--merge", Bit(Command::kImage), kImageOnly},
};

// False, with error set, when an option given is not one of command's.
bool OptionsFitCommand(const std::vector<std::string_view>& given, Command command,
                       std::string& error) {
  for (const OptionScope& scope : kScopes) {
    if ((scope.commands & Bit(command)) == 0 &&
        std::find(given.begin(), given.end(), scope.option) != given.end()) {
      error = scope.owners;
      return false;
    }
  }
  return true;
}

// A calendar date written YYYY-MM-DD.
std::optional<select::CivilDate> ParseDate(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  const auto year = ParseNumber<std::uint16_t>(text.substr(0, 4));
  const auto month = ParseNumber<std::uint8_t>(text.substr(5, 2));
  const auto day = ParseNumber<std::uint8_t>(text.substr(8, 2));
  if (!year || !month || !day) return std::nullopt;
  const std::chrono::year_month_day date{std::chrono::year(*year), std::chrono::month(*month),
                                         std::chrono::day(*day)};
  if (!date.ok()) return std::nullopt;
  return select::CivilDate{*year, *month, *day};
}

// The mask options; false, with error set, for a value that does not fit.
bool ParseMaskOption(std::string_view name, std::optional<std::string_view> inlineValue,
                     Parser& parser, select::MaskCriteria& mask) {
  if (name == "--mask-match-case") {
    if (inlineValue) {
      parser.error = "--mask-match-case takes no value";
      return false;
    }
    mask.matchCase = true;
    return true;
  }
  std::optional<std::string> value = parser.ValueOf(name, inlineValue);
  if (!value) return false;
  if (name == "--mask") {
    mask.maskText = text::FromUtf8(*value);
    return true;
  }
  if (name == "--between") {
    std::optional<std::string> second = parser.ValueOf(name, std::nullopt);
    if (!second) {
      parser.error = "--between needs two dates";
      return false;
    }
    const auto first = ParseDate(*value);
    const auto last = ParseDate(*second);
    if (!first || !last) {
      parser.error = "--between needs two dates written YYYY-MM-DD, not '" +
                     (first ? *second : *value) + "'";
      return false;
    }
    mask.betweenActive = true;
    mask.dateA = *first;
    mask.dateB = *last;
    return true;
  }
  const std::optional<std::uint32_t> number = ParseNumber<std::uint32_t>(*value);
  if (!number) {
    parser.error = std::string(name) + " needs a whole number, not '" + *value + "'";
    return false;
  }
  if (name == "--min-kb") {
    mask.sizeFromActive = true;
    mask.sizeFrom = *number;
  } else if (name == "--max-kb") {
    mask.sizeUptoActive = true;
    mask.sizeUpto = *number;
  } else if (name == "--days") {
    mask.daysActive = true;
    mask.days = *number;
  } else {
    mask.monthsActive = true;
    mask.months = *number;
  }
  return true;
}

bool IsMaskOption(std::string_view name) {
  return name == "--mask" || name == "--mask-match-case" || name == "--min-kb" ||
         name == "--max-kb" || name == "--days" || name == "--months" || name == "--between";
}

}  // namespace

std::optional<CliOptions> ParseOptions(std::span<const std::string_view> args, std::string& error) {
  CliOptions options;
  const auto optionsEnd = std::find(args.begin(), args.end(), "--");
  if (std::any_of(args.begin(), optionsEnd,
                  [](std::string_view a) { return a == "--help" || a == "-h"; })) {
    return options;
  }
  if (std::find(args.begin(), optionsEnd, "--version") != optionsEnd) {
    options.command = Command::kVersion;
    return options;
  }

  Parser parser{args, 0, error};
  std::vector<std::string_view> words;
  // The names of the options given, checked against the command at the end.
  std::vector<std::string_view> given;
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
    given.push_back(name);
    if (name == "--tsv" || name == "--json" || name == "--overwrite" || name == "--resume" ||
        name == "--rescue" || name == "--merge") {
      if (inlineValue) {
        error = std::string(name) + " takes no value";
        return std::nullopt;
      }
      (name == "--tsv"         ? tsv
       : name == "--json"      ? json
       : name == "--overwrite" ? options.overwrite
       : name == "--rescue"    ? options.rescue
       : name == "--merge"     ? options.merge
                               : options.resume) = true;
    } else if (name == "--retries" || name == "--speed") {
      std::optional<std::string> value = parser.ValueOf(name, inlineValue);
      if (!value) return std::nullopt;
      const std::optional<std::uint32_t> number = ParseNumber<std::uint32_t>(*value);
      // A drive's speeds run to about 52x; more retry passes than 1000 is a typo.
      const std::uint32_t most = name == "--speed" ? 100 : 1000;
      if (!number || *number > most || (name == "--speed" && *number == 0)) {
        error = std::string(name) + " needs a whole number up to " + std::to_string(most) +
                (name == "--speed" ? " (times 176 kB/s), not '" : ", not '") + *value + "'";
        return std::nullopt;
      }
      if (name == "--retries") {
        options.retries = *number;
      } else {
        options.speed = *number;
      }
    } else if (name == "--match-case") {
      if (inlineValue) {
        error = "--match-case takes no value";
        return std::nullopt;
      }
      options.matchCase = true;
    } else if (IsMaskOption(name)) {
      if (!options.mask) options.mask.emplace();
      if (!ParseMaskOption(name, inlineValue, parser, *options.mask)) return std::nullopt;
    } else if (name == "--select") {
      std::optional<std::string> value = parser.ValueOf(name, inlineValue);
      if (!value) return std::nullopt;
      options.selections.push_back(std::move(*value));
    } else if (name == "--include" || name == "--exclude") {
      std::optional<std::string> value = parser.ValueOf(name, inlineValue);
      if (!value) return std::nullopt;
      const FilterMode mode = name == "--include" ? FilterMode::kInclude : FilterMode::kExclude;
      if (options.filterMode != FilterMode::kNone && options.filterMode != mode) {
        error = "--include and --exclude exclude each other";
        return std::nullopt;
      }
      options.filterMode = mode;
      options.filterTexts.push_back(std::move(*value));
    } else if (name == "--report") {
      options.reportPath = parser.ValueOf(name, inlineValue);
      if (!options.reportPath) return std::nullopt;
    } else if (name == "--all-names") {
      if (inlineValue) {
        error = "--all-names takes no value";
        return std::nullopt;
      }
      options.allNames = true;
    } else if (name == "--codepage") {
      options.codePage = parser.ValueOf(name, inlineValue);
      if (!options.codePage) return std::nullopt;
      if (!text::CodePageKnown(*options.codePage)) {
        error = "--codepage: the code page '" + *options.codePage + "' is not known to the system";
        return std::nullopt;
      }
    } else if (name == "--names") {
      const std::optional<std::string> value = parser.ValueOf(name, inlineValue);
      if (!value) return std::nullopt;
      if (*value == "auto") {
        options.names = disc::NameSource::kAuto;
      } else if (*value == "rockridge") {
        options.names = disc::NameSource::kRockRidge;
      } else if (*value == "joliet") {
        options.names = disc::NameSource::kJoliet;
      } else if (*value == "primary") {
        options.names = disc::NameSource::kPrimary;
      } else {
        error = "--names takes auto, rockridge, joliet or primary, not '" + *value + "'";
        return std::nullopt;
      }
    } else if (name == "--log") {
      options.logPath = parser.ValueOf(name, inlineValue);
      if (!options.logPath) return std::nullopt;
    } else if (name == "--emulated-drive") {
      options.emulatedImage = parser.ValueOf(name, inlineValue);
      if (!options.emulatedImage) return std::nullopt;
    } else if (name == "--emulated-faults") {
      options.emulatedFaults = parser.ValueOf(name, inlineValue);
      if (!options.emulatedFaults) return std::nullopt;
    } else if (name == "--emulated-log") {
      options.emulatedLog = parser.ValueOf(name, inlineValue);
      if (!options.emulatedLog) return std::nullopt;
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
  if (!OptionsFitCommand(given, options.command, error)) return std::nullopt;
  if (options.command == Command::kImage && !options.rescue && !options.merge) {
    const bool choice = options.mask || !options.selections.empty();
    if (choice || options.retries > 0 || options.speed) {
      error = choice ? "image takes the mask and --select with --rescue, for the files it "
                       "rescues first"
                     : "--retries and --speed go with --rescue";
      return std::nullopt;
    }
  }
  if (options.rescue && options.merge) {
    error = "--rescue and --merge exclude each other";
    return std::nullopt;
  }
  if (options.merge && (options.mask || !options.selections.empty() || options.overwrite)) {
    error = "--merge fills OUT as it is: no mask, --select or --overwrite";
    return std::nullopt;
  }
  if ((options.emulatedFaults || options.emulatedLog) && !options.emulatedImage) {
    error = options.emulatedFaults ? "--emulated-faults needs --emulated-drive"
                                   : "--emulated-log needs --emulated-drive";
    return std::nullopt;
  }
  options.commandLine = "velmora-cli";
  for (std::string_view arg : args) options.commandLine += " " + std::string(arg);
  options.format = tsv ? ListFormat::kTsv : json ? ListFormat::kJson : ListFormat::kAuto;
  return options;
}

}  // namespace velmora::cli
