#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <memory>

#include "app/CMainFrame.h"
#include "platform/emulated/EmulatedMachine.h"

using velmora::gui::CMainFrame;
using velmora::platform::emulated::EmulatedMachine;

class TestCMainFrame : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void showsProductTitle();
  void fileExitClosesWindow();

 private:
  QAction* FindMenuAction(const QString& menuTitle, const QString& actionText) const;

  std::unique_ptr<EmulatedMachine> machine_;
  std::unique_ptr<CMainFrame> frame_;
};

void TestCMainFrame::init() {
  machine_ = std::make_unique<EmulatedMachine>();
  frame_ = std::make_unique<CMainFrame>(*machine_);
}

void TestCMainFrame::cleanup() {
  frame_.reset();
  machine_.reset();
}

QAction* TestCMainFrame::FindMenuAction(const QString& menuTitle,
                                        const QString& actionText) const {
  for (QMenu* menu : frame_->menuBar()->findChildren<QMenu*>()) {
    if (menu->title() != menuTitle) continue;
    for (QAction* action : menu->actions()) {
      if (action->text() == actionText) return action;
    }
  }
  return nullptr;
}

void TestCMainFrame::showsProductTitle() {
  frame_->show();
  QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));

  // The trailing blank is part of the product title as the string table has it.
  QCOMPARE(frame_->windowTitle(), QStringLiteral("Orvane Velmora CDROM 2.0"));
}

void TestCMainFrame::fileExitClosesWindow() {
  frame_->show();
  QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));

  QAction* exitAction = FindMenuAction(QStringLiteral("&Drive"),
                                       QStringLiteral("E&xit Orvane Velmora CDROM "));
  QVERIFY(exitAction != nullptr);
  exitAction->trigger();

  QVERIFY(!frame_->isVisible());
}

QTEST_MAIN(TestCMainFrame)
#include "tst_cmainframe.moc"
