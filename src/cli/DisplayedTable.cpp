#include "DisplayedTable.h"

#include "select/CivilDate.h"
#include "select/FileMask.h"

namespace velmora::cli {

DisplayedTable::DisplayedTable(disc::EntryTable& complete,
                               const std::optional<select::MaskCriteria>& mask)
    : complete_(complete) {
  if (mask) masked_ = select::ApplyMask(complete, select::FileMask(*mask, select::TodayUtc()));
}

}  // namespace velmora::cli
