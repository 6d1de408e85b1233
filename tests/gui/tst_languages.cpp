#include <QMenuBar>
#include <QSettings>
#include <QTest>
#include <QTextBrowser>
#include <QTableView>
#include <filesystem>
#include <fstream>

#include "app/CMainFrame.h"
#include "app/CommandId.h"
#include "app/HelpWindow.h"
#include "app/Languages.h"
#include "ScriptedWindowPrompts.h"
#include "log/CMessageLogDialog.h"
#include "platform/emulated/EmulatedMachine.h"
#include "text/StringTable.h"

using namespace velmora;
using namespace velmora::gui;

// The language switch at run time, and a translation that is not there.
class TestLanguages : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void switchTranslatesMenusColumnsAndTexts();
  void missingTranslationFallsBackToEnglish();
  void helpTopicsOpensThePageOfTheLanguage();
  void helpWindowWordsFollowTheLanguage();
  void reasonsBuiltInTheEngineFollowTheLanguage();

 private:
  QString FirstMenuTitle() const { return frame_->menuBar()->actions().first()->text(); }
  QString ActivityColumn() const {
    return frame_->logDialog()->list()->model()->headerData(0, Qt::Horizontal).toString();
  }
  static QVariant StoredLanguage() {
    return QSettings(SettingsOrganization(), SettingsApplication()).value(QStringLiteral("LANG"));
  }

  std::unique_ptr<platform::emulated::EmulatedMachine> machine_;
  std::unique_ptr<CMainFrame> frame_;
};

void TestLanguages::init() {
  QSettings(SettingsOrganization(), SettingsApplication()).clear();
  SetTranslationFolder(QStringLiteral(VELMORA_TEST_QM_DIR));
  InstallLanguage(0);
  machine_ = std::make_unique<platform::emulated::EmulatedMachine>();
  frame_ = std::make_unique<CMainFrame>(*machine_);
}

void TestLanguages::cleanup() {
  frame_.reset();
  machine_.reset();
  InstallLanguage(0);
}

void TestLanguages::switchTranslatesMenusColumnsAndTexts() {
  frame_->AddLogEntry(u"Info", u"Creating Tree Structure", u"Process Started",
                      log::LogIcon::kInformation);
  QVERIFY(!frame_->Action(kEnglish)->isEnabled());

  frame_->Action(kFrench)->trigger();
  QCOMPARE(FirstMenuTitle(), QStringLiteral("&Lecteur"));
  QCOMPARE(frame_->Action(kOpenDrive)->text(), QStringLiteral("&Ouvrir le lecteur"));
  QCOMPARE(frame_->ToolbarAction(kOpenDrive)->toolTip(), QStringLiteral("Ouvrir le lecteur"));
  QCOMPARE(ActivityColumn(), QStringLiteral("Activité"));
  QCOMPARE(QString::fromStdU16String(text::LoadText(text::kProcessStarted)),
           QStringLiteral("Processus démarré"));
  // Rows already written keep their words.
  QCOMPARE(frame_->logDialog()->list()->model()->index(0, 2).data().toString(), QStringLiteral("Process Started"));
  QCOMPARE(frame_->languageIndex(), 1u);
  QVERIFY(!frame_->Action(kFrench)->isEnabled());
  QVERIFY(frame_->Action(kEnglish)->isEnabled());
  QCOMPARE(StoredLanguage().toInt(), 1);

  frame_->Action(kEnglish)->trigger();
  QCOMPARE(FirstMenuTitle(), QStringLiteral("&Drive"));
  QCOMPARE(ActivityColumn(), QStringLiteral("Activity"));
  QCOMPARE(StoredLanguage().toInt(), 0);
  QVERIFY(!frame_->Action(kEnglish)->isEnabled());
}

void TestLanguages::missingTranslationFallsBackToEnglish() {
  frame_->Action(kFrench)->trigger();
  QCOMPARE(FirstMenuTitle(), QStringLiteral("&Lecteur"));

  // The test folder holds no German: English is shown, and English is the item
  // greyed; the stored language stays the one that worked.
  frame_->Action(kGerman)->trigger();
  QCOMPARE(FirstMenuTitle(), QStringLiteral("&Drive"));
  QCOMPARE(ActivityColumn(), QStringLiteral("Activity"));
  QCOMPARE(QString::fromStdU16String(text::LoadText(text::kProcessStarted)),
           QStringLiteral("Process Started"));
  QCOMPARE(frame_->languageIndex(), 0u);
  QVERIFY(!frame_->Action(kEnglish)->isEnabled());
  QVERIFY(frame_->Action(kGerman)->isEnabled());
  QVERIFY(frame_->Action(kFrench)->isEnabled());
  QCOMPARE(StoredLanguage().toInt(), 1);
}

void TestLanguages::helpTopicsOpensThePageOfTheLanguage() {
  QSettings(SettingsOrganization(), SettingsApplication())
      .setValue(QStringLiteral("Path"), QStringLiteral(VELMORA_GUI_DIR));
  frame_->Action(kHelpTopics)->trigger();
  HelpWindow* help = frame_->helpWindow();
  QVERIFY(help && help->isVisible());
  QCOMPARE(help->parentWidget(), frame_.get());
  QVERIFY2(help->browser()->source().path().endsWith(QStringLiteral("/help/English/index.html")),
           qPrintable(help->browser()->source().toString()));
  QVERIFY(!help->browser()->toPlainText().isEmpty());

  frame_->Action(kFrench)->trigger();
  frame_->Action(kHelpTopics)->trigger();
  QVERIFY(help->browser()->source().path().endsWith(QStringLiteral("/help/French/index.html")));

  QSettings(SettingsOrganization(), SettingsApplication())
      .setValue(QStringLiteral("Path"), QStringLiteral("/nonexistent"));
  frame_->Action(kHelpTopics)->trigger();
  QVERIFY(help->browser()->toPlainText().contains(QStringLiteral("/nonexistent/help/French/index.html")));
}

// The help window's own buttons switch with the program, also while it is open.
void TestLanguages::helpWindowWordsFollowTheLanguage() {
  frame_->Action(kHelpTopics)->trigger();
  HelpWindow* help = frame_->helpWindow();
  QVERIFY(help);
  QCOMPARE(help->backAction()->text(), QStringLiteral("Back"));

  frame_->Action(kFrench)->trigger();
  QTRY_COMPARE(help->backAction()->text(), QStringLiteral("Précédent"));
  QCOMPARE(help->forwardAction()->text(), QStringLiteral("Suivant"));
  QCOMPARE(help->contentsAction()->text(), QStringLiteral("Sommaire"));

  frame_->Action(kEnglish)->trigger();
  QTRY_COMPARE(help->contentsAction()->text(), QStringLiteral("Contents"));
}

// Why a file is no disc image is worded by the engine; the words are the
// language's, the file's name stays as it is.
void TestLanguages::reasonsBuiltInTheEngineFollowTheLanguage() {
  const std::filesystem::path notes =
      std::filesystem::temp_directory_path() / "velmora-languages-notes.txt";
  std::ofstream(notes) << "not a disc";
  velmora::testing::ScriptedWindowPrompts prompts;
  prompts.openFile = QString::fromStdString(notes.string());
  frame_->SetPrompts(&prompts);

  frame_->Action(kFrench)->trigger();
  frame_->Action(kOpenImage)->trigger();
  frame_->Action(kEnglish)->trigger();
  frame_->Action(kOpenImage)->trigger();
  frame_->SetPrompts(nullptr);
  std::filesystem::remove(notes);

  QCOMPARE(prompts.errors, (std::vector<int>{1, 1}));
  QCOMPARE(QString::fromStdString(prompts.errorDetails.at(0)),
           QString::fromStdString(notes.string()) +
               QStringLiteral(" : ce n’est pas une image de disque (ni bloc de fin d’image ni "
                              "descripteur de volume ISO 9660)"));
  QCOMPARE(prompts.errorDetails.at(1),
           notes.string() +
               ": not a disc image (no image trailer and no ISO 9660 volume descriptor)");
}

QTEST_MAIN(TestLanguages)
#include "tst_languages.moc"
