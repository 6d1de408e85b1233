#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QFile>
#include <QGuiApplication>
#include <QMessageBox>
#include <QTextStream>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "app/CCDApp.h"
#include "app/CMainFrame.h"
#include "platform/Machine.h"
#include "platform/emulated/EmulatedMachine.h"
#include "text/StringTable.h"

namespace {

// Exit code for an --emulated-drive image that cannot be used (1 is the command
// line parser's own for a malformed command line).
constexpr int kExitBadImage = 2;

QString Text(std::uint16_t id) { return QString::fromStdU16String(velmora::text::LoadText(id)); }

// Says why the image cannot be used (the reason names the file): on stderr
// always, and in a message box where someone can see one (the offscreen and
// minimal platforms have no screen, and a box there would wait forever).
void ReportBadImage(const std::string& reason) {
  const QString heading = Text(velmora::text::kCannotOpenImage);
  const QString detail = QString::fromLocal8Bit(reason);
  QTextStream(stderr) << "velmora: " << heading << ": " << detail << Qt::endl;
  const QString platform = QGuiApplication::platformName();
  if (platform != QLatin1String("offscreen") && platform != QLatin1String("minimal")) {
    QMessageBox::critical(nullptr, Text(velmora::text::kProductTitle),
                          heading + QLatin1Char('\n') + detail);
  }
}

}  // namespace

int main(int argc, char** argv) {
  velmora::gui::CCDApp app(argc, argv);

  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Reads the ISO 9660 file system of CD-ROMs and rescues their files."));
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption emulatedDrive(
      QStringLiteral("emulated-drive"),
      QStringLiteral("Show the disc image IMAGE as the machine's only optical drive."),
      QStringLiteral("IMAGE"));
  parser.addOption(emulatedDrive);
  parser.process(app);

  std::unique_ptr<velmora::platform::Machine> machine;
  if (parser.isSet(emulatedDrive)) {
    namespace emulated = velmora::platform::emulated;
    const std::string path = QFile::encodeName(parser.value(emulatedDrive)).toStdString();
    std::string reason;
    auto disc = emulated::EmulatedDisc::FromImage(path, reason);
    if (!disc) {
      ReportBadImage(reason);
      return kExitBadImage;
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

  velmora::gui::CMainFrame frame(*machine);
  frame.show();
  return app.exec();
}
