#include "ImageCommand.h"

#include <filesystem>
#include <system_error>

#include "ExitCode.h"
#include "RescueCommand.h"
#include "CliSession.h"
#include "image/ImageCreator.h"
#include "image/ImageNaming.h"
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
// lost: the disc went while it was copied (the engine said so).
int ReportOutcome(const disc::ImageOutcome& outcome, const CliSession& session, Console& console) {
  const CliPrompts& prompts = session.prompts;
  const bool lost = session.reader.mediumLoss() != disc::MediumLoss::kNone;
  const std::string sectors = std::to_string(outcome.blocks) + " sectors";
  switch (outcome.result) {
    case disc::ImageResult::kCancelled:
      console.Message(outcome.destination + " exists; use --overwrite to replace it");
      return kExitBadInput;
    case disc::ImageResult::kFailed:
      // The engine has shown its error; the reason says what it was about,
      // unless the error said it already.
      if (session.DiscFailure() == kExitNoDisc) return kExitNoDisc;
      // An OUT that could not be made was named with its reason then.
      if (!prompts.ErrorShown(static_cast<int>(text::ErrorCode::kCannotCreateImage))) {
        console.Message(outcome.reason);
      }
      return kExitPartial;
    case disc::ImageResult::kNotBegun:
      console.Message("stopped while the drive became ready; nothing was copied");
      return kExitStopped;
    case disc::ImageResult::kAborted:
      if (lost) {
        console.Message(outcome.destination + " holds the first " + sectors +
                        " and opens as an image");
        return kExitPartial;
      }
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
  // "dir/" would become the hidden file dir/.cd.
  std::error_code error;
  if (options.target.ends_with('/') || std::filesystem::is_directory(options.target, error)) {
    console.Message(options.target + " is a folder; OUT names the image file");
    return kExitBadInput;
  }
  if (OutIsTheSource(options, disc::ImageDestination(options.target))) {
    console.Message(disc::ImageDestination(options.target) + " is the disc being read");
    return kExitBadInput;
  }
  if (options.rescue || options.merge) return RunRescue(options, machine, console);
  CliSession session(options, machine, console);
  if (!session.OpenSource()) return session.openFailure;
  session.host.CountStepsAs(StepUnit::kSector);
  // The log names the drive that read the disc, as a scan's does.
  if (!session.state.readingImage) session.scan.LogDriveIdentity();
  // No scan first: with the table empty, the creator finds where each session
  // ends from its volume descriptors.
  disc::ImageCreator creator(session.reader, session.state, session.table, session.scan,
                             session.host);
  creator.SetCommandLine(options.commandLine);
  const disc::ImageOutcome outcome = creator.CreateImage(options.target);
  console.ClearProgress();
  session.reader.CloseDiscReader();
  return session.SaveLog(ReportOutcome(outcome, session, console));
}

}  // namespace velmora::cli
