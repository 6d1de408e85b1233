#pragma once

#include <QIcon>

namespace velmora::gui {

// The pictures of the folder tree and the file list.
const QIcon& DiscIcon();
// A closed folder, drawn open while its item is selected.
const QIcon& FolderIcon();
const QIcon& FileIcon();

}  // namespace velmora::gui
