// Find, File Mask, File Filter and the recovery commands in the window, driven
// through their actions and dialogs on a disc made by xorriso.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "ScriptedWindowPrompts.h"
#include "app/CMainFrame.h"
#include "app/CommandId.h"
#include "app/ViewPanes.h"
#include "browse/Totals.h"
#include "entries/EntryTable.h"
#include "platform/emulated/EmulatedDisc.h"
#include "platform/emulated/EmulatedMachine.h"
#include "select/CFileFilterDialog.h"
#include "select/CFileMaskDialog.h"
#include "select/CFindDialog.h"
#include "select/SelectionCommands.h"
#include "support/IsoBuilder.h"
#include "support/TempDir.h"
#include "support/TreeWriter.h"
#include "text/StringTable.h"

using namespace velmora;
using gui::CMainFrame;

namespace {

namespace fs = std::filesystem;

// The folder tree and the file list as the frame sees them: they record what
// Find asks of them, and follow the table as views do.
class FakeTree : public QWidget, public gui::TreePane {
 public:
  void ShowRoot(bool) override {}
  void CollapseTopLevel() override {}
  bool SelectionNotRoot() const override { return false; }
  void ShowFolderOf(std::size_t entry) override { foldersOf.push_back(entry); }
  std::vector<std::size_t> foldersOf;  // the hits whose folder was shown
};

class FakeList : public QWidget, public gui::ListPane, public disc::EntryTableObserver {
 public:
  explicit FakeList(const disc::EntryTable& table) : table_(table) {}
  gui::ListStyle Style() const override { return gui::ListStyle::kDetails; }
  void SetStyle(gui::ListStyle) override {}
  void RelabelColumns() override {}
  void RevealEntry(std::size_t entry) override { revealedRows.push_back(entry); }
  void EntryAdded(std::size_t index) override { names.push_back(table_[index].name); }
  void TableReset() override {
    names.clear();
    ++resets;
  }
  std::vector<std::size_t> revealedRows;  // entries
  std::vector<std::u16string> names;  // what the view was told, in order
  int resets = 0;

 private:
  const disc::EntryTable& table_;
};

std::vector<std::u16string> Names(const disc::EntryTable& table) {
  std::vector<std::u16string> names;
  for (const disc::Entry& entry : table.entries()) names.push_back(entry.name);
  return names;
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

void ClickButton(QWidget* dialog, const QString& text) {
  for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
    if (button->text() == text) {
      QTest::mouseClick(button, Qt::LeftButton);
      return;
    }
  }
  QFAIL(qPrintable(QStringLiteral("no button ") + text));
}

}  // namespace

class TestSelection : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanup();
  void findSelectsAndRevealsThenRunsOut();
  void cancelledOrEmptyFindKeepsTheSearch();
  void maskAndUnmaskKeepTheViewsInStep();
  void maskDialogEnablesItsFields_data();
  void maskDialogEnablesItsFields();
  void filterDialogIncludeExcludeCancel();
  void recoverSelectedWritesExactlyTheMarkedFiles();
  void recoverSelectedFollowsTheMenuRule();

 private:
  void Find(const QString& pattern, bool matchCase = false);
  void Trigger(int id) { frame_->Action(id)->trigger(); }
  bool MenuEnabled(int id) const { return frame_->Action(id)->isEnabled(); }
  bool ToolbarEnabled(int id) const { return frame_->ToolbarAction(id)->isEnabled(); }
  std::size_t IndexOf(const std::u16string& name) const;

  std::unique_ptr<testing::TempDir> dir_;
  std::string image_;
  std::unique_ptr<platform::emulated::EmulatedMachine> machine_;
  std::unique_ptr<CMainFrame> frame_;
  testing::ScriptedWindowPrompts prompts_;
  FakeTree* tree_ = nullptr;
  FakeList* list_ = nullptr;
};

void TestSelection::initTestCase() {
  dir_ = std::make_unique<testing::TempDir>();
  testing::WriteTree(*dir_ / "tree", {
                                         {.path = "top.txt", .content = "top\n"},
                                         {.path = "DOCS/readme.txt", .content = "read me\n"},
                                         {.path = "DOCS/notes.TXT", .content = "notes\n"},
                                         {.path = "PICS/a.jpg", .patternSize = 3000},
                                         {.path = "PICS/b.jpg", .patternSize = 5000},
                                         {.path = "PICS/c.png", .patternSize = 100},
                                     });
  testing::IsoOptions options;
  options.tool = testing::IsoTool::kXorriso;
  image_ = testing::MakeIso(*dir_ / "tree", *dir_ / "disc.iso", options).string();
}

void TestSelection::init() {
  std::string reason;
  auto disc = platform::emulated::EmulatedDisc::FromImage(image_, reason);
  QVERIFY2(disc.has_value(), reason.c_str());
  machine_ = std::make_unique<platform::emulated::EmulatedMachine>(1);
  machine_->InsertDisc(0, std::move(*disc));
  prompts_ = testing::ScriptedWindowPrompts();
  frame_ = std::make_unique<CMainFrame>(*machine_);
  frame_->SetPrompts(&prompts_);
  tree_ = new FakeTree;
  list_ = new FakeList(frame_->table());
  frame_->table().SetObserver(list_);
  frame_->SetViews(tree_, list_);
  frame_->show();
  Trigger(gui::kOpenDrive);
  QVERIFY(frame_->state().treeComplete);
  QCOMPARE(list_->names, Names(frame_->table()));
}

void TestSelection::cleanup() {
  frame_->table().SetObserver(nullptr);
  frame_.reset();
  machine_.reset();
}

std::size_t TestSelection::IndexOf(const std::u16string& name) const {
  const auto& entries = frame_->table().entries();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].name == name) return i;
  }
  return disc::EntryTable::kNone;
}

void TestSelection::Find(const QString& pattern, bool matchCase) {
  WhenModal<gui::CFindDialog>([pattern, matchCase](gui::CFindDialog* dialog) {
    dialog->findChild<QLineEdit*>(QStringLiteral("findPattern"))->setText(pattern);
    dialog->findChild<QCheckBox*>(QStringLiteral("findMatchCase"))->setChecked(matchCase);
    ClickButton(dialog, QStringLiteral("OK"));
  });
  Trigger(gui::kFind);
}

void TestSelection::findSelectsAndRevealsThenRunsOut() {
  const disc::EntryTable& table = frame_->table();
  // Table order: the three .txt files wherever the scan met them.
  std::vector<std::size_t> expected;
  for (std::size_t i = 0; i < table.size(); ++i) {
    const std::u16string& name = table[i].name;
    if (name.size() > 4 && (name.ends_with(u".txt") || name.ends_with(u".TXT"))) expected.push_back(i);
  }
  QCOMPARE(expected.size(), std::size_t{3});

  Find(QStringLiteral("*.TXT"));
  for (std::size_t k = 0; k < expected.size(); ++k) {
    if (k > 0) Trigger(gui::kFindNext);
    QCOMPARE(tree_->foldersOf.back(), expected[k]);
    QCOMPARE(list_->revealedRows.back(), expected[k]);
    QVERIFY(frame_->state().findNextAvailable);
    QVERIFY(frame_->state().lastFindMatched);
    QVERIFY(MenuEnabled(gui::kFindNext));
    QVERIFY(ToolbarEnabled(gui::kFindNext));
  }
  QVERIFY(prompts_.errors.empty());

  // Past the last hit: code 4, and Find Next stays unavailable.
  Trigger(gui::kFindNext);
  QCOMPARE(prompts_.errors, std::vector<int>{4});
  QVERIFY(!frame_->state().findNextAvailable);
  QVERIFY(!frame_->state().lastFindMatched);
  QVERIFY(!MenuEnabled(gui::kFindNext));
  QVERIFY(!ToolbarEnabled(gui::kFindNext));
  Trigger(gui::kFindNext);  // a disabled action does nothing
  QCOMPARE(prompts_.errors.size(), std::size_t{1});

  // A first search that finds nothing: code 3, Find Next still in the menu.
  Find(QStringLiteral("*.pdf"));
  QCOMPARE(prompts_.errors.back(), 3);
  QVERIFY(MenuEnabled(gui::kFindNext));
  QVERIFY(!ToolbarEnabled(gui::kFindNext));

  // Match Case keeps letters apart; the next Find enables Find Next again.
  Find(QStringLiteral("*.TXT"), true);
  QCOMPARE(list_->revealedRows.back(), IndexOf(u"notes.TXT"));
  QVERIFY(ToolbarEnabled(gui::kFindNext));
  Trigger(gui::kFindNext);
  QCOMPARE(prompts_.errors.back(), 4);
}

void TestSelection::cancelledOrEmptyFindKeepsTheSearch() {
  Find(QStringLiteral("*.jpg"));
  const std::size_t reveals = list_->revealedRows.size();
  WhenModal<gui::CFindDialog>([](gui::CFindDialog* dialog) { ClickButton(dialog, QStringLiteral("Cancel")); });
  Trigger(gui::kFind);
  Find(QString());
  QCOMPARE(list_->revealedRows.size(), reveals);
  // Find Next goes on with the search made before.
  Trigger(gui::kFindNext);
  QCOMPARE(list_->revealedRows.size(), reveals + 1);
  QCOMPARE(list_->revealedRows.back(), IndexOf(u"b.jpg"));
  QVERIFY(prompts_.errors.empty());
}

void TestSelection::maskAndUnmaskKeepTheViewsInStep() {
  AppState& state = frame_->state();
  const std::vector<std::u16string> complete = Names(frame_->table());
  Find(QStringLiteral("*.jpg"));
  QVERIFY(state.findNextAvailable);

  WhenModal<gui::CFileMaskDialog>([](gui::CFileMaskDialog* dialog) {
    dialog->findChild<QLineEdit*>(QStringLiteral("maskText"))->setText(QStringLiteral(" *.jpg ; *.png"));
    dialog->findChild<QCheckBox*>(QStringLiteral("sizeFromBox"))->setChecked(true);
    dialog->findChild<QLineEdit*>(QStringLiteral("sizeFrom"))->setText(QStringLiteral("1"));
    ClickButton(dialog, QStringLiteral("OK"));
  });
  Trigger(gui::kFileMask);
  // Root, PICS, a.jpg and b.jpg: c.png has 100 bytes, under 1 KB.
  std::vector<std::u16string> masked = Names(frame_->table());
  std::sort(masked.begin() + 1, masked.end());
  QCOMPARE(masked, (std::vector<std::u16string>{u"Root", u"PICS", u"a.jpg", u"b.jpg"}));
  QCOMPARE(list_->names, Names(frame_->table()));
  QVERIFY(state.maskApplied);
  QVERIFY(state.treeComplete);
  QVERIFY(MenuEnabled(gui::kFileUnmask));
  // The list Find walked is gone.
  QVERIFY(!state.findNextAvailable);
  QVERIFY(!MenuEnabled(gui::kFindNext));
  QCOMPARE(frame_->selection()->maskedTotals().byteTotal, std::uint64_t{8000});
  QCOMPARE(frame_->StatusPane(1)->text(),
           QString::fromStdU16String(browse::FormatTotals({8000, 2, 1}, false)));

  // A mark made in the masked tree.
  frame_->table().at(IndexOf(u"b.jpg")).checkState = disc::kMarked;

  // Unmask, cancelled: nothing changes.
  WhenModal<gui::CFileMaskDialog>([](gui::CFileMaskDialog* dialog) { ClickButton(dialog, QStringLiteral("Cancel")); });
  Trigger(gui::kFileUnmask);
  QVERIFY(state.maskApplied);
  QVERIFY(MenuEnabled(gui::kFileUnmask));
  QCOMPARE(Names(frame_->table()).size(), std::size_t{4});

  // Unmask: the complete tree again, the mark kept, the views told.
  const int resets = list_->resets;
  WhenModal<gui::CFileMaskDialog>([](gui::CFileMaskDialog* dialog) { ClickButton(dialog, QStringLiteral("OK")); });
  Trigger(gui::kFileUnmask);
  QVERIFY(!state.maskApplied);
  QVERIFY(!MenuEnabled(gui::kFileUnmask));
  QCOMPARE(Names(frame_->table()), complete);
  QCOMPARE(list_->names, complete);
  QCOMPARE(list_->resets, resets + 1);
  const disc::ScanCounters& counters = frame_->scan().counters();
  QCOMPARE(frame_->StatusPane(1)->text(),
           QString::fromStdU16String(browse::FormatTotals(
               {counters.totalFileBytes, counters.filesFound, counters.foldersFound}, false)));
  QCOMPARE(counters.filesFound, 6u);
  QCOMPARE(frame_->table()[IndexOf(u"b.jpg")].checkState, disc::kMarked);
  QCOMPARE(frame_->table()[IndexOf(u"PICS")].checkState, disc::kPartlyMarked);
  QVERIFY(state.anyEntryMarked);

  // A second mask starts from the complete table: masks never stack.
  for (const char* text : {"*.txt", "*.jpg"}) {
    WhenModal<gui::CFileMaskDialog>([text](gui::CFileMaskDialog* dialog) {
      dialog->findChild<QLineEdit*>(QStringLiteral("maskText"))->setText(QString::fromLatin1(text));
      ClickButton(dialog, QStringLiteral("OK"));
    });
    Trigger(gui::kFileMask);
  }
  masked = Names(frame_->table());
  std::sort(masked.begin() + 1, masked.end());
  QCOMPARE(masked, (std::vector<std::u16string>{u"Root", u"PICS", u"a.jpg", u"b.jpg"}));
  QCOMPARE(list_->names, Names(frame_->table()));

  // Open Drive replaces the list: the set-aside table goes, nothing is masked.
  Trigger(gui::kOpenDrive);
  QVERIFY(!state.maskApplied);
  QCOMPARE(Names(frame_->table()), complete);
  QVERIFY(frame_->selection()->completeTable() == nullptr);
}

void TestSelection::maskDialogEnablesItsFields_data() {
  QTest::addColumn<QStringList>("clicks");
  QTest::addColumn<QStringList>("enabled");
  const QStringList always = {"maskText", "maskMatchCase", "existingFiles", "sizeFromBox", "uptoBox",
                              "dateBox"};
  QTest::newRow("initial") << QStringList{} << always;
  QTest::newRow("size from") << QStringList{"sizeFromBox"} << always + QStringList{"sizeFrom"};
  QTest::newRow("upto") << QStringList{"uptoBox"} << always + QStringList{"sizeUpto"};
  QTest::newRow("date") << QStringList{"dateBox"}
                        << always + QStringList{"monthsRadio", "daysRadio", "betweenRadio", "months"};
  QTest::newRow("days") << QStringList{"dateBox", "daysRadio"}
                        << always + QStringList{"monthsRadio", "daysRadio", "betweenRadio", "days"};
  QTest::newRow("between") << QStringList{"dateBox", "betweenRadio"}
                           << always + QStringList{"monthsRadio", "daysRadio", "betweenRadio",
                                                   "rangeStart", "rangeEnd"};
  QTest::newRow("date off again") << QStringList{"dateBox", "betweenRadio", "dateBox"} << always;
}

void TestSelection::maskDialogEnablesItsFields() {
  QFETCH(QStringList, clicks);
  QFETCH(QStringList, enabled);
  gui::CFileMaskDialog dialog({2024, 3, 31});
  dialog.show();
  for (const QString& name : clicks) {
    auto* button = dialog.findChild<QAbstractButton*>(name);
    QVERIFY2(button, qPrintable(name));
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, button->height() / 2));
  }
  const QStringList fields = {"maskText", "maskMatchCase", "existingFiles", "sizeFromBox", "sizeFrom",
                              "uptoBox", "sizeUpto", "dateBox", "monthsRadio", "months",
                              "daysRadio", "days", "betweenRadio", "rangeStart", "rangeEnd"};
  for (const QString& name : fields) {
    QWidget* field = dialog.findChild<QWidget*>(name);
    QVERIFY2(field, qPrintable(name));
    QCOMPARE(field->isEnabled(), enabled.contains(name));
  }
  const select::MaskCriteria criteria = dialog.criteria();
  QCOMPARE(criteria.existingFiles, true);
  QCOMPARE(criteria.sizeFromActive, clicks.contains("sizeFromBox"));
  QCOMPARE(criteria.sizeUptoActive, clicks.contains("uptoBox"));
  QCOMPARE(criteria.monthsActive, enabled.contains("months"));
  QCOMPARE(criteria.daysActive, enabled.contains("days"));
  QCOMPARE(criteria.betweenActive, enabled.contains("rangeEnd"));
  // The range starts a calendar month before today and ends today.
  QCOMPARE(criteria.dateA, (select::CivilDate{2024, 3, 31}));
  QCOMPARE(criteria.dateB, (select::CivilDate{2024, 2, 29}));
  for (const char* box : {"sizeFrom", "sizeUpto", "months", "days"}) {
    QCOMPARE(dialog.findChild<QLineEdit*>(box)->text(), QStringLiteral("0"));
  }
}

void TestSelection::filterDialogIncludeExcludeCancel() {
  AppState& state = frame_->state();
  const auto addTexts = [](gui::CFileFilterDialog* dialog, QStringList texts) {
    auto* edit = dialog->findChild<QPlainTextEdit*>(QStringLiteral("filterText"));
    auto* add = dialog->findChild<QPushButton*>(QStringLiteral("addToList"));
    QVERIFY(!add->isEnabled());
    for (const QString& text : texts) {
      edit->setPlainText(text);
      QVERIFY(add->isEnabled());
      QTest::mouseClick(add, Qt::LeftButton);
      QVERIFY(edit->toPlainText().isEmpty());
      QVERIFY(!add->isEnabled());
    }
  };
  // Include: the texts stored once each; the list box sorted.
  WhenModal<gui::CFileFilterDialog>([&](gui::CFileFilterDialog* dialog) {
    QVERIFY(!dialog->findChild<QPushButton*>(QStringLiteral("include"))->isEnabled());
    QVERIFY(!dialog->findChild<QPushButton*>(QStringLiteral("exclude"))->isEnabled());
    addTexts(dialog, {"txt", "jpg", "txt"});
    auto* list = dialog->findChild<QListWidget*>(QStringLiteral("filterList"));
    QCOMPARE(list->item(0)->text(), QStringLiteral("jpg"));
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("include")), Qt::LeftButton);
  });
  Trigger(gui::kAddFileFilter);
  const select::RecoveryFilterList& filters = frame_->selection()->filters();
  QCOMPARE(filters.texts(), (std::vector<std::u16string>{u"jpg", u"txt"}));
  QVERIFY(state.filterApplied);
  QVERIFY(state.recoveryFilterInclude);
  QCOMPARE(state.pendingFilterCount, std::uint8_t{0});
  QVERIFY(MenuEnabled(gui::kRemoveFileFilter));

  // Cancel: the texts added since the dialog opened are dropped.
  WhenModal<gui::CFileFilterDialog>([&](gui::CFileFilterDialog* dialog) {
    QCOMPARE(dialog->findChild<QListWidget*>(QStringLiteral("filterList"))->count(), 2);
    QVERIFY(dialog->findChild<QPushButton*>(QStringLiteral("include"))->isEnabled());
    addTexts(dialog, {"png"});
    QCOMPARE(state.pendingFilterCount, std::uint8_t{1});
    QTest::keyClick(dialog, Qt::Key_Escape);
  });
  Trigger(gui::kAddFileFilter);
  QCOMPARE(filters.texts(), (std::vector<std::u16string>{u"jpg", u"txt"}));
  QCOMPARE(state.pendingFilterCount, std::uint8_t{0});
  QVERIFY(state.recoveryFilterInclude);

  // Exclude turns every stored text into an exclusion.
  WhenModal<gui::CFileFilterDialog>([&](gui::CFileFilterDialog* dialog) {
    addTexts(dialog, {"doc"});
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("exclude")), Qt::LeftButton);
  });
  Trigger(gui::kAddFileFilter);
  QCOMPARE(filters.texts(), (std::vector<std::u16string>{u"jpg", u"txt", u"doc"}));
  QVERIFY(!state.recoveryFilterInclude);

  // Remove File Filter, then the dialog opens empty.
  Trigger(gui::kRemoveFileFilter);
  QVERIFY(!state.filterApplied);
  QVERIFY(filters.empty());
  QVERIFY(!MenuEnabled(gui::kRemoveFileFilter));
  WhenModal<gui::CFileFilterDialog>([&](gui::CFileFilterDialog* dialog) {
    QCOMPARE(dialog->findChild<QListWidget*>(QStringLiteral("filterList"))->count(), 0);
    QVERIFY(!dialog->findChild<QPushButton*>(QStringLiteral("include"))->isEnabled());
    ClickButton(dialog, QStringLiteral("Cancel"));
  });
  Trigger(gui::kAddFileFilter);
}

void TestSelection::recoverSelectedWritesExactlyTheMarkedFiles() {
  disc::EntryTable& table = frame_->table();
  for (const char16_t* name : {u"readme.txt", u"b.jpg"}) table.at(IndexOf(name)).checkState = disc::kMarked;
  frame_->state().anyEntryMarked = true;
  frame_->RefreshCommands();
  QVERIFY(MenuEnabled(gui::kRecoverSelected));
  QVERIFY(ToolbarEnabled(gui::kRecoverSelected));
  const fs::path dest = *dir_ / "selected";
  fs::create_directories(dest);
  prompts_.folder = dest.string();
  Trigger(gui::kRecoverSelected);
  QVERIFY(!frame_->state().recoveryRunning);
  QVERIFY(!frame_->state().recoverAll);
  std::set<std::string> saved;
  for (const auto& item : fs::recursive_directory_iterator(dest)) {
    if (item.is_regular_file()) saved.insert(fs::relative(item.path(), dest).generic_string());
  }
  QCOMPARE(saved, (std::set<std::string>{"DOCS/readme.txt", "PICS/b.jpg"}));
  QVERIFY(prompts_.asked.contains(QStringLiteral("folder")));
  QVERIFY(frame_->state().logHasEntries);
  // The recovery wrote its rows: a start row and one row per file recovered.
  const std::u16string saving = text::LoadText(text::kSavingFilesProcess);
  const std::u16string recovered = text::LoadText(text::kFileRecovered);
  int savingRows = 0;
  int fileRows = 0;
  for (const log::LogRow& row : frame_->messageLog().rows()) {
    if (row.activity == saving) ++savingRows;
    if (row.status == recovered) ++fileRows;
  }
  QVERIFY(savingRows >= 1);
  QCOMPARE(fileRows, 2);
  // The progress indicator went with the process.
  QVERIFY(frame_->currentProgress() == nullptr);
}

void TestSelection::recoverSelectedFollowsTheMenuRule() {
  AppState& state = frame_->state();
  state.anyEntryMarked = true;
  for (bool* flag : {&state.scanInProgress, &state.imageCreationRunning, &state.recoveryRunning}) {
    *flag = true;
    if (flag == &state.scanInProgress) state.treeComplete = false;
    frame_->RefreshCommands();
    QVERIFY(!MenuEnabled(gui::kRecoverSelected));
    QVERIFY(!ToolbarEnabled(gui::kRecoverSelected));
    *flag = false;
    state.treeComplete = true;
  }
  frame_->RefreshCommands();
  QVERIFY(ToolbarEnabled(gui::kRecoverSelected));
}

QTEST_MAIN(TestSelection)
#include "tst_selection.moc"
