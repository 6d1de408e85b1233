#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "disc/Sector.h"

namespace velmora::cli {

enum class Command { kHelp, kDrives, kSectors, kList };

// kAuto: TSV when standard output is not a terminal, else the indented tree.
enum class ListFormat { kAuto, kTsv, kJson };

// The command line, checked: every field the command needs is present and in range.
struct CliOptions {
  Command command = Command::kHelp;
  std::string source;
  Lba firstSector = 0;
  std::uint32_t sectorCount = 0;
  ListFormat format = ListFormat::kAuto;
  std::optional<std::string> logPath;
  std::optional<std::string> emulatedImage;
  // The answer to Select CD Drive; checked against the drives once they are known.
  std::optional<std::size_t> drive;
};

// Parses the arguments after the program name. Options may stand anywhere; "--"
// ends them. Nothing, with error set to one line, on a usage error.
std::optional<CliOptions> ParseOptions(std::span<const std::string_view> args, std::string& error);

}  // namespace velmora::cli
