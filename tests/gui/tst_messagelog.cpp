#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QStatusTipEvent>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTableView>
#include <clocale>

#include "ScriptedWindowPrompts.h"
#include "app/CMainFrame.h"
#include "app/CommandId.h"
#include "log/CMessageLogDialog.h"
#include "log/LogSaver.h"
#include "platform/emulated/EmulatedMachine.h"

using namespace velmora;
using namespace velmora::gui;
using velmora::testing::ScriptedWindowPrompts;

namespace {

const QByteArray kHeading = QByteArray(19, '-') + "Message Log Report of Orvane Velmora CDROM" +
                            QByteArray(19, '-') + "\r\n\r\n";

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

}  // namespace

// The message log bar and its report file.
class TestMessageLog : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void scrollsFromTheSeventhRowOn();  // and to the newest after many rows
  void clearLogEmptiesItAndGreysItsCommands();
  void closingTheBarUnchecksItsMenuItem();
  void reportOfAFinishedScanByteForByte();
  void reportNameGetsTxtOnlyWhenMissing_data();
  void reportNameGetsTxtOnlyWhenMissing();
  void existingReportIsReplacedOnlyWhenTheUserSaysSo();
  void reportThatCannotBeWrittenShowsError10();
  void longTextsAreWrittenWhole();
  void promptsShowInTheFirstPane();

 private:
  void ScanLikeRows();

  std::unique_ptr<platform::emulated::EmulatedMachine> machine_;
  std::unique_ptr<CMainFrame> frame_;
  ScriptedWindowPrompts prompts_;
  QTemporaryDir dir_;
};

void TestMessageLog::init() {
  machine_ = std::make_unique<platform::emulated::EmulatedMachine>();
  frame_ = std::make_unique<CMainFrame>(*machine_);
  prompts_ = ScriptedWindowPrompts{};
  frame_->SetPrompts(&prompts_);
  frame_->show();
  QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
}

void TestMessageLog::cleanup() {
  frame_.reset();
  machine_.reset();
}

// The three rows of a scan that ran to its end, written as the scan writes them.
void TestMessageLog::ScanLikeRows() {
  frame_->AddLogEntry(u"Info", u"Creating Tree Structure", u"Process Started",
                      log::LogIcon::kInformation);
  frame_->AddLogEntry(u" ", u" ", u"Process Completed", log::LogIcon::kCompleted);
  frame_->state().logHasEntries = true;
  frame_->RefreshCommands();
}

void TestMessageLog::scrollsFromTheSeventhRowOn() {
  QTableView* list = frame_->logDialog()->list();
  // Room for about three rows: any row past them is out of sight.
  list->setFixedHeight(list->horizontalHeader()->height() + 3 * 18 + 4);
  QCoreApplication::processEvents();
  for (int row = 0; row < 12; ++row) {
    frame_->AddLogEntry(u" ", u"row", u"status", log::LogIcon::kFailure);
    QCoreApplication::processEvents();
    QCOMPARE(frame_->logDialog()->logRowCount(), row + 1);
    const QRect shown = list->visualRect(list->model()->index(row, 0));
    if (row < 6) {
      QCOMPARE(list->verticalScrollBar()->value(), 0);
    } else {
      // Wholly visible from top to bottom (the columns are wider than the list).
      QVERIFY2(shown.top() >= 0 && shown.bottom() < list->viewport()->height(),
               qPrintable(QString::number(row)));
    }
  }
  // A process adds many rows between two passes of the event loop: the list
  // holds them all at once and shows the newest after the next pass.
  for (int row = 12; row < 2012; ++row) {
    frame_->AddLogEntry(u" ", QString::number(row).toStdU16String(), u"status",
                        log::LogIcon::kInformation);
  }
  QCOMPARE(list->model()->rowCount(), 2012);
  QCOMPARE(list->model()->index(2011, 1).data().toString(), QStringLiteral("2011"));
  QCoreApplication::processEvents();
  const QRect newest = list->visualRect(list->model()->index(2011, 0));
  QVERIFY(newest.top() >= 0 && newest.bottom() < list->viewport()->height());
}

void TestMessageLog::clearLogEmptiesItAndGreysItsCommands() {
  ScanLikeRows();
  QVERIFY(frame_->Action(kClearLog)->isEnabled());
  QVERIFY(frame_->Action(kSaveLog)->isEnabled());
  frame_->Action(kClearLog)->trigger();
  QCOMPARE(frame_->logDialog()->list()->model()->rowCount(), 0);
  QCOMPARE(frame_->logDialog()->logRowCount(), 0);
  QVERIFY(frame_->messageLog().rows().empty());
  QVERIFY(!frame_->state().logHasEntries);
  frame_->RefreshCommands();
  QVERIFY(!frame_->Action(kClearLog)->isEnabled());
  QVERIFY(!frame_->Action(kSaveLog)->isEnabled());
}

void TestMessageLog::closingTheBarUnchecksItsMenuItem() {
  QAction* toggle = frame_->Action(kMessageLog);
  QVERIFY(toggle->isChecked());
  ScanLikeRows();
  auto* bar = frame_->logDialog()->parentWidget();
  bar->close();
  frame_->RefreshCommands();
  QVERIFY(!toggle->isChecked());
  toggle->trigger();
  QTRY_VERIFY(toggle->isChecked());
  QCOMPARE(frame_->logDialog()->list()->model()->rowCount(), 2);
}

void TestMessageLog::reportOfAFinishedScanByteForByte() {
  ScanLikeRows();
  prompts_.saveFile = dir_.filePath(QStringLiteral("report"));
  frame_->Action(kSaveLog)->trigger();
  QCOMPARE(prompts_.asked.first(),
           QStringLiteral("save file: Save Log To File | Text Document(*.txt) | "
                          "Orvane Velmora CDROM log"));
  const QByteArray indent(20, ' ');
  QCOMPARE(ReadAll(dir_.filePath(QStringLiteral("report.txt"))),
           kHeading + "Info\r\n" + indent + "Creating Tree Structure\r\n" + indent +
               "Process Started\r\n" + QByteArray(79, '-') + "\r\n \r\n" + indent +
               " \r\n" + indent + "Process Completed\r\n");
}

void TestMessageLog::reportNameGetsTxtOnlyWhenMissing_data() {
  QTest::addColumn<QString>("chosen");
  QTest::addColumn<QString>("written");
  QTest::newRow("no extension") << "report" << "report.txt";
  QTest::newRow(".txt") << "report.txt" << "report.txt";
  QTest::newRow(".TXT") << "REPORT.TXT" << "REPORT.TXT";
  QTest::newRow("other extension") << "report.log" << "report.log.txt";
}

void TestMessageLog::reportNameGetsTxtOnlyWhenMissing() {
  QFETCH(QString, chosen);
  QFETCH(QString, written);
  QCOMPARE(LogReportPath(chosen), written);
}

void TestMessageLog::existingReportIsReplacedOnlyWhenTheUserSaysSo() {
  ScanLikeRows();
  const QString path = dir_.filePath(QStringLiteral("kept.txt"));
  {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("precious");
  }
  prompts_.saveFile = path;
  prompts_.replaceFile = false;
  frame_->Action(kSaveLog)->trigger();
  QCOMPARE(prompts_.asked.count(QStringLiteral("replace")), 1);
  QCOMPARE(ReadAll(path), QByteArray("precious"));

  prompts_.replaceFile = true;
  frame_->Action(kSaveLog)->trigger();
  QVERIFY(ReadAll(path).startsWith(kHeading));
}

void TestMessageLog::reportThatCannotBeWrittenShowsError10() {
  ScanLikeRows();
  prompts_.saveFile = dir_.filePath(QStringLiteral("no such folder/report.txt"));
  frame_->Action(kSaveLog)->trigger();
  QCOMPARE(prompts_.errors, (std::vector<int>{10}));
}

void TestMessageLog::longTextsAreWrittenWhole() {
  // An image path far longer than a 260-byte line, with a name in Cyrillic.
  const std::u16string path = u"/media/" + std::u16string(400, u'x') + u"/\u041e\u0442\u0447\u0451\u0442.cd";
  frame_->AddLogEntry(u"CD Image Creation", path, u"Process Started", log::LogIcon::kInformation);
  frame_->state().logHasEntries = true;
  frame_->RefreshCommands();
  prompts_.saveFile = dir_.filePath(QStringLiteral("long.txt"));
  const std::string saved = std::setlocale(LC_CTYPE, nullptr);
  if (!std::setlocale(LC_CTYPE, "C.UTF-8")) QSKIP("C.UTF-8 is not installed");
  frame_->Action(kSaveLog)->trigger();
  std::setlocale(LC_CTYPE, saved.c_str());
  const QByteArray indent(20, ' ');
  QCOMPARE(ReadAll(prompts_.saveFile.value()),
           kHeading + "CD Image Creation\r\n" + indent +
               QString::fromStdU16String(path).toUtf8() + "\r\n" + indent +
               "Process Started\r\n");
}

void TestMessageLog::promptsShowInTheFirstPane() {
  QAction* clear = frame_->Action(kClearLog);
  QStatusTipEvent tip(clear->statusTip());
  QCoreApplication::sendEvent(frame_.get(), &tip);
  QCOMPARE(frame_->StatusPane(0)->text(), QStringLiteral("Clear all contents of message log"));
  QStatusTipEvent none{QString()};
  QCoreApplication::sendEvent(frame_.get(), &none);
  QCOMPARE(frame_->StatusPane(0)->text(), QStringLiteral(" "));
  QCOMPARE(frame_->StatusPane(1)->text(), QStringLiteral("Total 0 Bytes in 0 Files in 0 Folders"));
  QCOMPARE(frame_->StatusPane(2)->text(), QStringLiteral("Marked 0 Bytes in 0 Files in 0 Folders"));
  QCOMPARE(frame_->StatusPane(0)->width(), 265);
  QVERIFY(frame_->StatusPane(1)->width() >= 285);
}

QTEST_MAIN(TestMessageLog)
#include "tst_messagelog.moc"
