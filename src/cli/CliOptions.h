#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "iso9660/NameSource.h"
#include "media/Sector.h"
#include "select/MaskCriteria.h"

namespace velmora::cli {

enum class Command { kHelp, kVersion, kDrives, kSectors, kList, kFind, kImage, kRecover };

// kAuto: TSV when standard output is not a terminal, else the indented tree.
enum class ListFormat { kAuto, kTsv, kJson };

// recover's file filter: none, or --include / --exclude with their texts.
enum class FilterMode { kNone, kInclude, kExclude };

// The command line, checked: every field the command needs is present and in range.
struct CliOptions {
  Command command = Command::kHelp;
  std::string source;
  // image: OUT, the image file; recover: DEST, the destination folder.
  std::string target;
  Lba firstSector = 0;
  std::uint32_t sectorCount = 0;
  ListFormat format = ListFormat::kAuto;
  std::optional<std::string> logPath;
  std::optional<std::string> emulatedImage;
  // The fault map of the emulated drive: a file of the emulated drive's own
  // form, or a ddrescue mapfile (every area not finished reads as unreadable).
  std::optional<std::string> emulatedFaults;
  // Every command the emulated drive receives, a line each as it comes.
  std::optional<std::string> emulatedLog;
  // The program and its arguments as given, for the heading of an image's map.
  std::string commandLine;
  // The answer to Select CD Drive; checked against the drives once they are known.
  std::optional<std::size_t> drive;
  // image: the answer to the question whether an existing image is replaced.
  bool overwrite = false;
  // image --rescue: several passes with a map, resumable; --retries N passes
  // over what is still bad; --speed X (times 176 kB/s) for those passes.
  bool rescue = false;
  std::uint32_t retries = 0;
  std::optional<std::uint32_t> speed;
  // image --merge OTHER OUT: SOURCE is OTHER, whose sectors fill what OUT lacks.
  bool merge = false;
  // recover: files an earlier recovery into DEST left whole are kept, those it
  // left partial or stopped are written again.
  bool resume = false;
  // recover: the --select patterns, in the order given.
  std::vector<std::string> selections;
  FilterMode filterMode = FilterMode::kNone;
  std::vector<std::string> filterTexts;
  std::optional<std::string> reportPath;
  // find: PATTERN, and --match-case.
  std::string pattern;
  bool matchCase = false;
  // ls, find, recover: the file mask of --mask, --min-kb, --max-kb, --days,
  // --months and --between; nothing when none of them is given.
  std::optional<select::MaskCriteria> mask;
  // ls, find, recover: the code page of 8-bit names that are not UTF-8, checked to be
  // one the system's converter knows.
  std::optional<std::string> codePage;
  // ls, find, recover: the union of the Joliet and the primary tree.
  bool allNames = false;
  // ls, find, recover: --names, the names shown.
  disc::NameSource names = disc::NameSource::kAuto;
};

// Parses the arguments after the program name. Options may stand anywhere; "--"
// ends them. Nothing, with error set to one line, on a usage error.
std::optional<CliOptions> ParseOptions(std::span<const std::string_view> args, std::string& error);

}  // namespace velmora::cli
