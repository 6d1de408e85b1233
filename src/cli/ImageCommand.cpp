#include "ImageCommand.h"

#include <filesystem>
#include <system_error>

#include "CliHost.h"
#include "CliPrompts.h"
#include "ExitCode.h"
#include "SourceOpener.h"
#include "disc/CCDReader.h"
#include "disc/EntryTable.h"
#include "disc/ImageCreator.h"
#include "disc/ImageNaming.h"
#include "disc/ScanProcess.h"
#include "log/LogReport.h"
#include "log/MessageLog.h"
#include "text/StringTable.h"

namespace velmora::cli {
namespace {

// Replacing the image being read would empty it before its first sector is
// copied. With --emulated-drive, the drive's disc is that image.
bool OutIsTheSource(const CliOptions& options, const std::string& destination) {
  std::error_code error;
  const auto same = [&](const std::string& path) {
    return std::filesystem::equivalent(path, destination, error);
  };
  return same(options.source) || (options.emulatedImage && same(*options.emulatedImage));
}

// One line on what the image holds, and the exit code that goes with it.
int ReportOutcome(const disc::ImageOutcome& outcome, const CliPrompts& prompts, Console& console) {
  const std::string sectors = std::to_string(outcome.blocks) + " sectors";
  switch (outcome.result) {
    case disc::ImageResult::kCancelled:
      console.Message(outcome.destination + " exists; use --overwrite to replace it");
      return kExitBadInput;
    case disc::ImageResult::kFailed:
      // The engine has shown its error; the reason says what it was about,
      // unless it is the CDROM-not-found message already shown.
      if (prompts.ErrorShown(static_cast<int>(text::ErrorCode::kCdromNotFound))) return kExitNoDisc;
      console.Message(outcome.reason);
      return kExitPartial;
    case disc::ImageResult::kAborted:
      console.Message("stopped; " + outcome.destination + " holds the first " + sectors +
                      " and opens as an image");
      return kExitStopped;
    case disc::ImageResult::kCompleted:
      break;
  }
  const bool endedEarly = outcome.blocks < outcome.expectedSectors;
  if (endedEarly) {
    console.Message(outcome.destination + ": the medium ended after " + sectors + " of the " +
                    std::to_string(outcome.expectedSectors) + " its volume claims");
  }
  if (outcome.unreadableSectors == 0 && outcome.partialSectors == 0) {
    if (!endedEarly) console.Message(outcome.destination + ": " + sectors + " copied");
    return endedEarly ? kExitPartial : kExitOk;
  }
  console.Message(outcome.destination + ": " + sectors + " copied; " +
                  std::to_string(outcome.unreadableSectors) + " did not read (0xF6 blocks), " +
                  std::to_string(outcome.partialSectors) +
                  " read short (0xF6 after the bytes that came)");
  return kExitPartial;
}

}  // namespace

int RunImage(const CliOptions& options, platform::Machine& machine, Console& console) {
  if (OutIsTheSource(options, disc::ImageDestination(options.target))) {
    console.Message(disc::ImageDestination(options.target) + " is the disc being read");
    return kExitBadInput;
  }
  AppState state;
  CliPrompts prompts(console, options);
  disc::CCDReader reader(machine);
  std::string reason;
  if (!OpenSource(options.source, options.drive, machine, reader, prompts, state, reason)) {
    console.Message(reason);
    return kExitBadInput;
  }

  log::MessageLog log;
  CliHost host(prompts, console, state, log);
  host.CountStepsAs(StepUnit::kSector);
  // No scan first: with the table empty, the creator finds where each session
  // ends from its volume descriptors.
  disc::EntryTable table;
  disc::ScanProcess scan(reader, state, table, host);
  disc::ImageCreator creator(reader, state, table, scan, host);
  const disc::ImageOutcome outcome = creator.CreateImage(options.target);
  console.ClearProgress();
  reader.CloseDiscReader();

  int result = ReportOutcome(outcome, prompts, console);
  if (options.logPath && !log::WriteLogReport(*options.logPath, log.rows(), reason)) {
    console.Message("cannot save the log: " + reason);
    if (result == kExitOk) result = kExitPartial;
  }
  return result;
}

}  // namespace velmora::cli
