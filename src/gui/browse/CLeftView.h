#pragma once

#include <QTreeView>
#include <cstddef>
#include <cstdint>

#include "app/ViewPanes.h"
#include "host/AppState.h"

namespace velmora::gui {

class CheckBoxDelegate;
class FolderTreeModel;

// The folder tree, the left pane of the main window: Root, the Session nodes and
// every folder, each with its three-state box. A press on a box marks or unmarks
// the folder's subtree and leaves the selection alone; a press beside it selects
// or expands as usual. The selected folder is the one the file list shows.
class CLeftView : public QTreeView, public TreePane {
  Q_OBJECT

 public:
  CLeftView(FolderTreeModel& model, AppState& state, QWidget* parent = nullptr);

  // TreePane
  void ShowRoot(bool collapseFirst) override;
  void CollapseTopLevel() override;
  bool SelectionNotRoot() const override;

  FolderTreeModel& folderModel() const { return model_; }
  // The folder the file list shows (the selected item), or kNone.
  std::size_t displayedFolder() const;
  // Expands and selects the folder entry; false when it has no item.
  bool SelectFolder(std::size_t entry);
  // The first folder in table order with that File ID (Find).
  void SelectFolderById(std::int64_t fileId) override;
  void ShowFolderOf(std::size_t entry) override;
  // Opens a folder listed in the displayed one (double-click or Enter in the
  // file list): expands and selects it. False when it is not a subfolder of
  // the displayed folder.
  bool OpenChildFolder(std::size_t entry);
  bool OpenChildFolderById(std::uint32_t fileId);
  // Go Up: selects the parent of the displayed folder.
  void GoUp();
  // Where the box of an item is drawn, in viewport coordinates.
  QRect BoxRect(const QModelIndex& index) const;

 signals:
  // The folder whose rows the list shows changed (kNone: none).
  void FolderDisplayed(std::size_t entry);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  // The item whose box lies under pos, if any.
  QModelIndex BoxAt(const QPoint& pos) const;
  void OnCurrentChanged(const QModelIndex& current);

  FolderTreeModel& model_;
  AppState& state_;
  CheckBoxDelegate* delegate_;
  bool pressOnBox_ = false;
};

}  // namespace velmora::gui
