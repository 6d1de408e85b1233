#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QFile>
#include <QGuiApplication>
#include <QMessageBox>
#include <QTextStream>
#include <QTimer>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "app/CCDApp.h"
#include "app/CMainFrame.h"
#include "app/EndRequests.h"
#include "app/OffThreadMachine.h"
#include "app/TextLoader.h"
#include "platform/Heap.h"
#include "platform/Machine.h"
#include "platform/emulated/EmulatedMachine.h"
#include "platform/emulated/FaultMapFile.h"
#include "text/StringTable.h"

namespace {

using velmora::gui::LoadQText;

// Exit code for an --emulated-drive image that cannot be used (1 is the command
// line parser's own for a malformed command line).
constexpr int kExitBadImage = 2;

// Says why the image cannot be used (the reason names the file): on stderr
// always, and in a message box where someone can see one (the offscreen and
// minimal platforms have no screen, and a box there would wait forever).
void ReportBadImage(const QString& heading, const std::string& reason) {
  const QString detail = QString::fromLocal8Bit(reason);
  QTextStream(stderr) << "velmora: " << heading << ": " << detail << Qt::endl;
  const QString platform = QGuiApplication::platformName();
  if (platform != QLatin1String("offscreen") && platform != QLatin1String("minimal")) {
    QMessageBox::critical(nullptr, LoadQText(velmora::text::kProductTitle),
                          heading + QLatin1Char('\n') + detail);
  }
}

// --open-drive: the disc is in the drive, so the Insert CDROM question of that
// first Open Drive is answered; every other question goes to the dialogs.
class InsertAnswered final : public velmora::gui::WindowPrompts {
 public:
  explicit InsertAnswered(velmora::gui::WindowPrompts& dialogs) : dialogs_(dialogs) {}
  std::optional<std::size_t> SelectDrive(const std::vector<std::string>& paths) override {
    return dialogs_.SelectDrive(paths);
  }
  bool ConfirmInsertDisc() override { return true; }
  bool ConfirmOverwrite(const std::string& path) override { return dialogs_.ConfirmOverwrite(path); }
  void ShowError(int code) override { dialogs_.ShowError(code); }
  void ShowErrorDetail(int code, const std::string& detail) override {
    dialogs_.ShowErrorDetail(code, detail);
  }
  void ShowNotice(int type) override { dialogs_.ShowNotice(type); }
  bool ConfirmSameMedium() override { return dialogs_.ConfirmSameMedium(); }
  std::optional<std::string> ChooseFolder(const std::u16string& title) override {
    return dialogs_.ChooseFolder(title);
  }
  bool ConfirmStop() override { return dialogs_.ConfirmStop(); }
  std::optional<QString> ChooseSaveFile(velmora::gui::ChooserPurpose purpose, const QString& title,
                                        const QString& filter, const QString& name) override {
    return dialogs_.ChooseSaveFile(purpose, title, filter, name);
  }
  std::optional<SaveFileChoice> ChooseSaveFileOfType(velmora::gui::ChooserPurpose purpose,
                                                     const QString& title,
                                                     const QStringList& types,
                                                     const QString& name) override {
    return dialogs_.ChooseSaveFileOfType(purpose, title, types, name);
  }
  std::optional<QString> ChooseOpenFile(velmora::gui::ChooserPurpose purpose, const QString& title,
                                        const QString& filter) override {
    return dialogs_.ChooseOpenFile(purpose, title, filter);
  }
  bool ConfirmReplaceFile(const QString& path) override { return dialogs_.ConfirmReplaceFile(path); }

 private:
  velmora::gui::WindowPrompts& dialogs_;
};

}  // namespace

int main(int argc, char** argv) {
  velmora::platform::PrepareHeapForLargeTables();
  velmora::gui::CCDApp app(argc, argv);

  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Reads the ISO 9660 file system of CD-ROMs and rescues their files."));
  parser.addHelpOption();
  const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                   QStringLiteral("Show the version and the licence."));
  parser.addOption(version);
  parser.addPositionalArgument(
      QStringLiteral("FILE"),
      QStringLiteral("A disc image (.cd or plain ISO 9660) to open as Open Image does."),
      QStringLiteral("[FILE]"));
  const QCommandLineOption emulatedDrive(
      QStringLiteral("emulated-drive"),
      QStringLiteral("Show the disc image IMAGE as the machine's only optical drive."),
      QStringLiteral("IMAGE"));
  const QCommandLineOption emulatedFaults(
      QStringLiteral("emulated-faults"),
      QStringLiteral("Sectors of the emulated drive's disc that read badly, one a line: "
                     "'LBA unreadable', 'LBA short BYTES', 'LBA check', 'LBA slow MS' or "
                     "'LBA gone'; or a GNU ddrescue mapfile, whose areas not finished do "
                     "not read."),
      QStringLiteral("FILE"));
  const QCommandLineOption openDrive(
      QStringLiteral("open-drive"),
      QStringLiteral("Run Open Drive once the window is shown; the disc is taken to be in."));
  const QCommandLineOption noSplash(QStringLiteral("no-splash"),
                                    QStringLiteral("Start without the splash picture."));
  parser.addOption(emulatedDrive);
  parser.addOption(emulatedFaults);
  parser.addOption(openDrive);
  parser.addOption(noSplash);
  parser.process(app);
  if (parser.isSet(version)) {
    QTextStream(stdout) << "velmora " << QCoreApplication::applicationVersion()
                        << " (GPL-3.0-or-later)" << Qt::endl;
    return 0;
  }
  const QStringList files = parser.positionalArguments();
  if (files.size() > 1 || (!files.isEmpty() && parser.isSet(openDrive))) {
    QTextStream(stderr) << "velmora: one FILE at most, and not with --open-drive (velmora --help "
                           "lists the options)"
                        << Qt::endl;
    return 1;
  }

  std::unique_ptr<velmora::platform::Machine> machine;
  if (parser.isSet(emulatedDrive)) {
    namespace emulated = velmora::platform::emulated;
    const std::string path = QFile::encodeName(parser.value(emulatedDrive)).toStdString();
    std::string reason;
    auto disc = emulated::EmulatedDisc::FromImage(path, reason);
    if (!disc) {
      ReportBadImage(LoadQText(velmora::text::kCannotOpenImage), reason);
      return kExitBadImage;
    }
    if (parser.isSet(emulatedFaults)) {
      const std::string faultPath = QFile::encodeName(parser.value(emulatedFaults)).toStdString();
      if (!emulated::LoadFaultFile(faultPath, *disc, reason)) {
        ReportBadImage(QStringLiteral("--emulated-faults"), reason);
        return kExitBadImage;
      }
    }
    auto emulatedMachine = std::make_unique<emulated::EmulatedMachine>();
    emulatedMachine->InsertDisc(0, std::move(*disc));
    machine = std::move(emulatedMachine);
  } else {
    machine = velmora::platform::CreateHostMachine();
    if (machine->OpticalDrives().empty()) {
      QTextStream(stderr) << "velmora: this machine has no optical drive; "
                             "--emulated-drive IMAGE shows a disc image as one "
                             "(scripts/run offers the demo disc)."
                          << Qt::endl;
    }
  }

  app.InitInstance(!parser.isSet(noSplash));
  // The drive's calls run off the window's thread, so that the window answers
  // while a drive retries a bad sector.
  velmora::gui::OffThreadMachine offThread(*machine);
  velmora::gui::CMainFrame frame(offThread);
  offThread.SetAnswerWhileWaiting([&frame] { return frame.AnswerDuringSlowCall(); });
  velmora::gui::EndWindowOnRequest(frame);
  frame.show();

  InsertAnswered insertAnswered(frame.windowPrompts());
  // The file a file manager's "Open with" names opens once the window is up;
  // one that is no disc image gets the usual message, and the window stays.
  if (!files.isEmpty()) {
    QTimer::singleShot(0, &frame, [&frame, file = files.first()] { frame.OpenImageFile(file); });
  }
  if (parser.isSet(openDrive)) {
    QTimer::singleShot(0, &frame, [&frame, &insertAnswered] {
      frame.SetPrompts(&insertAnswered);
      frame.OnOpenDrive();
      frame.SetPrompts(nullptr);
    });
  }
  const int exitCode = app.exec();
  // The window goes first; what it closes on the way waits without events.
  offThread.SetAnswerWhileWaiting({});
  return exitCode;
}
