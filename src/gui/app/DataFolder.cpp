#include "app/DataFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace velmora::gui {

QString DataFolderFor(const QString& programFolder) {
  const QDir program(programFolder);
  if (QFileInfo(program.filePath(QStringLiteral("help"))).isDir()) return program.absolutePath();
  const QString installed = QDir::cleanPath(program.absoluteFilePath(QStringLiteral("../share/velmora")));
  if (QFileInfo(installed).isDir()) return installed;
  return program.absolutePath();
}

QString DataFolder() { return DataFolderFor(QCoreApplication::applicationDirPath()); }

}  // namespace velmora::gui
