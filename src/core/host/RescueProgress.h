#pragma once

#include <cstdint>
#include <optional>

namespace velmora::disc {

// The passes of a rescue, in the order they run.
enum class RescuePass : std::uint8_t {
  kWhatMatters,  // 0: descriptors, path tables, folders, then the files' extents
  kCopying,      // 1: the rest with large reads, skipping past errors
  kTrimming,     // 2: the edges of what failed, sector by sector from both sides
  kScraping,     // 3: the rest of what failed, sector by sector
  kRetrying,     // 4 on: what is still bad, once a pass, alternating direction
  kMerging,      // another copy fills what this one lacks
};

// Where a rescue stands, as its progress shows it.
struct RescueProgress {
  RescuePass pass = RescuePass::kWhatMatters;
  int passNumber = 0;        // 0, 1, 2, 3, then 4 ... for the retry passes
  bool forwards = true;
  std::uint64_t position = 0;   // byte position being read
  std::uint64_t domain = 0;     // bytes the rescue is about (the gaps left out)
  std::uint64_t rescued = 0;    // bytes read
  std::uint64_t nonTried = 0;
  std::uint64_t nonTrimmed = 0;
  std::uint64_t nonScraped = 0;
  std::uint64_t badSector = 0;  // bytes of sectors that failed alone
  std::size_t badAreas = 0;
  std::uint64_t readErrors = 0;  // failed reads of this run
  // Bytes per second over the last seconds; in the last report of a pass the
  // pass's average, 0 when it read nothing.
  double currentRate = 0;
  std::optional<double> secondsLeft;
  bool passEnded = false;        // the last report of a pass
};

}  // namespace velmora::disc
