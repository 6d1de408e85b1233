#include "image/ImageNaming.h"

#include <array>
#include <string_view>

#include "text/StringTable.h"

namespace velmora::disc {
namespace {

constexpr std::string_view kImageExtension = ".cd";

constexpr std::array<std::u16string_view, 12> kMonthNames = {
    u"January", u"February", u"March",     u"April",   u"May",      u"June",
    u"July",    u"August",   u"September", u"October", u"November", u"December"};

std::u16string Decimal(long long value) {
  std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::u16string SuggestedImageName(std::chrono::year_month_day date) {
  auto month = static_cast<unsigned>(date.month());
  std::u16string name = text::LoadText(text::kImageNamePrefix);
  name += Decimal(static_cast<unsigned>(date.day()));
  name += u"- ";
  if (month >= 1 && month <= kMonthNames.size()) name += kMonthNames[month - 1];
  name += u" -";
  name += Decimal(static_cast<int>(date.year()));
  return name;
}

std::u16string SuggestedImageName() {
  // system_clock counts UTC, so its days are UTC days.
  auto today = std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now());
  return SuggestedImageName(std::chrono::year_month_day{today});
}

std::string ImageDestination(const std::string& path) {
  std::string_view fileName = path;
  if (auto slash = fileName.rfind('/'); slash != std::string_view::npos) {
    fileName.remove_prefix(slash + 1);
  }
  bool hasExtension = fileName.size() >= kImageExtension.size();
  for (std::size_t i = 0; hasExtension && i < kImageExtension.size(); ++i) {
    hasExtension =
        Lower(fileName[fileName.size() - kImageExtension.size() + i]) == kImageExtension[i];
  }
  return hasExtension ? path : path + std::string(kImageExtension);
}

}  // namespace velmora::disc
