#pragma once

#include <string_view>

#include "browse/Totals.h"

namespace velmora::browse {

// The two status-bar panes that show totals: the disc's and the marked ones.
class TotalsPanes {
 public:
  virtual ~TotalsPanes() = default;
  virtual void SetDiscTotalsText(std::u16string_view text) = 0;
  virtual void SetMarkedTotalsText(std::u16string_view text) = 0;
};

// Keeps the totals last shown in each pane, so that a language switch shows the
// same numbers in the new words.
class TotalsDisplay {
 public:
  explicit TotalsDisplay(TotalsPanes& panes) : panes_(panes) {}

  void ShowDiscTotals(const Totals& disc);
  void ShowMarkedTotals(const Totals& marked);
  // Keeps marked as the marked totals without showing them yet (a scan
  // counts entry by entry; the pane follows a few times a second).
  void CountMarked(const Totals& marked) { marked_ = marked; }
  // Both panes again, in the current language.
  void Relabel();

  const Totals& disc() const { return disc_; }
  const Totals& marked() const { return marked_; }

 private:
  TotalsPanes& panes_;
  Totals disc_;
  Totals marked_;
};

}  // namespace velmora::browse
