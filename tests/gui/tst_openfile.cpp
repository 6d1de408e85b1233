#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "FixtureDisc.h"
#include "ScriptedWindowPrompts.h"
#include "app/CMainFrame.h"
#include "app/CommandId.h"
#include "support/IsoBuilder.h"
#include "support/TreeWriter.h"

using namespace velmora;
using namespace velmora::gui;
using velmora::testing::FixtureDisc;
using velmora::testing::ScriptedWindowPrompts;

namespace fs = std::filesystem;

// `velmora FILE` (a file manager's "Open with"): the file opens as Open Image
// opens it once chosen, and a file that is no disc image leaves the window
// empty with the usual message.
class TestOpenFile : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void opensAsOpenImageDoes_data();
  void opensAsOpenImageDoes();
  void notAnImageLeavesTheWindowEmpty();

 private:
  // The entries of a window that opened path, through the command or not.
  std::size_t EntriesOpened(const fs::path& path, bool throughCommand,
                            ScriptedWindowPrompts& prompts);

  std::unique_ptr<FixtureDisc> disc_;
};

void TestOpenFile::initTestCase() {
  disc_ = std::make_unique<FixtureDisc>();
  const fs::path dir = disc_->dir.path();
  testing::WriteTree(dir / "rr", {{.path = "Photos/Holiday picture.jpg", .content = "jpeg"},
                                  {.path = "Letter to the bank.txt", .content = "letter"}});
  testing::MakeIso(dir / "rr", dir / "rockridge.iso",
                   {.tool = testing::IsoTool::kXorriso, .rockRidge = true});
  std::ofstream(dir / "notes.txt") << std::string(100'000, 'n');
  // A .cd image of the fixture, as Create Image writes it.
  auto machine = disc_->NewMachine();
  CMainFrame frame(*machine);
  ScriptedWindowPrompts prompts;
  prompts.saveFile = QString::fromStdString((dir / "copy.cd").string());
  frame.SetPrompts(&prompts);
  frame.Action(kOpenDrive)->trigger();
  frame.Action(kCreateImage)->trigger();
  QVERIFY(fs::is_regular_file(dir / "copy.cd"));
}

std::size_t TestOpenFile::EntriesOpened(const fs::path& path, bool throughCommand,
                                        ScriptedWindowPrompts& prompts) {
  auto machine = disc_->NewMachine();
  CMainFrame frame(*machine);
  frame.SetPrompts(&prompts);
  frame.show();
  const QString name = QString::fromStdString(path.string());
  if (throughCommand) {
    prompts.openFile = name;
    frame.Action(kOpenImage)->trigger();
  } else {
    frame.OpenImageFile(name);
  }
  return frame.table().size();
}

void TestOpenFile::opensAsOpenImageDoes_data() {
  QTest::addColumn<QString>("file");
  QTest::newRow("genisoimage ISO") << QStringLiteral("disc.iso");
  QTest::newRow("xorriso Rock Ridge ISO") << QStringLiteral("rockridge.iso");
  QTest::newRow(".cd image") << QStringLiteral("copy.cd");
}

void TestOpenFile::opensAsOpenImageDoes() {
  QFETCH(QString, file);
  const fs::path path = disc_->dir.path() / file.toStdString();
  ScriptedWindowPrompts direct;
  ScriptedWindowPrompts chosen;
  const std::size_t opened = EntriesOpened(path, false, direct);
  QVERIFY2(direct.errors.empty(), qPrintable(direct.asked.join(QLatin1Char(','))));
  QVERIFY(opened > 3);  // Root and more than a folder or two
  QCOMPARE(opened, EntriesOpened(path, true, chosen));
  QCOMPARE(direct.asked.size() + 1, chosen.asked.size());  // no question but the file chooser
}

void TestOpenFile::notAnImageLeavesTheWindowEmpty() {
  ScriptedWindowPrompts prompts;
  auto machine = disc_->NewMachine();
  CMainFrame frame(*machine);
  frame.SetPrompts(&prompts);
  frame.show();
  frame.OpenImageFile(QString::fromStdString((disc_->dir.path() / "notes.txt").string()));
  QCOMPARE(prompts.errors, std::vector<int>{1});
  QCOMPARE(frame.table().size(), std::size_t{0});
  QVERIFY(frame.isVisible());
  QVERIFY(!frame.state().busy);
}

QTEST_MAIN(TestOpenFile)
#include "tst_openfile.moc"
