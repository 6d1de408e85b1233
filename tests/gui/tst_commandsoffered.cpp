// Commands are offered only when they work: nothing of a tree while there is
// none (a rescan, a failed Open Drive), the list's context menu by the menus'
// rules, and Find showing each hit as itself.

#include <QAbstractItemView>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <map>

#include "BrowseFixture.h"
#include "FixtureDisc.h"
#include "log/CMessageLogDialog.h"
#include "log/MessageLogModel.h"
#include "select/CFindDialog.h"
#include "text/StringTable.h"

using namespace velmora;
using namespace velmora::gui;
using velmora::testing::BrowseFixture;
using velmora::testing::FixtureDisc;

namespace {

// What only a tree on screen makes usable.
const QList<int> kTreeWork = {kRecoverAll,    kRecoverSelected, kAddFileFilter,  kFind,
                              kFileMask,      kSelectAll,       kUnselectAll,    kArrangeByName,
                              kArrangeByType, kArrangeBySize,   kArrangeByDate};
const QList<int> kTreeButtons = {kRecoverAll, kRecoverSelected, kAddFileFilter, kFind, kFileMask};

// The tree commands the menu and the toolbar offer now.
QStringList Offered(const CMainFrame& frame) {
  QStringList offered;
  for (int id : kTreeWork) {
    if (frame.Action(id)->isEnabled()) offered << frame.Action(id)->text();
  }
  for (int id : kTreeButtons) {
    if (frame.ToolbarAction(id)->isEnabled()) offered << QStringLiteral("button ") + frame.ToolbarAction(id)->text();
  }
  return offered;
}

// The enabled state of every item of the list's context menu, opened as a
// right click opens it.
std::map<QString, bool> ContextMenuItems(CCDView& list) {
  std::map<QString, bool> items;
  QTimer::singleShot(0, [&items] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu) return;
    for (QAction* action : menu->actions()) {
      if (!action->isSeparator()) items[action->text()] = action->isEnabled();
    }
    menu->close();
  });
  QWidget* viewport = list.currentView()->viewport();
  const QPoint at(10, 10);
  QContextMenuEvent event(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
  QApplication::sendEvent(viewport, &event);
  return items;
}

}  // namespace

class TestCommandsOffered : public QObject {
  Q_OBJECT

 private slots:
  void rescanOffersNothingOfTheTreeItReplaces();
  void failedOpenDriveOffersNothingOfTheTree();
  void contextMenuFollowsTheMenuRules();
  void findShowsEachOfTwoFilesSharingAnExtent();
};

void TestCommandsOffered::rescanOffersNothingOfTheTreeItReplaces() {
  FixtureDisc disc(8, 30, 3);
  auto machine = disc.NewMachine();
  CMainFrame frame(*machine);
  testing::ScriptedWindowPrompts prompts;
  frame.SetPrompts(&prompts);
  frame.show();
  frame.Action(kOpenDrive)->trigger();
  frame.Action(kSelectAll)->trigger();
  QCOMPARE(Offered(frame).size(), kTreeWork.size() - 1 + kTreeButtons.size());

  // The rescan's first row ("Process Started"), written once it reads the
  // folders: the tree it replaces is gone, and so is its work.
  QStringList offeredDuringRescan{QStringLiteral("never looked")};
  bool rescanning = false;
  const QString started = QString::fromStdU16String(text::LoadText(text::kProcessStarted));
  MessageLogModel* log = frame.logDialog()->model();
  connect(log, &QAbstractItemModel::rowsInserted, &frame, [&](const QModelIndex&, int, int last) {
    if (rescanning || !frame.state().scanInProgress || !frame.state().busy ||
        log->index(last, 2).data().toString() != started) {
      return;
    }
    rescanning = true;
    frame.RefreshCommands();
    offeredDuringRescan = Offered(frame);
  });
  // Names other than those shown now (the choice is remembered between runs):
  // choosing them reads the tree again.
  const int shown = frame.Action(kNamesPrimary)->isChecked() ? kNamesJoliet : kNamesPrimary;
  int before = kNamesAuto;
  for (int id : {kNamesAuto, kNamesRockRidge, kNamesJoliet, kNamesPrimary}) {
    if (frame.Action(id)->isChecked()) before = id;
  }
  QVERIFY(frame.Action(shown)->isEnabled());
  frame.Action(shown)->trigger();

  QVERIFY(rescanning);
  QCOMPARE(offeredDuringRescan, QStringList{});
  QVERIFY(frame.state().treeComplete);
  frame.RefreshCommands();
  QVERIFY(frame.Action(kRecoverAll)->isEnabled());
  // The new tree starts unmarked.
  QVERIFY(!frame.Action(kRecoverSelected)->isEnabled());
  frame.Action(before)->trigger();
}

void TestCommandsOffered::failedOpenDriveOffersNothingOfTheTree() {
  FixtureDisc disc;
  auto machine = disc.NewMachine();
  CMainFrame frame(*machine);
  testing::ScriptedWindowPrompts prompts;
  frame.SetPrompts(&prompts);
  frame.show();
  frame.Action(kOpenDrive)->trigger();
  QVERIFY(frame.Action(kRecoverAll)->isEnabled());

  machine->EjectDisc(0);
  frame.Action(kOpenDrive)->trigger();
  // An empty drive asks for a disc.
  QCOMPARE(prompts.errors, std::vector<int>{static_cast<int>(text::ErrorCode::kNoDisc)});
  QVERIFY(frame.table().empty());
  QVERIFY(!frame.state().treeComplete);
  QCOMPARE(Offered(frame), QStringList{});
  QVERIFY(frame.Action(kOpenDrive)->isEnabled());

  // Recover All asked for by any way does nothing: no folder question, no
  // "0 Files Saved" and "Process Completed" for a tree that is not there.
  const std::size_t rows = frame.messageLog().rows().size();
  frame.Action(kRecoverAll)->trigger();
  emit frame.Action(kRecoverAll)->triggered(false);
  QVERIFY(!prompts.asked.contains(QStringLiteral("folder")));
  QCOMPARE(frame.messageLog().rows().size(), rows);
}

void TestCommandsOffered::contextMenuFollowsTheMenuRules() {
  BrowseFixture fixture;
  const QString selected = QStringLiteral("Recover Selected");
  const QString all = QStringLiteral("Recover All");
  std::map<QString, bool> items = ContextMenuItems(fixture.list());
  QCOMPARE(items[selected], false);
  QCOMPARE(items[all], false);
  QCOMPARE(items[QStringLiteral("Details")], true);

  fixture.Scan();
  items = ContextMenuItems(fixture.list());
  QCOMPARE(items[selected], fixture.frame->Action(kRecoverSelected)->isEnabled());
  QCOMPARE(items[selected], false);
  QCOMPARE(items[all], true);

  fixture.ClickRowBox(u"TOP.TXT");
  items = ContextMenuItems(fixture.list());
  QCOMPARE(items[selected], true);
  QCOMPARE(fixture.frame->Action(kRecoverSelected)->isEnabled(), true);
}

// Two empty files of one folder often share an extent; Find and Find Next
// show each of them, in turn, as the list's current row.
void TestCommandsOffered::findShowsEachOfTwoFilesSharingAnExtent() {
  testing::TempDir dir;
  testing::WriteTree(dir / "tree", {{.path = "D/A.TXT", .content = "a"},
                                    {.path = "D/EMPTY1.TXT"},
                                    {.path = "D/EMPTY2.TXT"},
                                    {.path = "TOP.TXT", .content = "top"}});
  testing::IsoOptions options;
  options.tool = testing::IsoTool::kXorriso;
  std::string reason;
  auto disc = platform::emulated::EmulatedDisc::FromImage(
      testing::MakeIso(dir / "tree", dir / "disc.iso", options).string(), reason);
  QVERIFY2(disc, reason.c_str());
  BrowseFixture fixture(std::move(*disc));
  fixture.Scan();
  const std::size_t first = fixture.Entry(u"EMPTY1.TXT");
  const std::size_t second = fixture.Entry(u"EMPTY2.TXT");
  QCOMPARE(fixture.table()[first].fileId, fixture.table()[second].fileId);

  auto* timer = new QTimer(fixture.frame.get());
  connect(timer, &QTimer::timeout, [timer] {
    auto* dialog = qobject_cast<CFindDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    timer->stop();
    dialog->findChild<QLineEdit*>(QStringLiteral("findPattern"))->setText(QStringLiteral("EMPTY*"));
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
      if (button->text() == QStringLiteral("OK")) QTest::mouseClick(button, Qt::LeftButton);
    }
  });
  timer->start(10);
  fixture.frame->Action(kFind)->trigger();
  const auto currentEntry = [&] {
    return fixture.views().listModel().EntryAt(fixture.list().currentView()->currentIndex().row());
  };
  QCOMPARE(fixture.tree().displayedFolder(), fixture.Entry(u"D"));
  QCOMPARE(currentEntry(), first);
  fixture.frame->Action(kFindNext)->trigger();
  QCOMPARE(currentEntry(), second);
  QVERIFY(fixture.prompts.errors.empty());
}

QTEST_MAIN(TestCommandsOffered)
#include "tst_commandsoffered.moc"
