#pragma once

#include <QStackedWidget>
#include <cstddef>
#include <cstdint>
#include <functional>

#include "app/ViewPanes.h"
#include "host/AppState.h"

class QAbstractItemView;
class QListView;
class QTreeView;

namespace velmora::gui {

class CheckBoxDelegate;
class FileListModel;

// The file list, the right pane of the main window: the folders and files of the
// folder selected in the tree, with a three-state box on every row. One model
// behind two views: a table with the columns Name, Type, Size, Date and File ID
// for Details, and an icon view for Large Icons, Small Icons and List.
class CCDView : public QStackedWidget, public ListPane {
  Q_OBJECT

 public:
  CCDView(FileListModel& model, const AppState& state, QWidget* parent = nullptr);

  // ListPane
  ListStyle Style() const override { return style_; }
  void SetStyle(ListStyle style) override;
  void RelabelColumns() override;
  QByteArray ColumnWidths() const override;
  void RestoreColumnWidths(const QByteArray& saved) override;

  FileListModel& listModel() const { return model_; }
  QTreeView* detailsView() const { return details_; }
  QListView* iconView() const { return icons_; }
  // The view showing the rows in the current style.
  QAbstractItemView* currentView() const;

  // The Arrange commands and a header click: sort by column, the direction
  // flipped by every request.
  void Arrange(int column);
  // Scrolls the first row with that File ID (or the row of entry) into view and
  // makes it the current row.
  void RevealRowById(std::uint32_t fileId) override;
  void RevealEntry(std::size_t entry) override { RevealRow(entry); }
  bool RevealRow(std::size_t entry);
  // Opens the folder of row (double-click or Enter); false for a file row.
  bool OpenRow(int row);
  // Where the box of row is drawn in the current view, in its viewport's
  // coordinates.
  QRect RowBoxRect(int row) const;

  // Whether a command can run now, by the rules of the menus; the context
  // menu offers its items by it. Without it every item is offered.
  std::function<bool(int command)> commandEnabled;

 signals:
  // A folder row was opened; the tree selects that folder.
  void OpenFolderRequested(std::size_t entry);
  // A command chosen in the context menu (Recover Selected, Recover All, a style).
  void CommandRequested(int id);
  // The column titles were reloaded: the totals panes follow.
  void Relabelled();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowSortArrow(int column, bool ascending);
  void ShowContextMenu(QAbstractItemView* view, const QPoint& pos);
  void Connect(QAbstractItemView* view);
  // Widens or narrows the Name column to the names listed, between its
  // starting width and the room the other columns leave; never once the user
  // has set its width.
  void FitNameColumn();
  void ScheduleNameFit();
  // The grid of the icon styles: names of about 30 characters show whole.
  QSize IconGrid(int iconSize, int lines) const;

  FileListModel& model_;
  const AppState& state_;
  QTreeView* details_;
  QListView* icons_;
  CheckBoxDelegate* delegate_;
  ListStyle style_ = ListStyle::kDetails;
  int nameMinimum_ = 0;
  bool nameFitQueued_ = false;
  bool fittingName_ = false;
  // The columns whose width the user set (bit per column).
  std::uint32_t userSized_ = 0;
};

}  // namespace velmora::gui
