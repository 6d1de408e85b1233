#pragma once

#include <chrono>
#include <string>

namespace velmora::disc {

// The name Create Image suggests: "CD Image " (the string table's prefix), the
// day of the month, "-", the English month name with a blank either side, "-"
// and the year, e.g. "CD Image 3- March -2005".
std::u16string SuggestedImageName(std::chrono::year_month_day date);
// The suggestion for today's date in UTC.
std::u16string SuggestedImageName();

// Where an image chosen as path is written: path itself when its file name ends
// in ".cd" (in any case, as "DISC.CD"), else path with ".cd" appended. Only the
// file name counts, so "backups.cd/disc" becomes "backups.cd/disc.cd".
std::string ImageDestination(const std::string& path);

}  // namespace velmora::disc
