#include "select/CivilDate.h"

#include <algorithm>
#include <chrono>

namespace velmora::select {
namespace {

namespace chr = std::chrono;

// Windows longer than this reach back before any recording date a disc can
// hold; capping them keeps the calendar inside its range.
constexpr std::uint32_t kMaxDays = 3'000'000;
constexpr std::uint32_t kMaxMonths = 12 * 8000;

chr::year_month_day ToYmd(CivilDate date) {
  return chr::year_month_day(chr::year(date.year), chr::month(static_cast<unsigned>(date.month)),
                             chr::day(static_cast<unsigned>(date.day)));
}

CivilDate FromYmd(chr::year_month_day ymd) {
  return {static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
          static_cast<int>(static_cast<unsigned>(ymd.day()))};
}

}  // namespace

CivilDate TodayUtc() {
  return FromYmd(chr::year_month_day(chr::floor<chr::days>(chr::system_clock::now())));
}

CivilDate DaysBefore(CivilDate date, std::uint32_t days) {
  const chr::sys_days from(ToYmd(date));
  return FromYmd(chr::year_month_day(from - chr::days(std::min(days, kMaxDays))));
}

CivilDate MonthsBefore(CivilDate date, std::uint32_t months) {
  const chr::year_month_day ymd = ToYmd(date);
  const chr::year_month earlier =
      chr::year_month(ymd.year(), ymd.month()) - chr::months(std::min(months, kMaxMonths));
  const chr::day last = chr::year_month_day_last(earlier.year(), chr::month_day_last(earlier.month())).day();
  return FromYmd(chr::year_month_day(earlier.year(), earlier.month(), std::min(ymd.day(), last)));
}

}  // namespace velmora::select
