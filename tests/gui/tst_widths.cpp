#include <QHeaderView>
#include <QListView>
#include <QSettings>
#include <QSplitter>
#include <QTest>
#include <QTreeView>
#include <memory>

#include "BrowseFixture.h"
#include "app/Languages.h"

using namespace velmora;
using namespace velmora::gui;
using velmora::testing::BrowseFixture;

// Columns and panes fit what they show, and keep the widths the user gives
// them from one start to the next.
class TestWidths : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void folderTreeStartsWideEnoughForTypicalNames();
  void nameColumnFitsTheNamesUpToTheRoomLeft();
  void iconStylesShowNamesOfTwentyFourCharacters_data();
  void iconStylesShowNamesOfTwentyFourCharacters();
  void widthsTheUserSetAreKept();

 private:
  // A new window on the same disc and settings, scanned.
  void OpenWindow();
  QTreeView* Details() const { return f_->list().detailsView(); }
  // The width the Name column needs for every name listed to show whole.
  int NameHint() const {
    return static_cast<QAbstractItemView*>(Details())->sizeHintForColumn(0);
  }

  std::unique_ptr<testing::TempDir> dir_;
  std::string image_;
  std::unique_ptr<BrowseFixture> f_;
};

namespace {

// Names of 20 to 30 characters, as people name their folders and files, and one
// far longer than any column should grow for.
constexpr const char* kLongestTypical = "Annual report 1999 final.pdf";   // 28
constexpr const char* kTypicalFolder = "Reports 1999 quarterly";           // 22
constexpr const char* kOverlong =
    "A name far longer than any column should grow for, written by a program that "
    "names its files after their first sentence.txt";

}  // namespace

void TestWidths::init() {
  // Each case starts from settings of its own: no width kept from another.
  QSettings(SettingsOrganization(), SettingsApplication()).clear();
  dir_ = std::make_unique<testing::TempDir>();
  testing::WriteTree(dir_->path() / "tree",
                     {{.path = std::string(kTypicalFolder) + "/Second quarter 1999/" + kLongestTypical,
                       .content = "report"},
                      {.path = std::string(kTypicalFolder) + "/Q1.TXT", .content = "q1"},
                      {.path = std::string(kTypicalFolder) + "/Budget and forecast.xlsx",
                       .content = "b"},
                      {.path = std::string(kTypicalFolder) + "/" + kLongestTypical, .content = "x"},
                      {.path = "LONG/" + std::string(kOverlong), .content = "long"}});
  testing::IsoOptions options;
  options.tool = testing::IsoTool::kXorriso;
  options.rockRidge = true;
  image_ = testing::MakeIso(dir_->path() / "tree", dir_->path() / "disc.iso", options).string();
  OpenWindow();
}

void TestWidths::OpenWindow() {
  f_.reset();
  std::string reason;
  auto disc = platform::emulated::EmulatedDisc::FromImage(image_, reason);
  QVERIFY2(disc, reason.c_str());
  f_ = std::make_unique<BrowseFixture>(std::move(*disc));
  // A window of a common laptop screen's size.
  f_->frame->setWindowState(Qt::WindowNoState);
  f_->frame->resize(1280, 760);
  QVERIFY(QTest::qWaitForWindowExposed(f_->frame.get()));
  f_->Scan();
  QCoreApplication::processEvents();
}

void TestWidths::cleanup() {
  f_.reset();
  dir_.reset();
}

void TestWidths::folderTreeStartsWideEnoughForTypicalNames() {
  // Two levels down, a folder of a typical name shows whole without scrolling.
  const QModelIndex second = f_->TreeItem(u"Second quarter 1999");
  QVERIFY(second.isValid());
  f_->tree().expand(second.parent());
  f_->tree().scrollTo(second);
  QCoreApplication::processEvents();
  for (const char16_t* name : {u"Reports 1999 quarterly", u"Second quarter 1999"}) {
    const QModelIndex index = f_->TreeItem(name);
    const QRect item = f_->tree().visualRect(index);
    QVERIFY2(item.right() <= f_->tree().viewport()->width(),
             qPrintable(QStringLiteral("%1 ends at %2 of %3")
                            .arg(QString::fromStdU16String(name))
                            .arg(item.right())
                            .arg(f_->tree().viewport()->width())));
  }
  // And the tree leaves the file list most of the window.
  QVERIFY(f_->frame->splitter()->sizes().at(0) <= f_->frame->width() / 3);
}

void TestWidths::nameColumnFitsTheNamesUpToTheRoomLeft() {
  QVERIFY(f_->tree().SelectFolder(f_->Entry(u"Reports 1999 quarterly")));
  QCoreApplication::processEvents();
  // Every name shows whole: the column is as wide as its widest row needs.
  QVERIFY2(Details()->columnWidth(0) >= NameHint(),
           qPrintable(QStringLiteral("%1 < %2").arg(Details()->columnWidth(0))
                          .arg(NameHint())));
  const int fitted = Details()->columnWidth(0);

  // A name longer than the room: the column takes the room the others leave,
  // and every other column stays in view.
  QVERIFY(f_->tree().SelectFolder(f_->Entry(u"LONG")));
  QCoreApplication::processEvents();
  QVERIFY(Details()->columnWidth(0) > fitted);
  QVERIFY(Details()->columnWidth(0) < NameHint());
  const QHeaderView* header = Details()->header();
  const int last = header->sectionViewportPosition(4) + header->sectionSize(4);
  QVERIFY2(last <= Details()->viewport()->width(),
           qPrintable(QStringLiteral("%1 > %2").arg(last).arg(Details()->viewport()->width())));

  // A short listing gives the room back, down to the starting width.
  QVERIFY(f_->tree().SelectFolder(f_->Entry(u"Root")));
  QCoreApplication::processEvents();
  QVERIFY(Details()->columnWidth(0) < fitted);
}

void TestWidths::iconStylesShowNamesOfTwentyFourCharacters_data() {
  QTest::addColumn<int>("command");
  QTest::newRow("Large Icons") << int(kLargeIcons);
  QTest::newRow("Small Icons") << int(kSmallIcons);
  QTest::newRow("List") << int(kListView);
}

void TestWidths::iconStylesShowNamesOfTwentyFourCharacters() {
  QFETCH(int, command);
  QVERIFY(f_->tree().SelectFolder(f_->Entry(u"Reports 1999 quarterly")));
  f_->frame->Action(command)->trigger();
  QCoreApplication::processEvents();
  QListView* icons = f_->list().iconView();
  // Every name of up to 24 characters gets the room it needs: nothing elided.
  const auto& model = f_->views().listModel();
  int checked = 0;
  for (int row = 0; row < model.rowCount(); ++row) {
    const QModelIndex index = model.index(row, 0);
    const QString name = index.data().toString();
    if (name.size() > 24) continue;
    QStyleOptionViewItem option;
    option.initFrom(icons);
    option.decorationSize = icons->iconSize();
    option.decorationPosition = icons->viewMode() == QListView::IconMode
                                    ? QStyleOptionViewItem::Top
                                    : QStyleOptionViewItem::Left;
    option.features |= QStyleOptionViewItem::HasCheckIndicator |
                       QStyleOptionViewItem::HasDecoration | QStyleOptionViewItem::HasDisplay;
    const QSize needed = icons->itemDelegate()->sizeHint(option, index);
    const QRect item = icons->visualRect(index);
    QVERIFY2(item.width() >= needed.width(),
             qPrintable(QStringLiteral("%1: %2 of %3 pixels").arg(name).arg(item.width()).arg(needed.width())));
    ++checked;
  }
  QCOMPARE(checked, 3);  // "Budget and forecast.xlsx", "Second quarter 1999", "Q1.TXT"
}

void TestWidths::widthsTheUserSetAreKept() {
  QVERIFY(f_->tree().SelectFolder(f_->Entry(u"Reports 1999 quarterly")));
  QCoreApplication::processEvents();
  // The user drags the Name and Date columns and the splitter.
  Details()->header()->resizeSection(0, 150);
  Details()->header()->resizeSection(3, 210);
  f_->frame->splitter()->setSizes({333, f_->frame->width() - 333});
  const QList<int> split = f_->frame->splitter()->sizes();
  // A fill does not undo the user's width.
  QVERIFY(f_->tree().SelectFolder(f_->Entry(u"LONG")));
  QCoreApplication::processEvents();
  QCOMPARE(Details()->columnWidth(0), 150);
  const int typeWidth = Details()->columnWidth(1);
  QVERIFY(f_->frame->close());

  OpenWindow();
  QVERIFY(f_->tree().SelectFolder(f_->Entry(u"LONG")));
  QCoreApplication::processEvents();
  QCOMPARE(Details()->columnWidth(0), 150);
  QCOMPARE(Details()->columnWidth(3), 210);
  QCOMPARE(Details()->columnWidth(1), typeWidth);
  QCOMPARE(f_->frame->splitter()->sizes().at(0), split.at(0));
}

QTEST_MAIN(TestWidths)
#include "tst_widths.moc"
