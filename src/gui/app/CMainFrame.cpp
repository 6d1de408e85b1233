#include "app/CMainFrame.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "text/StringTable.h"

namespace velmora::gui {
namespace {

// The first-run size: room for the folder tree beside the file list.
constexpr QSize kInitialSize(800, 560);

}  // namespace

CMainFrame::CMainFrame(platform::Machine& machine, QWidget* parent)
    : QMainWindow(parent), reader_(machine) {
  setWindowTitle(QString::fromStdU16String(text::LoadText(text::kProductTitle)));
  CreateActions();
  CreateMenus();
  resize(kInitialSize);
}

void CMainFrame::CreateActions() {
  exitAction_ = new QAction(tr("E&xit"), this);
  exitAction_->setShortcuts(QKeySequence::Quit);
  connect(exitAction_, &QAction::triggered, this, &QWidget::close);
}

void CMainFrame::CreateMenus() {
  QMenu* fileMenu = menuBar()->addMenu(tr("&File"));
  fileMenu->addAction(exitAction_);
}

}  // namespace velmora::gui
