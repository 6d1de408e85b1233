#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QTest>

#include "app/CMainFrame.h"
#include "app/Languages.h"
#include "platform/emulated/EmulatedMachine.h"

using namespace velmora;

// A GUI test stores the window's settings in a fresh folder of its run's own:
// never in the user's settings (a window opened after a test run showed the
// names the test had chosen), never beside another test running at the same
// time, never on top of what an earlier run left.
class TestSettingsFolder : public QObject {
  Q_OBJECT

 private slots:
  void theWindowsSettingsGoToAFreshFolderOfTheRunsOwn();
};

void TestSettingsFolder::theWindowsSettingsGoToAFreshFolderOfTheRunsOwn() {
  const QString folder = qEnvironmentVariable("XDG_CONFIG_HOME");
  QVERIFY(!folder.isEmpty());
  QVERIFY2(folder.startsWith(QDir::tempPath() + QLatin1Char('/')), qPrintable(folder));
  QVERIFY2(QDir(folder).isEmpty(), "settings stored before this run began");
  {
    platform::emulated::EmulatedMachine machine;
    gui::CMainFrame frame(machine);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QVERIFY(frame.close());
  }
  const QString file =
      QSettings(gui::SettingsOrganization(), gui::SettingsApplication()).fileName();
  QVERIFY2(file.startsWith(folder + QLatin1Char('/')), qPrintable(file));
  QVERIFY2(QFileInfo::exists(file), qPrintable(file));
}

QTEST_MAIN(TestSettingsFolder)
#include "tst_settingsfolder.moc"
