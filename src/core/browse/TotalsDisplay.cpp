#include "browse/TotalsDisplay.h"

namespace velmora::browse {

void TotalsDisplay::ShowDiscTotals(const Totals& disc) {
  disc_ = disc;
  panes_.SetDiscTotalsText(FormatTotals(disc_, false));
}

void TotalsDisplay::ShowMarkedTotals(const Totals& marked) {
  marked_ = marked;
  panes_.SetMarkedTotalsText(FormatTotals(marked_, true));
}

void TotalsDisplay::Relabel() {
  ShowDiscTotals(disc_);
  ShowMarkedTotals(marked_);
}

}  // namespace velmora::browse
