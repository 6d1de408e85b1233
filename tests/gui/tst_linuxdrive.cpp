// The window on the real Linux drive path: Open Drive and Create Image read
// the software optical drive (a preloaded library that behaves as a SCSI
// optical drive) through LinuxMachine, LinuxDeviceFile and SgTransport, and
// give what the same disc gives in the emulated drive; a drive that spins up,
// holds no disc, or has its disc changed gets its sound outcome.

#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "ScriptedWindowPrompts.h"
#include "app/CMainFrame.h"
#include "app/CommandId.h"
#include "browse/EntryListing.h"
#include "platform/emulated/EmulatedMachine.h"
#include "platform/linux/LinuxMachine.h"
#include "support/IsoBuilder.h"
#include "support/RunCommand.h"
#include "support/SoftwareDrive.h"
#include "support/TempDir.h"
#include "support/TextFiles.h"
#include "support/TreeWriter.h"
#include "text/StringTable.h"

using namespace velmora;
using namespace velmora::gui;
using velmora::testing::ScriptedWindowPrompts;
using velmora::testing::SoftwareDrive;
namespace fs = std::filesystem;

namespace {

QString Text(std::uint16_t id) { return QString::fromStdU16String(text::LoadText(id)); }

// The first sector of the folder named name in a tab-separated listing
// (path, type, ..., first sector in the fifth field); 0 when there is none.
std::uint32_t FolderSector(const std::string& listing, const std::string& name) {
  for (const std::string& line : velmora::testing::Lines(listing)) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
    if (fields.size() > 4 && fields[1] == "d" && fields[0].ends_with(name)) {
      return static_cast<std::uint32_t>(std::stoul(fields[4]));
    }
  }
  return 0;
}

// What the window made of the disc: the tree as a listing, the log, the
// image Create Image wrote, and the errors it showed.
struct WindowRun {
  std::string listing;
  QStringList statuses;
  std::string image;
  std::vector<int> errors;
  QStringList progress;  // every progress text seen while Open Drive ran
};

}  // namespace

class TestLinuxDrive : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void cleanupTestCase() { discs_.reset(); }
  void openDriveAndCreateImageGiveWhatTheEmulatedDriveGives_data();
  void openDriveAndCreateImageGiveWhatTheEmulatedDriveGives();
  void spinUpIsWaitedForWithProgressAndABound();
  void emptyDriveAsksForADisc();
  void changedDiscStopsTheScanWithTheFirstDiscOnly();
  void sigtermWhileOpenDriveReadsUnlocksTheTray();

 private:
  // Runs Open Drive, then (image set) Create Image into image, in a window
  // reading machine's drive; before runs on the window first.
  WindowRun Run(platform::Machine& machine, const fs::path& image,
                const std::function<void(CMainFrame&)>& before = {});
  void RunInto(WindowRun& run, platform::Machine& machine, const fs::path& image,
               const std::function<void(CMainFrame&)>& before);
  WindowRun RunEmulated(const fs::path& disc, const fs::path& image);
  WindowRun RunSoftware(SoftwareDrive& drive, const fs::path& image,
                        const std::function<void(CMainFrame&)>& before = {});

  std::unique_ptr<velmora::testing::TempDir> discs_;
  fs::path demo_;
  fs::path rockRidge_;
  fs::path other_;
};

void TestLinuxDrive::initTestCase() {
  discs_ = std::make_unique<velmora::testing::TempDir>();
  demo_ = *discs_ / "demo.cd";
  velmora::testing::RunChecked({VELMORA_SOURCE_DIR "/scripts/make-demo-disc", demo_.string()});
  velmora::testing::WriteTree(
      *discs_ / "rr", {{.path = "notes/readme.txt", .content = "read through the drive\n"},
                       {.path = "data.bin", .patternSize = 30 * 2048 + 5, .patternSeed = 3}});
  rockRidge_ = velmora::testing::MakeIso(
      *discs_ / "rr", *discs_ / "rr.iso",
      {.tool = velmora::testing::IsoTool::kXorriso, .joliet = false, .rockRidge = true});
  velmora::testing::WriteTree(*discs_ / "other",
                              {{.path = "elsewhere.txt", .content = "another disc\n"}});
  other_ = velmora::testing::MakeIso(*discs_ / "other", *discs_ / "other.iso");
}

WindowRun TestLinuxDrive::Run(platform::Machine& machine, const fs::path& image,
                              const std::function<void(CMainFrame&)>& before) {
  WindowRun run;
  RunInto(run, machine, image, before);
  return run;
}

void TestLinuxDrive::RunInto(WindowRun& run, platform::Machine& machine, const fs::path& image,
                             const std::function<void(CMainFrame&)>& before) {
  ScriptedWindowPrompts prompts;
  auto frame = std::make_unique<CMainFrame>(machine);
  frame->SetPrompts(&prompts);
  frame->show();
  QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
  if (before) before(*frame);
  // The progress texts, looked at whenever the running process lets events through.
  QTimer poll;
  connect(&poll, &QTimer::timeout, frame.get(), [&] {
    const QString label = frame->StatusPane(0)->text();
    if (frame->currentProgress() && (run.progress.isEmpty() || run.progress.back() != label)) {
      run.progress << label;
    }
  });
  poll.start(0);
  frame->Action(kOpenDrive)->trigger();
  QTRY_VERIFY_WITH_TIMEOUT(!frame->state().busy && !frame->state().processRunning, 60000);
  poll.stop();
  std::ostringstream listing;
  browse::WriteTsvListing(frame->table(), listing);
  run.listing = listing.str();
  if (!image.empty()) {
    prompts.saveFile = QString::fromStdString(image.string());
    frame->Action(kCreateImage)->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(!frame->state().imageCreationRunning && !frame->state().busy, 60000);
    run.image = velmora::testing::FileBytes(image);
  }
  for (const log::LogRow& row : frame->messageLog().rows()) {
    run.statuses << QString::fromStdU16String(row.status);
  }
  run.errors = prompts.errors;
  frame->close();
}

WindowRun TestLinuxDrive::RunEmulated(const fs::path& disc, const fs::path& image) {
  std::string reason;
  auto emulated = platform::emulated::EmulatedDisc::FromImage(disc.string(), reason);
  platform::emulated::EmulatedMachine machine;
  machine.InsertDisc(0, std::move(*emulated));
  return Run(machine, image);
}

WindowRun TestLinuxDrive::RunSoftware(SoftwareDrive& drive, const fs::path& image,
                                      const std::function<void(CMainFrame&)>& before) {
  // The drive reads its script when the window first opens the drive.
  qputenv("VELMORA_SOFT_DRIVE", drive.script().string().c_str());
  auto machine = platform::LinuxMachine::UnderRoot(drive.root());
  return Run(*machine, image, before);
}

void TestLinuxDrive::openDriveAndCreateImageGiveWhatTheEmulatedDriveGives_data() {
  QTest::addColumn<bool>("sessions");
  QTest::newRow("two sessions, read with READ CD") << true;
  QTest::newRow("Rock Ridge, read as a file") << false;
}

// The tree, the log (but for the drive's name) and the image's bytes and
// track list are those the emulated drive gives; the tray the scan locked is
// unlocked when the window closes.
void TestLinuxDrive::openDriveAndCreateImageGiveWhatTheEmulatedDriveGives() {
  QFETCH(bool, sessions);
  const fs::path disc = sessions ? demo_ : rockRidge_;
  velmora::testing::TempDir dir;
  SoftwareDrive drive(dir / "drive");
  drive.Load(disc);
  const WindowRun real = RunSoftware(drive, dir / "real.cd");
  const WindowRun emulated = RunEmulated(disc, dir / "emulated.cd");

  QVERIFY(!real.listing.empty());
  QCOMPARE(real.listing, emulated.listing);
  QVERIFY(!real.image.empty());
  QVERIFY(real.image == emulated.image);
  if (sessions) QVERIFY(real.image == velmora::testing::FileBytes(disc));
  QCOMPARE(real.statuses.size(), emulated.statuses.size());
  QCOMPARE(real.statuses.front(), Text(text::kDriveLabel) +
                                      QStringLiteral(" VELMORA SOFTWARE DRIVE, ") +
                                      Text(text::kFirmwareLabel) + QStringLiteral(" 1.00"));
  QCOMPARE(real.statuses.mid(1), emulated.statuses.mid(1));
  QVERIFY(real.errors.empty());
  QVERIFY2(drive.LeftUnlocked(), velmora::testing::FileBytes(drive.log()).c_str());
  QCOMPARE(drive.Count("MALFORMED"), std::size_t{0});
  QCOMPARE(drive.Count("PREVENT-ALLOW 1"), std::size_t{1});
}

// A drive that stays "becoming ready" is looked at a bounded number of times,
// with its progress shown, and then read all the same (the kernel waits for it
// in every read): the tree is the disc's.
void TestLinuxDrive::spinUpIsWaitedForWithProgressAndABound() {
  velmora::testing::TempDir dir;
  SoftwareDrive drive(dir / "drive");
  drive.Load(rockRidge_, {"not-ready 100000"});
  const WindowRun real = RunSoftware(drive, {}, [](CMainFrame& frame) {
    frame.scan().SetReadinessPause(std::chrono::milliseconds{0});
  });
  const WindowRun emulated = RunEmulated(rockRidge_, {});
  QCOMPARE(real.listing, emulated.listing);
  QVERIFY(real.statuses.contains(Text(text::kDriveLabel) +
                                 QStringLiteral(" VELMORA SOFTWARE DRIVE, ") +
                                 Text(text::kFirmwareLabel) + QStringLiteral(" 1.00")));
  QVERIFY(std::any_of(real.progress.begin(), real.progress.end(), [](const QString& label) {
    return label.startsWith(Text(text::kWaitingForDrive) + QStringLiteral(" ("));
  }));
  // 120 looks after the first, then the process goes on and says so.
  QVERIFY(drive.Count("os TEST-UNIT-READY -> CHECK 02/04/01") >= 121);
  QVERIFY(drive.Count("os TEST-UNIT-READY -> CHECK 02/04/01") < 130);
  QVERIFY(real.errors.empty());
  QVERIFY(drive.LeftUnlocked());
}

// An empty drive asks for a disc (error 11), never "CDROM not found /
// CDROM entirely corrupted", and the tree stays empty.
void TestLinuxDrive::emptyDriveAsksForADisc() {
  velmora::testing::TempDir dir;
  SoftwareDrive drive(dir / "drive");
  drive.Load({});
  const WindowRun real = RunSoftware(drive, {});
  QCOMPARE(real.errors, std::vector<int>{static_cast<int>(text::ErrorCode::kNoDisc)});
  QVERIFY(real.listing.empty());
  QVERIFY(drive.LeftUnlocked());
}

// A disc changed while the tree is read stops the scan (error 12): the tree
// holds the first disc's entries only.
void TestLinuxDrive::changedDiscStopsTheScanWithTheFirstDiscOnly() {
  velmora::testing::TempDir dir;
  SoftwareDrive drive(dir / "drive");
  // The change comes with the first read of a folder of the second session.
  const std::uint32_t folder = FolderSector(RunEmulated(demo_, {}).listing, "Photos 1999");
  QVERIFY(folder != 0);
  drive.Load(demo_, {"change-disc " + other_.string() + " sector " + std::to_string(folder)});
  const WindowRun real = RunSoftware(drive, {});
  const WindowRun emulated = RunEmulated(demo_, {});
  QCOMPARE(real.errors, std::vector<int>{static_cast<int>(text::ErrorCode::kDiscChanged)});
  // What was read before the change stays; nothing of the other disc is in.
  QVERIFY(!real.listing.empty());
  QVERIFY(real.listing.size() < emulated.listing.size());
  for (const std::string& line : velmora::testing::Lines(real.listing)) {
    QVERIFY2(emulated.listing.find(line + "\n") != std::string::npos, line.c_str());
  }
  QVERIFY(real.statuses.contains(Text(text::kProcessAborted)));
  QVERIFY(drive.LeftUnlocked());
}

// SIGTERM (`kill`, a logout) while Open Drive waits on the drive: the window
// stops the scan without asking and closes as at Exit, so the tray the scan
// locked is unlocked at the last close and the program ends normally. The
// stop is sent once the drive says it holds a folder's read.
void TestLinuxDrive::sigtermWhileOpenDriveReadsUnlocksTheTray() {
  const std::uint32_t folder = FolderSector(RunEmulated(rockRidge_, {}).listing, "notes");
  QVERIFY(folder != 0);
  velmora::testing::TempDir dir;
  SoftwareDrive drive(dir / "drive");
  drive.Load(rockRidge_, {"hold sector " + std::to_string(folder)});
  const std::string script =
      "log=$1; shift; \"$@\" >/dev/null 2>&1 & pid=$!; "
      "until grep -q '^held' \"$log\"; do sleep 0.01; done; "
      "kill -TERM $pid; touch \"$log.release\"; wait $pid";
  std::vector<std::string> environment = drive.Environment();
  environment.push_back("QT_QPA_PLATFORM=offscreen");
  environment.push_back("XDG_CONFIG_HOME=" + (dir / "config").string());
  const auto result = velmora::testing::RunCommand(
      {"timeout", "-k", "10", "60", "sh", "-c", script, "sh", drive.log().string(),
       VELMORA_GUI_DIR "/velmora", "--open-drive", "--no-splash"},
      environment);
  QCOMPARE(result.exitCode, 0);
  QCOMPARE(drive.Count("held"), std::size_t{1});
  QCOMPARE(drive.Count("PREVENT-ALLOW 1"), std::size_t{1});
  QVERIFY2(drive.LeftUnlocked(), velmora::testing::FileBytes(drive.log()).c_str());
}

// The software drive works only preloaded: the test starts itself again with
// it when it was not.
int main(int argc, char** argv) {
  const char* preload = std::getenv("LD_PRELOAD");
  if (!preload || std::string(preload).find(VELMORA_SOFTDRIVE_PATH) == std::string::npos) {
    setenv("LD_PRELOAD", VELMORA_SOFTDRIVE_PATH, 1);
    execv("/proc/self/exe", argv);
    return 127;
  }
  QApplication app(argc, argv);
  TestLinuxDrive test;
  return QTest::qExec(&test, argc, argv);
}

#include "tst_linuxdrive.moc"
