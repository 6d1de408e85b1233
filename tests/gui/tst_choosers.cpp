#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>

#include "BrowseFixture.h"
#include "app/Languages.h"
#include "app/MessageDialogs.h"
#include "app/TextLoader.h"
#include "text/StringTable.h"

using namespace velmora;
using namespace velmora::gui;
using velmora::testing::BrowseFixture;

namespace fs = std::filesystem;

namespace {

// Answers a chooser as a user does: the whole path typed into its name field,
// then OK. (selectFile leaves a field the user is typing in alone, so a save
// chooser would keep its suggested name and a folder chooser take the parent.)
void Choose(QFileDialog* chooser, const QString& path) {
  auto* name = chooser->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  QVERIFY(name != nullptr);
  name->setText(path);
  QMetaObject::invokeMethod(chooser, "accept");
}

}  // namespace

// Each file chooser starts in the folder last used for its purpose, or in the
// home folder, never in the folder the program was started from.
class TestChoosers : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void choosersStartAtHomeThenWhereTheyWereLastUsed_data();
  void choosersStartAtHomeThenWhereTheyWereLastUsed();
  void savingOntoTheDiscBeingReadOffersCancel_data();
  void savingOntoTheDiscBeingReadOffersCancel();

 private:
  // Runs command, which shows a file chooser; answer gets the chooser once it
  // is on screen. Returns the folder the chooser started in.
  QString StartFolderOf(const std::function<void()>& command,
                        const std::function<void(QFileDialog*)>& answer);

  std::unique_ptr<BrowseFixture> f_;
  fs::path home_;
  QByteArray savedHome_;
  QString savedCwd_;
};

void TestChoosers::init() {
  f_ = std::make_unique<BrowseFixture>();
  QSettings(SettingsOrganization(), SettingsApplication()).clear();
  // The home folder and the working folder are two different places.
  home_ = f_->dir / "home";
  fs::create_directories(home_);
  fs::create_directories(f_->dir / "started-here");
  fs::create_directories(f_->dir / "chosen");
  savedHome_ = qgetenv("HOME");
  qputenv("HOME", QFile::encodeName(QString::fromStdString(home_.string())));
  savedCwd_ = QDir::currentPath();
  QDir::setCurrent(QString::fromStdString((f_->dir / "started-here").string()));
  QVERIFY(QTest::qWaitForWindowExposed(f_->frame.get()));
}

void TestChoosers::cleanup() {
  QDir::setCurrent(savedCwd_);
  qputenv("HOME", savedHome_);
  f_.reset();
}

QString TestChoosers::StartFolderOf(const std::function<void()>& command,
                                    const std::function<void(QFileDialog*)>& answer) {
  QString start;
  bool stayedOpen = false;
  auto* poll = new QTimer;
  poll->setInterval(20);
  QObject::connect(poll, &QTimer::timeout, poll, [&, poll] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* chooser = qobject_cast<QFileDialog*>(widget);
      if (!chooser || !chooser->isVisible()) continue;
      poll->stop();
      start = chooser->directory().absolutePath();
      answer(chooser);
      // An answer the chooser did not take fails the test instead of hanging it.
      if (chooser->isVisible()) {
        stayedOpen = true;
        chooser->reject();
      }
      return;
    }
  });
  poll->start();
  command();
  delete poll;
  if (stayedOpen) QTest::qFail("the chooser did not take the answer", __FILE__, __LINE__);
  return start;
}

void TestChoosers::choosersStartAtHomeThenWhereTheyWereLastUsed_data() {
  QTest::addColumn<QString>("purpose");
  QTest::newRow("Open Image") << QStringLiteral("open image");
  QTest::newRow("Create Image") << QStringLiteral("create image");
  QTest::newRow("Save Log") << QStringLiteral("save log");
  QTest::newRow("recovery destination") << QStringLiteral("destination");
}

void TestChoosers::choosersStartAtHomeThenWhereTheyWereLastUsed() {
  QFETCH(QString, purpose);
  const QString chosenFolder = QString::fromStdString((f_->dir / "chosen").string());
  const QString home = QString::fromStdString(home_.string());
  std::function<void()> command;
  QString chosen;  // what the user picks in the chooser
  if (purpose == QStringLiteral("open image")) {
    chosen = chosenFolder + QStringLiteral("/copy.iso");
    fs::copy_file(f_->dir / "disc.iso", f_->dir / "chosen/copy.iso");
    command = [&] { f_->frame->OnOpenImage(); };
  } else if (purpose == QStringLiteral("create image")) {
    chosen = chosenFolder + QStringLiteral("/disc.cd");
    command = [&] { f_->frame->OnCreateImage(); };
  } else if (purpose == QStringLiteral("save log")) {
    chosen = chosenFolder + QStringLiteral("/log.txt");
    f_->Scan();  // a log to save
    command = [&] { f_->frame->OnSaveLog(); };
  } else {
    chosen = chosenFolder;
    f_->Scan();  // a tree to recover
    command = [&] { f_->frame->Action(kRecoverAll)->trigger(); };
  }
  // The program's own dialogs from here on, not the test's scripted answers.
  f_->frame->SetPrompts(nullptr);

  // The first time: the home folder, not the folder the program started in.
  QCOMPARE(StartFolderOf(command,
                         [&](QFileDialog* chooser) { Choose(chooser, chosen); }),
           home);
  // What was chosen was really used.
  QVERIFY2(QFileInfo::exists(chosen), qPrintable(chosen));
  if (purpose == QStringLiteral("destination")) {
    QVERIFY(QFileInfo::exists(chosenFolder + QStringLiteral("/TOP.TXT")));
  }

  // The next time: the folder used last for the same purpose.
  QCOMPARE(StartFolderOf(command, [](QFileDialog* chooser) { chooser->reject(); }), chosenFolder);
  // Another purpose still starts at home.
  QCOMPARE(ChooserStartFolder(purpose == QStringLiteral("save log") ? ChooserPurpose::kOpenImage
                                                                     : ChooserPurpose::kSaveLog),
           home);
  // A folder that is gone is not offered: home again.
  fs::remove_all(f_->dir / "chosen");
  QCOMPARE(StartFolderOf(command, [](QFileDialog* chooser) { chooser->reject(); }), home);
}

void TestChoosers::savingOntoTheDiscBeingReadOffersCancel_data() {
  QTest::addColumn<QString>("destination");
  QTest::addColumn<bool>("onTheDisc");
  QTest::addColumn<QString>("button");
  QTest::newRow("on the disc, Cancel") << QStringLiteral("mnt/rescued") << true << QStringLiteral("cancel");
  QTest::newRow("on the disc, OK") << QStringLiteral("mnt/rescued") << true << QStringLiteral("ok");
  QTest::newRow("beside the image file") << QStringLiteral("rescued") << false << QString();
}

void TestChoosers::savingOntoTheDiscBeingReadOffersCancel() {
  QFETCH(QString, destination);
  QFETCH(bool, onTheDisc);
  QFETCH(QString, button);
  // The same disc, now shown mounted at mnt by the system.
  const std::string image = (f_->dir / "disc.iso").string();
  auto dir = std::make_unique<testing::TempDir>();
  fs::copy_file(image, dir->path() / "disc.iso");
  f_.reset();
  std::string reason;
  auto disc = platform::emulated::EmulatedDisc::FromImage((dir->path() / "disc.iso").string(), reason);
  QVERIFY2(disc, reason.c_str());
  disc->mountedAt = (dir->path() / "mnt").string();
  fs::create_directories(disc->mountedAt);
  f_ = std::make_unique<BrowseFixture>(std::move(*disc));
  QVERIFY(QTest::qWaitForWindowExposed(f_->frame.get()));
  f_->Scan();  // the Insert CDROM question answered by the script
  // The program's own dialogs from here on.
  f_->frame->SetPrompts(nullptr);
  const QString chosen = QString::fromStdString((dir->path() / destination.toStdString()).string());
  fs::create_directories(dir->path() / destination.toStdString());

  QStringList shown;  // the notice's lines and buttons, as the user saw them
  auto* poll = new QTimer;
  poll->setInterval(20);
  QObject::connect(poll, &QTimer::timeout, poll, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible()) return;
    if (auto* chooser = qobject_cast<QFileDialog*>(modal)) {
      Choose(chooser, chosen);
      return;
    }
    if (auto* notice = qobject_cast<CTwoLineInfoDialog*>(modal)) {
      shown << notice->firstLine();
      for (QPushButton* each : notice->findChildren<QPushButton*>()) {
        shown << each->objectName() + (each->isDefault() ? QStringLiteral(" (default)") : QString());
      }
      notice->findChild<QPushButton*>(button)->click();
    }
  });
  const std::size_t rowsBefore = f_->frame->messageLog().rows().size();
  poll->start();
  f_->frame->Action(kRecoverAll)->trigger();
  delete poll;

  const bool written = QFileInfo::exists(chosen + QStringLiteral("/TOP.TXT"));
  if (!onTheDisc) {
    QVERIFY(shown.isEmpty());
    QVERIFY(written);
    return;
  }
  QCOMPARE(shown, (QStringList{LoadQText(text::kSameDriveWarning1), QStringLiteral("ok"),
                               QStringLiteral("cancel (default)")}));
  QCOMPARE(written, button == QStringLiteral("ok"));
  // Cancel starts nothing: not one row of a recovery in the log.
  QCOMPARE(f_->frame->messageLog().rows().size() == rowsBefore, button == QStringLiteral("cancel"));
  f_.reset();
}

QTEST_MAIN(TestChoosers)
#include "tst_choosers.moc"
