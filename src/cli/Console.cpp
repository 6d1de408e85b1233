#include "Console.h"

#include <iostream>

namespace velmora::cli {
namespace {

constexpr std::chrono::milliseconds kRedrawInterval{100};

}  // namespace

void Console::Message(std::string_view text) {
  ClearProgress();
  std::cerr << "velmora-cli: " << text << '\n';
}

bool Console::Write(std::string_view text) {
  ClearProgress();
  return static_cast<bool>(std::cerr << text << std::flush);
}

void Console::Progress(std::string_view text) {
  if (!ProgressDue()) return;
  lastDraw_ = std::chrono::steady_clock::now();
  // Blanks over what is left of a longer line before.
  const std::size_t pad = shownWidth_ > text.size() ? shownWidth_ - text.size() : 0;
  std::cerr << '\r' << text << std::string(pad, ' ') << std::flush;
  shownWidth_ = text.size();
}

bool Console::ProgressDue() const {
  if (!progressEnabled_) return false;
  return shownWidth_ == 0 || std::chrono::steady_clock::now() - lastDraw_ >= kRedrawInterval;
}

void Console::KeepProgress(std::string_view text) {
  if (!progressEnabled_) return;
  const std::size_t pad = shownWidth_ > text.size() ? shownWidth_ - text.size() : 0;
  std::cerr << '\r' << text << std::string(pad, ' ') << '\n' << std::flush;
  shownWidth_ = 0;
}

void Console::ClearProgress() {
  if (shownWidth_ == 0) return;
  std::cerr << '\r' << std::string(shownWidth_, ' ') << '\r' << std::flush;
  shownWidth_ = 0;
}

}  // namespace velmora::cli
