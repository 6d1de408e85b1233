#include "app/ChooserFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include "app/Languages.h"

namespace velmora::gui {
namespace {

QString Key(ChooserPurpose purpose) {
  switch (purpose) {
    case ChooserPurpose::kOpenImage: return QStringLiteral("folders/openImage");
    case ChooserPurpose::kSaveImage: return QStringLiteral("folders/saveImage");
    case ChooserPurpose::kSaveLog: return QStringLiteral("folders/saveLog");
    case ChooserPurpose::kDestination: return QStringLiteral("folders/destination");
  }
  return {};
}

QSettings Settings() { return QSettings(SettingsOrganization(), SettingsApplication()); }

}  // namespace

QString ChooserStartFolder(ChooserPurpose purpose) {
  const QString kept = Settings().value(Key(purpose)).toString();
  if (!kept.isEmpty() && QFileInfo(kept).isDir()) return kept;
  return QDir::homePath();
}

void RememberChosen(ChooserPurpose purpose, const QString& chosen, bool chosenIsFolder) {
  if (chosen.isEmpty()) return;
  const QString folder = chosenIsFolder ? QDir::cleanPath(chosen) : QFileInfo(chosen).absolutePath();
  Settings().setValue(Key(purpose), folder);
}

}  // namespace velmora::gui
