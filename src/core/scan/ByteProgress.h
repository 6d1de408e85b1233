#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <string>

namespace velmora::disc {

// The figures of a long copy for its progress display: the bytes done of the
// whole, the rate and the time left, "12.50 of 640.00 MB, 7.50 MB/s, 1:23 left"
// in the current language.
//
// The rate is what the copy did over its last few seconds, so that it says
// what the drive does now: 0 while it is stuck in a bad area, the drive's
// speed again soon after. The time left divides the bytes left by the better of
// that rate and the average since the start, so that neither a bad area just
// passed nor a slow start inflate it; while the copy is stuck it is not known
// and not shown. Before the copy has run long enough, only the bytes are shown.
class ByteProgress {
 public:
  using Clock = std::chrono::steady_clock;

  // How long a copy runs before its rate and time left mean anything.
  static constexpr std::chrono::milliseconds kSettles{2000};
  // The span of the rate.
  static constexpr std::chrono::milliseconds kRecent{5000};
  // The figures are built at most this often: a copy counts thousands of
  // times a second.
  static constexpr std::chrono::milliseconds kRebuildEvery{250};

  // A new copy of totalBytes, counted from now; doneBytes of it may be done
  // already (a resumed copy), they count for neither the rate nor the time.
  void Start(std::uint64_t totalBytes, Clock::time_point now, std::uint64_t doneBytes = 0);
  bool started() const { return started_; }
  std::uint64_t total() const { return total_; }

  // The figures for doneBytes at now. Between two rebuilds the last figures
  // are given again, unless the copy has come to its end.
  const std::u16string& Text(std::uint64_t doneBytes, Clock::time_point now);

  // Where the bytes left are not the work left (a rescue's later passes go
  // over what did not read, most of which never will), the time left is not
  // shown.
  void SetTimeLeftShown(bool shown) { timeLeftShown_ = shown; }

 private:
  struct Sample {
    Clock::time_point at;
    std::uint64_t done = 0;
  };

  bool started_ = false;
  bool timeLeftShown_ = true;
  std::uint64_t total_ = 0;
  std::uint64_t startDone_ = 0;
  Clock::time_point start_{};
  Clock::time_point built_{};
  std::deque<Sample> recent_;
  std::u16string text_;
};

}  // namespace velmora::disc
