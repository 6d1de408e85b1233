#include "recovery/RecoveryEngine.h"

#include <algorithm>
#include <filesystem>
#include <span>

#include "iso9660/RecordingTime.h"
#include "platform/FileSink.h"
#include "recovery/CountingSink.h"
#include "recovery/DestinationTree.h"
#include "recovery/RecoveryLogRows.h"
#include "recovery/ResumedFile.h"
#include "text/StringTable.h"
#include "text/Utf.h"

namespace velmora::disc {
namespace {

constexpr std::u16string_view kBlank = u" ";

// "DOCS/a/b" -> "DOCS/a_b": the disc's path and the path the entry was saved
// under, when the two differ.
std::u16string PathText(const std::string& discPath, const std::string& savedPath) {
  if (savedPath.empty() || savedPath == discPath) return text::FromUtf8(discPath);
  return text::FromUtf8(discPath + " -> " + savedPath);
}

}  // namespace

RecoveryEngine::RecoveryEngine(CCDReader& reader, platform::Machine& machine, AppState& state,
                               ScanHost& host, ScanProcess& progress)
    : reader_(reader),
      machine_(machine),
      state_(state),
      host_(host),
      progress_(progress),
      copier_(reader, host, state),
      zisofs_(reader, host, state) {}

RecoveryEngine::~RecoveryEngine() = default;

RecoverySummary RecoveryEngine::Run(const EntryTable& table,
                                    const select::RecoveryFilterList& filters,
                                    const std::optional<std::string>& reportPath) {
  summary_ = {};
  const std::optional<std::string> destination =
      host_.prompts().ChooseFolder(text::LoadText(text::kChooseDestination));
  if (!destination) return summary_;
  // Cancelled onto the medium being read: nothing is opened, made or logged.
  if (!GoOnWhenSameMedium(*destination)) return summary_;
  RecoveryTarget target;
  target.path = *destination;
  platform::DestinationResult opened = platform::OpenDestination(*destination);
  target.folder = std::move(opened.folder);
  target.missingName = std::move(opened.missingName);
  if (!target.folder) {
    summary_.started = true;
    Begin(table, filters, *destination);
    return FailDestination(opened.errorPath, opened.error.reason);
  }
  if (reportPath) {
    platform::FileResult report = platform::OpenReportFile(*reportPath);
    target.report = std::move(report.file);
    if (!target.report) reportRefused_ = *reportPath + ": " + report.error.reason;
  }
  return RecoverInto(table, filters, std::move(target));
}

RecoverySummary RecoveryEngine::Recover(const EntryTable& table,
                                        const select::RecoveryFilterList& filters,
                                        RecoveryTarget target) {
  summary_ = {};
  if (!GoOnWhenSameMedium(target.path)) return summary_;
  return RecoverInto(table, filters, std::move(target));
}

RecoverySummary RecoveryEngine::RecoverInto(const EntryTable& table,
                                            const select::RecoveryFilterList& filters,
                                            RecoveryTarget target) {
  summary_ = {};
  summary_.started = true;
  Begin(table, filters, target.path);
  resume_ = target.resume;
  umask_ = platform::FileCreationMask();
  std::unique_ptr<platform::FolderSink> root = std::move(target.folder);
  if (root && !target.missingName.empty()) {
    platform::FolderResult made = root->MakeFolder(target.missingName);
    if (!made.folder) return FailDestination(target.path, made.error.reason);
    root = std::move(made.folder);
  }
  if (!root) return FailDestination(target.path, "not opened");
  tree_ = std::make_unique<DestinationTree>(
      table, std::move(root), [this](const std::string& discPath, const std::string& savedPath) {
        host_.AddLogEntry(kBlank, PathText(discPath, savedPath), kBlank,
                          log::LogIcon::kInformation);
      });
  // The report is written as the files are saved, so that no line of it is
  // kept: a deep disc's paths would fill the memory.
  report_ = std::move(target.report);
  reportError_.clear();
  WriteToReport(RecoveryReportHeading(), true);
  const auto wanted = [&](const Entry& entry) {
    return state_.recoverAll || entry.checkState == kMarked;
  };
  for (std::size_t i = 0; i < table.size() && !state_.stopRequested && !summary_.writeStopped;
       ++i) {
    const Entry& entry = table[i];
    if (!wanted(entry)) continue;
    if (entry.IsFolder()) {
      // A disc of nothing but folders still hears Stop between them.
      host_.PumpPendingMessages();
      if (state_.stopRequested) break;
      if (!tree_->MakeFolder(i)) ReportFolderFailure(i);
    } else if (!filters.Takes(entry.name, state_)) {
      ++summary_.filesFilteredOut;
    } else {
      const std::uint64_t doneBefore = bytesDone_;
      if (entry.IsLink()) {
        RecoverLink(entry, i);
      } else {
        RecoverFile(entry, i);
      }
      // Saved, found there already or failed, the file's bytes are dealt with.
      bytesDone_ = doneBefore + entry.size;
      host_.CountBytes(bytesDone_, bytesTotal_);
      progress_.ReportEntry(summary_.filesRecovered + summary_.filesPartial + summary_.linksCreated,
                            nullptr);
    }
  }
  summary_.aborted = state_.stopRequested;
  tree_->FinishFolders(umask_);
  summary_.foldersCreated = tree_->foldersCreated();
  summary_.namesChanged += tree_->foldersRenamed();
  tree_.reset();
  if (report_) FinishReport();
  if (!reportRefused_.empty()) {
    // A report that could not even be opened is said as one that could not be written.
    host_.AddLogEntry(kBlank, text::FromUtf8(reportRefused_),
                      text::LoadText(text::kFileRecoveryFailure), log::LogIcon::kFailure);
    reportRefused_.clear();
  }
  Finish();
  return summary_;
}

void RecoveryEngine::Begin(const EntryTable& table, const select::RecoveryFilterList& filters,
                           const std::string& destination) {
  reasonsShown_.clear();
  destination_ = destination;
  state_.stopRequested = false;
  state_.recoveryRunning = true;
  state_.processRunning = true;
  state_.busy = true;
  // The log names DEST from the root, wherever the program was started.
  std::error_code error;
  const std::filesystem::path full = std::filesystem::absolute(destination, error);
  host_.AddLogEntry(text::LoadText(text::kSavingFilesProcess),
                    text::FromUtf8(error ? destination : full.lexically_normal().string()),
                    text::LoadText(text::kProcessStarted), log::LogIcon::kInformation);
  std::uint32_t fileCount = 0;
  bytesTotal_ = 0;
  bytesDone_ = 0;
  for (const Entry& e : table.entries()) {
    if (e.IsFolder() || !(state_.recoverAll || e.checkState == kMarked) ||
        !filters.Takes(e.name, state_)) {
      continue;
    }
    ++fileCount;
    bytesTotal_ += e.size;
  }
  host_.CreateReadingProgress(std::max<std::uint32_t>(fileCount, 1));
  host_.CountBytes(0, bytesTotal_);
}

RecoverySummary RecoveryEngine::FailDestination(const std::string& path,
                                                const std::string& reason) {
  // Nothing can be written: say why once, instead of failing every file.
  summary_.destinationFailed = true;
  summary_.destinationReason = path + ": " + reason;
  host_.prompts().ShowErrorDetail(static_cast<int>(text::ErrorCode::kWriteProtected),
                            summary_.destinationReason);
  host_.AddLogEntry(kBlank, text::FromUtf8(path), text::FromUtf8(reason), log::LogIcon::kFailure);
  Finish();
  return summary_;
}

bool RecoveryEngine::GoOnWhenSameMedium(const std::string& destination) {
  if (reader_.imageOpen()) return true;
  const std::string drive = reader_.openPath().empty() ? reader_.SelectedDrivePath() : reader_.openPath();
  if (drive.empty() || !machine_.SameMedium(destination, drive)) return true;
  return host_.prompts().ConfirmSameMedium();
}

void RecoveryEngine::RecoverFile(const Entry& entry, std::size_t index) {
  // A Stop that came with the file before is seen before this one is made.
  host_.PumpPendingMessages();
  if (state_.stopRequested) return;
  RecoveredFile record;
  record.discPath = tree_->DiscPath(index);
  record.listedPath = tree_->EscapedDiscPath(index);
  std::vector<DestinationTree::Unfinished> unfinished;
  if (resume_) {
    DestinationTree::Earlier earlier =
        tree_->FindEarlier(index, entry.size, RecordingInstant(entry));
    if (earlier.kind == DestinationTree::Earlier::Kind::kWhole) {
      AlreadyThere(index, earlier.savedName, earlier.renamed, std::move(record));
      return;
    }
    unfinished = std::move(earlier.unfinished);
  }
  // The disc's file always goes into a new file. An earlier copy is only
  // read, compared with it, and replaced by it once proven to be one.
  DestinationTree::CreatedFile created = tree_->CreateFile(index);
  if (!created.file) {
    const DestinationTree::Failure& failure = tree_->lastFailure();
    ReportWriteFailure("cannot create", failure.path, failure.error);
    Conclude(std::move(record));
    return;
  }
  record.savedPath = tree_->SavedPath(index, created.savedName);
  bool renamed = created.renamed;

  std::vector<platform::FoundFile*> earlierFiles;
  for (const DestinationTree::Unfinished& one : unfinished) earlierFiles.push_back(one.file.get());
  ResumedFile resumed(*created.file, std::move(earlierFiles));
  platform::FileSink& sink =
      unfinished.empty() ? *created.file : static_cast<platform::FileSink&>(resumed);
  CountingSink counted(sink, [this](std::uint64_t bytes) {
    bytesDone_ += bytes;
    host_.CountBytes(bytesDone_, bytesTotal_);
  });
  CopyResult copy =
      entry.compressedSize ? zisofs_.Copy(entry, counted) : copier_.CopyFile(entry, counted);
  platform::SinkError error;
  if (copy.stopped && copy.bytesRead == 0 && copy.unreadable.empty() && !copy.writeFailed) {
    // Stop came before the first read: the file was never started, as if the
    // Stop had come before it was made. No row or report line names a file
    // that is not there.
    created.file->Close(error);
    tree_->RemoveFile(index, created.savedName);
    return;
  }
  const bool whole = !copy.stopped && copy.unreadable.empty() && !copy.writeFailed;
  std::optional<std::size_t> proven;
  if (!unfinished.empty() && !copy.writeFailed) {
    // An earlier file that holds the disc's whole file as it read now is left
    // as it is, whatever its time.
    if (const std::optional<std::size_t> same = resumed.Same(entry.size); same && whole) {
      created.file->Close(error);
      tree_->RemoveFile(index, created.savedName);
      tree_->Claim(index, unfinished[*same].savedName);
      AlreadyThere(index, unfinished[*same].savedName, unfinished[*same].renamed,
                   std::move(record));
      return;
    }
    proven = resumed.Proven();
    // The bytes that did not read this time keep what the earlier run read there.
    if (proven && !resumed.FillFrom(*proven, copy.writeError)) copy.writeFailed = true;
  }
  if (const std::optional<std::int64_t> seconds = RecordingInstant(entry); seconds && whole) {
    // A time that does not take costs no data.
    created.file->SetModified(*seconds, error);
  }
  if (entry.mode != 0 && whole) created.file->SetPermissions(PermissionBits(entry), error);
  const bool closed = created.file->Close(error);
  if (copy.writeFailed) error = copy.writeError;
  record.unreadable = std::move(copy.unreadable);
  if (!closed || copy.writeFailed) {
    ReportWriteFailure("cannot write", record.savedPath, error);
    record.unreadable.clear();
  } else if (copy.stopped && copy.bytesRead > 0) {
    record.outcome = FileOutcome::kStopped;
  } else if (entry.size == 0 || copy.bytesRead > 0) {
    record.outcome = record.unreadable.empty() ? FileOutcome::kRecovered : FileOutcome::kPartial;
  }
  // A file that holds nothing of the disc's is not left to be taken for data.
  const bool kept = record.outcome != FileOutcome::kFailed &&
                    (entry.size == 0 || copy.bytesRead > 0);
  if (!kept) {
    tree_->RemoveFile(index, created.savedName);
    record.savedPath.clear();
    Conclude(std::move(record));
    return;
  }
  // Proven an earlier copy of this file: the new file takes its place. When
  // that name holds another file by now, both stay as they are.
  if (proven && tree_->TakePlace(index, created.savedName, unfinished[*proven], error)) {
    record.savedPath = tree_->SavedPath(index, unfinished[*proven].savedName);
    renamed = unfinished[*proven].renamed;
  }
  if (renamed) ++summary_.namesChanged;
  Conclude(std::move(record));
}

void RecoveryEngine::AlreadyThere(std::size_t index, const std::string& savedName, bool renamed,
                                  RecoveredFile record) {
  record.outcome = FileOutcome::kAlreadyThere;
  record.savedPath = tree_->SavedPath(index, savedName);
  if (renamed) ++summary_.namesChanged;
  Conclude(std::move(record));
}

std::uint32_t RecoveryEngine::PermissionBits(const Entry& entry) const {
  // 0777: setuid, setgid and sticky are never set on what a disc delivers.
  return entry.mode & 0777 & ~umask_;
}

void RecoveryEngine::RecoverLink(const Entry& entry, std::size_t index) {
  host_.PumpPendingMessages();
  if (state_.stopRequested) return;
  RecoveredFile record;
  record.discPath = tree_->DiscPath(index);
  record.listedPath = tree_->EscapedDiscPath(index);
  const std::string target = text::ToUtf8(entry.linkTarget);
  if (resume_) {
    const DestinationTree::Earlier earlier = tree_->FindEarlierLink(index, target);
    if (earlier.kind == DestinationTree::Earlier::Kind::kWhole) {
      AlreadyThere(index, earlier.savedName, earlier.renamed, std::move(record));
      return;
    }
  }
  const DestinationTree::CreatedLink created = tree_->CreateLink(index, target);
  if (!created.made) {
    const DestinationTree::Failure& failure = tree_->lastFailure();
    ReportWriteFailure("cannot create", failure.path, failure.error);
    Conclude(std::move(record));
    return;
  }
  if (const std::optional<std::int64_t> seconds = RecordingInstant(entry)) {
    tree_->SetLinkTime(index, created.savedName, *seconds);
  }
  record.outcome = FileOutcome::kLinked;
  record.savedPath = tree_->SavedPath(index, created.savedName);
  if (created.renamed) ++summary_.namesChanged;
  Conclude(std::move(record));
}

void RecoveryEngine::ReportFolderFailure(std::size_t index) {
  const DestinationTree::Failure& failure = tree_->lastFailure();
  ReportWriteFailure("cannot create", failure.path, failure.error);
  host_.AddLogEntry(kBlank, text::FromUtf8(tree_->DiscPath(index)),
                    text::LoadText(text::kFileRecoveryFailure), log::LogIcon::kFailure);
}

void RecoveryEngine::ReportWriteFailure(const std::string& verb, const std::string& path,
                                        const platform::SinkError& error) {
  const std::string detail = verb + " " + destination_ +
                             (destination_.ends_with('/') ? "" : "/") + path + ": " +
                             (error.reason.empty() ? "unknown error" : error.reason);
  host_.AddLogEntry(kBlank, text::FromUtf8(detail), text::LoadText(text::kFileRecoveryFailure),
                    log::LogIcon::kFailure);
  if (platform::FailsEveryWrite(error.error) && !summary_.writeStopped) {
    summary_.writeStopped = true;
    summary_.writeStopReason = detail;
  }
  if (reasonsShown_.insert(error.error).second) {
    host_.prompts().ShowErrorDetail(static_cast<int>(text::ErrorCode::kWriteProtected), detail);
  } else {
    host_.prompts().NoteErrorAgain(static_cast<int>(text::ErrorCode::kWriteProtected), detail);
  }
}

void RecoveryEngine::Conclude(RecoveredFile record) {
  std::uint16_t status = text::kFileRecoveryFailure;
  log::LogIcon icon = log::LogIcon::kFailure;
  switch (record.outcome) {
    case FileOutcome::kRecovered:
      ++summary_.filesRecovered;
      status = text::kFileRecovered;
      icon = log::LogIcon::kCompleted;
      break;
    case FileOutcome::kPartial:
      ++summary_.filesPartial;
      status = text::kFileRecoveredPartially;
      break;
    case FileOutcome::kFailed:
      ++summary_.filesFailed;
      break;
    case FileOutcome::kStopped:
      // Its first bytes are there; the process's end row says why the rest is not.
      ++summary_.filesStopped;
      status = text::kFileRecoveredPartially;
      break;
    case FileOutcome::kAlreadyThere:
      ++summary_.filesAlreadyThere;
      status = text::kFileRecovered;
      icon = log::LogIcon::kCompleted;
      break;
    case FileOutcome::kLinked:
      ++summary_.linksCreated;
      status = text::kLinkCreated;
      icon = log::LogIcon::kCompleted;
      break;
  }
  host_.AddLogEntry(kBlank, PathText(record.discPath, record.savedPath), text::LoadText(status),
                    icon);
  // A partly read file says where its zeros are: those bytes are not the disc's.
  if (record.outcome == FileOutcome::kPartial && !record.unreadable.empty()) {
    host_.AddLogEntry(kBlank, UnreadBytesText(record.unreadable), kBlank, log::LogIcon::kFailure);
  }
  WriteToReport(FormatRecoveryReportLine(record), false);
}

void RecoveryEngine::WriteToReport(const std::string& text, bool fromTheStart) {
  if (!report_ || !reportError_.empty()) return;
  platform::SinkError error;
  const auto bytes = std::as_bytes(std::span(text.data(), text.size()));
  // An earlier report of that name is replaced from its first byte.
  if ((fromTheStart && !report_->Resize(0, error)) || !report_->Append(bytes, error)) {
    reportError_ = error.reason.empty() ? "not written" : error.reason;
  }
}

void RecoveryEngine::FinishReport() {
  WriteToReport(FormatRecoverySummaryLine(summary_), false);
  platform::SinkError error;
  // A full disk may only show when the file is closed.
  if (!report_->Close(error) && reportError_.empty()) reportError_ = error.reason;
  report_.reset();
  summary_.reportWritten = reportError_.empty();
  if (!summary_.reportWritten) {
    summary_.reportError = reportError_;
    host_.AddLogEntry(kBlank, text::FromUtf8(reportError_),
                      text::LoadText(text::kFileRecoveryFailure), log::LogIcon::kFailure);
  }
}

void RecoveryEngine::Finish() {
  host_.AddLogEntry(kBlank,
                    SavedFilesText(summary_.filesRecovered + summary_.filesPartial,
                                   summary_.foldersCreated),
                    kBlank, log::LogIcon::kInformation);
  for (const std::u16string& shortfall : ShortfallTexts(summary_)) {
    host_.AddLogEntry(kBlank, shortfall, kBlank, log::LogIcon::kFailure);
  }
  if (summary_.aborted || summary_.destinationFailed || summary_.writeStopped) {
    host_.AddLogEntry(kBlank, kBlank, text::LoadText(text::kProcessAborted),
                      log::LogIcon::kFailure);
  } else if (summary_.filesPartial + summary_.filesFailed > 0) {
    // Not every file came out whole: the end row is no green tick.
    host_.AddLogEntry(kBlank, kBlank, text::LoadText(text::kProcessCompletedWithErrors),
                      log::LogIcon::kFailure);
  } else {
    host_.AddLogEntry(kBlank, kBlank, text::LoadText(text::kProcessCompleted),
                      log::LogIcon::kCompleted);
  }
  state_.logHasEntries = true;
  reportRefused_.clear();
  host_.DeleteProgress();
  state_.busy = false;
  state_.processRunning = false;
  state_.recoveryRunning = false;
  state_.stopRequested = false;
  state_.stepsAfterStop = 0;
}

}  // namespace velmora::disc
