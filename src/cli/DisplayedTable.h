#pragma once

#include <optional>

#include "entries/EntryTable.h"
#include "select/ApplyMask.h"
#include "select/MaskCriteria.h"

namespace velmora::cli {

// The entry table a command works on, as the window shows it: the scanned
// table, or the masked one when the command line gives a mask (files that
// pass, with their folders), made with today's date in UTC.
class DisplayedTable {
 public:
  DisplayedTable(disc::EntryTable& complete, const std::optional<select::MaskCriteria>& mask);

  disc::EntryTable& table() { return masked_ ? masked_->table : complete_; }

 private:
  disc::EntryTable& complete_;
  std::optional<select::MaskedTable> masked_;
};

}  // namespace velmora::cli
