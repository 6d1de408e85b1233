#include <QAccessible>
#include <QApplication>
#include <QDateEdit>
#include <QDockWidget>
#include <QScreen>
#include <QHeaderView>
#include <QStatusTipEvent>
#include <algorithm>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <memory>

#include "BrowseFixture.h"
#include "app/CAboutDialog.h"
#include "app/Languages.h"
#include "select/CFileMaskDialog.h"
#include "browse/FileRows.h"

using namespace velmora;
using namespace velmora::gui;
using velmora::testing::BrowseFixture;

// The window keeps the conventions of a Qt desktop program: what assistive
// technology reads, the sort arrow.
class TestDesktopConventions : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void statusPanesReadTheirText();
  void boxesExposeTheirThreeStates_data();
  void boxesExposeTheirThreeStates();
  void sortArrowFollowsTheOrderShown_data();
  void sortArrowFollowsTheOrderShown();
  void titlesAndPromptsShowWhole();
  void restoredPositionLiesOnAScreen();
  void datePickersAndAboutFollowTheLanguage();
  void returnClosesTheWindowsAboutBox();

 private:
  QHeaderView* Header() const { return f_->list().detailsView()->header(); }
  std::unique_ptr<BrowseFixture> f_;
};

namespace {

// The accessible child of a view that stands for index (a cell of the list, an
// item of the tree), as a screen reader reaches it.
QAccessibleInterface* CellOf(QAbstractItemView* view, const QModelIndex& index) {
  QAccessibleInterface* viewInterface = QAccessible::queryAccessibleInterface(view);
  if (!viewInterface) return nullptr;
  const QRect rect = view->visualRect(index);
  const QPoint global = view->viewport()->mapToGlobal(rect.center());
  QAccessibleInterface* child = viewInterface->childAt(global.x(), global.y());
  // A tree's row answers for its one cell.
  if (child && child->childCount() > 0) {
    QAccessibleInterface* cell = child->childAt(global.x(), global.y());
    if (cell) return cell;
  }
  return child;
}

// What a column orders by, as text that sorts the same way.
QString SortKey(const disc::Entry& entry, int column) {
  switch (static_cast<browse::ListColumn>(column)) {
    case browse::ListColumn::kName: return QString::fromStdU16String(entry.name).toLower();
    case browse::ListColumn::kType: return entry.IsFolder() ? QStringLiteral("Dir") : QStringLiteral("File");
    case browse::ListColumn::kSize: return QStringLiteral("%1").arg(entry.size, 20, 10, QLatin1Char('0'));
    case browse::ListColumn::kDate:
      return QString::asprintf("%04d%02d%02d%02d%02d%02d", int(entry.year), int(entry.month),
                               int(entry.day), int(entry.hour), int(entry.minute), int(entry.second));
    case browse::ListColumn::kFileId: return QStringLiteral("%1").arg(entry.fileId, 10, 10, QLatin1Char('0'));
  }
  return {};
}

}  // namespace

void TestDesktopConventions::init() {
  f_ = std::make_unique<BrowseFixture>();
  QVERIFY(QTest::qWaitForWindowExposed(f_->frame.get()));
  QAccessible::setActive(true);
  f_->Scan();
}

void TestDesktopConventions::cleanup() { f_.reset(); }

void TestDesktopConventions::statusPanesReadTheirText() {
  QVERIFY(f_->tree().SelectFolder(f_->Entry(u"DOCS")));
  f_->ClickRowBox(u"MID.TXT");
  QStatusTipEvent tip(QStringLiteral("Recover the marked files"));
  QCoreApplication::sendEvent(f_->frame.get(), &tip);
  for (int pane = 0; pane < 3; ++pane) {
    QLabel* label = f_->frame->StatusPane(pane);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(label);
    QVERIFY(accessible);
    // What the pane says, not what it is for: the reader speaks the totals.
    QVERIFY2(!label->text().trimmed().isEmpty(), qPrintable(QString::number(pane)));
    QCOMPARE(accessible->text(QAccessible::Name), label->text());
    QVERIFY(!accessible->text(QAccessible::Description).isEmpty());
  }
  QVERIFY(f_->frame->StatusPane(1)->text().startsWith(QStringLiteral("Total")));
  QCOMPARE(f_->frame->StatusPane(2)->text(), QStringLiteral("Marked 6 Bytes in 1 Files in 0 Folders"));
  QCOMPARE(QAccessible::queryAccessibleInterface(f_->frame->StatusPane(1))
               ->text(QAccessible::Description),
           QStringLiteral("Disc totals"));
}

void TestDesktopConventions::boxesExposeTheirThreeStates_data() {
  QTest::addColumn<bool>("inTree");
  QTest::newRow("folder tree") << true;
  QTest::newRow("file list") << false;
}

void TestDesktopConventions::boxesExposeTheirThreeStates() {
  QFETCH(bool, inTree);
  // DOCS grey (a file and SUB marked in it), SUB marked, EMPTY unmarked; in
  // the list DOCS and EMPTY are rows of Root, SUB a row of DOCS.
  QVERIFY(f_->tree().SelectFolder(f_->Entry(u"DOCS")));
  f_->ClickRowBox(u"MID.TXT");
  f_->ClickRowBox(u"SUB");
  const struct {
    const char16_t* name;
    Qt::CheckState box;
    const char* words;
  } cases[] = {{u"DOCS", Qt::PartiallyChecked, "Partly marked for recovery"},
               {u"EMPTY", Qt::Unchecked, "Not marked for recovery"},
               {u"SUB", Qt::Checked, "Marked for recovery"}};
  for (const auto& c : cases) {
    const QString name = QString::fromStdU16String(c.name);
    QAbstractItemView* view;
    QModelIndex index;
    if (inTree) {
      view = &f_->tree();
      index = f_->TreeItem(c.name);
      f_->tree().scrollTo(index);
    } else {
      const bool inDocs = name == QStringLiteral("SUB");
      QVERIFY(f_->tree().SelectFolder(f_->Entry(inDocs ? u"DOCS" : u"Root")));
      view = f_->list().currentView();
      index = f_->views().listModel().index(f_->Row(c.name), 0);
    }
    QCOMPARE(index.data(Qt::CheckStateRole).value<Qt::CheckState>(), c.box);
    QAccessibleInterface* cell = CellOf(view, index);
    QVERIFY2(cell, qPrintable(name));
    QCOMPARE(cell->text(QAccessible::Name), name);
    const QAccessible::State state = cell->state();
    QVERIFY2(state.checkable, qPrintable(name));
    QCOMPARE(bool(state.checked), c.box == Qt::Checked);
    // Qt's item cells report checked or not; the grey box is told apart by
    // the words of the cell's description.
    QCOMPARE(cell->text(QAccessible::Description), QString::fromLatin1(c.words));
  }
}

void TestDesktopConventions::sortArrowFollowsTheOrderShown_data() {
  QTest::addColumn<int>("column");
  QTest::newRow("Name") << int(browse::ListColumn::kName);
  QTest::newRow("Type") << int(browse::ListColumn::kType);
  QTest::newRow("Size") << int(browse::ListColumn::kSize);
  QTest::newRow("Date") << int(browse::ListColumn::kDate);
  QTest::newRow("File ID") << int(browse::ListColumn::kFileId);
}

void TestDesktopConventions::sortArrowFollowsTheOrderShown() {
  QFETCH(int, column);
  QVERIFY(f_->tree().SelectFolder(f_->Entry(u"DOCS")));
  // Qt's own view sorted the same way is the convention: its header says
  // ascending when its rows are ascending, and the style draws that.
  for (const bool ascending : {true, false}) {
    const int x = Header()->sectionViewportPosition(column) + Header()->sectionSize(column) / 2;
    QTest::mouseClick(Header()->viewport(), Qt::LeftButton, {}, QPoint(x, Header()->height() / 2));
    const auto& model = f_->views().listModel();
    QCOMPARE(model.sortAscending(), ascending);
    QVERIFY(Header()->isSortIndicatorShown());
    QCOMPARE(Header()->sortIndicatorSection(), column);
    QCOMPARE(Header()->sortIndicatorOrder(), ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
    // The rows are in the order the arrow says.
    QStringList keys;
    for (int row = 0; row < model.rowCount(); ++row) {
      keys << SortKey(f_->table()[model.EntryAt(row)], column);
    }
    QStringList expected = keys;
    std::stable_sort(expected.begin(), expected.end(), [&](const QString& a, const QString& b) {
      return ascending ? a < b : b < a;
    });
    QCOMPARE(keys, expected);
    QVERIFY(keys.first() != keys.last());
  }
}

void TestDesktopConventions::titlesAndPromptsShowWhole() {
  QCOMPARE(f_->frame->windowTitle(), f_->frame->windowTitle().trimmed());
  auto* dock = f_->frame->findChild<QDockWidget*>(QStringLiteral("messageLogBar"));
  QVERIFY(dock);
  QCOMPARE(dock->windowTitle(), QStringLiteral("Message Log"));

  // A prompt longer than the pane: elided, whole in the tooltip and for the
  // screen reader; a short one as it is.
  const struct {
    QString prompt;
    bool elided;
  } cases[] = {{QStringLiteral("Recover the marked files"), false},
               {QStringLiteral("Display the complete tree of files and folders again, with every "
                               "mask taken away and the marks kept"),
                true}};
  QLabel* pane = f_->frame->StatusPane(0);
  for (const auto& c : cases) {
    QStatusTipEvent tip(c.prompt);
    QCoreApplication::sendEvent(f_->frame.get(), &tip);
    QCOMPARE(pane->text() != c.prompt, c.elided);
    QCOMPARE(pane->text().endsWith(QChar(0x2026)), c.elided);
    QVERIFY(pane->fontMetrics().horizontalAdvance(pane->text()) <= pane->contentsRect().width());
    QCOMPARE(pane->toolTip(), c.prompt);
    QCOMPARE(QAccessible::queryAccessibleInterface(pane)->text(QAccessible::Name), c.prompt);
  }
}

void TestDesktopConventions::restoredPositionLiesOnAScreen() {
  // Closed where a second screen was, which is gone at the next start.
  f_->frame->setWindowState(Qt::WindowNoState);
  f_->frame->setGeometry(5000, 4000, 640, 480);
  QVERIFY(f_->frame->close());
  f_.reset();
  f_ = std::make_unique<BrowseFixture>();
  QVERIFY(QTest::qWaitForWindowExposed(f_->frame.get()));
  const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
  const QRect shown = f_->frame->frameGeometry().intersected(available);
  QVERIFY2(shown.width() >= 100 && shown.height() >= 50,
           qPrintable(QStringLiteral("%1,%2 on %3x%4")
                          .arg(f_->frame->x()).arg(f_->frame->y())
                          .arg(available.width()).arg(available.height())));
}

void TestDesktopConventions::datePickersAndAboutFollowTheLanguage() {
  SetTranslationFolder(QStringLiteral(VELMORA_GUI_DIR));
  struct Case {
    std::uint32_t language;
    QLocale::Language locale;
  };
  const Case cases[] = {{1, QLocale::French},
                        {2, QLocale::German},
                        {3, QLocale::Spanish},
                        {4, QLocale::Italian},
                        {0, QLocale::English}};
  for (const Case& c : cases) {
    QVERIFY(f_->frame->SwitchLanguage(c.language));
    CFileMaskDialog mask({2001, 12, 3}, f_->frame.get());
    const QList<QDateEdit*> pickers = mask.findChildren<QDateEdit*>();
    QVERIFY(!pickers.isEmpty());
    for (QDateEdit* picker : pickers) {
      QCOMPARE(picker->locale().language(), c.locale);
      // The month by its name in the language shown.
      const QString month = QLocale(c.locale).monthName(picker->date().month());
      QVERIFY2(picker->text().contains(month), qPrintable(picker->text() + QStringLiteral(" / ") + month));

    }
  }
  // The About caption reads as the Help menu's item does.
  QVERIFY(f_->frame->SwitchLanguage(1));
  CAboutDialog about(f_->frame.get());
  QCOMPARE(about.windowTitle(), QString::fromUtf8("À propos d’Orvane Velmora CDROM 2.0"));
  QVERIFY(f_->frame->SwitchLanguage(0));
}

// Help > About over the scanned window: the box opens with the focus on its
// OK button, not on a link, so that Return closes it.
void TestDesktopConventions::returnClosesTheWindowsAboutBox() {
  f_->Scan();
  bool focusOnOk = false;
  bool closedByReturn = false;
  QTimer::singleShot(0, f_->frame.get(), [&] {
    auto* box = qobject_cast<CAboutDialog*>(QApplication::activeModalWidget());
    if (!box) return;
    // The offscreen platform has no window manager to make the new box the
    // active window; a desktop's gives the keys to the box's focus widget.
    QWidget* focused = box->focusWidget();
    focusOnOk = qobject_cast<QPushButton*>(focused) != nullptr;
    if (focused) QTest::keyClick(focused, Qt::Key_Return);
    closedByReturn = !box->isVisible();
    // A box Return left open fails the test below instead of hanging it.
    if (box->isVisible()) box->reject();
  });
  f_->frame->OnAbout();
  QVERIFY(focusOnOk);
  QVERIFY(closedByReturn);
}

QTEST_MAIN(TestDesktopConventions)
#include "tst_desktopconventions.moc"
