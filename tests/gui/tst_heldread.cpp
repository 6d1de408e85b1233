#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "FixtureDisc.h"
#include "ScriptedWindowPrompts.h"
#include "app/CMainFrame.h"
#include "app/CommandId.h"
#include "app/OffThreadMachine.h"
#include "text/StringTable.h"

using namespace velmora;
using namespace velmora::gui;
using velmora::testing::FixtureDisc;
using velmora::testing::ScriptedWindowPrompts;
namespace fs = std::filesystem;

namespace {

// The emulated machine, counting the reads that have not returned yet: a
// test's action that sees one ran while the read was held, not after it.
class ReadsInProgress final : public platform::Machine {
 public:
  explicit ReadsInProgress(platform::Machine& machine) : machine_(machine) {}
  int count() const { return inProgress_; }

  std::vector<std::string> OpticalDrives() override { return machine_.OpticalDrives(); }
  std::unique_ptr<platform::DeviceFile> OpenDevice(const std::string& path,
                                                   platform::OpenError& error) override {
    auto file = machine_.OpenDevice(path, error);
    return file ? std::make_unique<File>(std::move(file), inProgress_) : nullptr;
  }
  std::unique_ptr<platform::ScsiTransport> OpenPassThrough(const std::string& path,
                                                           platform::OpenError& error) override {
    auto transport = machine_.OpenPassThrough(path, error);
    return transport ? std::make_unique<Transport>(std::move(transport), inProgress_) : nullptr;
  }
  bool SameMedium(const std::string& path, const std::string& devicePath) override {
    return machine_.SameMedium(path, devicePath);
  }

 private:
  struct Counted {
    explicit Counted(std::atomic<int>& count) : count_(count) { ++count_; }
    ~Counted() { --count_; }
    std::atomic<int>& count_;
  };
  class File final : public platform::DeviceFile {
   public:
    File(std::unique_ptr<platform::DeviceFile> file, std::atomic<int>& count)
        : file_(std::move(file)), count_(count) {}
    platform::IoResult ReadAt(std::uint64_t offset, std::span<std::byte> buffer) override {
      Counted counted(count_);
      return file_->ReadAt(offset, buffer);
    }
    std::optional<std::uint64_t> Size() override { return file_->Size(); }
    std::optional<platform::Toc> ReadToc() override { return file_->ReadToc(); }
    bool SetMediumRemoval(bool prevent) override { return file_->SetMediumRemoval(prevent); }
    platform::DriveStatus Status() override { return file_->Status(); }
    bool MediumChanged() override { return file_->MediumChanged(); }

   private:
    std::unique_ptr<platform::DeviceFile> file_;
    std::atomic<int>& count_;
  };
  class Transport final : public platform::ScsiTransport {
   public:
    Transport(std::unique_ptr<platform::ScsiTransport> transport, std::atomic<int>& count)
        : transport_(std::move(transport)), count_(count) {}
    platform::ScsiResult Execute(std::span<const std::uint8_t> cdb, std::span<std::byte> dataIn,
                                 std::chrono::milliseconds timeout) override {
      Counted counted(count_);
      return transport_->Execute(cdb, dataIn, timeout);
    }
    platform::ScsiResult ExecuteOut(std::span<const std::uint8_t> cdb,
                                    std::span<const std::byte> dataOut,
                                    std::chrono::milliseconds timeout) override {
      return transport_->ExecuteOut(cdb, dataOut, timeout);
    }

   private:
    std::unique_ptr<platform::ScsiTransport> transport_;
    std::atomic<int>& count_;
  };

  platform::Machine& machine_;
  std::atomic<int> inProgress_{0};
};

}  // namespace

// The window while the drive holds one read of a process: the emulated drive
// makes a file at that read and answers only once the file is gone, so each
// test acts at a point the program reached. Meanwhile a menu opens, Stop asks
// its question and the close waits; once the read returns, the process ends
// as stopped with what it had read.
class TestHeldRead : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void cleanup();
  void scanHeldAnswersMenuAndStop();
  void recoveryHeldKeepsTheFilesSaved();
  void createImageHeldKeepsTheSectorsCopied();
  void closeDuringAHeldReadWaitsForIt();
  void openImageReadsTheFileInPlace();

 private:
  // A window over the fixture disc whose sector lba holds its first read.
  void OpenWindowHoldingAt(std::uint32_t lba);
  // Runs action inside the event loop of the held read (the hold file exists),
  // then lets the read go.
  void WhileHeld(std::function<void()> action);
  // Opens the Tools menu as a click on the menu bar does, and picks Stop in
  // it; records what the window showed.
  void StopFromToolsMenu();
  std::u16string LastLogStatus() const { return frame_->messageLog().rows().back().status; }

  static constexpr std::size_t kAllEntries = 1 + 6 + 6 * 5;  // Root, folders, files

  std::unique_ptr<FixtureDisc> disc_;
  fs::path hold_;
  std::map<std::u16string, std::uint32_t> extents_;  // "DIR3", "DIR2/F2.TXT", ...
  std::unique_ptr<platform::emulated::EmulatedMachine> machine_;
  std::unique_ptr<ReadsInProgress> reads_;
  std::unique_ptr<OffThreadMachine> offThread_;
  std::unique_ptr<CMainFrame> frame_;
  ScriptedWindowPrompts prompts_;
  bool actedWhileHeld_ = false;
  bool menuShown_ = false;
  bool openDriveOffered_ = true;
};

void TestHeldRead::initTestCase() {
  disc_ = std::make_unique<FixtureDisc>(6, 5);
  hold_ = disc_->dir / "held";
  // Where the folders and files lie, as a scan without a hold finds them.
  auto machine = disc_->NewMachine();
  CMainFrame frame(*machine);
  ScriptedWindowPrompts prompts;
  frame.SetPrompts(&prompts);
  frame.Action(kOpenDrive)->trigger();
  const disc::EntryTable& table = frame.table();
  QCOMPARE(table.size(), kAllEntries);
  for (std::size_t i = 0; i < table.size(); ++i) {
    const disc::Entry& entry = table[i];
    if (entry.parentId < 0) continue;  // Root
    const std::size_t parent = table.FindFolder(static_cast<std::uint32_t>(entry.parentId));
    QVERIFY(parent != disc::EntryTable::kNone);
    const bool inRoot = table[parent].parentId < 0;
    extents_[inRoot ? entry.name : table[parent].name + u"/" + entry.name] = entry.fileId;
  }
  QVERIFY(extents_.count(u"DIR3"));
  QVERIFY(extents_.count(u"DIR2/F2.TXT"));
}

void TestHeldRead::cleanup() {
  // A failed check must not leave the drive holding for minutes.
  std::error_code ignored;
  fs::remove(hold_, ignored);
  if (frame_) frame_->SetPrompts(nullptr);
  frame_.reset();
  offThread_.reset();
  reads_.reset();
  machine_.reset();
  fs::remove_all(disc_->dir / "out", ignored);
  for (const char* name : {"copy.cd", "copy.cd.map", "copy.cd.domain"}) {
    fs::remove(disc_->dir / name, ignored);
  }
  actedWhileHeld_ = false;
  menuShown_ = false;
  openDriveOffered_ = true;
}

void TestHeldRead::OpenWindowHoldingAt(std::uint32_t lba) {
  std::string reason;
  auto disc = platform::emulated::EmulatedDisc::FromImage(disc_->image, reason);
  QVERIFY2(disc, reason.c_str());
  disc->faults[lba] = {
      .kind = platform::emulated::FaultKind::kNone, .holdFile = hold_.string(), .holdAtRead = 1};
  machine_ = std::make_unique<platform::emulated::EmulatedMachine>();
  machine_->InsertDisc(0, std::move(*disc));
  reads_ = std::make_unique<ReadsInProgress>(*machine_);
  // As the program puts them together.
  offThread_ = std::make_unique<OffThreadMachine>(*reads_);
  frame_ = std::make_unique<CMainFrame>(*offThread_);
  offThread_->SetAnswerWhileWaiting([this] { return frame_->AnswerDuringSlowCall(); });
  prompts_ = ScriptedWindowPrompts{};
  frame_->SetPrompts(&prompts_);
  frame_->show();
  QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
}

void TestHeldRead::WhileHeld(std::function<void()> action) {
  auto* poll = new QTimer(frame_.get());
  connect(poll, &QTimer::timeout, frame_.get(), [this, poll, action] {
    if (!fs::exists(hold_)) return;
    poll->stop();
    poll->deleteLater();
    actedWhileHeld_ = reads_->count() == 1;
    action();
    fs::remove(hold_);
  });
  poll->start(5);
}

void TestHeldRead::StopFromToolsMenu() {
  QMenuBar* bar = frame_->menuBar();
  QAction* tools = nullptr;
  for (QAction* action : bar->actions()) {
    if (action->text().remove(QLatin1Char('&')) == QStringLiteral("Tools")) tools = action;
  }
  QVERIFY(tools && tools->menu());
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(tools).center());
  QMenu* menu = tools->menu();
  menuShown_ = QApplication::activePopupWidget() == menu && menu->isVisible();
  QAction* stop = frame_->Action(kStopProcess);
  openDriveOffered_ = frame_->Action(kOpenDrive)->isEnabled();
  QVERIFY(menu->actions().contains(stop) && stop->isEnabled());
  QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(stop).center());
  QVERIFY(!menu->isVisible());
}

// The scan waits at the directory of DIR3.
void TestHeldRead::scanHeldAnswersMenuAndStop() {
  OpenWindowHoldingAt(extents_.at(u"DIR3"));
  bool stopAsked = false;
  bool stopRequested = false;
  WhileHeld([&] {
    StopFromToolsMenu();
    stopAsked = prompts_.asked.contains(QStringLiteral("stop"));
    stopRequested = frame_->state().stopRequested;
  });
  frame_->Action(kOpenDrive)->trigger();

  QVERIFY(actedWhileHeld_);
  QVERIFY(menuShown_);
  QVERIFY(!openDriveOffered_);
  QVERIFY(stopAsked);
  QVERIFY(stopRequested);
  QCOMPARE(prompts_.asked.count(QStringLiteral("stop")), 1);
  // The held read came back whole: no sector was reported unreadable.
  QVERIFY(prompts_.errors.empty());
  QCOMPARE(LastLogStatus(), std::u16string(u"Process Aborted"));
  const std::size_t partial = frame_->table().size();
  QVERIFY2(partial > 1 && partial < kAllEntries, qPrintable(QString::number(partial)));
  QVERIFY(frame_->state().treeComplete);
  QVERIFY(!frame_->state().processRunning);
  QVERIFY(!frame_->state().stopRequested);
  QVERIFY(frame_->currentProgress() == nullptr);

  // Nothing is left waiting: the next scan reads the whole disc.
  frame_->RefreshCommands();
  QVERIFY(frame_->Action(kOpenDrive)->isEnabled());
  frame_->Action(kOpenDrive)->trigger();
  QCOMPARE(frame_->table().size(), kAllEntries);
  QCOMPARE(LastLogStatus(), std::u16string(u"Process Completed"));
}

// Recover All waits at the data of DIR2/F2.TXT: the files saved before it are
// whole, the stop keeps them, and no file is left half written.
void TestHeldRead::recoveryHeldKeepsTheFilesSaved() {
  OpenWindowHoldingAt(extents_.at(u"DIR2/F2.TXT"));
  frame_->Action(kOpenDrive)->trigger();
  QCOMPARE(frame_->table().size(), kAllEntries);
  QVERIFY2(!fs::exists(hold_), "the scan read the file's data");
  const fs::path out = disc_->dir / "out";
  fs::create_directories(out);
  prompts_.folder = out.string();
  WhileHeld([&] { StopFromToolsMenu(); });
  frame_->Action(kRecoverAll)->trigger();

  QVERIFY(actedWhileHeld_);
  QVERIFY(menuShown_);
  QVERIFY(!openDriveOffered_);
  QCOMPARE(prompts_.asked.count(QStringLiteral("stop")), 1);
  QCOMPARE(LastLogStatus(), std::u16string(u"Process Aborted"));
  QVERIFY(!frame_->state().recoveryRunning);
  QVERIFY(frame_->currentProgress() == nullptr);
  int saved = 0;
  for (const auto& item : fs::recursive_directory_iterator(out)) {
    if (!item.is_regular_file()) continue;
    ++saved;
    // F<n>.TXT holds "file <n>".
    const std::string name = item.path().filename().string();
    std::ifstream in(item.path(), std::ios::binary);
    const std::string content((std::istreambuf_iterator<char>(in)), {});
    QCOMPARE(QString::fromStdString(content),
             QStringLiteral("file ") + QString::fromStdString(name.substr(1, name.find('.') - 1)));
  }
  // DIR0, DIR1 and the first files of DIR2 at least; not the files after.
  QVERIFY2(saved >= 12 && saved < 30, qPrintable(QString::number(saved)));
}

// Create Image waits at the same sector: what the image keeps is the disc's.
void TestHeldRead::createImageHeldKeepsTheSectorsCopied() {
  const std::uint32_t held = extents_.at(u"DIR2/F2.TXT");
  OpenWindowHoldingAt(held);
  prompts_.saveFile = QString::fromStdString((disc_->dir / "copy").string());
  WhileHeld([&] { StopFromToolsMenu(); });
  frame_->Action(kCreateImage)->trigger();

  QVERIFY(actedWhileHeld_);
  QVERIFY(menuShown_);
  QCOMPARE(prompts_.asked.count(QStringLiteral("stop")), 1);
  QCOMPARE(LastLogStatus(), std::u16string(u"Process Aborted"));
  QVERIFY(!frame_->state().imageCreationRunning);
  std::ifstream discFile(disc_->image, std::ios::binary);
  std::ifstream copyFile(disc_->dir / "copy.cd", std::ios::binary);
  const std::string discBytes((std::istreambuf_iterator<char>(discFile)), {});
  const std::string copyBytes((std::istreambuf_iterator<char>(copyFile)), {});
  // The disc's blocks up to the stop, then the trailer block. The read that
  // was held is one of a batch; the stop keeps the blocks before that batch.
  QVERIFY(copyBytes.size() % 2048 == 0 && copyBytes.size() > 2048);
  const std::size_t kept = copyBytes.size() - 2048;
  QVERIFY2(kept <= std::size_t{held} * 2048, qPrintable(QString::number(kept)));
  QVERIFY(copyBytes.compare(0, kept, discBytes, 0, kept) == 0);
}

// A close while the read is held is refused, as during any process; after
// Stop it waits for the read and the process, and then goes through.
void TestHeldRead::closeDuringAHeldReadWaitsForIt() {
  OpenWindowHoldingAt(extents_.at(u"DIR3"));
  bool shownAfterRefusal = false;
  bool shownAfterStop = false;
  WhileHeld([&] {
    frame_->close();
    shownAfterRefusal = frame_->isVisible();
    frame_->Action(kStopProcess)->trigger();
    frame_->close();
    shownAfterStop = frame_->isVisible();
  });
  frame_->Action(kOpenDrive)->trigger();

  QVERIFY(actedWhileHeld_);
  QVERIFY(shownAfterRefusal);
  QVERIFY(shownAfterStop);
  QCOMPARE(prompts_.asked.count(QStringLiteral("notice 2")), 1);
  QCOMPARE(LastLogStatus(), std::u16string(u"Process Aborted"));
  QTRY_VERIFY(!frame_->isVisible());
}

// Open Image through the program's machine: the image file is no drive, and
// its reads answer as they did.
void TestHeldRead::openImageReadsTheFileInPlace() {
  OpenWindowHoldingAt(extents_.at(u"DIR3"));
  frame_->OpenImageFile(QString::fromStdString(disc_->image));

  QCOMPARE(frame_->table().size(), kAllEntries);
  QCOMPARE(LastLogStatus(), std::u16string(u"Process Completed"));
  QVERIFY(prompts_.errors.empty());
  // The drive was not asked: its held sector was never read.
  QVERIFY(!fs::exists(hold_));
}

QTEST_MAIN(TestHeldRead)
#include "tst_heldread.moc"
