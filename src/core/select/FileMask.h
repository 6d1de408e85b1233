#pragma once

#include <vector>

#include "entries/Entry.h"
#include "select/CivilDate.h"
#include "select/MaskCriteria.h"
#include "select/WildcardMatcher.h"

namespace velmora::select {

// The file tests of the file mask, worked out once from the criteria and
// today's date: Passes is a pure function of the file Entry.
//
// A file passes when it passes every test that applies:
// - name: some token of the mask text matches the whole name (no token, no test);
// - existence: by state2 (MaskCriteria);
// - size: KB = bytes / 1000 rounded down, KB >= sizeFrom, KB < sizeUpto;
// - months / days: dated on or after the same day that many calendar months /
//   the day that many days before today, and not in a year after today's;
// - between: dated from the earlier of the two dates to the later, both
//   included.
class FileMask {
 public:
  FileMask(const MaskCriteria& criteria, CivilDate today);

  bool Passes(const disc::Entry& file) const;

  bool PassesName(const disc::Entry& file) const;
  bool PassesExistence(const disc::Entry& file) const;
  bool PassesSize(const disc::Entry& file) const;
  bool PassesDate(const disc::Entry& file) const;

 private:
  MaskCriteria criteria_;
  CivilDate today_;
  std::vector<Wildcard> tokens_;
  CivilDate monthsCutOff_;
  CivilDate daysCutOff_;
  CivilDate rangeFirst_;
  CivilDate rangeLast_;
};

// One file against the criteria on a given day (FileMask for a single file).
bool FilePassesMask(const disc::Entry& file, const MaskCriteria& criteria, CivilDate today);

}  // namespace velmora::select
