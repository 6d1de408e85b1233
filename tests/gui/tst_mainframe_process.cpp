#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <set>

#include "FixtureDisc.h"
#include "ScriptedWindowPrompts.h"
#include "app/CMainFrame.h"
#include "support/SectorFinder.h"
#include "app/CProgressBar.h"
#include "app/CommandId.h"
#include "browse/BrowseViews.h"
#include "browse/CCDView.h"
#include "browse/CLeftView.h"
#include "browse/FileListModel.h"
#include "browse/FolderTreeModel.h"
#include "text/StringTable.h"

using namespace velmora;
using namespace velmora::gui;
using velmora::testing::FixtureDisc;
using velmora::testing::ScriptedWindowPrompts;

// The long processes in the window: Stop during a scan, the refusal to close
// while one runs, the progress indicator it shows, the keys the window drops.
class TestMainFrameProcess : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { disc_ = std::make_unique<FixtureDisc>(40, 25, 3); }
  void init();
  void cleanup();
  void scanFillsTableAndLog();
  void scanWithAnUnreadableFolderEndsWithErrors();
  void stopDuringScanKeepsAUsableTree();
  void progressShownIsTheLastReported();
  void closeRefusedWhileBusyAllowedAfterStop();
  void keyFilterDropsKeysInsideTheWindow();
  void findNextKeyFollowsItsRule();
  void createImageIntoUnwritableFolderSaysSo();
  void stopDuringImageCreationKeepsTreeState();
  void createImageAsARescueWritesTheImageAndItsMap();
  void rescueReadsTheTickedFilesInItsFirstPass();
  void rescueThatCannotResumeSaysWhy();
  void openImageThatFailsKeepsTheTree();

 private:
  QStringList LogStatuses() const;
  // Runs action once the progress label starts or ends with word (from inside
  // the running process's pump).
  void WhenProgressShows(const QString& word, std::function<void()> action);
  void WhileScanning(std::function<void()> action) {
    WhenProgressShows(QStringLiteral(" Entries Found"), std::move(action));
  }

  std::unique_ptr<FixtureDisc> disc_;
  std::unique_ptr<platform::emulated::EmulatedMachine> machine_;
  std::unique_ptr<CMainFrame> frame_;
  ScriptedWindowPrompts prompts_;
};

void TestMainFrameProcess::init() {
  machine_ = disc_->NewMachine();
  frame_ = std::make_unique<CMainFrame>(*machine_);
  prompts_ = ScriptedWindowPrompts{};
  frame_->SetPrompts(&prompts_);
  frame_->show();
  QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
}

void TestMainFrameProcess::cleanup() {
  frame_.reset();
  machine_.reset();
  for (const char* name : {"copy.cd", "copy.cd.map", "copy.cd.domain"}) {
    std::filesystem::remove(disc_->dir / name);
  }
}

QStringList TestMainFrameProcess::LogStatuses() const {
  QStringList statuses;
  for (const log::LogRow& row : frame_->messageLog().rows()) {
    statuses << QString::fromStdU16String(row.status);
  }
  return statuses;
}

void TestMainFrameProcess::WhenProgressShows(const QString& word, std::function<void()> action) {
  auto* poll = new QTimer(frame_.get());
  connect(poll, &QTimer::timeout, frame_.get(), [this, poll, action, word] {
    const QString label = frame_->StatusPane(0)->text();
    if (!frame_->currentProgress() || !(label.endsWith(word) || label.startsWith(word))) return;
    poll->stop();
    poll->deleteLater();
    action();
  });
  poll->start(0);
}

void TestMainFrameProcess::scanFillsTableAndLog() {
  frame_->Action(kOpenDrive)->trigger();

  QCOMPARE(prompts_.asked.count(QStringLiteral("insert")), 1);
  // Root, 40 folders, 1000 files.
  QCOMPARE(frame_->table().size(), std::size_t{1041});
  // The first row names the drive, the next which names are shown; the walk
  // then starts and ends.
  QCOMPARE(LogStatuses(), (QStringList{"Drive: ORVANE EMULATED DRIVE, firmware 2.0", " ",
                                       "Process Started", "Process Completed"}));
  QVERIFY(QString::fromStdU16String(frame_->messageLog().rows().at(1).text)
              .startsWith(QStringLiteral("Names shown: ")));
  QVERIFY(frame_->state().treeComplete);
  QVERIFY(frame_->state().logHasEntries);
  QVERIFY(!frame_->state().busy);
  QVERIFY(frame_->currentProgress() == nullptr);
  QCOMPARE(frame_->StatusPane(0)->text(), QStringLiteral(" "));
  frame_->RefreshCommands();
  QVERIFY(frame_->Action(kFind)->isEnabled());
  QVERIFY(frame_->Action(kSaveLog)->isEnabled());
}

// A folder that did not read is lost to the tree: the scan's last row says it
// completed with errors, with the failure icon, never the green tick.
void TestMainFrameProcess::scanWithAnUnreadableFolderEndsWithErrors() {
  std::string reason;
  auto disc = platform::emulated::EmulatedDisc::FromImage(disc_->image, reason);
  QVERIFY2(disc, reason.c_str());
  // In both trees: neither can stand in for the other.
  for (const bool joliet : {false, true}) {
    disc->faults[velmora::testing::FileExtentLba(disc_->image, "DIR7", joliet)] =
        {.kind = platform::emulated::FaultKind::kUnreadable};
  }
  machine_->InsertDisc(0, std::move(*disc));
  frame_->Action(kOpenDrive)->trigger();

  const std::vector<log::LogRow>& rows = frame_->messageLog().rows();
  QVERIFY(std::any_of(rows.begin(), rows.end(), [](const log::LogRow& row) {
    return row.status == u"Folder could not be read" && row.icon == log::LogIcon::kFailure;
  }));
  QCOMPARE(rows.back().status, std::u16string(u"Process Completed with Errors"));
  QVERIFY(rows.back().icon == log::LogIcon::kFailure);
  QVERIFY(std::none_of(rows.begin(), rows.end(), [](const log::LogRow& row) {
    return row.icon == log::LogIcon::kCompleted;
  }));
  // The rest of the tree is there: 39 folders of 25 files.
  QCOMPARE(frame_->table().size(), std::size_t{1 + 40 + 39 * 25});
}

void TestMainFrameProcess::stopDuringScanKeepsAUsableTree() {
  QString progressLabel;
  bool progressShown = false;
  bool stopEnabled = false;
  bool openDriveEnabled = true;
  WhileScanning([&] {
    progressShown = frame_->currentProgress() != nullptr;
    progressLabel = frame_->StatusPane(0)->text();
    stopEnabled = frame_->Action(kStopProcess)->isEnabled();
    openDriveEnabled = frame_->Action(kOpenDrive)->isEnabled();
    frame_->Action(kStopProcess)->trigger();
    // The indicator goes at once, not at the scan's next step.
    QVERIFY(frame_->currentProgress() == nullptr);
    QCOMPARE(frame_->StatusPane(0)->text(), QStringLiteral(" "));
  });
  frame_->Action(kOpenDrive)->trigger();

  QVERIFY(progressShown);
  QVERIFY2(progressLabel.endsWith(QStringLiteral(" Entries Found")), qPrintable(progressLabel));
  QVERIFY(stopEnabled);
  QVERIFY(!openDriveEnabled);
  QCOMPARE(prompts_.asked.count(QStringLiteral("stop")), 1);
  const std::size_t partial = frame_->table().size();
  QVERIFY2(partial > 0 && partial < 1041, qPrintable(QString::number(partial)));
  QCOMPARE(LogStatuses().last(), QStringLiteral("Process Aborted"));
  QVERIFY(frame_->state().treeComplete);
  QVERIFY(!frame_->state().processRunning);
  QVERIFY(!frame_->state().stopRequested);
  QVERIFY(frame_->currentProgress() == nullptr);

  // The tree is usable: its commands are there, and the next scan runs whole.
  frame_->RefreshCommands();
  QVERIFY(frame_->Action(kFind)->isEnabled());
  QVERIFY(frame_->Action(kOpenDrive)->isEnabled());
  frame_->Action(kOpenDrive)->trigger();
  QCOMPARE(frame_->table().size(), std::size_t{1041});
  QCOMPARE(LogStatuses().last(), QStringLiteral("Process Completed"));
}

// The indicator is redrawn at the pump's pace, not per entry; whenever events
// are let through it shows the last text and every step reported.
void TestMainFrameProcess::progressShownIsTheLastReported() {
  frame_->CreateReadingProgress(100);
  CProgressBar* bar = frame_->currentProgress();
  QVERIFY(bar);
  for (int entry = 1; entry <= 250; ++entry) {
    frame_->StepProgress(QStringLiteral("%1 Entries Found").arg(entry).toStdU16String());
  }
  QCoreApplication::processEvents();
  QCOMPARE(frame_->StatusPane(0)->text(), QStringLiteral("250 Entries Found"));
  QCOMPARE(bar->message(), QStringLiteral("250 Entries Found"));
  // 0..100 is 101 places: 250 steps go round twice and end at 48.
  QCOMPARE(bar->value(), 48);

  frame_->StepProgress(u"251 Entries Found");
  frame_->ShowPendingProgress();
  QCOMPARE(frame_->StatusPane(0)->text(), QStringLiteral("251 Entries Found"));
  QCOMPARE(bar->value(), 49);
  frame_->DeleteProgress();
  QCoreApplication::processEvents();
  QCOMPARE(frame_->StatusPane(0)->text(), QStringLiteral(" "));
}

void TestMainFrameProcess::closeRefusedWhileBusyAllowedAfterStop() {
  bool visibleAfterRefusal = false;
  bool visibleAfterStop = false;
  WhileScanning([&] {
    QVERIFY(frame_->state().busy);
    frame_->close();
    visibleAfterRefusal = frame_->isVisible();
    frame_->Action(kStopProcess)->trigger();
    // Stopped, but the scan is still on the stack: the window waits for it.
    frame_->close();
    visibleAfterStop = frame_->isVisible();
  });
  frame_->Action(kOpenDrive)->trigger();

  QVERIFY(visibleAfterRefusal);
  QCOMPARE(prompts_.asked.count(QStringLiteral("notice 2")), 1);
  QVERIFY(visibleAfterStop);
  // Once the scan has returned, the close that waited goes through.
  QTRY_VERIFY(!frame_->isVisible());
  QCOMPARE(prompts_.asked.count(QStringLiteral("notice 2")), 1);
}

void TestMainFrameProcess::keyFilterDropsKeysInsideTheWindow() {
  auto* left = new QLineEdit;
  frame_->SetViews(left, nullptr);
  left->setFocus();
  QTest::keyClicks(left, QStringLiteral("nonsense"));
  // N and O never reach a widget of the main window.
  QCOMPARE(left->text(), QStringLiteral("sese"));

  // A dialog's own keys are its own.
  QLineEdit outside;
  outside.show();
  QTest::keyClicks(&outside, QStringLiteral("no"));
  QCOMPARE(outside.text(), QStringLiteral("no"));

  // Ctrl+O opens an image; its chooser is the proof.
  prompts_.openFile.reset();
  QTest::keyClick(left, Qt::Key_O, Qt::ControlModifier);
  QCOMPARE(prompts_.asked.filter(QStringLiteral("open file")).size(), 1);
}

void TestMainFrameProcess::findNextKeyFollowsItsRule() {
  int findNexts = 0;
  connect(frame_->Action(kFindNext), &QAction::triggered, this, [&] { ++findNexts; });
  frame_->Action(kOpenDrive)->trigger();
  QVERIFY(frame_->state().treeComplete);

  QTest::keyClick(frame_.get(), Qt::Key_F3);
  QCOMPARE(findNexts, 0);

  frame_->state().findNextAvailable = true;
  frame_->state().lastFindMatched = true;
  frame_->RefreshCommands();
  QTest::keyClick(frame_.get(), Qt::Key_F3);
  QCOMPARE(findNexts, 1);
}

void TestMainFrameProcess::createImageIntoUnwritableFolderSaysSo() {
  const QString path = QString::fromStdString((disc_->dir / "no such folder" / "copy.cd").string());
  prompts_.saveFile = path;
  frame_->Action(kCreateImage)->trigger();
  QCOMPARE(prompts_.errors, (std::vector<int>{6}));
  for (const log::LogRow& row : frame_->messageLog().rows()) {
    QVERIFY(row.status != u"Process Completed");
  }
  QVERIFY(!frame_->state().busy);
  QVERIFY(!frame_->state().imageCreationRunning);
}

void TestMainFrameProcess::stopDuringImageCreationKeepsTreeState() {
  prompts_.saveFile = QString::fromStdString((disc_->dir / "copy").string());
  bool openImageGreyed = false;
  WhenProgressShows(QStringLiteral("Reading Sector "), [&] {
    openImageGreyed = !frame_->Action(kOpenImage)->isEnabled();
    frame_->Action(kStopProcess)->trigger();
    QVERIFY(frame_->currentProgress() == nullptr);
  });
  frame_->Action(kCreateImage)->trigger();

  QVERIFY(openImageGreyed);
  QVERIFY(prompts_.asked.first().startsWith(
      QStringLiteral("save file: Save Image to File | Image File(*.cd);;Rescue (several passes) "
                     "(*.cd) | CD Image ")));
  QCOMPARE(frame_->messageLog().rows().back().status, std::u16string(u"Process Aborted"));
  // No tree was shown before the copy, and a stopped copy shows none.
  QVERIFY(!frame_->state().treeComplete);
  QVERIFY(!frame_->state().stopRequested);
  QVERIFY(!frame_->state().imageCreationRunning);
  QVERIFY(std::filesystem::exists(disc_->dir / "copy.cd"));
  frame_->close();
  QVERIFY(!frame_->isVisible());
}

// The save dialog's second type: the same engine as velmora-cli image --rescue,
// its passes on the progress pane and in the log.
void TestMainFrameProcess::createImageAsARescueWritesTheImageAndItsMap() {
  prompts_.saveFile = QString::fromStdString((disc_->dir / "copy").string());
  prompts_.saveFileType = 1;
  QString passLabel;
  QString passFigures;
  WhenProgressShows(QStringLiteral("Pass "), [&] {
    passLabel = frame_->StatusPane(0)->text();
    passFigures = frame_->currentProgress()->figures();
  });
  frame_->Action(kCreateImage)->trigger();

  // The label gives the pass and what it found bad; the bar's figures the
  // bytes rescued of the disc's.
  QVERIFY2(passLabel.endsWith(QStringLiteral("): 0 bad areas")), qPrintable(passLabel));
  const std::uint64_t discSizeBytes = std::filesystem::file_size(disc_->image);
  const bool megabytes = discSizeBytes >= 1024 * 1024;
  const std::uint64_t hundredths = discSizeBytes * 100 / (megabytes ? 1024 * 1024 : 1024);
  const QString discSize = QStringLiteral(" of %1.%2 %3")
                               .arg(hundredths / 100)
                               .arg(hundredths % 100, 2, 10, QLatin1Char('0'))
                               .arg(megabytes ? QStringLiteral("MB") : QStringLiteral("KB"));
  QVERIFY2(passFigures.contains(discSize),
           qPrintable(passFigures + QStringLiteral(" lacks") + discSize));
  const std::vector<log::LogRow>& rows = frame_->messageLog().rows();
  QCOMPARE(rows.front().activity, std::u16string(u"Rescue Imaging"));
  QCOMPARE(rows.back().status, std::u16string(u"Process Completed"));
  QStringList passes;
  for (const log::LogRow& row : rows) {
    const QString text = QString::fromStdU16String(row.status);
    if (text.startsWith(QStringLiteral("Pass "))) passes << text.section(QLatin1Char(':'), 0, 0);
  }
  QCOMPARE(passes, (QStringList{"Pass 0 (what matters first) done", "Pass 1 (copying) done",
                                "Pass 2 (trimming) done", "Pass 3 (scraping) done"}));
  QVERIFY(frame_->currentProgress() == nullptr);
  QVERIFY(!frame_->state().imageCreationRunning);

  // Block k holds sector k; the map gives every sector as read.
  std::ifstream disc(disc_->image, std::ios::binary);
  std::ifstream copy(disc_->dir / "copy.cd", std::ios::binary);
  const std::string discBytes((std::istreambuf_iterator<char>(disc)), {});
  std::string copyBytes((std::istreambuf_iterator<char>(copy)), {});
  QCOMPARE(copyBytes.size(), discBytes.size() + 2048);
  copyBytes.resize(discBytes.size());
  QVERIFY(copyBytes == discBytes);
  std::ifstream map(disc_->dir / "copy.cd.map");
  QStringList areas;
  for (std::string line; std::getline(map, line);) {
    if (!line.empty() && line[0] != '#') areas << QString::fromStdString(line).simplified();
  }
  QCOMPARE(areas.size(), 2);
  QCOMPARE(areas[1], QStringLiteral("0x00000000 0x%1 +")
                         .arg(discBytes.size(), 8, 16, QLatin1Char('0'))
                         .toUpper()
                         .replace(QStringLiteral("0X"), QStringLiteral("0x")));
}

// The entry of the folder or file at path ("DIR5" or "DIR5/F1.TXT").
std::size_t EntryAt(const disc::EntryTable& table, const QString& path) {
  const QString folder = path.section(QLatin1Char('/'), 0, 0);
  const QString file = path.section(QLatin1Char('/'), 1);
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (!table[i].IsFolder() || table[i].name != folder.toStdU16String()) continue;
    if (file.isEmpty()) return i;
    for (std::size_t child : table.ChildrenOf(table[i].fileId)) {
      if (table[child].name == file.toStdU16String()) return child;
    }
  }
  return disc::EntryTable::kNone;
}

// The sectors the drive delivered on the reads it was asked for, up to the
// first MODE SELECT (the rescue lowers the drive's retries once its first
// pass is done).
std::set<Lba> SectorsReadBeforeModeSelect(
    const std::vector<platform::emulated::RecordedCommand>& commands) {
  using Kind = platform::emulated::RecordedCommand::Kind;
  std::set<Lba> sectors;
  const auto add = [&](std::uint64_t first, std::uint64_t count) {
    for (std::uint64_t s = first; s < first + count; ++s) sectors.insert(static_cast<Lba>(s));
  };
  for (const auto& command : commands) {
    if (command.kind == Kind::kCookedRead) {
      add(command.offset / 2048, (command.length + 2047) / 2048);
      continue;
    }
    if (command.kind != Kind::kCdb || command.cdb.empty()) continue;
    const auto& cdb = command.cdb;
    const auto lba = [&] {
      return std::uint64_t{cdb[2]} << 24 | std::uint64_t{cdb[3]} << 16 |
             std::uint64_t{cdb[4]} << 8 | cdb[5];
    };
    if (cdb[0] == 0x55) break;                                  // MODE SELECT(10)
    if (cdb[0] == 0x28) add(lba(), std::uint64_t{cdb[7]} << 8 | cdb[8]);  // READ(10)
    if (cdb[0] == 0xBE) {                                                 // READ CD
      add(lba(), std::uint64_t{cdb[6]} << 16 | std::uint64_t{cdb[7]} << 8 | cdb[8]);
    }
  }
  return sectors;
}

// What the user ticked goes first: the rescue scans the disc again, and its
// first pass reads the ticked files (a folder's and a single file's) and no
// other file; the rest follows in the later passes.
void TestMainFrameProcess::rescueReadsTheTickedFilesInItsFirstPass() {
  frame_->Action(kOpenDrive)->trigger();
  BrowseViews& views = frame_->browse();
  const disc::EntryTable& table = frame_->table();
  const QModelIndex folder = views.treeModel().IndexOfEntry(EntryAt(table, "DIR1"));
  QTest::mouseClick(views.tree().viewport(), Qt::LeftButton, {},
                    views.tree().BoxRect(folder).center());
  QVERIFY(views.tree().SelectFolder(EntryAt(table, "DIR5")));
  const int row = views.listModel().RowOfEntry(EntryAt(table, "DIR5/F1.TXT"));
  QVERIFY(row >= 0);
  QTest::mouseClick(views.list().currentView()->viewport(), Qt::LeftButton, {},
                    views.list().RowBoxRect(row).center());
  QVERIFY(frame_->state().anyEntryMarked);
  std::set<QString> ticked{"DIR5/F1.TXT"};
  for (int file = 0; file < 25; ++file) ticked.insert(QStringLiteral("DIR1/F%1.TXT").arg(file));
  for (const QString& path : ticked) {
    QCOMPARE(table[EntryAt(table, path)].checkState, disc::kMarked);
  }

  machine_->ClearCommands();
  prompts_.saveFile = QString::fromStdString((disc_->dir / "copy").string());
  prompts_.saveFileType = 1;
  frame_->Action(kCreateImage)->trigger();
  QCOMPARE(frame_->messageLog().rows().back().status, std::u16string(u"Process Completed"));

  const std::set<Lba> firstPass = SectorsReadBeforeModeSelect(machine_->commands());
  QVERIFY(!firstPass.empty());
  int files = 0;
  for (int dir = 0; dir < 40; ++dir) {
    for (int file = 0; file < 25; ++file) {
      const QString path = QStringLiteral("DIR%1/F%2.TXT").arg(dir).arg(file);
      const std::size_t entry = EntryAt(table, path);
      QVERIFY2(entry != disc::EntryTable::kNone, qPrintable(path));
      const bool read = firstPass.contains(table[entry].fileId);
      QVERIFY2(read == ticked.contains(path), qPrintable(path));
      ++files;
    }
  }
  QCOMPARE(files, 1000);
  // The later passes read the rest: the image is the disc's.
  std::ifstream disc(disc_->image, std::ios::binary);
  std::ifstream copy(disc_->dir / "copy.cd", std::ios::binary);
  const std::string discBytes((std::istreambuf_iterator<char>(disc)), {});
  std::string copyBytes((std::istreambuf_iterator<char>(copy)), {});
  copyBytes.resize(discBytes.size());
  QVERIFY(copyBytes == discBytes);
}

void TestMainFrameProcess::openImageThatFailsKeepsTheTree() {
  frame_->Action(kOpenDrive)->trigger();
  const std::size_t entries = frame_->table().size();
  const auto notAnImage = disc_->dir / "notes.txt";
  std::ofstream(notAnImage) << "not a disc image";
  prompts_.openFile = QString::fromStdString(notAnImage.string());
  frame_->Action(kOpenImage)->trigger();

  QVERIFY(!prompts_.errors.empty());
  QCOMPARE(frame_->table().size(), entries);
  QVERIFY(frame_->state().treeComplete);
  // The drive is still the source: the next scan reads it whole.
  frame_->Action(kOpenDrive)->trigger();
  QCOMPARE(frame_->table().size(), entries);
}

// An image and map beside the chosen path are resumed; when they cannot be
// (a map that does not read, an image of another disc) the rescue writes
// nothing and says why, as the command line does.
void TestMainFrameProcess::rescueThatCannotResumeSaysWhy() {
  const std::filesystem::path image = disc_->dir / "copy.cd";
  prompts_.saveFile = QString::fromStdString((disc_->dir / "copy").string());
  prompts_.saveFileType = 1;
  frame_->Action(kCreateImage)->trigger();
  QCOMPARE(frame_->messageLog().rows().back().status, std::u16string(u"Process Completed"));
  const auto bytesOf = [](const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
  };
  const std::filesystem::path map = disc_->dir / "copy.cd.map";
  const std::string rescued = bytesOf(image);
  const std::string rescuedMap = bytesOf(map);

  struct Case {
    const char* name;
    std::function<void()> spoil;
    const char* said;
  };
  const std::vector<Case> cases = {
      {"map that does not read",
       [&] { std::ofstream(map, std::ios::trunc) << "not a map\n"; }, "copy.cd.map"},
      {"image of another disc",
       [&] {
         std::string other = rescued;
         other[other.size() - 2048 + 30] ^= 0x5A;  // its track list
         std::ofstream(image, std::ios::binary | std::ios::trunc) << other;
       },
       "another disc"},
  };
  for (const Case& c : cases) {
    std::ofstream(image, std::ios::binary | std::ios::trunc) << rescued;
    std::ofstream(map, std::ios::binary | std::ios::trunc) << rescuedMap;
    c.spoil();
    const std::string before = bytesOf(image);
    prompts_.errors.clear();
    prompts_.errorDetails.clear();
    const std::size_t rowsBefore = frame_->messageLog().rows().size();
    frame_->Action(kCreateImage)->trigger();

    QVERIFY2(prompts_.errors == std::vector<int>{6}, c.name);
    QVERIFY2(prompts_.errorDetails.size() == 1 &&
                 prompts_.errorDetails[0].find(c.said) != std::string::npos,
             qPrintable(QString::fromStdString(c.name + std::string(": ") +
                                               (prompts_.errorDetails.empty() ? "" : prompts_.errorDetails[0]))));
    for (std::size_t k = rowsBefore; k < frame_->messageLog().rows().size(); ++k) {
      QVERIFY2(frame_->messageLog().rows()[k].status != u"Process Completed", c.name);
    }
    // The image the user had stays as it was.
    QVERIFY2(bytesOf(image) == before, c.name);
    QVERIFY(!frame_->state().imageCreationRunning);
  }
}

QTEST_MAIN(TestMainFrameProcess)
#include "tst_mainframe_process.moc"
