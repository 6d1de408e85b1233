#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace velmora::disc {

// The state of each byte of a medium in a rescue, as GNU ddrescue's mapfile
// names them: nothing tried yet, failed in a large read and not yet trimmed,
// trimmed and not yet scraped, failed sector by sector, and read.
enum class AreaStatus : char {
  kNonTried = '?',
  kNonTrimmed = '*',
  kNonScraped = '/',
  kBadSector = '-',
  kFinished = '+',
};

// What a rescue was doing when its map was saved: the copying, trimming,
// scraping or retrying phase, or finished.
enum class RescuePhase : char {
  kCopying = '?',
  kTrimming = '*',
  kScraping = '/',
  kRetrying = '-',
  kFinished = '+',
};

// Which bytes of a medium are in what state: byte positions [0, extent()) cut
// into runs of one status, as a ddrescue mapfile lists them, with the position,
// phase and pass the rescue had reached. A byte at or past the extent is not
// known to the map.
class RescueMap {
 public:
  RescueMap() = default;
  // extent bytes, all of status.
  explicit RescueMap(std::uint64_t extent, AreaStatus status = AreaStatus::kNonTried);

  std::uint64_t extent() const { return extent_; }
  // Grows the map to extent bytes, the new ones of status; a smaller extent
  // leaves the map as it is.
  void Extend(std::uint64_t extent, AreaStatus status = AreaStatus::kNonTried);
  // Cuts the map to extent bytes (a medium found to end there).
  void Truncate(std::uint64_t extent);

  // Sets [begin, end) to status; the part past the extent is ignored.
  void Set(std::uint64_t begin, std::uint64_t end, AreaStatus status);
  // The status of byte pos; nothing at or past the extent.
  std::optional<AreaStatus> StatusAt(std::uint64_t pos) const;
  // The end of the run of one status that holds pos (at most extent()).
  std::uint64_t RunEnd(std::uint64_t pos) const;
  // The first byte at or after pos, before end, whose status is not status;
  // end when there is none.
  std::uint64_t FirstNotIn(std::uint64_t pos, std::uint64_t end, AreaStatus status) const;
  // True when every byte of [begin, end) is of status (and inside the map).
  bool All(std::uint64_t begin, std::uint64_t end, AreaStatus status) const;

  // Calls visit(begin, end, status) for each run in ascending order.
  void ForEachRun(const std::function<void(std::uint64_t, std::uint64_t, AreaStatus)>& visit) const;
  // Bytes of status, and how many separate runs they make.
  std::uint64_t BytesOf(AreaStatus status) const;
  std::size_t RunsOf(AreaStatus status) const;

  std::uint64_t currentPos = 0;
  RescuePhase phase = RescuePhase::kCopying;
  int pass = 1;

 private:
  // Each key starts a run that lasts until the next key or the extent.
  std::map<std::uint64_t, AreaStatus> runs_;
  std::uint64_t extent_ = 0;
};

bool IsAreaStatus(char c);

}  // namespace velmora::disc
