#include "recovery/RecoveryEngine.h"

#include <algorithm>

#include "recovery/DestinationTree.h"
#include "iso9660/RecordingTime.h"
#include "platform/FileSink.h"
#include "text/StringTable.h"
#include "text/Utf.h"

namespace velmora::disc {
namespace {

constexpr std::u16string_view kBlank = u" ";

std::u16string Decimal(std::uint64_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

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
      copier_(reader, host, state) {}

RecoveryEngine::~RecoveryEngine() = default;

RecoverySummary RecoveryEngine::Run(const EntryTable& table,
                                    const select::RecoveryFilterList& filters,
                                    const std::optional<std::string>& reportPath) {
  summary_ = {};
  files_.clear();
  keepFiles_ = reportPath.has_value();
  createErrorShown_ = false;
  const std::optional<std::string> destination =
      host_.prompts().ChooseFolder(text::LoadText(text::kChooseDestination));
  if (!destination) return summary_;
  summary_.started = true;
  WarnWhenSameMedium(*destination);

  state_.stopRequested = false;
  state_.recoveryRunning = true;
  state_.processRunning = true;
  state_.busy = true;
  host_.AddLogEntry(text::LoadText(text::kSavingFilesProcess), text::FromUtf8(*destination),
                    text::LoadText(text::kProcessStarted), log::LogIcon::kInformation);
  const auto wanted = [&](const Entry& entry) {
    return state_.recoverAll || entry.checkState == kMarked;
  };
  const auto fileCount = std::count_if(table.entries().begin(), table.entries().end(), [&](const Entry& e) {
    return !e.IsFolder() && wanted(e) && filters.Takes(e.name, state_);
  });
  host_.CreateReadingProgress(static_cast<std::uint32_t>(std::max<std::ptrdiff_t>(fileCount, 1)));

  platform::FolderResult root = platform::OpenDestinationFolder(*destination);
  if (!root.folder) {
    // Nothing can be written: say why once, instead of failing every file.
    ShowCreateErrorOnce();
    host_.AddLogEntry(kBlank, text::FromUtf8(*destination), text::FromUtf8(root.error.reason),
                      log::LogIcon::kFailure);
    summary_.destinationFailed = true;
    summary_.destinationReason = root.error.reason;
    Finish();
    return summary_;
  }
  tree_ = std::make_unique<DestinationTree>(
      table, std::move(root.folder),
      [this](const std::string& discPath, const std::string& savedPath) {
        host_.AddLogEntry(kBlank, PathText(discPath, savedPath), kBlank,
                          log::LogIcon::kInformation);
      });
  for (std::size_t i = 0; i < table.size() && !state_.stopRequested; ++i) {
    const Entry& entry = table[i];
    if (!wanted(entry)) continue;
    if (entry.IsFolder()) {
      if (!tree_->MakeFolder(i)) ReportFolderFailure(i);
    } else if (!filters.Takes(entry.name, state_)) {
      ++summary_.filesFilteredOut;
    } else {
      RecoverFile(entry, i);
      progress_.ReportEntry(summary_.filesRecovered + summary_.filesPartial, nullptr);
    }
  }
  summary_.aborted = state_.stopRequested;
  tree_->SetFolderTimes();
  summary_.foldersCreated = tree_->foldersCreated();
  summary_.namesChanged += tree_->foldersRenamed();
  tree_.reset();
  if (reportPath) WriteReport(*reportPath);
  Finish();
  return summary_;
}

void RecoveryEngine::WarnWhenSameMedium(const std::string& destination) {
  if (reader_.imageOpen()) return;
  const std::string drive = reader_.openPath().empty() ? reader_.SelectedDrivePath() : reader_.openPath();
  if (!drive.empty() && machine_.SameMedium(destination, drive)) host_.prompts().ShowNotice(0);
}

void RecoveryEngine::RecoverFile(const Entry& entry, std::size_t index) {
  RecoveredFile record;
  record.discPath = tree_->DiscPath(index);
  DestinationTree::CreatedFile created = tree_->CreateFile(index);
  if (!created.file) {
    ShowCreateErrorOnce();
    Conclude(std::move(record));
    return;
  }
  record.savedPath = tree_->SavedPath(index, created.savedName);
  if (created.renamed) ++summary_.namesChanged;

  CopyResult copy = copier_.CopyFile(entry, *created.file);
  platform::SinkError error;
  if (const std::optional<std::int64_t> seconds = RecordingInstant(entry)) {
    // A time that does not take costs no data.
    created.file->SetModified(*seconds, error);
  }
  const bool written = created.file->Close(error) && !copy.writeFailed;
  if (!written || (entry.size > 0 && copy.bytesRead == 0)) {
    tree_->RemoveFile(index, created.savedName);
    record.savedPath.clear();
    if (written) {
      record.unreadable = std::move(copy.unreadable);
    } else {
      ShowCreateErrorOnce();
    }
  } else {
    record.unreadable = std::move(copy.unreadable);
    record.outcome = record.unreadable.empty() ? FileOutcome::kRecovered : FileOutcome::kPartial;
  }
  Conclude(std::move(record));
}

void RecoveryEngine::ReportFolderFailure(std::size_t index) {
  ShowCreateErrorOnce();
  host_.AddLogEntry(kBlank, text::FromUtf8(tree_->DiscPath(index)),
                    text::LoadText(text::kFileRecoveryFailure), log::LogIcon::kFailure);
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
  }
  host_.AddLogEntry(kBlank, PathText(record.discPath, record.savedPath), text::LoadText(status),
                    icon);
  if (keepFiles_) files_.push_back(std::move(record));
}

void RecoveryEngine::ShowCreateErrorOnce() {
  if (createErrorShown_) return;
  createErrorShown_ = true;
  host_.prompts().ShowError(static_cast<int>(text::ErrorCode::kWriteProtected));
}

void RecoveryEngine::WriteReport(const std::string& path) {
  std::string reason;
  summary_.reportWritten =
      WriteRecoveryReport(path, FormatRecoveryReport(files_, summary_), reason);
  if (!summary_.reportWritten) {
    host_.AddLogEntry(kBlank, text::FromUtf8(reason), text::LoadText(text::kFileRecoveryFailure),
                      log::LogIcon::kFailure);
  }
}

void RecoveryEngine::Finish() {
  const std::u16string saved = text::LoadText(text::kFilesSaved) + u" " +
                               Decimal(summary_.filesRecovered + summary_.filesPartial) + u" " +
                               text::LoadText(text::kFilesSavedIn) + u" " +
                               Decimal(summary_.foldersCreated) + u" " +
                               text::LoadText(text::kDirs);
  host_.AddLogEntry(kBlank, saved, kBlank, log::LogIcon::kInformation);
  if (summary_.aborted || summary_.destinationFailed) {
    host_.AddLogEntry(kBlank, kBlank, text::LoadText(text::kProcessAborted),
                      log::LogIcon::kFailure);
  } else {
    host_.AddLogEntry(kBlank, kBlank, text::LoadText(text::kProcessCompleted),
                      log::LogIcon::kCompleted);
  }
  state_.logHasEntries = true;
  host_.DeleteProgress();
  state_.busy = false;
  state_.processRunning = false;
  state_.recoveryRunning = false;
  state_.stopRequested = false;
}

}  // namespace velmora::disc
