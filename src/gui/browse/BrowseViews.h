#pragma once

#include <QObject>
#include <QPointer>

namespace velmora::gui {

class CCDView;
class CLeftView;
class CMainFrame;
class FileListModel;
class FolderTreeModel;
class MarkingController;
class SelectionCommands;

// The browsing part of the main window: the folder tree and the file list over
// the frame's entry table, put into its splitter and tied to its commands (Select
// All, Unselect All, Go Up, Arrange, the list styles) and to the totals panes of
// its status bar.
class BrowseViews : public QObject {
  Q_OBJECT

 public:
  explicit BrowseViews(CMainFrame& frame);
  // Takes the views out of the frame before their models go.
  ~BrowseViews() override;

  // The views while they are in the frame.
  CLeftView& tree() const;
  CCDView& list() const;
  FolderTreeModel& treeModel() const { return *treeModel_; }
  FileListModel& listModel() const { return *listModel_; }
  MarkingController& marking() const { return *marking_; }
  // Shows in the disc-totals pane what a mask shows, and the disc again when
  // it is taken away.
  void FollowMasks(SelectionCommands& selection);

 private:
  void ConnectCommands();
  void ShowScanTotals();

  CMainFrame& frame_;
  FolderTreeModel* treeModel_;
  FileListModel* listModel_;
  MarkingController* marking_;
  // The frame may put other views in their place, and deletes these then.
  QPointer<CLeftView> tree_;
  QPointer<CCDView> list_;
};

}  // namespace velmora::gui
