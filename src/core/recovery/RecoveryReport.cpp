#include "recovery/RecoveryReport.h"

#include "text/NameEscape.h"

namespace velmora::disc {
namespace {

const char* StatusWord(FileOutcome outcome) {
  switch (outcome) {
    case FileOutcome::kRecovered:
      return "recovered";
    case FileOutcome::kPartial:
      return "partial";
    case FileOutcome::kFailed:
      return "failed";
    case FileOutcome::kStopped:
      return "stopped";
    case FileOutcome::kAlreadyThere:
      return "already there";
    case FileOutcome::kLinked:
      return "link";
  }
  return "failed";
}

}  // namespace

std::string RecoveryReportHeading() {
  return "# status\tpath on the disc\tunreadable bytes\tsaved as\n";
}

std::string FormatRecoveryReportLine(const RecoveredFile& file) {
  std::string text = StatusWord(file.outcome);
  // Each name escaped on its own: a "/" inside a name is not a folder's end.
  text +=
      '\t' + (file.listedPath.empty() ? text::EscapePath(file.discPath) : file.listedPath) + '\t';
  for (std::size_t i = 0; i < file.unreadable.size(); ++i) {
    if (i > 0) text += ',';
    text +=
        std::to_string(file.unreadable[i].first) + '-' + std::to_string(file.unreadable[i].last);
  }
  text += '\t' + text::EscapePath(file.savedPath) + '\n';
  return text;
}

std::string FormatRecoverySummaryLine(const RecoverySummary& summary) {
  return "# " + std::to_string(summary.filesRecovered) + " recovered, " +
         std::to_string(summary.filesPartial) + " partial, " + std::to_string(summary.filesFailed) +
         " failed, " + std::to_string(summary.filesStopped) + " stopped, " +
         std::to_string(summary.filesAlreadyThere) + " already there, " +
         std::to_string(summary.filesFilteredOut) + " filtered out, " +
         std::to_string(summary.foldersCreated) + " folders created, " +
         std::to_string(summary.namesChanged) + " names changed" +
         (summary.linksCreated > 0 ? ", " + std::to_string(summary.linksCreated) + " links created"
                                   : "") +
         (summary.aborted ? ", stopped by the user" : "") +
         (summary.writeStopped ? ", stopped: the destination takes no more files" : "") + "\n";
}

std::string FormatRecoveryReport(const std::vector<RecoveredFile>& files,
                                 const RecoverySummary& summary) {
  std::string text = RecoveryReportHeading();
  for (const RecoveredFile& file : files) text += FormatRecoveryReportLine(file);
  return text + FormatRecoverySummaryLine(summary);
}

}  // namespace velmora::disc
