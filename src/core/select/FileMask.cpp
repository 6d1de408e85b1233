#include "select/FileMask.h"

#include <algorithm>

namespace velmora::select {
namespace {

CivilDate DateOf(const disc::Entry& entry) { return {entry.year, entry.month, entry.day}; }

}  // namespace

FileMask::FileMask(const MaskCriteria& criteria, CivilDate today)
    : criteria_(criteria), today_(today) {
  const Wildcard::Case letterCase =
      criteria.matchCase ? Wildcard::Case::kMatch : Wildcard::Case::kIgnore;
  for (const MaskToken& token : MaskTokensOf(criteria.maskText)) {
    tokens_.emplace_back(token.wildcard, letterCase, Wildcard::DotStar::kNameRule);
  }
  if (criteria.monthsActive && criteria.months > 0) {
    monthsCutOff_ = MonthsBefore(today, criteria.months);
  }
  if (criteria.daysActive && criteria.days > 0) {
    daysCutOff_ = DaysBefore(today, criteria.days);
  }
  rangeFirst_ = std::min(criteria.dateA, criteria.dateB);
  rangeLast_ = std::max(criteria.dateA, criteria.dateB);
}

bool FileMask::PassesName(const disc::Entry& file) const {
  if (tokens_.empty()) return true;
  return std::any_of(tokens_.begin(), tokens_.end(),
                     [&](const Wildcard& token) { return token.Matches(file.name); });
}

bool FileMask::PassesExistence(const disc::Entry& file) const {
  if (!criteria_.existingFiles && file.state2 != 1) return false;
  if (!criteria_.acceptState1 && file.state2 != 2) return false;
  return true;
}

bool FileMask::PassesSize(const disc::Entry& file) const {
  const std::uint64_t kb = file.size / 1000;
  if (criteria_.sizeFromActive && kb < criteria_.sizeFrom) return false;
  if (criteria_.sizeUptoActive && kb >= criteria_.sizeUpto) return false;
  return true;
}

bool FileMask::PassesDate(const disc::Entry& file) const {
  const CivilDate date = DateOf(file);
  // A window "in the last ..." reaches up to today; a file of a later year is
  // outside it, while a date later this year passes, as a disc written ahead of
  // UTC dates its files.
  const bool windowActive = (criteria_.monthsActive && criteria_.months > 0) ||
                            (criteria_.daysActive && criteria_.days > 0);
  if (windowActive && date.year > today_.year) return false;
  if (criteria_.monthsActive && criteria_.months > 0 && date < monthsCutOff_) return false;
  if (criteria_.daysActive && criteria_.days > 0 && date < daysCutOff_) return false;
  if (criteria_.betweenActive && (date < rangeFirst_ || date > rangeLast_)) return false;
  return true;
}

bool FileMask::Passes(const disc::Entry& file) const {
  return PassesName(file) && PassesExistence(file) && PassesSize(file) && PassesDate(file);
}

bool FilePassesMask(const disc::Entry& file, const MaskCriteria& criteria, CivilDate today) {
  return FileMask(criteria, today).Passes(file);
}

}  // namespace velmora::select
