#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

namespace velmora::cli {

// Everything velmora-cli writes to standard error: one-line messages, and on a
// terminal a progress line redrawn in place, which a message wipes first.
class Console {
 public:
  explicit Console(bool progressEnabled) : progressEnabled_(progressEnabled) {}

  // "velmora-cli: text" on a line of its own.
  void Message(std::string_view text);
  // text as it is (a log written onto standard error); false when it could
  // not be written.
  bool Write(std::string_view text);
  // Shows text as the progress line; redraws at most ten times a second.
  void Progress(std::string_view text);
  // Whether Progress would draw now: callers skip building a line that would
  // not be shown.
  bool ProgressDue() const;
  void ClearProgress();
  // Draws text as the progress line once more, whenever it was last drawn, and
  // ends it: the line stays on the screen above what follows.
  void KeepProgress(std::string_view text);

 private:
  bool progressEnabled_;
  std::size_t shownWidth_ = 0;  // characters of the progress line on screen
  std::chrono::steady_clock::time_point lastDraw_{};
};

}  // namespace velmora::cli
