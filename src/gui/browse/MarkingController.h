#pragma once

#include <QObject>
#include <QTimer>
#include <cstddef>

#include "browse/Totals.h"
#include "browse/TotalsDisplay.h"
#include "host/AppState.h"

namespace velmora::gui {

class FileListModel;
class FolderTreeModel;

// Carries a box click from either view to the marks in the entry table, and the
// result back to both views and to the two totals panes of the status bar.
class MarkingController : public QObject, private browse::TotalsPanes {
  Q_OBJECT

 public:
  MarkingController(FolderTreeModel& tree, FileListModel& list, AppState& state,
                    QObject* parent = nullptr);

  const browse::TotalsDisplay& totals() const { return totals_; }

 public slots:
  void FolderBoxClicked(std::size_t folder);
  void RowBoxClicked(std::size_t row);
  void SelectAll();
  void UnselectAll();
  // Counts the marks of the table shown (after a mask showed another table).
  void RecountMarked();
  // The disc totals (of the disc, or of what a mask shows). During a scan they
  // change with every entry; the pane follows a few times a second and shows
  // the last totals at once when the scan ends (Flush). The marked totals of
  // entries a scan adds inside a marked folder follow the same way.
  void ShowDiscTotals(const browse::Totals& disc);
  void FlushDiscTotals();
  // A scan added entry index: inside a marked folder it is marked too.
  void EntryAdded(std::size_t index);
  // Both panes again in the current language.
  void Relabel();

 signals:
  void DiscTotalsText(const QString& text);
  void MarkedTotalsText(const QString& text);
  // The marks changed (flags included): command availability may have too.
  void MarksChanged();

 private:
  void SetDiscTotalsText(std::u16string_view text) override;
  void SetMarkedTotalsText(std::u16string_view text) override;
  template <typename Operation>
  void Mark(Operation operation);
  void OnTableReset();

  FolderTreeModel& tree_;
  FileListModel& list_;
  AppState& state_;
  browse::TotalsDisplay totals_{*this};
  browse::Totals pendingDisc_;
  // Until the first totals are shown the panes hold the string table's
  // initial texts.
  bool totalsShown_ = false;
  // Marked totals counted since the pane was last set.
  bool markedPending_ = false;
  QTimer discTimer_;
};

}  // namespace velmora::gui
