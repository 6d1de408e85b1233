#include "app/CommandRules.h"

#include <initializer_list>

#include "app/CommandTable.h"

namespace velmora::gui {
namespace {

class Rules {
 public:
  explicit Rules(CommandStates& states) : states_(states) {}
  void Menu(std::initializer_list<int> ids, bool enabled) {
    for (int id : ids) states_[id].menuEnabled = enabled;
  }
  void Toolbar(std::initializer_list<int> ids, bool enabled) {
    for (int id : ids) states_[id].toolbarEnabled = enabled;
  }
  void Both(std::initializer_list<int> ids, bool enabled) {
    Menu(ids, enabled);
    Toolbar(ids, enabled);
  }

 private:
  CommandStates& states_;
};

constexpr std::initializer_list<int> kArrange = {kArrangeByName, kArrangeByType, kArrangeBySize,
                                                 kArrangeByDate};

}  // namespace

CommandStates EvaluateCommands(const AppState& state, const WindowFacts& facts) {
  CommandStates states;
  for (const CommandSpec& command : Commands()) states[command.id] = CommandState{};
  Rules rules(states);

  const bool treeShown = state.treeComplete || state.maskApplied;
  const bool busyCopying = state.imageCreationRunning || state.recoveryRunning;
  // The scan, the image copy and the recovery all walk the entry table or the
  // reader from inside a pumping loop: nothing may start another of them.
  const bool processOnStack =
      state.busy || state.scanInProgress || busyCopying || state.processRunning;

  // The update rules, which are also the toolbar's.
  rules.Both({kAddFileFilter, kFind, kRecoverAll}, treeShown);
  rules.Both({kFindNext}, state.lastFindMatched);
  rules.Both({kRecoverSelected}, state.anyEntryMarked);
  rules.Both({kFileMask}, state.treeComplete);
  rules.Both({kStopProcess}, state.processRunning);
  rules.Both({kGoUp}, treeShown && facts.selectionNotRoot);
  for (int id : {kSmallIcons, kLargeIcons, kListView, kDetailsView}) {
    states[id].menuEnabled = states[id].toolbarEnabled = facts.rightPaneExists;
  }
  states[kLargeIcons].checked = facts.rightPaneExists && facts.listStyle == ListStyle::kLargeIcons;
  states[kSmallIcons].checked = facts.rightPaneExists && facts.listStyle == ListStyle::kSmallIcons;
  states[kListView].checked = facts.rightPaneExists && facts.listStyle == ListStyle::kList;
  states[kDetailsView].checked = facts.rightPaneExists && facts.listStyle == ListStyle::kDetails;
  states[kToolbar].checked = facts.toolbarVisible;
  states[kStatusBar].checked = facts.statusBarVisible;
  states[kMessageLog].checked = facts.logVisible;

  // The popup algorithm; later steps override earlier ones.
  rules.Menu({kCreateImage, kOpenImage}, true);
  rules.Menu({kSelectAll, kUnselectAll, kRecoverSelected, kAddFileFilter, kRemoveFileFilter, kGoUp,
              kClearLog, kSaveLog, kFileMask},
             false);
  rules.Menu(kArrange, false);
  rules.Menu({kMessageLog}, true);
  rules.Menu({kFileUnmask}, state.maskApplied);
  if (state.busy) rules.Menu({kOpenDrive}, false);
  if (treeShown) {
    rules.Menu({kRecoverAll, kAddFileFilter, kFind, kSelectAll}, true);
    rules.Menu({kGoUp}, facts.selectionNotRoot);
    rules.Menu(kArrange, true);
    rules.Menu({kFileMask}, true);
    // Unselect All follows the marks themselves: marked empty folders and
    // zero-byte files leave the marked totals at 0 and are still marks.
    const bool anythingMarked =
        state.allMarked || state.markedTotalsNonZero || state.anyEntryMarked;
    rules.Menu({kSelectAll}, !state.allMarked);
    rules.Menu({kUnselectAll}, anythingMarked);
    rules.Menu({kFindNext}, state.findNextAvailable);
    rules.Menu({kRecoverSelected}, state.anyEntryMarked);
    rules.Menu({kRemoveFileFilter}, state.filterApplied);
  }
  if (!state.treeComplete) rules.Menu({kFind}, false);
  if (state.processRunning) rules.Menu({kStopProcess}, true);
  if (state.logHasEntries) rules.Menu({kClearLog, kSaveLog}, true);
  if (state.scanInProgress) rules.Menu({kCreateImage, kOpenImage}, false);
  if (busyCopying) {
    rules.Menu({kCreateImage, kOpenImage, kRecoverSelected, kRecoverAll, kFileMask, kAddFileFilter,
                kFind},
               false);
  }
  for (std::uint32_t k = 0; k < 5; ++k) {
    states[kEnglish + static_cast<int>(k)].menuEnabled = k != facts.languageIndex;
  }
  if (state.selectionNotRoot && treeShown) rules.Menu({kGoUp}, true);

  // What a process start sets on the toolbar directly, kept for as long as
  // the process runs.
  if (state.scanInProgress) {
    rules.Toolbar({kOpenDrive, kAddFileFilter, kFind, kRecoverAll, kGoUp}, false);
  }
  if (state.imageCreationRunning) {
    rules.Toolbar({kOpenDrive, kAddFileFilter, kFind, kRecoverAll, kGoUp, kHelpTopics, kFileMask},
                  false);
  }
  if (busyCopying) {
    rules.Toolbar({kRecoverSelected, kRecoverAll, kFileMask, kAddFileFilter, kFind}, false);
  }
  // The Recover Selected button and Ctrl+S follow the menu item's rule (tree
  // shown, something marked, not copying, not scanning): anyEntryMarked
  // alone would let a recovery start inside a scan or an image copy.
  states[kRecoverSelected].toolbarEnabled = states[kRecoverSelected].menuEnabled;
  // Starting a scan or a copy while one runs would clear the table or the
  // reader under the running loop.
  if (processOnStack) {
    rules.Both({kOpenDrive}, false);
    rules.Menu({kCreateImage, kOpenImage}, false);
  }

  // View > Names: a choice reads the tree again, never while a process runs,
  // and only the names the disc shown carries can be chosen.
  for (int id : {kNamesAuto, kNamesRockRidge, kNamesJoliet, kNamesPrimary}) {
    const disc::NameSource names = *NamesOfCommand(id);
    const bool carried = !facts.namesCarried || facts.namesCarried->Has(names);
    states[id].menuEnabled = !processOnStack && carried;
    states[id].checked = state.nameSource == names;
  }
  return states;
}

}  // namespace velmora::gui
