#pragma once

#include <QByteArray>
#include <cstddef>
#include <cstdint>

#include "app/CommandId.h"

namespace velmora::gui {

// What the main frame asks of the folder tree in the splitter's left pane
// (CLeftView). The frame finds it with GetLeftPane; a pane that is not one
// makes those requests do nothing.
class TreePane {
 public:
  virtual ~TreePane() = default;
  // Shows Root selected and expanded; collapses it first when asked.
  virtual void ShowRoot(bool collapseFirst) = 0;
  // Collapses every child of Root.
  virtual void CollapseTopLevel() = 0;
  // The selected item's File ID is not 0 (it is not Root).
  virtual bool SelectionNotRoot() const = 0;
  // Expands and selects the first folder in table order whose File ID is
  // fileId (Find shows the folder that holds a hit); nothing when none is.
  virtual void SelectFolderById(std::int64_t /*fileId*/) {}
  // Expands and selects the folder that lists entry (the one the scan put it
  // in; Root for Root itself): Find shows the folder of its hit.
  virtual void ShowFolderOf(std::size_t /*entry*/) {}
};

// What the main frame asks of the file list in the right pane (CCDView).
class ListPane {
 public:
  virtual ~ListPane() = default;
  virtual ListStyle Style() const = 0;
  virtual void SetStyle(ListStyle style) = 0;
  // Reloads the column titles in the current language.
  virtual void RelabelColumns() = 0;
  // The column widths the user set, to be kept in the settings, and their
  // restoring at the next start.
  virtual QByteArray ColumnWidths() const { return {}; }
  virtual void RestoreColumnWidths(const QByteArray& /*saved*/) {}
  // Scrolls the first row whose File ID is fileId wholly into view and makes
  // it the current row (Find's hit); nothing when the list has none.
  virtual void RevealRowById(std::uint32_t /*fileId*/) {}
  // Scrolls the row of entry wholly into view and makes it the current row;
  // entries that share a File ID (empty files often do) are rows of their own.
  virtual void RevealEntry(std::size_t /*entry*/) {}
};

}  // namespace velmora::gui
