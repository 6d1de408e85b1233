#include "browse/BrowseViews.h"

#include <QAction>

#include "app/CMainFrame.h"
#include "browse/CCDView.h"
#include "browse/CLeftView.h"
#include "browse/FileListModel.h"
#include "browse/FileRows.h"
#include "browse/FolderTreeModel.h"
#include "browse/MarkingController.h"
#include "select/SelectionCommands.h"

namespace velmora::gui {

BrowseViews::BrowseViews(CMainFrame& frame)
    : QObject(&frame),
      frame_(frame),
      treeModel_(new FolderTreeModel(frame.table(), this)),
      listModel_(new FileListModel(*treeModel_, this)),
      marking_(new MarkingController(*treeModel_, *listModel_, frame.state(), this)),
      tree_(new CLeftView(*treeModel_, frame.state())),
      list_(new CCDView(*listModel_, frame.state())) {
  // The tree and the list go into the frame's splitter, which owns them.
  connect(tree_, &CLeftView::FolderDisplayed, this, [this](std::size_t folder) {
    listModel_->Fill(folder);
    frame_.RefreshCommands();
  });
  connect(list_, &CCDView::OpenFolderRequested, tree_,
          [this](std::size_t folder) { tree_->OpenChildFolder(folder); });
  list_->commandEnabled = [this](int id) { return frame_.CurrentCommandStates()[id].menuEnabled; };
  connect(list_, &CCDView::CommandRequested, this, [this](int id) {
    // The rules as they stand now, not as the last refresh left them.
    frame_.RefreshCommands();
    QAction* action = frame_.Action(id);
    if (action && action->isEnabled()) action->trigger();
  });
  connect(list_, &CCDView::Relabelled, marking_, &MarkingController::Relabel);
  connect(marking_, &MarkingController::DiscTotalsText, &frame_, &CMainFrame::SetDiscTotalsText);
  connect(marking_, &MarkingController::MarkedTotalsText, &frame_,
          &CMainFrame::SetMarkedTotalsText);
  connect(marking_, &MarkingController::MarksChanged, &frame_, &CMainFrame::RefreshCommands);
  connect(treeModel_, &FolderTreeModel::EntryAppended, this, &BrowseViews::ShowScanTotals);
  connect(&frame_, &CMainFrame::ScanFinished, marking_, &MarkingController::FlushDiscTotals);
  ConnectCommands();
  frame_.SetViews(tree_, list_);
}

BrowseViews::~BrowseViews() {
  delete tree_.data();
  delete list_.data();
}

CLeftView& BrowseViews::tree() const { return *tree_; }

CCDView& BrowseViews::list() const { return *list_; }

void BrowseViews::ShowScanTotals() {
  const auto& counters = frame_.scan().counters();
  marking_->ShowDiscTotals({counters.totalFileBytes, counters.filesFound, counters.foldersFound});
}

void BrowseViews::FollowMasks(SelectionCommands& selection) {
  connect(&selection, &SelectionCommands::TableReplaced, this, [this, &selection] {
    if (frame_.state().maskApplied) {
      const auto& masked = selection.maskedTotals();
      marking_->ShowDiscTotals({masked.byteTotal, static_cast<std::uint32_t>(masked.fileCount),
                                static_cast<std::uint32_t>(masked.folderCount)});
    } else {
      ShowScanTotals();
    }
    marking_->FlushDiscTotals();
  });
}

void BrowseViews::ConnectCommands() {
  auto on = [this](int id, auto slot) {
    if (QAction* action = frame_.Action(id)) connect(action, &QAction::triggered, this, slot);
  };
  on(kSelectAll, [this] { marking_->SelectAll(); });
  on(kUnselectAll, [this] { marking_->UnselectAll(); });
  on(kGoUp, [this] {
    if (tree_) tree_->GoUp();
  });
  const std::pair<int, browse::ListColumn> arrange[] = {
      {kArrangeByName, browse::ListColumn::kName},
      {kArrangeByType, browse::ListColumn::kType},
      {kArrangeBySize, browse::ListColumn::kSize},
      {kArrangeByDate, browse::ListColumn::kDate}};
  for (const auto& [id, column] : arrange) {
    on(id, [this, column = column] {
      if (list_) list_->Arrange(static_cast<int>(column));
    });
  }
}

}  // namespace velmora::gui
