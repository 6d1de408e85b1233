#pragma once

#include <cstdint>
#include <optional>

#include "entries/Entry.h"
#include "iso9660/DirectoryRecord.h"

namespace velmora::disc {

// The entry's recording date and time, taken as UTC, in seconds since
// 1970-01-01; nothing when the fields do not form a real date and time (Root,
// Session nodes, a damaged record).
std::optional<std::int64_t> RecordingSeconds(const Entry& entry);

// The real instant of the entry's recording time: the time as recorded less
// its offset from GMT, in seconds since 1970-01-01 UTC; nothing when the
// fields do not form a real date and time.
std::optional<std::int64_t> RecordingInstant(const Entry& entry);

// True when the fields form a real date and time.
bool IsRealTime(const RecordingTime& time);

}  // namespace velmora::disc
