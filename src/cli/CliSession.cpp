#include "CliSession.h"

#include <string>

#include "ExitCode.h"
#include "SourceOpener.h"
#include "text/CodePage.h"
#include "text/StringTable.h"
#include "text/Utf.h"

namespace velmora::cli {

bool CliSession::OpenSource() {
  // 8-bit names that are not UTF-8 are read in the chosen code page.
  if (options.codePage) text::SetEightBitCodePage(*options.codePage);
  state.allNames = options.allNames;
  state.nameSource = options.names;
  std::string reason;
  std::string warning;
  if (cli::OpenSource(options.source, options.drive, machine, reader, prompts, state, reason,
                      warning)) {
    if (!warning.empty()) {
      // Damage to the image itself: said once, logged, and no clean exit.
      console.Message(warning);
      host.AddLogEntry(text::LoadText(text::kInfo), text::FromUtf8(warning), u" ",
                       log::LogIcon::kFailure);
      state.logHasEntries = true;
      sourceDamaged = true;
    }
    if (const auto& found = reader.foundSessions(); found && found->Damaged()) {
      // Sessions of a plain image that are not read whole: the scan's log
      // names them, and the exit is not clean.
      console.Message(options.source +
                      ": not every session of the image can be read whole; the log says which");
      sourceDamaged = true;
    }
    return true;
  }
  if (prompts.ErrorShown(static_cast<int>(text::ErrorCode::kCdromNotFound))) {
    // An image in which not even the recovery scans find a folder.
    openFailure = kExitNoDisc;
    return false;
  }
  if (options.source == kDriveSourceName && reader.driveCount() == 0) {
    // No drive at all is no CDROM, as the window reports it.
    prompts.ShowError(static_cast<int>(text::ErrorCode::kCdromNotFound));
    openFailure = kExitNoDisc;
    return false;
  }
  console.Message(reason);
  openFailure = kExitBadInput;
  return false;
}

std::optional<int> CliSession::DiscFailure() const {
  if (reader.mediumLoss() != disc::MediumLoss::kNone) return kExitPartial;
  for (const text::ErrorCode code :
       {text::ErrorCode::kCdromNotFound, text::ErrorCode::kNoDisc, text::ErrorCode::kDriveGone}) {
    if (prompts.ErrorShown(static_cast<int>(code))) return kExitNoDisc;
  }
  return std::nullopt;
}

bool CliSession::NamesFound() {
  if (options.names == disc::NameSource::kAuto || scan.counters().namesFound) return true;
  const char* which = options.names == disc::NameSource::kRockRidge ? "Rock Ridge"
                      : options.names == disc::NameSource::kJoliet  ? "Joliet"
                                                                    : "ISO 9660";
  console.Message(std::string("--names: the disc has no ") + which + " names");
  return false;
}

bool CliSession::SayScanDamage() {
  // Without --log there is no log to look in: the option that writes one is named.
  const std::string names = options.logPath ? "the log names them" : "--log FILE names them";
  const auto counted = [](std::uint32_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
  };
  const disc::ScanCounters& found = scan.counters();
  if (found.damagedFolders > 0) {
    console.Message(counted(found.damagedFolders, "folder", "folders") + " did not read whole; " +
                    names);
  }
  if (found.unreadContinuations > 0) {
    console.Message(counted(found.unreadContinuations, "Rock Ridge entry", "Rock Ridge entries") +
                    " did not read whole (a continuation area); " + names);
  }
  if (found.rockRidgeUnread > 0) {
    console.Message(
        "the Rock Ridge names, links and modes could not be read (the root's records did not "
        "read); other names are shown");
  }
  if (found.sessionsUnread > 0) {
    console.Message(counted(found.sessionsUnread, "later session", "later sessions") +
                    " could not be listed; " + names);
  }
  return found.damagedFolders > 0 || found.unreadContinuations > 0 || found.rockRidgeUnread > 0 ||
         found.sessionsUnread > 0;
}

int CliSession::SaveLog(int result) {
  if (sourceDamaged && result == kExitOk) result = kExitPartial;
  if (const std::optional<std::string> failure = log.Finish()) {
    console.Message("cannot save the log: " + *failure);
    if (result == kExitOk) return kExitPartial;
  }
  return result;
}

}  // namespace velmora::cli
