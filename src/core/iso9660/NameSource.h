#pragma once

#include <cstdint>

namespace velmora::disc {

// Which names of a volume are shown. kAuto: the Rock Ridge names of the
// primary volume when it carries them, else Joliet, else the primary names.
enum class NameSource : std::uint8_t { kAuto, kRockRidge, kJoliet, kPrimary };

// The sets of names a volume carries: Rock Ridge entries in its primary tree,
// a supplementary (Joliet) descriptor, a primary descriptor.
struct NameSets {
  bool rockRidge = false;
  bool joliet = false;
  bool primary = false;

  NameSets& operator|=(const NameSets& other) {
    rockRidge = rockRidge || other.rockRidge;
    joliet = joliet || other.joliet;
    primary = primary || other.primary;
    return *this;
  }
  bool Has(NameSource names) const {
    switch (names) {
      case NameSource::kAuto: return true;
      case NameSource::kRockRidge: return rockRidge;
      case NameSource::kJoliet: return joliet;
      case NameSource::kPrimary: return primary;
    }
    return false;
  }
};

}  // namespace velmora::disc
