#pragma once

#include <QMainWindow>

#include "disc/CCDReader.h"
#include "platform/Machine.h"

class QAction;

namespace velmora::gui {

// The main window. It owns the disc reader through which every command reads the
// machine's drives; the machine itself outlives the window.
class CMainFrame : public QMainWindow {
  Q_OBJECT

 public:
  explicit CMainFrame(platform::Machine& machine, QWidget* parent = nullptr);

 private:
  void CreateActions();
  void CreateMenus();

  disc::CCDReader reader_;
  QAction* exitAction_ = nullptr;
};

}  // namespace velmora::gui
