#include "app/CCDApp.h"

namespace velmora::gui {

CCDApp::CCDApp(int& argc, char** argv) : QApplication(argc, argv) {
  setOrganizationName(QStringLiteral("Orvane Information Systems Ltd."));
  setApplicationName(QStringLiteral("Orvane Velmora CDROM"));
  setApplicationVersion(QStringLiteral(VELMORA_VERSION));
}

}  // namespace velmora::gui
