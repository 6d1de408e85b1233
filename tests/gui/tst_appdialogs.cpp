#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <QComboBox>

#include "app/CAboutDialog.h"
#include "app/DriveDialogs.h"
#include "app/CProgressBar.h"
#include "app/KeyFilter.h"
#include "app/MessageDialogs.h"
#include "app/NoticeThreads.h"
#include "app/Resources.h"

using namespace velmora::gui;

namespace {

// Addresses a build may be given (the program itself shows none unless so built).
const AboutAddresses kAddresses{QStringLiteral("sales@orvane.example"),
                                QStringLiteral("support@orvane.example"),
                                QStringLiteral("www.orvane.example")};

}  // namespace

// The small dialogs, the notice threads and the progress indicator.
class TestAppDialogs : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { InitResources(); }
  void errorMessageByCode_data();
  void errorMessageByCode();
  void twoLineNoticeByType_data();
  void twoLineNoticeByType();
  void stopConfirmationEscapeAnswersNo();
  void selectDriveNeedsAChoiceAndHasNoCancel();
  void aboutLinksTurnPurpleWhenOpened();
  void aboutBoxShowsOnlyTheAddressesGiven();
  void returnInTheAboutBoxClosesIt();
  void escapeOnSplashClosesItAndItsThreadClosesNothingElse();
  void progressBarPlacement_data();
  void progressBarPlacement();
  void progressBarWrapsAndClears();
  void progressBarStepsInOneGo_data();
  void progressBarStepsInOneGo();
  void keyFilterTable_data();
  void keyFilterTable();
};

void TestAppDialogs::errorMessageByCode_data() {
  QTest::addColumn<int>("code");
  QTest::addColumn<QString>("message");
  QTest::newRow("1") << 1 << "Not a valid image file to open. ";
  QTest::newRow("257 is 1") << 257 << "Not a valid image file to open. ";
  QTest::newRow("3") << 3 << "No matching entry found in the directory tree displayed";
  QTest::newRow("4") << 4 << "No more entries are available in the directory tree displayed";
  QTest::newRow("5") << 5 << "CDROM not found / CDROM entirely corrupted";
  QTest::newRow("6") << 6 << "Unable to create/Open file for storing image";
  QTest::newRow("7") << 7 << "Unable to Open Image File";
  QTest::newRow("10") << 10 << "Error creating file, disk may be write protected";
  QTest::newRow("2") << 2 << "";
  QTest::newRow("8") << 8 << "";
  QTest::newRow("9") << 9 << "";
}

void TestAppDialogs::errorMessageByCode() {
  QFETCH(int, code);
  QFETCH(QString, message);
  CErrorMessageDialog dialog(code);
  QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("message"))->text(), message);
  // Shown and closed with OK, whatever the code.
  QTimer::singleShot(0, &dialog, [&dialog] {
    dialog.findChild<QPushButton*>()->click();
  });
  QCOMPARE(dialog.exec(), int(QDialog::Accepted));
}

void TestAppDialogs::twoLineNoticeByType_data() {
  QTest::addColumn<int>("type");
  QTest::addColumn<QString>("first");
  QTest::addColumn<QString>("second");
  QTest::newRow("0") << 0
                     << "Saving files on to the same logical drive that contains your lost data"
                     << "can cause disk overwrite and result in permanent data loss";
  QTest::newRow("2") << 2 << "Can not exit"
                     << "Stop current operation before exiting Orvane Velmora CDROM";
  QTest::newRow("3") << 3 << "" << "Insert CDROM To Start Process";
  QTest::newRow("1") << 1 << "" << "";
}

void TestAppDialogs::twoLineNoticeByType() {
  QFETCH(int, type);
  QFETCH(QString, first);
  QFETCH(QString, second);
  CTwoLineInfoDialog dialog(type);
  QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("firstLine"))->text(), first);
  QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("secondLine"))->text(), second);
  QCOMPARE(dialog.windowTitle(), QStringLiteral("Orvane Velmora CDROM 2.0 "));
}

void TestAppDialogs::stopConfirmationEscapeAnswersNo() {
  const struct {
    const char* name;
    std::function<void(CStopConfirmDialog&)> answer;
    bool yes;
  } cases[] = {
      {"Escape", [](CStopConfirmDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }, false},
      {"No", [](CStopConfirmDialog& d) { d.findChild<QPushButton*>("no")->click(); }, false},
      {"Yes", [](CStopConfirmDialog& d) { d.findChild<QPushButton*>("yes")->click(); }, true},
      {"Enter", [](CStopConfirmDialog& d) { QTest::keyClick(&d, Qt::Key_Return); }, true},
  };
  for (const auto& c : cases) {
    CStopConfirmDialog dialog;
    QTimer::singleShot(0, &dialog, [&] { c.answer(dialog); });
    QCOMPARE((dialog.exec() == QDialog::Accepted), c.yes);
  }
}

void TestAppDialogs::selectDriveNeedsAChoiceAndHasNoCancel() {
  CSelectDriveDlg dialog({"/dev/sr0", "/dev/sr1"});
  QCOMPARE(dialog.drives()->count(), 2);
  QCOMPARE(dialog.drives()->currentIndex(), 0);
  QVERIFY(!dialog.okButton()->isEnabled());
  QCOMPARE(dialog.findChildren<QPushButton*>().size(), 1);
  QVERIFY(!dialog.choice());

  dialog.drives()->setCurrentIndex(1);
  emit dialog.drives()->activated(1);
  QVERIFY(dialog.okButton()->isEnabled());
  QTimer::singleShot(0, &dialog, [&dialog] { dialog.okButton()->click(); });
  QCOMPARE(dialog.exec(), int(QDialog::Accepted));
  QCOMPARE(dialog.choice(), std::optional<std::size_t>(1));
}

void TestAppDialogs::aboutLinksTurnPurpleWhenOpened() {
  const QColor blue(0, 0, 255);
  const QColor purple(128, 0, 128);
  QList<QUrl> opened;
  bool handlerWorks = false;
  CAboutDialog dialog(
      nullptr,
      [&](const QUrl& url) {
        opened << url;
        return handlerWorks;
      },
      kAddresses);
  const auto colour = [&](int i) { return dialog.link(i)->palette().color(QPalette::WindowText); };
  for (int i = 0; i < 3; ++i) QCOMPARE(colour(i), blue);
  QCOMPARE(dialog.link(1)->cursor().shape(), Qt::PointingHandCursor);

  // A mail link the system cannot open stays blue; the web link turns purple
  // whatever became of it.
  QTest::mouseClick(dialog.link(1), Qt::LeftButton);
  QTest::mouseClick(dialog.link(2), Qt::LeftButton);
  QCOMPARE(colour(1), blue);
  QCOMPARE(colour(2), purple);

  handlerWorks = true;
  QTest::mouseClick(dialog.link(1), Qt::LeftButton);
  QTest::mouseClick(dialog.link(1), Qt::LeftButton);
  QCOMPARE(colour(1), purple);
  QCOMPARE(colour(0), blue);
  QCOMPARE(opened, (QList<QUrl>{QUrl("mailto:support@orvane.example"),
                                QUrl("https://www.orvane.example/"),
                                QUrl("mailto:support@orvane.example"),
                                QUrl("mailto:support@orvane.example")}));
}

// Only the addresses given are shown: none of the program's own build, one
// link where one address is given; never a placeholder.
void TestAppDialogs::aboutBoxShowsOnlyTheAddressesGiven() {
  const auto texts = [](const CAboutDialog& dialog) {
    QStringList shown;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) shown << label->text();
    return shown.join(QLatin1Char('|'));
  };
  {
    CAboutDialog built;
    const AboutAddresses given = AboutAddresses::Built();
    for (int i = 0; i < 3; ++i) {
      const QString address = i == 0 ? given.salesMail : i == 1 ? given.supportMail : given.webSite;
      QCOMPARE(built.link(i) != nullptr, !address.isEmpty());
    }
    QVERIFY2(!texts(built).contains(QStringLiteral(".example")), qPrintable(texts(built)));
  }
  QList<QUrl> opened;
  CAboutDialog dialog(
      nullptr, [&](const QUrl& url) { opened << url; return true; },
      {QString(), QStringLiteral("help@velmora.test"), QStringLiteral("https://velmora.test/help")});
  QVERIFY(dialog.link(0) == nullptr);
  QVERIFY(dialog.link(2) != nullptr);
  QCOMPARE(dialog.link(1)->text(), QStringLiteral("help@velmora.test"));
  QTest::mouseClick(dialog.link(1), Qt::LeftButton);
  QTest::mouseClick(dialog.link(2), Qt::LeftButton);
  QCOMPARE(opened, (QList<QUrl>{QUrl("mailto:help@velmora.test"),
                                QUrl("https://velmora.test/help")}));
}

// Return where the box opens closes it, whatever links it holds; a link
// takes Return once the user has moved to it.
void TestAppDialogs::returnInTheAboutBoxClosesIt() {
  for (const AboutAddresses& addresses : {kAddresses, AboutAddresses{}}) {
    QList<QUrl> opened;
    CAboutDialog dialog(nullptr, [&](const QUrl& url) { opened << url; return true; }, addresses);
    QWidget* focused = nullptr;
    QTimer::singleShot(0, &dialog, [&] {
      if (QTest::qWaitForWindowActive(&dialog)) focused = QApplication::focusWidget();
      if (focused) QTest::keyClick(focused, Qt::Key_Return);
      // A box Return left open fails the test below instead of hanging it.
      if (dialog.isVisible()) dialog.reject();
    });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QVERIFY(qobject_cast<QPushButton*>(focused) != nullptr);
    QCOMPARE(opened, QList<QUrl>{});
  }
  QList<QUrl> opened;
  CAboutDialog dialog(nullptr, [&](const QUrl& url) { opened << url; return true; }, kAddresses);
  dialog.show();
  QVERIFY(QTest::qWaitForWindowActive(&dialog));
  dialog.link(1)->setFocus(Qt::TabFocusReason);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  QCOMPARE(opened, QList<QUrl>{QUrl("mailto:support@orvane.example")});
  QVERIFY(dialog.isVisible());
}

void TestAppDialogs::escapeOnSplashClosesItAndItsThreadClosesNothingElse() {
  // Modal, as the Stop confirmation or a file chooser would be.
  QDialog later;
  later.setWindowModality(Qt::ApplicationModal);
  {
    CSplashDialog splash;
    QTimer::singleShot(0, &splash, [&] {
      QTest::keyClick(&splash, Qt::Key_Escape);
      // What is on screen after the notice: it must outlive the notice's delay.
      later.show();
    });
    QCOMPARE(splash.exec(), int(QDialog::Rejected));
  }
  QTest::qWait(static_cast<int>(NoticeDialog::kDelay.count()) * 2);
  QVERIFY(later.isVisible());

  // A notice left alone is closed by its thread.
  CWaitDialog wait;
  QCOMPARE(wait.exec(), int(QDialog::Rejected));
  QVERIFY(later.isVisible());
}

void TestAppDialogs::progressBarPlacement_data() {
  QTest::addColumn<QRect>("pane");
  QTest::addColumn<int>("messageWidth");
  QTest::addColumn<int>("size");
  QTest::addColumn<QRect>("bar");
  // Blank width 4: the bar starts 16 pixels after the label.
  QTest::newRow("empty label: the whole pane") << QRect(0, 0, 265, 20) << 0 << 100
                                                << QRect(0, 2, 265, 16);
  QTest::newRow("label then bar") << QRect(0, 0, 265, 20) << 100 << 100 << QRect(116, 2, 149, 16);
  QTest::newRow("half the room") << QRect(0, 0, 200, 30) << 0 << 50 << QRect(0, 3, 100, 24);
  QTest::newRow("label wider than the pane") << QRect(10, 0, 265, 20) << 400 << 100
                                             << QRect(275, 2, 0, 16);
}

void TestAppDialogs::progressBarPlacement() {
  QFETCH(QRect, pane);
  QFETCH(int, messageWidth);
  QFETCH(int, size);
  QFETCH(QRect, bar);
  const QRect placed = PlaceProgressBar(pane, messageWidth, 4, size);
  QCOMPARE(placed.x(), bar.x());
  QCOMPARE(placed.y(), bar.y());
  QCOMPARE(std::max(placed.width(), 0), bar.width());
  QCOMPARE(placed.height(), bar.height());
}

void TestAppDialogs::progressBarWrapsAndClears() {
  QLabel pane(QStringLiteral("Ready to go"));
  pane.resize(265, 20);
  pane.show();
  {
    CProgressBar bar(&pane, 0, QStringLiteral("Reading.."), 100, 10000, true);
    QCOMPARE(pane.text(), QStringLiteral("Reading.."));
    QVERIFY(bar.geometry().left() > 0);
    bar.SetText(QStringLiteral("12 Entries Found"));
    QCOMPARE(pane.text(), QStringLiteral("12 Entries Found"));
    for (int i = 0; i < 10000; ++i) bar.StepIt();
    QCOMPARE(bar.value(), 10000);
    bar.StepIt();  // the 10001st step starts over
    QCOMPARE(bar.value(), 0);
  }
  // Pane 0 gets a single blank back, whatever it showed before.
  QCOMPARE(pane.text(), QStringLiteral(" "));

  pane.setText(QStringLiteral("Total"));
  { CProgressBar bar(&pane, 1, QString(), 100, 10, true); }
  QCOMPARE(pane.text(), QStringLiteral("Total"));
}

void TestAppDialogs::progressBarStepsInOneGo_data() {
  QTest::addColumn<int>("upper");
  QTest::addColumn<int>("step");
  QTest::addColumn<int>("start");
  QTest::addColumn<int>("count");
  QTest::newRow("none") << 10 << 1 << 3 << 0;
  QTest::newRow("within the range") << 10 << 1 << 3 << 5;
  QTest::newRow("to the upper bound") << 10 << 1 << 3 << 7;
  QTest::newRow("one past it starts over") << 10 << 1 << 3 << 8;
  QTest::newRow("several rounds") << 10 << 1 << 3 << 250;
  QTest::newRow("steps of 3") << 10 << 3 << 0 << 9;
  QTest::newRow("largest range") << INT32_MAX << 1 << INT32_MAX - 2 << 5;
}

// Steps taken together (the window shows them at its pump's pace) end where
// the same steps taken one at a time end.
void TestAppDialogs::progressBarStepsInOneGo() {
  QFETCH(int, upper);
  QFETCH(int, step);
  QFETCH(int, start);
  QFETCH(int, count);
  QLabel pane;
  pane.resize(265, 20);
  CProgressBar together(&pane, 0, QString(), 100, upper, true);
  CProgressBar single(&pane, 0, QString(), 100, upper, true);
  for (CProgressBar* bar : {&together, &single}) {
    bar->SetStep(step);
    bar->setValue(start);
  }
  together.StepIt(count);
  for (int i = 0; i < count; ++i) single.StepIt();
  QCOMPARE(together.value(), single.value());
}

void TestAppDialogs::keyFilterTable_data() {
  QTest::addColumn<int>("key");
  QTest::addColumn<int>("modifiers");
  QTest::addColumn<bool>("findNextAvailable");
  QTest::addColumn<bool>("dropped");
  QTest::newRow("Escape") << int(Qt::Key_Escape) << 0 << true << true;
  QTest::newRow("Enter") << int(Qt::Key_Return) << 0 << true << true;
  QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << 0 << false << true;
  QTest::newRow("F3 without a find") << int(Qt::Key_F3) << 0 << false << true;
  QTest::newRow("F3 with a find") << int(Qt::Key_F3) << 0 << true << false;
  QTest::newRow("F10 without a find") << int(Qt::Key_F10) << 0 << false << true;
  QTest::newRow("Shift+F6 with a find") << int(Qt::Key_F6) << int(Qt::ShiftModifier) << true
                                        << false;
  QTest::newRow("F1 opens the help") << int(Qt::Key_F1) << 0 << false << false;
  QTest::newRow("N") << int(Qt::Key_N) << 0 << false << true;
  QTest::newRow("Ctrl+N") << int(Qt::Key_N) << int(Qt::ControlModifier) << false << true;
  QTest::newRow("O") << int(Qt::Key_O) << int(Qt::ShiftModifier) << false << true;
  QTest::newRow("Ctrl+O opens an image") << int(Qt::Key_O) << int(Qt::ControlModifier) << false
                                         << false;
  QTest::newRow("M") << int(Qt::Key_M) << 0 << false << false;
  QTest::newRow("Ctrl+S") << int(Qt::Key_S) << int(Qt::ControlModifier) << false << false;
}

void TestAppDialogs::keyFilterTable() {
  QFETCH(int, key);
  QFETCH(int, modifiers);
  QFETCH(bool, findNextAvailable);
  QFETCH(bool, dropped);
  QCOMPARE(DropsKey(key, Qt::KeyboardModifiers(modifiers), findNextAvailable), dropped);
}

QTEST_MAIN(TestAppDialogs)
#include "tst_appdialogs.moc"
