#pragma once

#include <cstdint>
#include <map>
#include <optional>

#include "app/CommandId.h"
#include "host/AppState.h"
#include "iso9660/NameSource.h"

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
  // The names the disc whose tree is shown carries; nothing while no tree is
  // shown (a choice then waits for the next scan).
  std::optional<disc::NameSets> namesCarried;
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
