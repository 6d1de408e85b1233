#include "disc/SectorSet.h"

#include <iterator>

namespace velmora::disc {

void SectorSet::Insert(Lba lba) {
  if (Contains(lba)) return;
  std::uint64_t end = std::uint64_t{lba} + 1;
  Lba begin = lba;
  // Joins the run that ends at lba and the one that starts after it.
  auto next = runs_.upper_bound(lba);
  if (next != runs_.begin()) {
    auto before = std::prev(next);
    if (before->second == lba) {
      begin = before->first;
      runs_.erase(before);
    }
  }
  if (next != runs_.end() && next->first == end) {
    end = next->second;
    runs_.erase(next);
  }
  runs_[begin] = end;
}

bool SectorSet::Contains(Lba lba) const {
  auto next = runs_.upper_bound(lba);
  return next != runs_.begin() && std::prev(next)->second > lba;
}

Lba SectorSet::FirstIn(Lba from, Lba to) const {
  if (from >= to) return to;
  if (Contains(from)) return from;
  auto next = runs_.upper_bound(from);
  return next != runs_.end() && next->first < to ? next->first : to;
}

}  // namespace velmora::disc
