#include "log/MessageLog.h"

namespace velmora::log {

void MessageLog::Add(std::u16string_view activity, std::u16string_view text,
                     std::u16string_view status, LogIcon icon) {
  rows_.push_back(LogRow{std::u16string(activity), std::u16string(text), std::u16string(status), icon});
  if (observer_) observer_(rows_.back(), rows_.size() - 1);
}

void MessageLog::Clear() { rows_.clear(); }

}  // namespace velmora::log
