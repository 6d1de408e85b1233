#pragma once

#include <compare>
#include <cstdint>

namespace velmora::select {

// A date of the proleptic Gregorian calendar. Dates read from a disc may be
// out of range (month 0, day 32); they still order by year, then month, then day.
struct CivilDate {
  std::int32_t year = 0;
  std::int32_t month = 0;
  std::int32_t day = 0;

  friend auto operator<=>(const CivilDate&, const CivilDate&) = default;
};

// Today's date by the system clock, in UTC.
CivilDate TodayUtc();

// The date days calendar days before date (a valid date).
CivilDate DaysBefore(CivilDate date, std::uint32_t days);

// The same day months calendar months before date (a valid date); a day that
// month does not have becomes its last day (31 May less 3 months is 28 or 29
// February).
CivilDate MonthsBefore(CivilDate date, std::uint32_t months);

}  // namespace velmora::select
