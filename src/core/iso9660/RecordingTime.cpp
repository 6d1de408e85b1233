#include "iso9660/RecordingTime.h"

#include <chrono>

namespace velmora::disc {

std::optional<std::int64_t> RecordingSeconds(const Entry& entry) {
  using namespace std::chrono;
  if (entry.year <= 0) return std::nullopt;
  const year_month_day date{year{entry.year}, month{static_cast<unsigned>(entry.month)},
                            day{static_cast<unsigned>(entry.day)}};
  if (!date.ok() || entry.hour > 23 || entry.minute > 59 || entry.second > 59) {
    return std::nullopt;
  }
  const sys_seconds at =
      sys_days{date} + hours{entry.hour} + minutes{entry.minute} + seconds{entry.second};
  return at.time_since_epoch().count();
}

}  // namespace velmora::disc
