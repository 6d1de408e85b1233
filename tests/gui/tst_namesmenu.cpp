#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <memory>

#include "BrowseFixture.h"
#include "app/Languages.h"

using namespace velmora;
using namespace velmora::gui;
using velmora::testing::BrowseFixture;

namespace {

using Ids = QList<int>;
const Ids kNames = {kNamesAuto, kNamesRockRidge, kNamesJoliet, kNamesPrimary};

// A folder and a file whose Rock Ridge and Joliet names differ from their
// ISO 9660 level-1 names (MIXED_FO, LONG_FIL.TXT).
platform::emulated::EmulatedDisc MakeDisc(const testing::TempDir& dir, bool rockRidge,
                                          bool joliet, int slowMs = 0) {
  testing::WriteTree(dir / "tree", {{.path = "Mixed Folder/Long File Name.txt", .content = "long"},
                                    {.path = "TOP.TXT", .content = "top"}});
  testing::IsoOptions options;
  options.rockRidge = rockRidge;
  options.joliet = joliet;
  const std::string image = testing::MakeIso(dir / "tree", dir / "disc.iso", options).string();
  std::string reason;
  auto disc = platform::emulated::EmulatedDisc::FromImage(image, reason);
  if (!disc) throw std::runtime_error(reason);
  if (slowMs > 0) {
    const auto sectors = std::filesystem::file_size(image) / 2048;
    for (std::uint32_t lba = 0; lba < sectors; ++lba) {
      disc->faults[lba] = {.kind = platform::emulated::FaultKind::kSlow,
                           .delay = std::chrono::milliseconds(slowMs)};
    }
  }
  return std::move(*disc);
}

QSettings Settings() { return QSettings(SettingsOrganization(), SettingsApplication()); }

}  // namespace

// View > Names: the choice of names the tree shows, greyed for names the disc
// lacks and during a process, remembered, and read again at once.
class TestNamesMenu : public QObject {
  Q_OBJECT

 private slots:
  void init() { Settings().clear(); }
  void cleanupTestCase() { Settings().clear(); }
  void choicesSitInTheViewMenu();
  void menuGreysTheNamesTheDiscLacks_data();
  void menuGreysTheNamesTheDiscLacks();
  void choiceRereadsTheTreeAndIsRemembered();
  void choiceWithoutATreeWaitsForTheScan();
  void choicesGreyedWhileScanning();

 private:
  static QStringList TopLevelNames(const BrowseFixture& f);
  static Ids Enabled(const BrowseFixture& f);
};

QStringList TestNamesMenu::TopLevelNames(const BrowseFixture& f) {
  QStringList names;
  const QModelIndex root = f.views().treeModel().index(0, 0);
  for (int row = 0; row < f.views().treeModel().rowCount(root); ++row) {
    names << f.views().treeModel().index(row, 0, root).data().toString();
  }
  return names;
}

Ids TestNamesMenu::Enabled(const BrowseFixture& f) {
  f.frame->RefreshCommands();
  Ids enabled;
  for (int id : kNames) {
    if (f.frame->Action(id)->isEnabled()) enabled << id;
  }
  return enabled;
}

void TestNamesMenu::choicesSitInTheViewMenu() {
  testing::TempDir dir;
  BrowseFixture f(MakeDisc(dir, true, true));
  QMenu* names = nullptr;
  for (QMenu* menu : f.frame->menuBar()->findChildren<QMenu*>()) {
    if (menu->title() == QStringLiteral("&Names")) names = menu;
  }
  QVERIFY(names);
  QVERIFY(names->menuAction()->parent());
  QStringList texts;
  for (QAction* action : names->actions()) {
    if (!action->isSeparator()) texts << action->text();
  }
  QCOMPARE(texts, (QStringList{"&Automatic", "&Rock Ridge", "&Joliet", "ISO 9660 &Primary"}));
  // Automatic is the first start's choice.
  QVERIFY(f.frame->Action(kNamesAuto)->isChecked());
  QVERIFY(!f.frame->Action(kNamesPrimary)->isChecked());
}

void TestNamesMenu::menuGreysTheNamesTheDiscLacks_data() {
  QTest::addColumn<bool>("rockRidge");
  QTest::addColumn<bool>("joliet");
  QTest::addColumn<Ids>("enabled");
  QTest::newRow("genisoimage -r, no Joliet")
      << true << false << Ids{kNamesAuto, kNamesRockRidge, kNamesPrimary};
  QTest::newRow("genisoimage -J, no Rock Ridge")
      << false << true << Ids{kNamesAuto, kNamesJoliet, kNamesPrimary};
  QTest::newRow("ISO 9660 alone") << false << false << Ids{kNamesAuto, kNamesPrimary};
  QTest::newRow("-r -J") << true << true << kNames;
}

void TestNamesMenu::menuGreysTheNamesTheDiscLacks() {
  QFETCH(bool, rockRidge);
  QFETCH(bool, joliet);
  QFETCH(Ids, enabled);
  testing::TempDir dir;
  BrowseFixture f(MakeDisc(dir, rockRidge, joliet));
  // Before any disc is read every choice is open; it applies to the scan.
  QCOMPARE(Enabled(f), kNames);
  f.Scan();
  QCOMPARE(Enabled(f), enabled);
}

void TestNamesMenu::choiceRereadsTheTreeAndIsRemembered() {
  testing::TempDir dir;
  {
    BrowseFixture f(MakeDisc(dir, true, false));
    f.Scan();
    QCOMPARE(TopLevelNames(f), (QStringList{"Mixed Folder"}));
    f.ClickTreeBox(u"Mixed Folder");
    QVERIFY(f.frame->state().anyEntryMarked);

    f.frame->Action(kNamesPrimary)->trigger();
    // Read again at once, from the same medium, without asking for the disc.
    QCOMPARE(TopLevelNames(f), (QStringList{"MIXED_FO"}));
    QVERIFY(f.tree().SelectFolder(f.Entry(u"MIXED_FO")));
    QCOMPARE(f.RowNames(), QStringLiteral("LONG_FIL.TXT"));
    QCOMPARE(f.prompts.asked.count(QStringLiteral("insert")), 1);
    QVERIFY(f.frame->Action(kNamesPrimary)->isChecked());
    QVERIFY(!f.frame->Action(kNamesAuto)->isChecked());
    // The new tree starts unmarked, as after any scan.
    QVERIFY(!f.frame->state().anyEntryMarked);
    QVERIFY(f.frame->state().treeComplete);
    bool logged = false;
    for (const log::LogRow& row : f.frame->messageLog().rows()) {
      logged = logged || row.text == u"Names shown: ISO 9660";
    }
    QVERIFY(logged);
  }
  QCOMPARE(Settings().value(QStringLiteral("window/names")).toString(), QStringLiteral("primary"));

  // The next start keeps the choice and reads the disc with it.
  BrowseFixture again(MakeDisc(dir, true, false));
  QVERIFY(again.frame->Action(kNamesPrimary)->isChecked());
  QCOMPARE(again.frame->state().nameSource, disc::NameSource::kPrimary);
  again.Scan();
  QCOMPARE(TopLevelNames(again), (QStringList{"MIXED_FO"}));
  again.frame->Action(kNamesRockRidge)->trigger();
  QCOMPARE(TopLevelNames(again), (QStringList{"Mixed Folder"}));
  QVERIFY(again.tree().SelectFolder(again.Entry(u"Mixed Folder")));
  QCOMPARE(again.RowNames(), QStringLiteral("Long File Name.txt"));
  QCOMPARE(Settings().value(QStringLiteral("window/names")).toString(),
           QStringLiteral("rockridge"));
}

void TestNamesMenu::choiceWithoutATreeWaitsForTheScan() {
  testing::TempDir dir;
  BrowseFixture f(MakeDisc(dir, true, true));
  f.frame->Action(kNamesJoliet)->trigger();
  QVERIFY(f.prompts.asked.isEmpty());
  QVERIFY(f.table().empty());
  QVERIFY(f.frame->Action(kNamesJoliet)->isChecked());
  f.Scan();
  QCOMPARE(f.prompts.asked.count(QStringLiteral("insert")), 1);
  // The Joliet name keeps its case and length; the level-1 name is MIXED_FO.
  QCOMPARE(TopLevelNames(f), (QStringList{"Mixed Folder"}));
  bool logged = false;
  for (const log::LogRow& row : f.frame->messageLog().rows()) {
    logged = logged || row.text == u"Names shown: Joliet";
  }
  QVERIFY(logged);
}

void TestNamesMenu::choicesGreyedWhileScanning() {
  testing::TempDir dir;
  BrowseFixture f(MakeDisc(dir, true, true, 3));
  f.Scan();
  Ids duringScan = kNames;
  bool seen = false;
  auto* poll = new QTimer(f.frame.get());
  connect(poll, &QTimer::timeout, f.frame.get(), [&] {
    if (!f.frame->state().scanInProgress || seen) return;
    seen = true;
    duringScan = Enabled(f);
    // Chosen anyway (a key, a stale menu): nothing changes.
    f.frame->SetNameSource(disc::NameSource::kPrimary);
  });
  poll->start(0);
  f.frame->Action(kNamesRockRidge)->trigger();
  poll->stop();
  QVERIFY(seen);
  QCOMPARE(duringScan, Ids{});
  QCOMPARE(f.frame->state().nameSource, disc::NameSource::kRockRidge);
  QCOMPARE(TopLevelNames(f), (QStringList{"Mixed Folder"}));
  QCOMPARE(Enabled(f), kNames);
}

QTEST_MAIN(TestNamesMenu)
#include "tst_namesmenu.moc"
