#pragma once

#include <cstddef>
#include <map>

#include "media/Sector.h"

namespace velmora::disc {

// A set of LBAs kept as runs, so that a large bad area costs one entry.
class SectorSet {
 public:
  void Insert(Lba lba);
  bool Contains(Lba lba) const;
  // The first member in [from, to); to when there is none.
  Lba FirstIn(Lba from, Lba to) const;
  void Clear() { runs_.clear(); }
  bool empty() const { return runs_.empty(); }
  std::size_t runs() const { return runs_.size(); }

 private:
  // first LBA of a run -> the LBA past its last.
  std::map<Lba, std::uint64_t> runs_;
};

}  // namespace velmora::disc
