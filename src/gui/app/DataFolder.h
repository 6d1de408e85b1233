#pragma once

#include <QString>

namespace velmora::gui {

// The folder that holds the translations (French.qm ...) and help/ for a
// program in programFolder: the program's own folder in a build tree, where
// they are built beside it; <prefix>/share/velmora once installed, the program
// being in <prefix>/bin. The program's own folder when neither holds them.
QString DataFolderFor(const QString& programFolder);

// DataFolderFor the folder of the running program.
QString DataFolder();

}  // namespace velmora::gui
