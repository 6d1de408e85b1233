// Marks and their totals while a scan runs and after the table shown is
// replaced: a folder ticked in the middle of a slow scan, a file whose extent
// is 0 across a mask and its removal.

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "BrowseFixture.h"
#include "browse/Totals.h"
#include "select/CFileMaskDialog.h"
#include "support/HandDisc.h"
#include "support/SectorFinder.h"

using namespace velmora;
using velmora::testing::BrowseFixture;

namespace {

namespace fs = std::filesystem;

constexpr int kFolders = 6;
constexpr int kFilesPerFolder = 300;

// DIR0 ... DIR5 of 300 files each, made by genisoimage; the directories of
// DIR1 and DIR4 are slow sectors, so that the scan lets events through after
// the two folders appear and before their files do.
platform::emulated::EmulatedDisc SlowFoldersDisc(const testing::TempDir& dir) {
  std::vector<testing::FixtureFile> files;
  for (int folder = 0; folder < kFolders; ++folder) {
    for (int file = 0; file < kFilesPerFolder; ++file) {
      files.push_back({.path = "DIR" + std::to_string(folder) + "/F" + std::to_string(file) + ".TXT",
                       .content = "file " + std::to_string(file)});
    }
  }
  testing::WriteTree(dir / "tree", files);
  const fs::path image = testing::MakeIso(dir / "tree", dir / "slow.iso");
  std::string reason;
  auto disc = platform::emulated::EmulatedDisc::FromImage(image.string(), reason);
  if (!disc) throw std::runtime_error(reason);
  for (const char* folder : {"DIR1", "DIR4"}) {
    disc->faults[testing::FileExtentLba(image, folder, true)] = {
        .kind = platform::emulated::FaultKind::kSlow, .delay = std::chrono::milliseconds(100)};
  }
  return *disc;
}

// Root: A.TXT, ZERO.TXT (empty, extent 0, as some writers record an empty
// file), DOCS/ B.TXT. Written record by record: no tool writes extent 0.
platform::emulated::EmulatedDisc ExtentZeroDisc(const testing::TempDir& dir) {
  testing::HandDisc disc(24);
  disc.WritePrimary(18, 2048);
  disc.WriteDirectory(18, 18,
                      {{.name = "A.TXT;1", .extent = 20, .length = 5},
                       {.name = "DOCS", .folder = true, .extent = 19, .length = 2048},
                       {.name = "ZERO.TXT;1", .extent = 0, .length = 0}});
  disc.WriteDirectory(19, 18, {{.name = "B.TXT;1", .extent = 21, .length = 3}});
  disc.WriteText(20, "hello");
  disc.WriteText(21, "bee");
  const fs::path image = dir / "zero.iso";
  disc.Save(image);
  std::string reason;
  auto emulated = platform::emulated::EmulatedDisc::FromImage(image.string(), reason);
  if (!emulated) throw std::runtime_error(reason);
  return *emulated;
}

// Runs answer on the next modal dialog of type T once it is on screen.
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

void ClickOk(QDialog* dialog) {
  for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
    if (button->text() == QStringLiteral("OK")) {
      QTest::mouseClick(button, Qt::LeftButton);
      return;
    }
  }
  QFAIL("no OK button");
}

}  // namespace

class TestScanMarks : public QObject {
  Q_OBJECT

 private slots:
  void folderTickedDuringAScanTakesInWhatTheScanFindsLater();
  void markOnAFileAtExtentZeroSurvivesMaskAndUnmask();
};

void TestScanMarks::folderTickedDuringAScanTakesInWhatTheScanFindsLater() {
  testing::TempDir discDir;
  BrowseFixture fixture(SlowFoldersDisc(discDir));
  std::vector<std::size_t> filesBeforeTick;
  auto* poll = new QTimer(fixture.frame.get());
  connect(poll, &QTimer::timeout, fixture.frame.get(), [&] {
    if (!fixture.TreeItem(u"DIR1").isValid() || !fixture.TreeItem(u"DIR4").isValid()) return;
    poll->stop();
    for (const char16_t* folder : {u"DIR1", u"DIR4"}) {
      const auto& rows = fixture.table().ChildrenOf(fixture.table()[fixture.Entry(folder)].fileId);
      filesBeforeTick.push_back(rows.size());
      fixture.ClickTreeBox(folder);
    }
  });
  poll->start(0);
  fixture.Scan();

  // The ticks came while the two folders were still empty.
  QCOMPARE(filesBeforeTick, (std::vector<std::size_t>{0, 0}));
  QVERIFY(fixture.frame->state().treeComplete);
  std::uint64_t bytes = 0;
  for (const char16_t* folder : {u"DIR1", u"DIR4"}) {
    const std::size_t at = fixture.Entry(folder);
    QCOMPARE(fixture.TreeBox(folder), Qt::Checked);
    const auto& rows = fixture.table().ChildrenOf(fixture.table()[at].fileId);
    QCOMPARE(rows.size(), std::size_t{kFilesPerFolder});
    for (std::size_t row : rows) {
      QCOMPARE(fixture.table()[row].checkState, disc::kMarked);
      bytes += fixture.table()[row].size;
    }
  }
  QCOMPARE(fixture.TreeBox(u"DIR0"), Qt::Unchecked);
  QCOMPARE(fixture.TreeBox(u"Root"), Qt::PartiallyChecked);
  QCOMPARE(fixture.MarkedPane(), QString::fromStdU16String(browse::FormatTotals(
                                     {bytes, 2 * kFilesPerFolder, 2}, true)));
  // The list of a ticked folder shows its rows ticked.
  fixture.tree().SelectFolder(fixture.Entry(u"DIR4"));
  const auto& rows = fixture.views().listModel();
  QCOMPARE(rows.rowCount(), kFilesPerFolder);
  for (int row = 0; row < rows.rowCount(); ++row) {
    QCOMPARE(rows.index(row, 0).data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Checked);
  }

  // Recover Selected saves the 600 files, and says it completed.
  fixture.prompts.folder = (discDir / "out").string();
  fs::create_directory(discDir / "out");
  QVERIFY(fixture.frame->Action(gui::kRecoverSelected)->isEnabled());
  fixture.frame->Action(gui::kRecoverSelected)->trigger();
  for (const char* folder : {"DIR1", "DIR4"}) {
    const auto saved = std::distance(fs::directory_iterator(discDir / "out" / folder),
                                     fs::directory_iterator());
    QCOMPARE(saved, std::ptrdiff_t{kFilesPerFolder});
  }
  QVERIFY(!fs::exists(discDir / "out" / "DIR0"));
  QCOMPARE(fixture.frame->messageLog().rows().back().status, std::u16string(u"Process Completed"));
}

// Whether anything is marked is known by the entries' places, never by their
// File ID: an empty file may have extent 0, as Root's File ID is.
void TestScanMarks::markOnAFileAtExtentZeroSurvivesMaskAndUnmask() {
  testing::TempDir discDir;
  BrowseFixture fixture(ExtentZeroDisc(discDir));
  fixture.Scan();
  QCOMPARE(fixture.table()[fixture.Entry(u"ZERO.TXT")].fileId, 0u);
  fixture.ClickRowBox(u"ZERO.TXT");
  QCOMPARE(fixture.RowBox(u"ZERO.TXT"), Qt::Checked);
  QVERIFY(fixture.frame->Action(gui::kRecoverSelected)->isEnabled());

  for (int command : {gui::kFileMask, gui::kFileUnmask}) {
    WhenModal<gui::CFileMaskDialog>([](gui::CFileMaskDialog* dialog) { ClickOk(dialog); });
    fixture.frame->Action(command)->trigger();
    QCOMPARE(fixture.table()[fixture.Entry(u"ZERO.TXT")].checkState, disc::kMarked);
    QVERIFY(fixture.frame->state().anyEntryMarked);
    QVERIFY2(fixture.frame->Action(gui::kRecoverSelected)->isEnabled(),
             command == gui::kFileMask ? "masked" : "unmasked");
    QVERIFY(fixture.frame->ToolbarAction(gui::kRecoverSelected)->isEnabled());
    QCOMPARE(fixture.MarkedPane(),
             QString::fromStdU16String(browse::FormatTotals({0, 1, 0}, true)));
  }
}

QTEST_MAIN(TestScanMarks)
#include "tst_scanmarks.moc"
