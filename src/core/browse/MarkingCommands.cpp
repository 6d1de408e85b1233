#include "browse/MarkingCommands.h"

namespace velmora::browse {

void MarkingCommands::RecountMarked() {
  MarkedSum sum = marking_.SumMarked();
  state_.anyEntryMarked = sum.anyEntryMarked;
  state_.markedTotalsNonZero = sum.anyEntryMarked;
  totals_.ShowMarkedTotals(sum.totals);
}

void MarkingCommands::AfterClick(std::uint8_t value) {
  if (value == disc::kUnmarked) state_.allMarked = false;
  RecountMarked();
}

void MarkingCommands::FolderBoxClicked(std::size_t folder) {
  AfterClick(marking_.ClickFolderBox(folder));
}

void MarkingCommands::RowBoxClicked(std::size_t row, std::size_t displayed) {
  AfterClick(marking_.ClickRowBox(row, displayed));
}

void MarkingCommands::SelectAll() {
  marking_.SetAll(disc::kMarked);
  // Counted by the one rule clicks follow: Root and the Session nodes are no
  // folders of the disc.
  RecountMarked();
  state_.allMarked = true;
}

void MarkingCommands::UnselectAll() {
  marking_.SetAll(disc::kUnmarked);
  state_.allMarked = false;
  state_.anyEntryMarked = false;
  state_.markedTotalsNonZero = false;
  totals_.ShowMarkedTotals({});
}

bool MarkingCommands::EntryAdded(std::size_t index) {
  if (!marking_.TakeFolderMark(index)) return false;
  if (marking_.CountsAsMarked(index)) {
    Totals marked = totals_.marked();
    const disc::Entry& entry = marking_.entry(index);
    if (entry.IsFolder()) {
      ++marked.folders;
    } else {
      ++marked.files;
      marked.bytes += entry.size;
    }
    totals_.CountMarked(marked);
    state_.anyEntryMarked = true;
    state_.markedTotalsNonZero = true;
  }
  return true;
}

void MarkingCommands::ShowMarkedTotals() { totals_.ShowMarkedTotals(totals_.marked()); }

void MarkingCommands::ForgetMarks() {
  state_.allMarked = false;
  state_.anyEntryMarked = false;
  state_.markedTotalsNonZero = false;
  totals_.ShowMarkedTotals({});
}

}  // namespace velmora::browse
