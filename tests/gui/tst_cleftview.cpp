#include <QAction>
#include <QLabel>
#include <QTest>
#include <memory>

#include "BrowseFixture.h"

using namespace velmora;
using namespace velmora::gui;
using velmora::testing::BrowseFixture;

// The folder tree on a scanned disc: its items, its boxes, and the marks kept in
// step with the file list and the status panes.
class TestCLeftView : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void scanShowsFoldersSortedWithRootSelected();
  void treeBoxMarksTheSubtreeAndLeavesTheSelection();
  void clickBesideTheBoxSelectsWithoutMarking();
  void listBoxesKeepTheTreeInStep();
  void selectAllAndUnselectAll();
  void goUpAndOpenChildFolder();
  void newScanForgetsTheMarks();

 private:
  std::unique_ptr<BrowseFixture> f_;
};

void TestCLeftView::init() {
  f_ = std::make_unique<BrowseFixture>();
  QVERIFY(QTest::qWaitForWindowExposed(f_->frame.get()));
  f_->Scan();
  QVERIFY(f_->frame->state().treeComplete);
}

void TestCLeftView::cleanup() { f_.reset(); }

void TestCLeftView::scanShowsFoldersSortedWithRootSelected() {
  const FolderTreeModel& model = f_->views().treeModel();
  QCOMPARE(model.rowCount(), 1);
  const QModelIndex root = model.index(0, 0);
  QCOMPARE(root.data().toString(), QStringLiteral("Root"));
  QCOMPARE(model.rowCount(root), 2);
  QCOMPARE(model.index(0, 0, root).data().toString(), QStringLiteral("DOCS"));
  QCOMPARE(model.index(1, 0, root).data().toString(), QStringLiteral("EMPTY"));
  QCOMPARE(model.rowCount(f_->TreeItem(u"DOCS")), 1);
  QCOMPARE(f_->tree().currentIndex(), root);
  QVERIFY(!f_->frame->state().selectionNotRoot);
  QCOMPARE(f_->RowNames(), QStringLiteral("DOCS,EMPTY,TOP.TXT"));
  QCOMPARE(f_->DiscPane(), QStringLiteral("Total  28 Bytes in 8 Files in 3 Folders"));
  QCOMPARE(f_->MarkedPane(), QStringLiteral("Marked 0 Bytes in 0 Files in 0 Folders"));
}

void TestCLeftView::treeBoxMarksTheSubtreeAndLeavesTheSelection() {
  QVERIFY(f_->tree().SelectFolder(f_->Entry(u"DOCS")));
  QCOMPARE(f_->views().listModel().rowCount(), 7);
  // The box of the folder the list shows: every row follows.
  f_->ClickTreeBox(u"DOCS");
  QCOMPARE(f_->tree().currentIndex(), f_->TreeItem(u"DOCS"));
  for (const char16_t* row : {u"NEW.TXT", u"Readme", u"README", u"SUB"}) {
    QCOMPARE(f_->RowBox(row), Qt::Checked);
  }
  QCOMPARE(f_->TreeBox(u"SUB"), Qt::Checked);
  QCOMPARE(f_->TreeBox(u"Root"), Qt::PartiallyChecked);
  QCOMPARE(f_->MarkedPane(), QStringLiteral("Marked 25 Bytes in 7 Files in 2 Folders"));
  QVERIFY(f_->frame->state().anyEntryMarked);
  QVERIFY(f_->frame->Action(kRecoverSelected)->isEnabled());

  // A grey box unmarks: Root's unmarks everything, the rows too.
  f_->ClickTreeBox(u"Root");
  QCOMPARE(f_->TreeBox(u"Root"), Qt::Unchecked);
  QCOMPARE(f_->RowBox(u"NEW.TXT"), Qt::Unchecked);
  QCOMPARE(f_->TreeBox(u"SUB"), Qt::Unchecked);
  QCOMPARE(f_->MarkedPane(), QStringLiteral("Marked 0 Bytes in 0 Files in 0 Folders"));
  QVERIFY(!f_->frame->Action(kRecoverSelected)->isEnabled());

  // Root's box marks every entry at once, whatever folder is shown.
  f_->ClickTreeBox(u"Root");
  for (const disc::Entry& entry : f_->table().entries()) QCOMPARE(entry.checkState, disc::kMarked);
  QCOMPARE(f_->RowBox(u"SUB"), Qt::Checked);
  QCOMPARE(f_->tree().currentIndex(), f_->TreeItem(u"DOCS"));
}

void TestCLeftView::clickBesideTheBoxSelectsWithoutMarking() {
  const QModelIndex empty = f_->TreeItem(u"EMPTY");
  const QRect box = f_->tree().BoxRect(empty);
  const QRect item = f_->tree().visualRect(empty);
  QTest::mouseClick(f_->tree().viewport(), Qt::LeftButton, {},
                    QPoint(box.right() + 30, item.center().y()));
  QCOMPARE(f_->tree().currentIndex(), empty);
  QVERIFY(f_->frame->state().selectionNotRoot);
  QCOMPARE(f_->TreeBox(u"EMPTY"), Qt::Unchecked);
  QCOMPARE(f_->views().listModel().rowCount(), 0);
}

void TestCLeftView::listBoxesKeepTheTreeInStep() {
  QVERIFY(f_->tree().SelectFolder(f_->Entry(u"DOCS")));
  // Two names differing in case are two rows.
  f_->ClickRowBox(u"Readme");
  QCOMPARE(f_->RowBox(u"Readme"), Qt::Checked);
  QCOMPARE(f_->RowBox(u"README"), Qt::Unchecked);
  QCOMPARE(f_->TreeBox(u"DOCS"), Qt::PartiallyChecked);
  QCOMPARE(f_->TreeBox(u"Root"), Qt::PartiallyChecked);
  QCOMPARE(f_->MarkedPane(), QStringLiteral("Marked 1 Bytes in 1 Files in 0 Folders"));
  // The last unmarked rows: the folder row marks its subtree, the folder is
  // marked in the tree once every row is.
  for (const char16_t* row : {u"NEW.TXT", u"JAN.TXT", u"MID.TXT", u"OLD.TXT", u"README"}) {
    f_->ClickRowBox(row);
  }
  QCOMPARE(f_->TreeBox(u"DOCS"), Qt::PartiallyChecked);
  f_->ClickRowBox(u"SUB");
  QCOMPARE(f_->TreeBox(u"SUB"), Qt::Checked);
  QCOMPARE(f_->TreeBox(u"DOCS"), Qt::Checked);
  QCOMPARE(f_->TreeBox(u"Root"), Qt::PartiallyChecked);
  QCOMPARE(f_->MarkedPane(), QStringLiteral("Marked 25 Bytes in 7 Files in 2 Folders"));
  // Unmarking one row leaves the folder grey and clears "all marked".
  f_->frame->Action(kSelectAll)->trigger();
  QVERIFY(f_->frame->state().allMarked);
  f_->ClickRowBox(u"OLD.TXT");
  QVERIFY(!f_->frame->state().allMarked);
  QCOMPARE(f_->TreeBox(u"DOCS"), Qt::PartiallyChecked);
  QCOMPARE(f_->MarkedPane(), QStringLiteral("Marked 25 Bytes in 7 Files in 2 Folders"));
}

void TestCLeftView::selectAllAndUnselectAll() {
  f_->frame->RefreshCommands();
  QVERIFY(f_->frame->Action(kSelectAll)->isEnabled());
  QVERIFY(!f_->frame->Action(kUnselectAll)->isEnabled());
  f_->frame->Action(kSelectAll)->trigger();
  QCOMPARE(f_->MarkedPane(), QStringLiteral("Marked 28 Bytes in 8 Files in 3 Folders"));
  QCOMPARE(f_->RowBox(u"TOP.TXT"), Qt::Checked);
  QCOMPARE(f_->TreeBox(u"SUB"), Qt::Checked);
  f_->frame->RefreshCommands();
  QVERIFY(!f_->frame->Action(kSelectAll)->isEnabled());
  QVERIFY(f_->frame->Action(kUnselectAll)->isEnabled());
  // A language switch shows the same numbers.
  f_->list().RelabelColumns();
  QCOMPARE(f_->MarkedPane(), QStringLiteral("Marked 28 Bytes in 8 Files in 3 Folders"));

  f_->frame->Action(kUnselectAll)->trigger();
  QCOMPARE(f_->MarkedPane(), QStringLiteral("Marked 0 Bytes in 0 Files in 0 Folders"));
  QCOMPARE(f_->RowBox(u"TOP.TXT"), Qt::Unchecked);
  QCOMPARE(f_->TreeBox(u"Root"), Qt::Unchecked);
  f_->frame->RefreshCommands();
  QVERIFY(!f_->frame->Action(kUnselectAll)->isEnabled());
  // An empty folder alone marked is something to unmark.
  f_->ClickTreeBox(u"EMPTY");
  QCOMPARE(f_->MarkedPane(), QStringLiteral("Marked 0 Bytes in 0 Files in 1 Folders"));
  f_->frame->RefreshCommands();
  QVERIFY(f_->frame->Action(kUnselectAll)->isEnabled());
}

void TestCLeftView::goUpAndOpenChildFolder() {
  f_->frame->RefreshCommands();
  QVERIFY(!f_->frame->Action(kGoUp)->isEnabled());
  QVERIFY(f_->tree().OpenChildFolder(f_->Entry(u"DOCS")));
  QVERIFY(!f_->tree().OpenChildFolder(f_->Entry(u"EMPTY")));
  QVERIFY(f_->tree().OpenChildFolderById(f_->table()[f_->Entry(u"SUB")].fileId));
  QCOMPARE(f_->RowNames(), QStringLiteral("DEEP.TXT"));
  f_->frame->RefreshCommands();
  QVERIFY(f_->frame->Action(kGoUp)->isEnabled());
  f_->frame->Action(kGoUp)->trigger();
  QCOMPARE(f_->tree().currentIndex(), f_->TreeItem(u"DOCS"));
  f_->frame->Action(kGoUp)->trigger();
  QCOMPARE(f_->tree().currentIndex(), f_->TreeItem(u"Root"));
  QVERIFY(!f_->frame->state().selectionNotRoot);
  f_->tree().SelectFolderById(f_->table()[f_->Entry(u"EMPTY")].fileId);
  QCOMPARE(f_->tree().currentIndex(), f_->TreeItem(u"EMPTY"));
}

void TestCLeftView::newScanForgetsTheMarks() {
  f_->frame->Action(kSelectAll)->trigger();
  f_->Scan();
  QVERIFY(!f_->frame->state().anyEntryMarked);
  QVERIFY(!f_->frame->state().allMarked);
  QCOMPARE(f_->MarkedPane(), QStringLiteral("Marked 0 Bytes in 0 Files in 0 Folders"));
  QCOMPARE(f_->TreeBox(u"Root"), Qt::Unchecked);
  QCOMPARE(f_->tree().currentIndex(), f_->TreeItem(u"Root"));
  QCOMPARE(f_->RowNames(), QStringLiteral("DOCS,EMPTY,TOP.TXT"));
}

QTEST_MAIN(TestCLeftView)
#include "tst_cleftview.moc"
