// The figures of a long copy in the window: bytes done of the whole (then the
// rate and the time left) as the progress bar's own text, for Recover All and
// Create Image, read while the emulated drive holds the copy at a sector.
#include <QAction>
#include <QLabel>
#include <QStatusBar>
#include <QTest>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "ScriptedWindowPrompts.h"
#include "app/CMainFrame.h"
#include "app/CProgressBar.h"
#include "app/CommandId.h"
#include "platform/emulated/EmulatedMachine.h"
#include "support/IsoBuilder.h"
#include "support/SectorFinder.h"
#include "support/TempDir.h"
#include "support/TreeWriter.h"

using namespace velmora;
using namespace velmora::gui;
namespace fs = std::filesystem;
using platform::emulated::FaultKind;
using platform::emulated::FaultMap;
using velmora::testing::ScriptedWindowPrompts;

namespace {

constexpr std::uint64_t KiB = 1024;

// What the window showed while the drive held the copy.
struct Seen {
  QString label;
  QString figures;
  int paneWidth = 0;
  int labelAndFiguresWidth = 0;
};

// Waits, on a thread of its own, for the emulated drive to hold a read (it
// makes holdFile), looks at the progress pane, and lets the read go. The
// read holds the window's thread meanwhile, so nothing on the window changes
// while it is looked at.
class HeldRead {
 public:
  HeldRead(CMainFrame& frame, fs::path holdFile)
      : watcher_([this, &frame, holdFile] {
          std::error_code error;
          while (!fs::exists(holdFile, error)) {
            if (abandoned_) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
          }
          const QLabel* pane = frame.StatusPane(0);
          seen_.label = pane->text();
          if (const CProgressBar* bar = frame.currentProgress()) seen_.figures = bar->figures();
          seen_.paneWidth = pane->width();
          seen_.labelAndFiguresWidth = pane->fontMetrics().horizontalAdvance(seen_.label) +
                                       pane->fontMetrics().horizontalAdvance(seen_.figures);
          held_ = true;
          fs::remove(holdFile, error);
        }) {}
  ~HeldRead() { Join(); }

  // After the copy: what was seen at the hold, if the drive held at all.
  const Seen* Join() {
    abandoned_ = true;
    if (watcher_.joinable()) watcher_.join();
    return held_ ? &seen_ : nullptr;
  }

 private:
  Seen seen_;
  std::atomic<bool> held_ = false;
  std::atomic<bool> abandoned_ = false;
  std::thread watcher_;
};

}  // namespace

class TestCopyProgress : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void cleanup();
  void recoverAllShowsTheBytesDoneOfAllFiles();
  void createImageShowsTheBytesDoneOfTheImage();
  void longFiguresWidenThePaneIntoTheRoomLeft();

 private:
  // Opens the window on the disc with these faults, and scans it.
  void OpenWith(const FaultMap& faults);

  std::unique_ptr<velmora::testing::TempDir> dir_;
  fs::path image_;
  std::uint32_t second_ = 0;  // extent of B.BIN
  std::uint32_t third_ = 0;   // extent of C.BIN
  std::unique_ptr<platform::emulated::EmulatedMachine> machine_;
  std::unique_ptr<CMainFrame> frame_;
  ScriptedWindowPrompts prompts_;
};

void TestCopyProgress::initTestCase() {
  dir_ = std::make_unique<velmora::testing::TempDir>();
  // 360 KiB in four files, the first over several reads.
  velmora::testing::WriteTree(dir_->path() / "tree",
                              {{.path = "A.BIN", .patternSize = 200 * KiB, .patternSeed = 1},
                               {.path = "B.BIN", .patternSize = 100 * KiB, .patternSeed = 2},
                               {.path = "C.BIN", .patternSize = 50 * KiB, .patternSeed = 3},
                               {.path = "D.BIN", .patternSize = 10 * KiB, .patternSeed = 4}});
  image_ = velmora::testing::MakeIso(dir_->path() / "tree", dir_->path() / "disc.iso");
  second_ = velmora::testing::FileExtentLba(image_, "B.BIN");
  third_ = velmora::testing::FileExtentLba(image_, "C.BIN");
}

void TestCopyProgress::OpenWith(const FaultMap& faults) {
  std::string reason;
  auto disc = platform::emulated::EmulatedDisc::FromImage(image_.string(), reason);
  QVERIFY2(disc, reason.c_str());
  disc->faults = faults;
  machine_ = std::make_unique<platform::emulated::EmulatedMachine>();
  machine_->InsertDisc(0, *disc);
  frame_ = std::make_unique<CMainFrame>(*machine_);
  prompts_ = ScriptedWindowPrompts{};
  frame_->SetPrompts(&prompts_);
  frame_->resize(1000, 600);
  frame_->show();
  QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
  frame_->Action(kOpenDrive)->trigger();
  QVERIFY(frame_->state().treeComplete);
}

void TestCopyProgress::cleanup() {
  frame_.reset();
  machine_.reset();
  std::error_code error;
  fs::remove_all(dir_->path() / "out", error);
  fs::remove(dir_->path() / "copy.cd", error);
  fs::remove(dir_->path() / "copy.cd.map", error);
}

// Held at C.BIN's first sector, the figures are those of A.BIN and B.BIN
// done of all four files. B.BIN reads slowly, longer than the figures wait
// between two rebuilds, so that they were built after it was done.
void TestCopyProgress::recoverAllShowsTheBytesDoneOfAllFiles() {
  const fs::path hold = dir_->path() / "held";
  OpenWith({{second_, {.kind = FaultKind::kSlow, .delay = std::chrono::milliseconds(300)}},
            {third_, {.kind = FaultKind::kNone, .holdFile = hold.string(), .holdAtRead = 1}}});
  fs::create_directories(dir_->path() / "out");
  prompts_.folder = (dir_->path() / "out").string();
  const int idleWidth = frame_->StatusPane(0)->width();

  HeldRead held(*frame_, hold);
  frame_->Action(kRecoverAll)->trigger();
  const Seen* seen = held.Join();

  QVERIFY2(seen, "the drive never held the copy");
  QCOMPARE(seen->label, QStringLiteral("2 Files Recovered"));
  // The rate and the time left join them once the copy has run two seconds,
  // which a loaded machine may take.
  QVERIFY2(seen->figures.startsWith(QStringLiteral("300.00 of 360.00 KB")),
           qPrintable(seen->figures));
  // The label and the figures are read whole.
  QVERIFY2(
      seen->paneWidth > seen->labelAndFiguresWidth,
      qPrintable(
          QStringLiteral("%1 px for %2 px").arg(seen->paneWidth).arg(seen->labelAndFiguresWidth)));
  // The copy ends whole, and the pane is as it was.
  QCOMPARE(fs::file_size(dir_->path() / "out" / "C.BIN"), 50 * KiB);
  QVERIFY(frame_->currentProgress() == nullptr);
  QCOMPARE(frame_->StatusPane(0)->width(), idleWidth);
  QCOMPARE(frame_->StatusPane(0)->text(), QStringLiteral(" "));
}

// The image reads 32 blocks at a time and counts them once written. Held at
// block 64, it has read blocks 32-63 slowly, longer than the figures wait
// between two rebuilds: they were built as those blocks were stepped, before
// they were written, on the 32 blocks before them, of all the disc's blocks.
void TestCopyProgress::createImageShowsTheBytesDoneOfTheImage() {
  const fs::path hold = dir_->path() / "held";
  QVERIFY2(third_ > 64, "blocks 32 to 64 lie in A.BIN, which the scan does not read");
  OpenWith({{33, {.kind = FaultKind::kSlow, .delay = std::chrono::milliseconds(300)}},
            {64, {.kind = FaultKind::kNone, .holdFile = hold.string(), .holdAtRead = 1}}});
  prompts_.saveFile = QString::fromStdString((dir_->path() / "copy").string());

  HeldRead held(*frame_, hold);
  frame_->Action(kCreateImage)->trigger();
  const Seen* seen = held.Join();

  QVERIFY2(seen, "the drive never held the copy");
  QCOMPARE(seen->label, QStringLiteral("Reading Sector 32"));
  const std::uint64_t blocks = fs::file_size(image_) / 2048;
  QVERIFY(blocks * 2048 < 1024 * KiB);
  QVERIFY2(seen->figures.startsWith(QStringLiteral("64.00 of %1.00 KB").arg(blocks * 2)),
           qPrintable(seen->figures));
  QVERIFY(seen->paneWidth > seen->labelAndFiguresWidth);
  QCOMPARE(fs::file_size(dir_->path() / "copy.cd"), (blocks + 1) * 2048);
  QVERIFY(frame_->currentProgress() == nullptr);
}

// Figures longer than the pane widen it while the indicator is there, as far
// as the status bar has room to spare: the window keeps its width, the totals
// beside the pane keep theirs.
void TestCopyProgress::longFiguresWidenThePaneIntoTheRoomLeft() {
  OpenWith({});
  const QString label = QStringLiteral("12345 Files Recovered");
  const QString figures = QStringLiteral("123.45 of 640.00 MB, 10.00 MB/s, 1:02:03 left");
  for (const int windowWidth : {1200, 700}) {
    frame_->resize(windowWidth, 600);
    QCoreApplication::processEvents();
    QLabel* pane = frame_->StatusPane(0);
    const int idleWidth = pane->width();
    const int totalsWidth = frame_->StatusPane(2)->width();
    const int roomToSpare =
        frame_->statusBar()->width() - frame_->statusBar()->minimumSizeHint().width();
    frame_->CreateReadingProgress(100);
    frame_->currentProgress()->SetText(label);
    frame_->currentProgress()->SetFigures(figures);
    QCoreApplication::processEvents();

    const QFontMetrics metrics = pane->fontMetrics();
    const int wanted = metrics.horizontalAdvance(label + QStringLiteral("    ") + figures);
    if (windowWidth == 1200) {
      // Room enough: label and figures whole, the bar wider than its text.
      QVERIFY2(pane->width() > wanted, qPrintable(QString::number(pane->width())));
      QVERIFY(frame_->currentProgress()->width() > metrics.horizontalAdvance(figures));
    } else {
      QVERIFY2(roomToSpare < wanted - idleWidth, "the narrow window has room to spare");
      QCOMPARE(pane->width(), idleWidth + std::max(0, roomToSpare));
    }
    QCOMPARE(frame_->width(), windowWidth);
    // The totals keep their whole text, unless the window was too narrow for it before.
    QVERIFY(frame_->StatusPane(2)->width() >=
            std::min(totalsWidth, frame_->StatusPane(2)->minimumSizeHint().width()));
    QCOMPARE(frame_->currentProgress()->figures(), figures);

    frame_->DeleteProgress();
    QCoreApplication::processEvents();
    QCOMPARE(pane->width(), idleWidth);
    QCOMPARE(frame_->StatusPane(2)->width(), totalsWidth);
  }
}

QTEST_MAIN(TestCopyProgress)
#include "tst_copyprogress.moc"
