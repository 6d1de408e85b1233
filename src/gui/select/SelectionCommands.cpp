#include "select/SelectionCommands.h"

#include <QAction>

#include "app/CMainFrame.h"
#include "app/CommandId.h"
#include "app/NoticeThreads.h"
#include "app/ViewPanes.h"
#include "browse/FolderTree.h"
#include "browse/Marking.h"
#include "browse/Totals.h"
#include "recovery/RecoveryEngine.h"
#include "select/CFileFilterDialog.h"
#include "select/CFileMaskDialog.h"
#include "select/CFindDialog.h"
#include "select/FileMask.h"

namespace velmora::gui {

SelectionCommands::SelectionCommands(CMainFrame& frame) : QObject(&frame), frame_(frame) {
  setObjectName(QStringLiteral("selectionCommands"));
  scansSeen_ = frame_.state().openDriveCount;
  const struct {
    int id;
    void (SelectionCommands::*handler)();
  } handlers[] = {
      {kFind, &SelectionCommands::OnFind},
      {kFindNext, &SelectionCommands::OnFindNext},
      {kFileMask, &SelectionCommands::OnFileMask},
      {kFileUnmask, &SelectionCommands::OnFileUnmask},
      {kAddFileFilter, &SelectionCommands::OnAddFileFilter},
      {kRemoveFileFilter, &SelectionCommands::OnRemoveFileFilter},
      {kRecoverSelected, &SelectionCommands::OnRecoverSelected},
      {kRecoverAll, &SelectionCommands::OnRecoverAll},
  };
  for (const auto& [id, handler] : handlers) {
    if (QAction* action = frame_.Action(id)) {
      connect(action, &QAction::triggered, this, handler);
    }
  }
  connect(&frame_, &CMainFrame::ScanFinished, this, &SelectionCommands::OnScanFinished);
}

SelectionCommands::~SelectionCommands() = default;

// A command runs only when its rule allows it: a key or a queued trigger may
// arrive after the state changed, and none of these may start inside a process.
bool SelectionCommands::Enabled(int command) const {
  if (frame_.processOnStack()) return false;
  const CommandStates states = frame_.CurrentCommandStates();
  const auto it = states.find(command);
  return it != states.end() && it->second.menuEnabled;
}

// ---- Find ----

void SelectionCommands::OnFind() {
  if (!Enabled(kFind)) return;
  auto dialog = std::make_unique<CFindDialog>(&frame_);
  if (dialog->exec() != QDialog::Accepted || dialog->pattern().isEmpty()) return;
  // Cancel and an empty pattern leave the previous search as it was.
  findDialog_ = std::move(dialog);
  const select::FindStep step =
      findDialog_->search().Start(frame_.table(), findDialog_->pattern().toStdU16String(),
                                  findDialog_->matchCase(), frame_.state());
  frame_.RefreshCommands();
  if (step.hit) ShowHit(*step.hit);
  if (step.errorCode != 0) frame_.prompts().ShowError(step.errorCode);
  frame_.RefreshCommands();
}

void SelectionCommands::OnFindNext() {
  if (frame_.processOnStack() || !findDialog_) return;
  const select::FindStep step = findDialog_->search().Next(frame_.table(), frame_.state());
  frame_.RefreshCommands();
  if (step.hit) ShowHit(*step.hit);
  if (step.errorCode != 0) frame_.prompts().ShowError(step.errorCode);
  frame_.RefreshCommands();
}

void SelectionCommands::ShowHit(std::size_t index) {
  // By the hit's place in the table, never by its File ID: two entries may
  // share one, and each is found as itself.
  if (TreePane* tree = frame_.GetLeftPane()) tree->ShowFolderOf(index);
  if (ListPane* list = frame_.GetRightPane(); list && frame_.table()[index].parentId >= 0) {
    list->RevealEntry(index);
  }
}

// ---- File Mask and File Unmask ----

void SelectionCommands::ShowWaitNotice() {
  CWaitDialog notice(&frame_);
  notice.exec();
}

disc::EntryTable SelectionCommands::ShowTable(disc::EntryTable table) {
  disc::EntryTable& shown = frame_.table();
  disc::EntryTableObserver* observer = shown.observer();
  disc::EntryTable previous = std::move(shown);
  previous.SetObserver(nullptr);
  shown = std::move(table);
  shown.SetObserver(observer);
  if (observer) {
    // The views learn the new table as a scan delivers one: reset, then every
    // entry in order.
    observer->TableReset();
    for (std::size_t i = 0; i < shown.size(); ++i) observer->EntryAdded(i);
  }
  return previous;
}

void SelectionCommands::AfterTableReplaced() {
  AppState& state = frame_.state();
  // The list Find walked is gone: Find Next is unavailable until the next Find.
  if (findDialog_) findDialog_->search().Reset(state);
  state.findNextAvailable = false;
  state.lastFindMatched = false;
  state.treeComplete = true;
  state.allMarked = false;
  // The rule every count of marks follows: Root and the Session nodes are
  // known by their place in the tree, never by their File ID, which a file
  // may share.
  const browse::FolderTree tree(frame_.table());
  state.anyEntryMarked = browse::Marking(frame_.table(), tree).SumMarked().anyEntryMarked;
  scansSeen_ = state.openDriveCount;
  // The disc-totals pane shows one scope: what the mask shows, or the disc.
  browse::Totals totals;
  if (state.maskApplied) {
    totals = {maskedTotals_.byteTotal, static_cast<std::uint32_t>(maskedTotals_.fileCount),
              static_cast<std::uint32_t>(maskedTotals_.folderCount)};
  } else {
    const disc::ScanCounters& counters = frame_.scan().counters();
    totals = {counters.totalFileBytes, counters.filesFound, counters.foldersFound};
  }
  frame_.SetDiscTotalsText(QString::fromStdU16String(browse::FormatTotals(totals, false)));
  frame_.ShowRoot(false);
  emit TableReplaced();
  frame_.RefreshCommands();
}

void SelectionCommands::OnFileMask() {
  if (!Enabled(kFileMask)) return;
  const select::CivilDate day = today();
  CFileMaskDialog dialog(day, &frame_);
  if (dialog.exec() != QDialog::Accepted) return;
  const select::MaskCriteria criteria = dialog.criteria();
  ShowWaitNotice();

  frame_.RunProcess([&] {
    // Masks never stack: the complete table comes back first, with the marks
    // made in the masked one.
    if (complete_) {
      select::MaskedTable shown{std::move(frame_.table()), sourceIndex_};
      select::CarryMarksBack(shown, *complete_);
      select::RecomputeFolderMarks(*complete_);
      frame_.table() = std::move(shown.table);
    }
    const disc::EntryTable& complete = complete_ ? *complete_ : frame_.table();
    select::MaskedTable masked = select::ApplyMask(complete, select::FileMask(criteria, day));
    select::RecomputeFolderMarks(masked.table);
    sourceIndex_ = std::move(masked.sourceIndex);
    disc::EntryTable previous = ShowTable(std::move(masked.table));
    if (!complete_) complete_ = std::move(previous);
    maskedTotals_.byteTotal = masked.byteTotal;
    maskedTotals_.fileCount = masked.fileCount;
    maskedTotals_.folderCount = masked.folderCount;
    frame_.state().maskApplied = true;
  });
  AfterTableReplaced();
}

void SelectionCommands::OnFileUnmask() {
  if (!Enabled(kFileUnmask)) return;
  CFileMaskDialog dialog(today(), &frame_);
  // Cancel changes nothing: the tree stays masked and File Unmask available.
  if (dialog.exec() != QDialog::Accepted) return;
  ShowWaitNotice();
  frame_.RunProcess([&] {
    if (complete_) {
      select::MaskedTable shown{std::move(frame_.table()), sourceIndex_};
      select::CarryMarksBack(shown, *complete_);
      select::RecomputeFolderMarks(*complete_);
      frame_.table() = std::move(shown.table);
      ShowTable(std::move(*complete_));
      complete_.reset();
    }
    sourceIndex_.clear();
    maskedTotals_ = select::MaskedTable();
    frame_.state().maskApplied = false;
  });
  AfterTableReplaced();
}

void SelectionCommands::OnScanFinished() {
  AppState& state = frame_.state();
  if (state.openDriveCount == scansSeen_) return;  // the scan never replaced the table
  scansSeen_ = state.openDriveCount;
  complete_.reset();
  sourceIndex_.clear();
  maskedTotals_ = select::MaskedTable();
  if (findDialog_) findDialog_->search().Reset(state);
  frame_.RefreshCommands();
}

// ---- File filter ----

void SelectionCommands::OnAddFileFilter() {
  if (!Enabled(kAddFileFilter)) return;
  CFileFilterDialog dialog(filters_, frame_.state(), &frame_);
  dialog.exec();
  frame_.RefreshCommands();
}

void SelectionCommands::OnRemoveFileFilter() {
  if (!Enabled(kRemoveFileFilter)) return;
  filters_.Clear(frame_.state());
  frame_.RefreshCommands();
}

// ---- Recovery ----

void SelectionCommands::Recover(bool all) {
  if (!Enabled(all ? kRecoverAll : kRecoverSelected)) return;
  AppState& state = frame_.state();
  state.recoverAll = all;
  frame_.RunProcess([&] {
    disc::RecoveryEngine engine(frame_.reader(), frame_.machine(), state, frame_, frame_.scan());
    engine.Run(frame_.table(), filters_);
  });
}

void SelectionCommands::OnRecoverSelected() { Recover(false); }
void SelectionCommands::OnRecoverAll() { Recover(true); }

}  // namespace velmora::gui
