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

std::optional<std::int64_t> RecordingInstant(const Entry& entry) {
  const std::optional<std::int64_t> local = RecordingSeconds(entry);
  if (!local) return std::nullopt;
  const std::int8_t offset = GmtOffsetInRange(entry.gmtOffset) ? entry.gmtOffset : 0;
  return *local - std::int64_t{offset} * 15 * 60;
}

bool IsRealTime(const RecordingTime& time) {
  Entry entry;
  entry.year = time.year;
  entry.month = time.month;
  entry.day = time.day;
  entry.hour = time.hour;
  entry.minute = time.minute;
  entry.second = time.second;
  return RecordingSeconds(entry).has_value();
}

}  // namespace velmora::disc
