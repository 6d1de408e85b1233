#pragma once

#include <cstdint>
#include <optional>

#include "entries/Entry.h"

namespace velmora::disc {

// The entry's recording date and time, taken as UTC, in seconds since
// 1970-01-01; nothing when the fields do not form a real date and time (Root,
// Session nodes, a damaged record).
std::optional<std::int64_t> RecordingSeconds(const Entry& entry);

}  // namespace velmora::disc
