#include "app/CCDApp.h"

#include <QSettings>

#include "app/Languages.h"
#include "app/Resources.h"
#include "app/NoticeThreads.h"

namespace velmora::gui {

CCDApp::CCDApp(int& argc, char** argv) : QApplication(argc, argv) {
  InitResources();
  setOrganizationName(SettingsOrganization());
  setApplicationName(SettingsApplication());
  setApplicationVersion(QStringLiteral(VELMORA_VERSION));
  setWindowIcon(QIcon(QStringLiteral(":/icons/disc.svg")));
}

std::uint32_t CCDApp::StoredLanguage() {
  QSettings settings(SettingsOrganization(), SettingsApplication());
  bool ok = false;
  const uint value = settings.value(QStringLiteral("LANG"), 0).toUInt(&ok);
  return ok ? value : 0;
}

void CCDApp::InitInstance(bool showSplash) {
  InstallLanguage(StoredLanguage());
  if (showSplash) {
    CSplashDialog splash;
    splash.exec();
  }
}

}  // namespace velmora::gui
