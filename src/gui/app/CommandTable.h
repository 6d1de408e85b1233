#pragma once

#include <QKeySequence>
#include <optional>
#include <span>

#include "app/CommandId.h"
#include "iso9660/NameSource.h"

namespace velmora::gui {

// Where a command's menu item sits.
enum class MenuPopup { kDrive, kFile, kTools, kView, kViewArrange, kViewNames, kLanguage, kHelp };

// One row of the command table. Texts are English source texts, translated in
// the "CMainFrame" context when they are shown.
struct CommandSpec {
  CommandId id;
  MenuPopup popup;
  const char* menuText;
  // Standard keys first; QKeySequence::UnknownKey when there is none.
  QKeySequence::StandardKey standardKey;
  const char* keys;       // further keys in portable text ("Ctrl+S"), or ""
  const char* prompt;     // status-bar prompt
  const char* toolTip;    // toolbar tooltip, "" without a toolbar button
  const char* icon;       // resource path of the toolbar icon, "" without one
  bool separatorBefore;   // in its menu
  bool checkable;
};

// Every command, in menu order.
std::span<const CommandSpec> Commands();
// The command's row; nullptr for an id that is not in the table.
const CommandSpec* FindCommand(int id);

// The View > Names command of a names choice, and back.
CommandId NamesCommand(disc::NameSource names);
std::optional<disc::NameSource> NamesOfCommand(int id);

// Toolbar buttons in order; 0 stands for a separator.
std::span<const int> ToolbarLayout();

}  // namespace velmora::gui
