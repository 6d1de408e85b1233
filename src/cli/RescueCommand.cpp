#include "RescueCommand.h"

#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <string>

#include "CliSession.h"
#include "DisplayedTable.h"
#include "ExitCode.h"
#include "PathSelection.h"
#include "image/ImageNaming.h"
#include "image/RescueImager.h"
#include "text/StringTable.h"

namespace velmora::cli {
namespace {

// Sizes as ddrescue shows them: decimal units, three or four digits.
std::string Size(std::uint64_t bytes) {
  static constexpr const char* kUnits[] = {"B", "kB", "MB", "GB", "TB"};
  double value = static_cast<double>(bytes);
  std::size_t unit = 0;
  while (value >= 10000 && unit + 1 < std::size(kUnits)) {
    value /= 1000;
    ++unit;
  }
  char text[32];
  std::snprintf(text, sizeof text, unit == 0 ? "%.0f %s" : "%.1f %s", value, kUnits[unit]);
  return text;
}

std::string Duration(double seconds) {
  const auto whole = static_cast<std::uint64_t>(seconds + 0.5);
  char text[32];
  if (whole >= 3600) {
    std::snprintf(text, sizeof text, "%" PRIu64 "h %" PRIu64 "m", whole / 3600, whole / 60 % 60);
  } else if (whole >= 60) {
    std::snprintf(text, sizeof text, "%" PRIu64 "m %" PRIu64 "s", whole / 60, whole % 60);
  } else {
    std::snprintf(text, sizeof text, "%" PRIu64 "s", whole);
  }
  return text;
}

const char* PassName(disc::RescuePass pass) {
  switch (pass) {
    case disc::RescuePass::kWhatMatters:
      return "what matters first";
    case disc::RescuePass::kCopying:
      return "copying";
    case disc::RescuePass::kTrimming:
      return "trimming";
    case disc::RescuePass::kScraping:
      return "scraping";
    case disc::RescuePass::kRetrying:
      return "retrying";
    case disc::RescuePass::kMerging:
      return "merging";
  }
  return "";
}

// The sectors of the files the mask and --select choose, for the first pass.
disc::RescueFileChooser Chooser(const CliOptions& options) {
  if (!options.mask && options.selections.empty()) return {};
  return [&options](disc::EntryTable& scanned) {
    DisplayedTable displayed(scanned, options.mask);
    disc::EntryTable& table = displayed.table();
    if (options.selections.empty()) return disc::FileExtents(table);
    MarkSelected(table, options.selections);
    return disc::FileExtents(table,
                             [](const disc::Entry& entry) { return entry.checkState == disc::kMarked; });
  };
}

int Report(const disc::RescueOutcome& outcome, const CliSession& session, Console& console) {
  const disc::RescueProgress& last = outcome.last;
  switch (outcome.result) {
    case disc::RescueResult::kCancelled:
      console.Message(outcome.destination + " exists; use --overwrite to replace it");
      return kExitBadInput;
    case disc::RescueResult::kOtherDisc:
      console.Message(outcome.reason);
      return kExitBadInput;
    case disc::RescueResult::kFailed:
      // No disc, an empty drive or a drive gone: the error said so.
      if (session.DiscFailure() == kExitNoDisc) return kExitNoDisc;
      if (!session.prompts.ErrorShown(static_cast<int>(text::ErrorCode::kCannotCreateImage))) {
        console.Message(outcome.reason);
      }
      return kExitPartial;
    case disc::RescueResult::kNotBegun:
      console.Message("stopped while the drive became ready; nothing was copied");
      return kExitStopped;
    case disc::RescueResult::kStopped:
      console.Message("stopped in pass " + std::to_string(last.passNumber) + "; " +
                      outcome.destination + " holds the " + Size(last.rescued) +
                      " rescued and opens as an image; the same command resumes from " +
                      outcome.mapPath);
      return kExitStopped;
    case disc::RescueResult::kCompleted:
      break;
  }
  if (last.rescued == last.domain) {
    console.Message(outcome.destination + ": " + Size(last.rescued) + " rescued, every sector; " +
                    "the map is " + outcome.mapPath);
    return kExitOk;
  }
  const std::uint64_t missing = last.domain - last.rescued;
  console.Message(outcome.destination + ": " + Size(last.rescued) + " of " + Size(last.domain) +
                  " rescued; " + std::to_string(missing) + " bytes in " +
                  std::to_string(last.badAreas) + " bad areas did not read (0xF6 blocks); " +
                  outcome.mapPath + " says where");
  return kExitPartial;
}

}  // namespace

std::string RescueLine(const disc::RescueProgress& progress) {
  std::string line = "pass " + std::to_string(progress.passNumber) + " (" +
                     PassName(progress.pass) + (progress.forwards ? ", forwards" : ", backwards") +
                     ")  rescued: " + Size(progress.rescued) +
                     "  non-tried: " + Size(progress.nonTried) +
                     "  bad-sector: " + Size(progress.badSector) +
                     "  bad areas: " + std::to_string(progress.badAreas) +
                     "  read errors: " + std::to_string(progress.readErrors);
  // A pass that read nothing has no rate to give.
  if (!progress.passEnded || progress.currentRate > 0) {
    line += "  rate: " + Size(static_cast<std::uint64_t>(progress.currentRate)) + "/s";
  }
  if (progress.secondsLeft) line += "  remaining: " + Duration(*progress.secondsLeft);
  return line;
}

int RunRescue(const CliOptions& options, platform::Machine& machine, Console& console) {
  CliSession session(options, machine, console);
  if (!session.OpenSource()) return session.openFailure;
  // The log names the drive that read the disc, as a scan's does.
  if (!session.state.readingImage) session.scan.LogDriveIdentity();
  disc::RescueImager imager(session.reader, session.state, session.table, session.scan,
                            session.host);
  disc::RescueOptions rescue;
  rescue.retries = options.retries;
  rescue.speed = options.speed;
  rescue.restart = options.overwrite;
  rescue.commandLine = options.commandLine;
  imager.SetOptions(rescue);
  // A live line on a terminal; every pass's last figures stay, as ddrescue
  // leaves them, and are said when no terminal shows the live line.
  imager.SetProgressShown([&console](const disc::RescueProgress& progress) {
    if (progress.passEnded) {
      console.ClearProgress();
      console.Message(RescueLine(progress));
    } else if (console.ProgressDue()) {
      console.Progress(RescueLine(progress));
    }
  });
  const disc::RescueOutcome outcome =
      options.merge ? imager.Merge(options.target) : imager.Rescue(options.target, Chooser(options));
  console.ClearProgress();
  session.reader.CloseDiscReader();
  return session.SaveLog(Report(outcome, session, console));
}

}  // namespace velmora::cli
