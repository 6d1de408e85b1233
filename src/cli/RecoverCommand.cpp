#include "RecoverCommand.h"

#include <cerrno>
#include <filesystem>
#include <vector>

#include "CliSession.h"
#include "DisplayedTable.h"
#include "ExitCode.h"
#include "PathSelection.h"
#include "StandardStreamSink.h"
#include "entries/EntryTable.h"
#include "platform/FileSink.h"
#include "recovery/RecoveryEngine.h"
#include "select/RecoveryFilterList.h"
#include "text/StringTable.h"
#include "text/Utf.h"

namespace velmora::cli {
namespace {

namespace fs = std::filesystem;

// DEST and the report, opened before the scan, which may take long on a
// damaged disc: a destination that cannot take files is said at once. DEST is
// a folder, or only its last part is missing and the recovery makes it.
bool OpenTarget(const CliOptions& options, disc::RecoveryTarget& target, bool& reportCreated,
                Console& console) {
  const std::string& dest = options.target;
  platform::DestinationResult opened = platform::OpenDestination(dest);
  if (opened.notAFolder) {
    console.Message(dest + " is not a folder");
    return false;
  }
  if (!opened.folder && opened.error.error == ENOENT) {
    console.Message(dest + ": the folder " + opened.errorPath + " does not exist");
    return false;
  }
  if (!opened.folder) {
    console.Message("cannot write to " + opened.errorPath + ": " + opened.error.reason);
    return false;
  }
  target.path = dest;
  target.resume = options.resume;
  target.folder = std::move(opened.folder);
  target.missingName = std::move(opened.missingName);
  if (!options.reportPath) return true;
  // Standard output or error, named as a file, is written where it stands.
  const platform::OutputCheck where = platform::CheckOutputPath(*options.reportPath);
  if (where.place != platform::OutputPlace::kFile) {
    target.report = StandardStreamSink::Of(where.place, console);
    return true;
  }
  platform::FileResult report = platform::OpenReportFile(*options.reportPath);
  if (!report.file) {
    console.Message("cannot write the report " + *options.reportPath + ": " +
                    report.error.reason);
    return false;
  }
  target.report = std::move(report.file);
  reportCreated = report.status == platform::SinkStatus::kCreated;
  return true;
}

// Marks what --select names; false, said on the console, when a pattern names
// nothing: a mistyped pattern is caught before the recovery, not after it.
bool SelectEntries(const CliOptions& options, disc::EntryTable& table, AppState& state,
                   Console& console) {
  state.recoverAll = options.selections.empty();
  if (state.recoverAll) return true;
  const std::vector<std::string> unmatched = MarkSelected(table, options.selections);
  for (const std::string& pattern : unmatched) {
    console.Message("--select '" + pattern + "' matches no entry");
  }
  return unmatched.empty();
}

// "1 file", "2 files".
std::string Counted(std::uint32_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

// lost: the disc went during the recovery (the engine said so).
int ReportSummary(const CliOptions& options, const disc::RecoverySummary& summary, bool lost,
                  const CliPrompts& prompts, Console& console) {
  // The engine said why through error 10 already.
  if (summary.destinationFailed) return kExitPartial;
  // The counts the report's summary line gives, in words.
  std::string counts = Counted(summary.filesRecovered, "file", "files") + " recovered, " +
                       std::to_string(summary.filesPartial) + " partly, " +
                       std::to_string(summary.filesFailed) + " failed, " +
                       std::to_string(summary.filesFilteredOut) + " filtered out";
  if (summary.filesStopped > 0) counts += ", " + std::to_string(summary.filesStopped) + " stopped";
  if (summary.linksCreated > 0) counts += ", " + Counted(summary.linksCreated, "link", "links") + " made";
  if (options.resume) {
    counts += ", " + std::to_string(summary.filesAlreadyThere) + " already there";
  }
  console.Message(counts + "; " + Counted(summary.foldersCreated, "folder", "folders") +
                  " created in " + options.target + "; " +
                  Counted(summary.namesChanged, "name", "names") + " changed");
  int result = kExitOk;
  // Error 10 stands for a file or folder that could not be made at DEST.
  if (summary.filesPartial > 0 || summary.filesFailed > 0 ||
      prompts.ErrorShown(static_cast<int>(text::ErrorCode::kWriteProtected))) {
    result = kExitPartial;
  }
  if (options.reportPath && !summary.reportWritten) {
    console.Message("cannot write the report " + *options.reportPath +
                    (summary.reportError.empty() ? "" : ": " + summary.reportError));
    result = kExitPartial;
  }
  if (summary.writeStopped) {
    console.Message("stopped: " + options.target +
                    " takes no more files; the files saved until then stay there");
    result = kExitPartial;
  }
  if (summary.aborted && lost) {
    console.Message("the files saved until then stay in " + options.target);
    result = kExitPartial;
  } else if (summary.aborted) {
    console.Message("stopped; the files saved until then stay in " + options.target);
    result = kExitStopped;
  }
  return result;
}

}  // namespace

int RunRecover(const CliOptions& options, platform::Machine& machine, Console& console) {
  disc::RecoveryTarget target;
  bool reportCreated = false;
  if (!OpenTarget(options, target, reportCreated, console)) return kExitBadInput;
  // A report made for a recovery that never came is not left behind empty,
  // whichever way the command ends.
  bool reportWritten = false;
  struct ReportCleanup {
    const std::optional<std::string>& path;
    const bool& created;
    const bool& written;
    ~ReportCleanup() {
      if (!created || written) return;
      std::error_code error;
      fs::remove(*path, error);
    }
  } reportCleanup{options.reportPath, reportCreated, reportWritten};
  CliSession session(options, machine, console);
  if (!session.OpenSource()) return session.openFailure;
  session.scan.Scan();
  if (!session.NamesFound()) return session.SaveLog(kExitBadInput);
  console.ClearProgress();
  // The recovery after the scan; its early ends still save the log below.
  const auto recover = [&]() -> int {
    // No disc, or one that went during the scan: nothing to recover from.
    if (const std::optional<int> failure = session.DiscFailure()) return *failure;
    if (session.host.stopped()) {
      console.Message("stopped during the scan; nothing was recovered");
      return kExitStopped;
    }
    // A mask narrows the table first; --select then picks in what it shows.
    DisplayedTable displayed(session.table, options.mask);
    if (!SelectEntries(options, displayed.table(), session.state, console)) return kExitBadInput;
    select::RecoveryFilterList filters;
    if (options.filterMode != FilterMode::kNone) {
      std::vector<std::u16string> texts;
      for (const std::string& text : options.filterTexts) texts.push_back(text::FromUtf8(text));
      filters.Apply(texts, options.filterMode == FilterMode::kInclude, session.state);
    }
    session.host.CountStepsAs(StepUnit::kFile);
    disc::RecoveryEngine engine(session.reader, machine, session.state, session.host,
                                session.scan);
    const disc::RecoverySummary summary =
        engine.Recover(displayed.table(), filters, std::move(target));
    console.ClearProgress();
    reportWritten = summary.reportWritten;
    const disc::MediumLoss loss = session.reader.mediumLoss();
    if (loss != disc::MediumLoss::kNone) session.prompts.ShowError(disc::MediumLossError(loss));
    int result = ReportSummary(options, summary, loss != disc::MediumLoss::kNone, session.prompts,
                               console);
    // The files of folders (and the names of entries) that did not read are
    // missing from DEST, whatever else failed.
    if (session.SayScanDamage() && result == kExitOk) result = kExitPartial;
    return result;
  };
  const int result = recover();
  // Releases the tray the scan locked.
  session.reader.CloseDiscReader();
  return session.SaveLog(result);
}

}  // namespace velmora::cli
