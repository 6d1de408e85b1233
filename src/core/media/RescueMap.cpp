#include "media/RescueMap.h"

#include <algorithm>
#include <iterator>

namespace velmora::disc {

bool IsAreaStatus(char c) { return c == '?' || c == '*' || c == '/' || c == '-' || c == '+'; }

RescueMap::RescueMap(std::uint64_t extent, AreaStatus status) { Extend(extent, status); }

void RescueMap::Extend(std::uint64_t extent, AreaStatus status) {
  if (extent <= extent_) return;
  if (runs_.empty() || std::prev(runs_.end())->second != status) runs_[extent_] = status;
  extent_ = extent;
}

void RescueMap::Truncate(std::uint64_t extent) {
  if (extent >= extent_) return;
  runs_.erase(runs_.lower_bound(extent), runs_.end());
  extent_ = extent;
}

std::optional<AreaStatus> RescueMap::StatusAt(std::uint64_t pos) const {
  if (pos >= extent_) return std::nullopt;
  auto run = runs_.upper_bound(pos);
  return std::prev(run)->second;
}

std::uint64_t RescueMap::RunEnd(std::uint64_t pos) const {
  if (pos >= extent_) return extent_;
  auto next = runs_.upper_bound(pos);
  return next == runs_.end() ? extent_ : next->first;
}

void RescueMap::Set(std::uint64_t begin, std::uint64_t end, AreaStatus status) {
  end = std::min(end, extent_);
  if (begin >= end) return;
  // The run that holds end goes on after the new one.
  if (end < extent_ && !runs_.contains(end)) runs_[end] = *StatusAt(end);
  runs_.erase(runs_.lower_bound(begin), runs_.lower_bound(end));
  runs_[begin] = status;
  // Neighbours of one status make one run.
  auto at = runs_.find(begin);
  if (auto after = std::next(at); after != runs_.end() && after->second == status) {
    runs_.erase(after);
  }
  if (at != runs_.begin() && std::prev(at)->second == status) runs_.erase(at);
}

std::uint64_t RescueMap::FirstNotIn(std::uint64_t pos, std::uint64_t end, AreaStatus status) const {
  while (pos < end) {
    std::optional<AreaStatus> here = StatusAt(pos);
    if (!here || *here != status) return pos;
    pos = RunEnd(pos);
  }
  return end;
}

bool RescueMap::All(std::uint64_t begin, std::uint64_t end, AreaStatus status) const {
  return begin >= end || FirstNotIn(begin, end, status) >= end;
}

void RescueMap::ForEachRun(
    const std::function<void(std::uint64_t, std::uint64_t, AreaStatus)>& visit) const {
  for (auto run = runs_.begin(); run != runs_.end(); ++run) {
    auto next = std::next(run);
    visit(run->first, next == runs_.end() ? extent_ : next->first, run->second);
  }
}

std::uint64_t RescueMap::BytesOf(AreaStatus status) const {
  std::uint64_t bytes = 0;
  ForEachRun([&](std::uint64_t begin, std::uint64_t end, AreaStatus s) {
    if (s == status) bytes += end - begin;
  });
  return bytes;
}

std::size_t RescueMap::RunsOf(AreaStatus status) const {
  return static_cast<std::size_t>(std::count_if(
      runs_.begin(), runs_.end(), [&](const auto& run) { return run.second == status; }));
}

}  // namespace velmora::disc
