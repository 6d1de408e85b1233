#include "browse/BrowseIcons.h"

#include <QString>

namespace velmora::gui {
namespace {

QIcon Load(const char* path) { return QIcon(QString::fromLatin1(path)); }

}  // namespace

const QIcon& DiscIcon() {
  static const QIcon icon = Load(":/icons/disc.svg");
  return icon;
}

const QIcon& FolderIcon() {
  static const QIcon icon = [] {
    QIcon folder;
    for (int size : {16, 32}) {
      folder.addFile(QStringLiteral(":/icons/folder-closed.svg"), QSize(size, size), QIcon::Normal);
      folder.addFile(QStringLiteral(":/icons/folder-open.svg"), QSize(size, size), QIcon::Selected);
    }
    return folder;
  }();
  return icon;
}

const QIcon& FileIcon() {
  static const QIcon icon = Load(":/icons/file.svg");
  return icon;
}

}  // namespace velmora::gui
