#pragma once

#include <cstdint>

namespace velmora::disc {

// Which names of a volume are shown. kAuto: the Rock Ridge names of the
// primary volume when it carries them, else Joliet, else the primary names.
enum class NameSource : std::uint8_t { kAuto, kRockRidge, kJoliet, kPrimary };

}  // namespace velmora::disc
