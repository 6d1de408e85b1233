#pragma once

#include <cstddef>

#include "browse/Marking.h"
#include "browse/TotalsDisplay.h"
#include "host/AppState.h"

namespace velmora::browse {

// The marking commands of the window with the flags that enable the marking and
// recovery commands: anyEntryMarked (something is marked), allMarked (Select All
// and nothing unmarked since) and markedTotalsNonZero (the marked totals show
// something, also when only empty folders or files are marked).
class MarkingCommands {
 public:
  MarkingCommands(Marking& marking, TotalsDisplay& totals, AppState& state)
      : marking_(marking), totals_(totals), state_(state) {}

  // A click on the box of a tree folder.
  void FolderBoxClicked(std::size_t folder);
  // A click on the box of row, listed in the displayed folder.
  void RowBoxClicked(std::size_t row, std::size_t displayed);
  // Select All: every entry marked; the marked pane counts the marks as a
  // click would (on a whole disc: its files and folders).
  void SelectAll();
  // Unselect All: every entry unmarked; the marked pane shows zeros.
  void UnselectAll();
  // Counts the marks again and shows them (after a click, or when the table
  // shown is replaced by one whose entries carry marks).
  void RecountMarked();
  // A new scan: nothing is marked, the marked pane shows zeros.
  void ForgetMarks();
  // A scan added entry index: it takes the mark of the folder that lists it,
  // and the marked totals count it then; the pane shows them at the next
  // ShowMarkedTotals. True when the entry was marked.
  bool EntryAdded(std::size_t index);
  // The marked pane with the totals counted so far.
  void ShowMarkedTotals();

 private:
  void AfterClick(std::uint8_t value);

  Marking& marking_;
  TotalsDisplay& totals_;
  AppState& state_;
};

}  // namespace velmora::browse
