#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace velmora::cli {

// What one step of the engine's progress stands for: nothing countable (a
// scan's range is a fixed scale, not a number of entries), a sector of an
// image, or a file of a recovery.
enum class StepUnit { kUncounted, kSector, kFile };

// The figures after the engine's progress text: steps done of the range the
// engine announced and, for sectors, the rate and the time left.
class ProgressMeter {
 public:
  explicit ProgressMeter(StepUnit unit) : unit_(unit) {}

  // The engine's CreateReadingProgress: a new range, counted from now.
  void Start(std::uint32_t range);
  void Step() { ++done_; }

  // text, then "  1234/350000 sectors  7.5 MB/s  0:42 left" as far as known.
  std::string Line(std::string_view text) const;

 private:
  StepUnit unit_;
  std::uint32_t range_ = 0;
  std::uint32_t done_ = 0;
  std::chrono::steady_clock::time_point start_{};
};

}  // namespace velmora::cli
