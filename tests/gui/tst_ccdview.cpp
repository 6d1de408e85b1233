#include <QAction>
#include <QHeaderView>
#include <QListView>
#include <QTest>
#include <QTreeView>
#include <memory>

#include "BrowseFixture.h"
#include "browse/FileRows.h"
#include "support/MultiSessionBuilder.h"

using namespace velmora;
using namespace velmora::gui;
using velmora::testing::BrowseFixture;

// The file list on a scanned disc: sorting, the four styles, opening folders.
class TestCCDView : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void headerClicksAndArrangeSortWithTheArrow();
  void viewStylesFollowTheCommands();
  void doubleClickOpensAFolderRow();
  void enterOpensAFolderRowWhenNotBusy();
  void revealRowById();
  void rowsWithoutATimeShowNoDate();

 private:
  void ClickHeader(int column);
  QHeaderView* Header() const { return f_->list().detailsView()->header(); }

  std::unique_ptr<BrowseFixture> f_;
};

void TestCCDView::init() {
  f_ = std::make_unique<BrowseFixture>();
  QVERIFY(QTest::qWaitForWindowExposed(f_->frame.get()));
  f_->Scan();
  QVERIFY(f_->tree().SelectFolder(f_->Entry(u"DOCS")));
}

void TestCCDView::cleanup() { f_.reset(); }

void TestCCDView::ClickHeader(int column) {
  const int x = Header()->sectionViewportPosition(column) + Header()->sectionSize(column) / 2;
  QTest::mouseClick(Header()->viewport(), Qt::LeftButton, {}, QPoint(x, Header()->height() / 2));
}

void TestCCDView::headerClicksAndArrangeSortWithTheArrow() {
  QVERIFY(!Header()->isSortIndicatorShown());
  ClickHeader(3);
  // The whole date: 3 Jan 2001 before 3 Dec 2001, though both are the 3rd.
  QCOMPARE(f_->RowNames(),
           QStringLiteral("OLD.TXT,MID.TXT,JAN.TXT,NEW.TXT,Readme,README,SUB"));
  QVERIFY(Header()->isSortIndicatorShown());
  QCOMPARE(Header()->sortIndicatorSection(), 3);
  QCOMPARE(Header()->sortIndicatorOrder(), Qt::AscendingOrder);
  ClickHeader(3);
  QCOMPARE(f_->RowNames(),
           QStringLiteral("SUB,README,Readme,NEW.TXT,JAN.TXT,MID.TXT,OLD.TXT"));
  QCOMPARE(Header()->sortIndicatorOrder(), Qt::DescendingOrder);
  // Every request flips the direction, whatever the column.
  ClickHeader(2);
  QCOMPARE(f_->RowNames().section(',', 0, 0), QStringLiteral("SUB"));  // 0 bytes
  QCOMPARE(f_->RowNames().section(',', -1), QStringLiteral("MID.TXT"));  // 6 bytes
  QCOMPARE(Header()->sortIndicatorSection(), 2);
  f_->frame->Action(kArrangeByType)->trigger();
  QCOMPARE(f_->RowNames().section(',', -1), QStringLiteral("SUB"));  // descending: Dir last
  QCOMPARE(Header()->sortIndicatorSection(), 1);
  QCOMPARE(Header()->sortIndicatorOrder(), Qt::DescendingOrder);
  f_->frame->Action(kArrangeByName)->trigger();
  QCOMPARE(Header()->sortIndicatorOrder(), Qt::AscendingOrder);
  QCOMPARE(f_->RowNames().section(',', 0, 3), QStringLiteral("JAN.TXT,MID.TXT,NEW.TXT,OLD.TXT"));
  QCOMPARE(f_->RowNames().section(',', -1), QStringLiteral("SUB"));

  // A fill puts the rows back in table order, without an arrow, and the next
  // request sorts ascending again.
  QVERIFY(f_->tree().SelectFolder(f_->Entry(u"Root")));
  QVERIFY(f_->tree().SelectFolder(f_->Entry(u"DOCS")));
  QVERIFY(!Header()->isSortIndicatorShown());
  QCOMPARE(f_->views().listModel().sortColumn(), -1);
  f_->frame->Action(kArrangeByDate)->trigger();
  QCOMPARE(f_->RowNames().section(',', 0, 0), QStringLiteral("OLD.TXT"));
  // The boxes go with their rows.
  f_->ClickRowBox(u"JAN.TXT");
  QCOMPARE(f_->RowBox(u"JAN.TXT"), Qt::Checked);
  ClickHeader(0);
  QCOMPARE(f_->RowBox(u"JAN.TXT"), Qt::Checked);
  QCOMPARE(f_->RowBox(u"MID.TXT"), Qt::Unchecked);
}

void TestCCDView::viewStylesFollowTheCommands() {
  struct StyleCase {
    int command;
    ListStyle style;
  };
  const StyleCase cases[] = {{kLargeIcons, ListStyle::kLargeIcons},
                             {kSmallIcons, ListStyle::kSmallIcons},
                             {kListView, ListStyle::kList},
                             {kDetailsView, ListStyle::kDetails}};
  for (const StyleCase& c : cases) {
    f_->frame->Action(c.command)->trigger();
    f_->frame->RefreshCommands();
    QCOMPARE(f_->list().Style(), c.style);
    QVERIFY(f_->frame->Action(c.command)->isChecked());
    QCOMPARE(f_->list().currentWidget(), static_cast<QWidget*>(f_->list().currentView()));
    const bool details = c.style == ListStyle::kDetails;
    QCOMPARE(f_->list().currentView() == f_->list().detailsView(), details);
    if (!details) {
      QCOMPARE(f_->list().iconView()->viewMode() == QListView::IconMode,
               c.style == ListStyle::kLargeIcons);
      // A box in an icon style marks as in Details.
      f_->ClickRowBox(u"OLD.TXT");
      QCOMPARE(f_->RowBox(u"OLD.TXT"), Qt::Checked);
      f_->ClickRowBox(u"OLD.TXT");
      QCOMPARE(f_->RowBox(u"OLD.TXT"), Qt::Unchecked);
    }
  }
}

void TestCCDView::doubleClickOpensAFolderRow() {
  QTreeView* details = f_->list().detailsView();
  auto cell = [&](const char16_t* name) {
    return details->visualRect(f_->views().listModel().index(f_->Row(name), 1)).center();
  };
  // What a double-click delivers: a press and release, then the second press.
  auto doubleClick = [&](const char16_t* name) {
    QTest::mouseClick(details->viewport(), Qt::LeftButton, {}, cell(name));
    QTest::mouseDClick(details->viewport(), Qt::LeftButton, {}, cell(name));
  };
  doubleClick(u"SUB");
  QCOMPARE(f_->tree().currentIndex(), f_->TreeItem(u"SUB"));
  QCOMPARE(f_->RowNames(), QStringLiteral("DEEP.TXT"));
  // A file row opens nothing.
  doubleClick(u"DEEP.TXT");
  QCOMPARE(f_->tree().currentIndex(), f_->TreeItem(u"SUB"));
}

void TestCCDView::enterOpensAFolderRowWhenNotBusy() {
  QTreeView* details = f_->list().detailsView();
  details->setFocus();
  details->setCurrentIndex(f_->views().listModel().index(f_->Row(u"SUB"), 0));
  f_->frame->state().busy = true;
  QTest::keyClick(details, Qt::Key_Return);
  QCOMPARE(f_->tree().currentIndex(), f_->TreeItem(u"DOCS"));
  f_->frame->state().busy = false;
  QTest::keyClick(details, Qt::Key_Return);
  QCOMPARE(f_->tree().currentIndex(), f_->TreeItem(u"SUB"));
}

void TestCCDView::revealRowById() {
  const std::uint32_t id = f_->table()[f_->Entry(u"README")].fileId;
  f_->list().RevealRowById(id);
  const std::size_t current =
      f_->views().listModel().EntryAt(f_->list().detailsView()->currentIndex().row());
  QCOMPARE(f_->table()[current].fileId, id);
  f_->list().RevealRowById(999999);
  QCOMPARE(f_->views().listModel().EntryAt(f_->list().detailsView()->currentIndex().row()),
           current);
}

// Root's rows on a two-session disc are the Session nodes, which have no
// recording time: their Date cells are empty, as velmora-cli lists them; the
// files' cells show their dates.
void TestCCDView::rowsWithoutATimeShowNoDate() {
  testing::TempDir dir;
  testing::WriteTree(dir / "s1",
                     {{.path = "ONE.TXT", .content = "1", .mtime = testing::Day(2003, 4, 5)}});
  testing::WriteTree(dir / "s2",
                     {{.path = "TWO.TXT", .content = "2", .mtime = testing::Day(2004, 5, 6)}});
  const testing::MultiSessionDisc made =
      testing::MakeCdMultiSessionDisc({dir / "s1", dir / "s2"}, dir / "two.img");
  platform::emulated::EmulatedDisc disc;
  disc.imagePath = made.image.string();
  disc.tracks = made.tracks;
  BrowseFixture two(std::move(disc));
  two.Scan();
  QVERIFY(two.tree().SelectFolder(two.Entry(u"Root")));
  QCOMPARE(two.RowNames(), QStringLiteral("Session 1,Session 2"));
  const auto date = [&](int row) {
    return two.views()
        .listModel()
        .index(row, static_cast<int>(browse::ListColumn::kDate))
        .data()
        .toString();
  };
  QCOMPARE(date(0), QString());
  QCOMPARE(date(1), QString());
  QVERIFY(two.tree().SelectFolder(two.Entry(u"Session 2")));
  QVERIFY(two.RowNames().contains(QStringLiteral("TWO.TXT")));
  const QString shown = date(two.Row(u"TWO.TXT"));
  QVERIFY2(shown.contains(QStringLiteral("-2004 ")), qPrintable(shown));
}

QTEST_MAIN(TestCCDView)
#include "tst_ccdview.moc"
