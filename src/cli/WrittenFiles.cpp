#include "WrittenFiles.h"

#include <filesystem>
#include <fstream>
#include <string_view>
#include <utility>
#include <vector>

#include "image/ImageMapFile.h"
#include "image/ImageNaming.h"
#include "log/LogReport.h"
#include "platform/FileSink.h"
#include "recovery/RecoveryReport.h"

namespace velmora::cli {
namespace {

namespace fs = std::filesystem;

// The path with links and ".." resolved as far as it exists.
fs::path Resolved(const std::string& path) {
  std::error_code error;
  fs::path resolved = fs::weakly_canonical(fs::absolute(path, error), error);
  return error ? fs::path(path).lexically_normal() : resolved;
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  if (fs::equivalent(a, b, error)) return true;
  return Resolved(a) == Resolved(b);
}

bool Inside(const std::string& path, const std::string& folder) {
  const fs::path file = Resolved(path);
  const fs::path dir = Resolved(folder);
  auto f = file.begin();
  for (auto d = dir.begin(); d != dir.end(); ++d, ++f) {
    if (d->empty()) continue;  // the empty last part of a path ending in "/"
    if (f == file.end() || *f != *d) return false;
  }
  return true;
}

std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

// A file this tool wrote as a log or a report starts with the line it always
// writes first.
bool WrittenByThisTool(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string first;
  std::getline(in, first);
  if (!first.empty() && first.back() == '\r') first.pop_back();
  std::string logHeading = FirstLine(log::FormatLogReport({}));
  if (!logHeading.empty() && logHeading.back() == '\r') logHeading.pop_back();
  return first == logHeading || first == FirstLine(disc::FormatRecoveryReport({}, {}));
}

}  // namespace

std::optional<std::string> RefuseWrittenFiles(const CliOptions& options) {
  std::vector<std::pair<std::string_view, std::string>> files;
  if (options.logPath) files.emplace_back("--log", *options.logPath);
  if (options.reportPath) files.emplace_back("--report", *options.reportPath);
  if (files.size() == 2 && SameFile(files[0].second, files[1].second)) {
    return "--log and --report name one file, " + files[0].second;
  }
  for (const auto& [option, path] : files) {
    const std::string named = std::string(option) + " " + path;
    // A fifo, a socket or a device would hang the run or swallow the text.
    const platform::OutputCheck where = platform::CheckOutputPath(path);
    if (!where.refusal.empty()) return named + ": " + where.refusal;
    // "drive" and device paths are not files that a log could replace.
    if (!options.source.empty() && fs::exists(options.source) && SameFile(path, options.source)) {
      return named + " is the source being read";
    }
    if (options.emulatedImage && SameFile(path, *options.emulatedImage)) {
      return named + " is the disc in the emulated drive";
    }
    if (options.command == Command::kImage && !options.target.empty()) {
      const std::string image = disc::ImageDestination(options.target);
      if (SameFile(path, image)) return named + " is the image being written";
      if (SameFile(path, disc::MapPathOf(image)) || SameFile(path, disc::DomainPathOf(image))) {
        return named + " is the map of the image being written";
      }
    }
    // Standard output or error is written where it stands, never replaced.
    if (where.place != platform::OutputPlace::kFile) continue;
    if (options.command == Command::kRecover && !options.target.empty() &&
        Inside(path, options.target)) {
      return named + " lies inside " + options.target + ", where the files are saved";
    }
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (!options.overwrite && fs::is_regular_file(status) && fs::file_size(path, error) > 0 &&
        !WrittenByThisTool(path)) {
      return path + " exists and is not a log or report of velmora-cli; use --overwrite to "
                    "replace it";
    }
  }
  return std::nullopt;
}

}  // namespace velmora::cli
