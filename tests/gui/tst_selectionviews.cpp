// Find and File Mask with the real folder tree and file list: the hit is the
// selected folder's current row, and the views follow every mask.

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <algorithm>
#include <functional>

#include "BrowseFixture.h"
#include "browse/Totals.h"
#include "select/CFileMaskDialog.h"
#include "select/CFindDialog.h"

using namespace velmora;

namespace {

template <typename T>
void WhenModal(std::function<void(T*)> answer) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, answer] {
    T* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
    if (!dialog) return;
    timer->stop();
    timer->deleteLater();
    answer(dialog);
  });
  timer->start();
}

void ClickOk(QWidget* dialog) {
  for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
    if (button->text() == QStringLiteral("OK")) QTest::mouseClick(button, Qt::LeftButton);
  }
}

}  // namespace

class TestSelectionViews : public QObject {
  Q_OBJECT

 private slots:
  void findSelectsTheFolderAndTheRow();
  void maskAndUnmaskRebuildTheViews();

 private:
  void Find(testing::BrowseFixture& f, const QString& pattern) {
    WhenModal<gui::CFindDialog>([pattern](gui::CFindDialog* dialog) {
      dialog->findChild<QLineEdit*>(QStringLiteral("findPattern"))->setText(pattern);
      ClickOk(dialog);
    });
    f.frame->Action(gui::kFind)->trigger();
  }
  void Mask(testing::BrowseFixture& f, const QString& text, int command = gui::kFileMask) {
    WhenModal<gui::CFileMaskDialog>([text](gui::CFileMaskDialog* dialog) {
      dialog->findChild<QLineEdit*>(QStringLiteral("maskText"))->setText(text);
      ClickOk(dialog);
    });
    f.frame->Action(command)->trigger();
  }
  // The folder the tree shows and the entry of the list's current row.
  static std::size_t ShownFolder(testing::BrowseFixture& f) { return f.tree().displayedFolder(); }
  static int CurrentRow(testing::BrowseFixture& f) {
    return f.list().currentView()->currentIndex().row();
  }
};

void TestSelectionViews::findSelectsTheFolderAndTheRow() {
  testing::BrowseFixture f;
  f.Scan();
  QVERIFY(f.frame->state().treeComplete);
  // In table order: the .TXT files of DOCS, then SUB's, then TOP.TXT wherever
  // the scan met it; each hit shows its folder with its row current.
  std::vector<std::size_t> hits;
  for (std::size_t i = 0; i < f.table().size(); ++i) {
    if (f.table()[i].name.ends_with(u".TXT")) hits.push_back(i);
  }
  QCOMPARE(hits.size(), std::size_t{6});
  Find(f, QStringLiteral("*.txt"));
  for (std::size_t k = 0; k < hits.size(); ++k) {
    if (k > 0) f.frame->Action(gui::kFindNext)->trigger();
    const disc::Entry& hit = f.table()[hits[k]];
    QCOMPARE(f.table()[ShownFolder(f)].fileId, static_cast<std::uint32_t>(hit.parentId));
    QCOMPARE(CurrentRow(f), f.views().listModel().RowOfEntry(hits[k]));
  }
  f.frame->Action(gui::kFindNext)->trigger();
  QCOMPARE(f.prompts.errors, std::vector<int>{4});
  QVERIFY(!f.frame->Action(gui::kFindNext)->isEnabled());
  QVERIFY(!f.frame->ToolbarAction(gui::kFindNext)->isEnabled());
  Find(f, QStringLiteral("readme"));
  QVERIFY(f.frame->Action(gui::kFindNext)->isEnabled());
  // README and Readme both match; the first in table order is the hit.
  const std::size_t first = std::min(f.Entry(u"README"), f.Entry(u"Readme"));
  QCOMPARE(CurrentRow(f), f.views().listModel().RowOfEntry(first));
}

void TestSelectionViews::maskAndUnmaskRebuildTheViews() {
  testing::BrowseFixture f;
  f.Scan();
  const std::size_t entries = f.table().size();
  Mask(f, QStringLiteral("deep.*"));
  // Root, DOCS, SUB and DEEP.TXT: every other folder and file is gone.
  QCOMPARE(f.table().size(), std::size_t{4});
  QVERIFY(f.TreeItem(u"EMPTY") == QModelIndex());
  QVERIFY(f.TreeItem(u"SUB").isValid());
  QVERIFY(f.frame->state().maskApplied);
  // The disc pane shows what the mask shows: one file of 4 bytes, two folders.
  QTRY_COMPARE(f.DiscPane(), QString::fromStdU16String(browse::FormatTotals({4, 1, 2}, false)));
  // Mark the one file where the mask shows it.
  QVERIFY(f.tree().SelectFolder(f.Entry(u"SUB")));
  QCOMPARE(f.RowNames(), QStringLiteral("DEEP.TXT"));
  f.ClickRowBox(u"DEEP.TXT");
  QCOMPARE(f.RowBox(u"DEEP.TXT"), Qt::Checked);

  Mask(f, QString(), gui::kFileUnmask);
  QVERIFY(!f.frame->state().maskApplied);
  QCOMPARE(f.table().size(), entries);
  QVERIFY(f.TreeItem(u"EMPTY").isValid());
  QVERIFY(f.tree().SelectFolder(f.Entry(u"SUB")));
  QCOMPARE(f.RowBox(u"DEEP.TXT"), Qt::Checked);
  QCOMPARE(f.TreeBox(u"DOCS"), Qt::PartiallyChecked);
  QVERIFY(f.frame->state().anyEntryMarked);
  QVERIFY(f.frame->Action(gui::kRecoverSelected)->isEnabled());
  QTest::qWait(300);
  const disc::ScanCounters& counters = f.frame->scan().counters();
  QCOMPARE(f.DiscPane(), QString::fromStdU16String(browse::FormatTotals(
                             {counters.totalFileBytes, counters.filesFound, counters.foldersFound},
                             false)));
}

QTEST_MAIN(TestSelectionViews)
#include "tst_selectionviews.moc"
