#include <QSet>
#include <QTest>

#include "app/CommandRules.h"
#include "app/CommandTable.h"

using namespace velmora;
using namespace velmora::gui;

namespace {

using Ids = QList<int>;

// Flags by name, so that a row of the table reads as the state it describes.
AppState StateOf(const QStringList& flags) {
  AppState state;
  for (const QString& flag : flags) {
    if (flag == "processRunning") state.processRunning = true;
    else if (flag == "treeComplete") state.treeComplete = true;
    else if (flag == "scanInProgress") state.scanInProgress = true;
    else if (flag == "findNextAvailable") state.findNextAvailable = true;
    else if (flag == "lastFindMatched") state.lastFindMatched = true;
    else if (flag == "allMarked") state.allMarked = true;
    else if (flag == "anyEntryMarked") state.anyEntryMarked = true;
    else if (flag == "markedTotalsNonZero") state.markedTotalsNonZero = true;
    else if (flag == "filterApplied") state.filterApplied = true;
    else if (flag == "maskApplied") state.maskApplied = true;
    else if (flag == "recoveryRunning") state.recoveryRunning = true;
    else if (flag == "logHasEntries") state.logHasEntries = true;
    else if (flag == "busy") state.busy = true;
    else if (flag == "stopRequested") state.stopRequested = true;
    else if (flag == "imageCreationRunning") state.imageCreationRunning = true;
    else qFatal("unknown flag %s", qPrintable(flag));
  }
  return state;
}

// Always usable with the file list in place and English in force.
const Ids kAlways = {kExit,      kMessageLog, kToolbar,  kStatusBar, kHelpTopics,
                     kAbout,     kSmallIcons, kLargeIcons, kListView, kDetailsView,
                     kFrench,    kGerman,     kSpanish,  kItalian};
const Ids kOpeners = {kOpenDrive, kCreateImage, kOpenImage};
// View > Names, whenever no process runs (no disc facts given here).
const Ids kNames = {kNamesAuto, kNamesRockRidge, kNamesJoliet, kNamesPrimary};
const Ids kArrange = {kArrangeByName, kArrangeByType, kArrangeBySize, kArrangeByDate};
const Ids kTreeMenu = kOpeners + Ids{kRecoverAll, kAddFileFilter, kFind, kFileMask, kSelectAll} +
                      kArrange;
const Ids kTreeToolbar = {kOpenDrive, kAddFileFilter, kFind, kRecoverAll, kFileMask, kHelpTopics};

QString Names(const QSet<int>& ids) {
  QStringList names;
  for (int id : ids) names << QString::fromLatin1(FindCommand(id)->menuText);
  names.sort();
  return names.join(QStringLiteral(", "));
}

}  // namespace

class TestCommandRules : public QObject {
  Q_OBJECT

 private slots:
  void rules_data();
  void rules();
  void currentLanguageIsGreyed();
  void namesFollowTheDiscShown_data();
  void namesFollowTheDiscShown();
};

void TestCommandRules::rules_data() {
  QTest::addColumn<QStringList>("flags");
  QTest::addColumn<bool>("selectionNotRoot");
  QTest::addColumn<Ids>("menu");     // the menu items enabled; every other greyed
  QTest::addColumn<Ids>("toolbar");  // the buttons enabled; every other disabled

  QTest::newRow("idle") << QStringList{} << false << kNames + kAlways + kOpeners
                        << Ids{kOpenDrive, kHelpTopics};
  QTest::newRow("scan probing") << QStringList{"scanInProgress"} << false << kAlways
                                << Ids{kHelpTopics};
  QTest::newRow("scanning") << QStringList{"scanInProgress", "processRunning", "busy"} << false
                            << kAlways + Ids{kStopProcess} << Ids{kStopProcess, kHelpTopics};
  QTest::newRow("tree complete") << QStringList{"treeComplete", "logHasEntries"} << false
                                 << kNames + kAlways + kTreeMenu + Ids{kClearLog, kSaveLog} << kTreeToolbar;
  QTest::newRow("stopped") << QStringList{"treeComplete", "logHasEntries", "stopRequested"} << false
                           << kNames + kAlways + kTreeMenu + Ids{kClearLog, kSaveLog} << kTreeToolbar;
  QTest::newRow("folder selected, files marked")
      << QStringList{"treeComplete", "anyEntryMarked", "markedTotalsNonZero"} << true
      << kNames + kAlways + kTreeMenu + Ids{kGoUp, kUnselectAll, kRecoverSelected}
      << kTreeToolbar + Ids{kGoUp, kRecoverSelected};
  QTest::newRow("all marked")
      << QStringList{"treeComplete", "allMarked", "anyEntryMarked", "markedTotalsNonZero"} << false
      << kNames + kAlways + kOpeners + Ids{kRecoverAll, kAddFileFilter, kFind, kFileMask} + kArrange +
             Ids{kUnselectAll, kRecoverSelected}
      << kTreeToolbar + Ids{kRecoverSelected};
  QTest::newRow("only empty folders marked")
      << QStringList{"treeComplete", "anyEntryMarked"} << false
      << kNames + kAlways + kTreeMenu + Ids{kUnselectAll, kRecoverSelected}
      << kTreeToolbar + Ids{kRecoverSelected};
  QTest::newRow("image creation")
      << QStringList{"treeComplete", "imageCreationRunning", "processRunning", "busy"} << false
      << kAlways + Ids{kStopProcess, kSelectAll} + kArrange << Ids{kStopProcess};
  QTest::newRow("image creation, nothing scanned")
      << QStringList{"imageCreationRunning", "processRunning", "busy"} << false
      << kAlways + Ids{kStopProcess} << Ids{kStopProcess};
  QTest::newRow("recovery")
      << QStringList{"treeComplete", "recoveryRunning", "processRunning", "busy", "anyEntryMarked",
                     "markedTotalsNonZero"}
      << false << kAlways + Ids{kStopProcess, kSelectAll, kUnselectAll} + kArrange
      << Ids{kStopProcess, kHelpTopics};
  QTest::newRow("mask applied") << QStringList{"maskApplied"} << false
                                << kNames + kAlways + kOpeners +
                                       Ids{kRecoverAll, kAddFileFilter, kFileMask, kFileUnmask,
                                           kSelectAll} +
                                       kArrange
                                << Ids{kOpenDrive, kAddFileFilter, kFind, kRecoverAll, kHelpTopics};
  QTest::newRow("filter applied") << QStringList{"treeComplete", "filterApplied"} << false
                                  << kNames + kAlways + kTreeMenu + Ids{kRemoveFileFilter} << kTreeToolbar;
  QTest::newRow("find has more") << QStringList{"treeComplete", "findNextAvailable",
                                                "lastFindMatched"}
                                 << false << kNames + kAlways + kTreeMenu + Ids{kFindNext}
                                 << kTreeToolbar + Ids{kFindNext};
  // The menu follows findNextAvailable while a tree is shown, the button
  // lastFindMatched.
  QTest::newRow("find ran out") << QStringList{"treeComplete", "lastFindMatched"} << false
                                << kNames + kAlways + kTreeMenu << kTreeToolbar + Ids{kFindNext};
  QTest::newRow("find state without a tree") << QStringList{"lastFindMatched"} << false
                                             << kNames + kAlways + kOpeners + Ids{kFindNext}
                                             << Ids{kOpenDrive, kFindNext, kHelpTopics};
}

void TestCommandRules::rules() {
  QFETCH(QStringList, flags);
  QFETCH(bool, selectionNotRoot);
  QFETCH(Ids, menu);
  QFETCH(Ids, toolbar);

  WindowFacts facts;
  facts.rightPaneExists = true;
  facts.selectionNotRoot = selectionNotRoot;
  const CommandStates states = EvaluateCommands(StateOf(flags), facts);

  QSet<int> menuOn;
  QSet<int> toolbarOn;
  for (const auto& [id, state] : states) {
    if (state.menuEnabled) menuOn.insert(id);
    if (state.toolbarEnabled && std::find(ToolbarLayout().begin(), ToolbarLayout().end(), id) !=
                                    ToolbarLayout().end()) {
      toolbarOn.insert(id);
    }
  }
  const QSet<int> wantMenu(menu.begin(), menu.end());
  const QSet<int> wantToolbar(toolbar.begin(), toolbar.end());
  QCOMPARE(Names(menuOn - wantMenu), QString());  // enabled but should be greyed
  QCOMPARE(Names(wantMenu - menuOn), QString());  // greyed but should be enabled
  QCOMPARE(Names(toolbarOn - wantToolbar), QString());
  QCOMPARE(Names(wantToolbar - toolbarOn), QString());
}

void TestCommandRules::currentLanguageIsGreyed() {
  for (std::uint32_t language = 0; language < 5; ++language) {
    WindowFacts facts;
    facts.languageIndex = language;
    const CommandStates states = EvaluateCommands(AppState{}, facts);
    for (std::uint32_t k = 0; k < 5; ++k) {
      QCOMPARE(states.at(kEnglish + static_cast<int>(k)).menuEnabled, k != language);
    }
  }
}

void TestCommandRules::namesFollowTheDiscShown_data() {
  QTest::addColumn<QStringList>("flags");
  QTest::addColumn<QStringList>("carried");  // "none": no tree shown
  QTest::addColumn<int>("chosen");
  QTest::addColumn<Ids>("enabled");

  const int automatic = static_cast<int>(disc::NameSource::kAuto);
  const int joliet = static_cast<int>(disc::NameSource::kJoliet);
  QTest::newRow("no tree: every choice, for the next scan")
      << QStringList{} << QStringList{"none"} << automatic << kNames;
  QTest::newRow("rock ridge, no joliet")
      << QStringList{"treeComplete"} << QStringList{"rockRidge", "primary"} << automatic
      << Ids{kNamesAuto, kNamesRockRidge, kNamesPrimary};
  QTest::newRow("plain disc") << QStringList{"treeComplete"} << QStringList{"primary"} << joliet
                              << Ids{kNamesAuto, kNamesPrimary};
  QTest::newRow("all three") << QStringList{"treeComplete"}
                             << QStringList{"rockRidge", "joliet", "primary"} << joliet << kNames;
  QTest::newRow("recovered without descriptors")
      << QStringList{"treeComplete"} << QStringList{} << automatic << Ids{kNamesAuto};
  QTest::newRow("scanning") << QStringList{"scanInProgress", "processRunning", "busy"}
                            << QStringList{"none"} << automatic << Ids{};
  QTest::newRow("recovery") << QStringList{"treeComplete", "recoveryRunning", "processRunning"}
                            << QStringList{"rockRidge", "joliet", "primary"} << automatic << Ids{};
  QTest::newRow("image creation")
      << QStringList{"treeComplete", "imageCreationRunning", "processRunning", "busy"}
      << QStringList{"rockRidge", "joliet", "primary"} << automatic << Ids{};
}

// Only the names the disc shown carries can be chosen, never during a process;
// the chosen one is checked whether or not this disc carries it.
void TestCommandRules::namesFollowTheDiscShown() {
  QFETCH(QStringList, flags);
  QFETCH(QStringList, carried);
  QFETCH(int, chosen);
  QFETCH(Ids, enabled);

  AppState state = StateOf(flags);
  state.nameSource = static_cast<disc::NameSource>(chosen);
  WindowFacts facts;
  facts.rightPaneExists = true;
  if (carried != QStringList{"none"}) {
    facts.namesCarried = disc::NameSets{.rockRidge = carried.contains("rockRidge"),
                                        .joliet = carried.contains("joliet"),
                                        .primary = carried.contains("primary")};
  }
  const CommandStates states = EvaluateCommands(state, facts);
  for (int id : kNames) {
    QCOMPARE(states.at(id).menuEnabled, enabled.contains(id));
    QCOMPARE(states.at(id).checked, id == NamesCommand(state.nameSource));
  }
}

QTEST_GUILESS_MAIN(TestCommandRules)
#include "tst_commandrules.moc"
