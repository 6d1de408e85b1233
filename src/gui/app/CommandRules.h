#pragma once

#include <cstdint>
#include <map>

#include "app/CommandId.h"
#include "host/AppState.h"

namespace velmora::gui {

// What the enabling rules need beyond the application-state flags: facts about
// the window itself.
struct WindowFacts {
  std::uint32_t languageIndex = 0;
  // The folder selected in the tree has a non-zero File ID (it is not Root).
  bool selectionNotRoot = false;
  bool rightPaneExists = false;
  ListStyle listStyle = ListStyle::kDetails;
  bool toolbarVisible = true;
  bool statusBarVisible = true;
  bool logVisible = true;
};

struct CommandState {
  bool menuEnabled = true;
  bool toolbarEnabled = true;
  bool checked = false;
};

using CommandStates = std::map<int, CommandState>;

// The enabling rules of every command: the menu's (the popup algorithm) and the
// toolbar's, from the flags alone. Menus, toolbar and keys all follow it.
CommandStates EvaluateCommands(const AppState& state, const WindowFacts& facts);

}  // namespace velmora::gui
