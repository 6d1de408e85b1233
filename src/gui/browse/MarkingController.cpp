#include "browse/MarkingController.h"

#include <string>

#include "app/TextLoader.h"
#include "browse/FileListModel.h"
#include "browse/FolderTreeModel.h"
#include "browse/Marking.h"
#include "browse/MarkingCommands.h"
#include "text/StringTable.h"

namespace velmora::gui {
namespace {
constexpr int kDiscTotalsIntervalMs = 100;
}

MarkingController::MarkingController(FolderTreeModel& tree, FileListModel& list, AppState& state,
                                     QObject* parent)
    : QObject(parent), tree_(tree), list_(list), state_(state) {
  connect(&tree_, &FolderTreeModel::BoxClicked, this, &MarkingController::FolderBoxClicked);
  connect(&list_, &FileListModel::RowBoxClicked, this, &MarkingController::RowBoxClicked);
  connect(&tree_, &FolderTreeModel::TableWasReset, this, &MarkingController::OnTableReset);
  connect(&tree_, &FolderTreeModel::EntryAppended, this, &MarkingController::EntryAdded);
  discTimer_.setSingleShot(true);
  discTimer_.setInterval(kDiscTotalsIntervalMs);
  connect(&discTimer_, &QTimer::timeout, this, &MarkingController::FlushDiscTotals);
}

template <typename Operation>
void MarkingController::Mark(Operation operation) {
  // What the operation shows replaces the counts a scan had not shown yet.
  markedPending_ = false;
  browse::Marking marking(tree_.table(), tree_.tree());
  browse::MarkingCommands commands(marking, totals_, state_);
  operation(marking, commands);
  tree_.ShowChecksChanged(marking.changed());
  list_.ShowChecksChanged();
  emit MarksChanged();
}

void MarkingController::EntryAdded(std::size_t index) {
  browse::Marking marking(tree_.table(), tree_.tree());
  browse::MarkingCommands commands(marking, totals_, state_);
  const bool anythingMarked = state_.anyEntryMarked;
  if (!commands.EntryAdded(index)) return;
  tree_.ShowChecksChanged(marking.changed());
  markedPending_ = true;
  if (!discTimer_.isActive()) discTimer_.start();
  // The command rules change only with the first mark.
  if (!anythingMarked) emit MarksChanged();
}

void MarkingController::FolderBoxClicked(std::size_t folder) {
  Mark([&](browse::Marking&, browse::MarkingCommands& commands) {
    commands.FolderBoxClicked(folder);
  });
}

void MarkingController::RowBoxClicked(std::size_t row) {
  const std::size_t displayed = list_.displayed();
  if (displayed == FileListModel::kNone) return;
  Mark([&](browse::Marking&, browse::MarkingCommands& commands) {
    commands.RowBoxClicked(row, displayed);
  });
}

void MarkingController::SelectAll() {
  FlushDiscTotals();
  Mark([](browse::Marking&, browse::MarkingCommands& commands) { commands.SelectAll(); });
}

void MarkingController::UnselectAll() {
  Mark([](browse::Marking&, browse::MarkingCommands& commands) { commands.UnselectAll(); });
}

void MarkingController::RecountMarked() {
  Mark([](browse::Marking&, browse::MarkingCommands& commands) { commands.RecountMarked(); });
}

void MarkingController::OnTableReset() {
  if (!tree_.table().empty()) {
    // A mask shown or taken away: its entries carry their marks.
    RecountMarked();
    return;
  }
  // A new scan: nothing of it is marked yet.
  browse::Marking marking(tree_.table(), tree_.tree());
  browse::MarkingCommands(marking, totals_, state_).ForgetMarks();
  ShowDiscTotals({});
  FlushDiscTotals();
  emit MarksChanged();
}

void MarkingController::ShowDiscTotals(const browse::Totals& disc) {
  pendingDisc_ = disc;
  if (!discTimer_.isActive()) discTimer_.start();
}

void MarkingController::FlushDiscTotals() {
  discTimer_.stop();
  totals_.ShowDiscTotals(pendingDisc_);
  if (markedPending_) {
    markedPending_ = false;
    totals_.ShowMarkedTotals(totals_.marked());
  }
}

void MarkingController::Relabel() {
  if (!totalsShown_) {
    emit DiscTotalsText(LoadQText(text::kDiscTotalsInitial));
    emit MarkedTotalsText(LoadQText(text::kMarkedTotalsInitial));
    return;
  }
  FlushDiscTotals();
  totals_.Relabel();
}

void MarkingController::SetDiscTotalsText(std::u16string_view text) {
  totalsShown_ = true;
  emit DiscTotalsText(QString::fromStdU16String(std::u16string(text)));
}

void MarkingController::SetMarkedTotalsText(std::u16string_view text) {
  totalsShown_ = true;
  emit MarkedTotalsText(QString::fromStdU16String(std::u16string(text)));
}

}  // namespace velmora::gui
