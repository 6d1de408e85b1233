#pragma once

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
};

// What the main frame asks of the file list in the right pane (CCDView).
class ListPane {
 public:
  virtual ~ListPane() = default;
  virtual ListStyle Style() const = 0;
  virtual void SetStyle(ListStyle style) = 0;
  // Reloads the column titles in the current language.
  virtual void RelabelColumns() = 0;
};

}  // namespace velmora::gui
