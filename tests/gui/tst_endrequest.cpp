// The window asked from outside to end (SIGTERM from `kill` or a logout,
// SIGHUP, SIGINT): it ends as its Exit command does, whatever it is doing,
// and never waits for an answer nobody is there to give.

#include <QAction>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "FixtureDisc.h"
#include "ScriptedWindowPrompts.h"
#include "app/CMainFrame.h"
#include "app/CommandId.h"
#include "app/EndRequests.h"
#include "app/MessageDialogs.h"
#include "support/TempDir.h"
#include "support/TextFiles.h"
#include "text/StringTable.h"

using namespace velmora;
using namespace velmora::gui;
using velmora::testing::FixtureDisc;
using velmora::testing::ScriptedWindowPrompts;

namespace {

// Where the window is when the request comes.
enum class During { kScan, kStopQuestionInScan, kCreateImage, kAboutBox };

}  // namespace

Q_DECLARE_METATYPE(During)

class TestEndRequest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { disc_ = std::make_unique<FixtureDisc>(40, 25, 3); }
  void endsAsExitDoes_data();
  void endsAsExitDoes();

 private:
  std::unique_ptr<FixtureDisc> disc_;
};

void TestEndRequest::endsAsExitDoes_data() {
  QTest::addColumn<During>("during");
  QTest::addColumn<int>("signal");
  QTest::newRow("SIGTERM during a scan") << During::kScan << SIGTERM;
  QTest::newRow("SIGHUP during a scan") << During::kScan << SIGHUP;
  QTest::newRow("SIGTERM with the Stop question on screen")
      << During::kStopQuestionInScan << SIGTERM;
  QTest::newRow("SIGTERM during Create Image") << During::kCreateImage << SIGTERM;
  QTest::newRow("SIGTERM with About on screen, nothing running") << During::kAboutBox << SIGTERM;
}

// The process stops without the Stop question, keeps what it read (a scan
// its partial tree, a copy its image ended in the track list), and the window
// closes once the process has returned, unlocking the tray the scan locked; a
// dialog on screen is cancelled rather than waited for.
void TestEndRequest::endsAsExitDoes() {
  QFETCH(During, during);
  QFETCH(int, signal);
  auto machine = disc_->NewMachine();
  auto frame = std::make_unique<CMainFrame>(*machine);
  ScriptedWindowPrompts prompts;
  // The Stop question on screen is the real dialog: the answer it gave is
  // the one the process goes by.
  bool stopAnswered = false;
  prompts.duringStop = [&] { stopAnswered = CStopConfirmDialog::Ask(frame.get()); };
  prompts.stop = false;
  velmora::testing::TempDir out;
  prompts.saveFile = QString::fromStdString((out / "copy").string());
  frame->SetPrompts(&prompts);
  QVERIFY(EndWindowOnRequest(*frame));
  frame->show();
  QVERIFY(QTest::qWaitForWindowExposed(frame.get()));

  if (during == During::kAboutBox) {
    QTimer::singleShot(0, frame.get(), [signal] { std::raise(signal); });
    frame->OnAbout();  // the real box; returns once the request has cancelled it
    QTRY_VERIFY(!frame->isVisible());
    return;
  }

  const bool imaging = during == During::kCreateImage;
  bool lockedWhileScanning = false;
  bool stoppedInProcess = false;
  bool visibleUntilTheProcessReturns = false;
  auto* poll = new QTimer(frame.get());
  connect(poll, &QTimer::timeout, frame.get(), [&] {
    const QString label = frame->StatusPane(0)->text();
    const bool running = imaging ? label.startsWith(QStringLiteral("Reading Sector "))
                                 : label.endsWith(QStringLiteral(" Entries Found"));
    if (!frame->currentProgress() || !running) return;
    poll->stop();
    lockedWhileScanning = machine->trayLocked(0);
    if (during == During::kStopQuestionInScan) {
      // The user pressed Stop and walked away: the request comes while the
      // question waits.
      QTimer::singleShot(0, frame.get(), [signal] { std::raise(signal); });
      frame->Action(kStopProcess)->trigger();
    } else {
      std::raise(signal);
      QTRY_VERIFY(frame->state().stopRequested);
    }
    stoppedInProcess = frame->state().stopRequested;
    visibleUntilTheProcessReturns = frame->isVisible();
  });
  poll->start(0);
  frame->Action(imaging ? kCreateImage : kOpenDrive)->trigger();

  QVERIFY(stoppedInProcess);
  QVERIFY(visibleUntilTheProcessReturns);
  // Nobody answered Yes: the request alone stopped the process.
  QCOMPARE(prompts.asked.count(QStringLiteral("stop")),
           during == During::kStopQuestionInScan ? 1 : 0);
  QVERIFY(!stopAnswered);
  if (imaging) {
    // The copy so far, ended in its track list: it opens as an image.
    const std::string copy = velmora::testing::FileBytes(out / "copy.cd");
    QVERIFY(copy.size() >= 2 * 2048 && copy.size() % 2048 == 0);
    QVERIFY(copy.size() < std::filesystem::file_size(disc_->image) + 2048);
    QCOMPARE(copy.substr(copy.size() - 2048, 25), std::string("12345abbgtpogpkicupog6789"));
  } else {
    QVERIFY(lockedWhileScanning);
    const std::size_t partial = frame->table().size();
    QVERIFY2(partial > 0 && partial < 1041, qPrintable(QString::number(partial)));
  }
  QCOMPARE(QString::fromStdU16String(frame->messageLog().rows().back().status),
           QString::fromStdU16String(text::LoadText(text::kProcessAborted)));
  QTRY_VERIFY(!frame->isVisible());
  QVERIFY(!machine->trayLocked(0));
}

QTEST_MAIN(TestEndRequest)
#include "tst_endrequest.moc"
