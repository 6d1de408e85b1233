#include "ProgressMeter.h"

#include <cstdio>

#include "media/Sector.h"

namespace velmora::cli {
namespace {

// Before this much time the rate says more about the first read than the disc.
constexpr std::chrono::milliseconds kRateSettles{500};
constexpr double kBytesPerMegabyte = 1e6;

std::string Duration(double seconds) {
  const auto whole = static_cast<unsigned long long>(seconds + 0.5);
  char text[32];
  if (whole >= 3600) {
    std::snprintf(text, sizeof text, "%llu:%02llu:%02llu", whole / 3600, whole / 60 % 60,
                  whole % 60);
  } else {
    std::snprintf(text, sizeof text, "%llu:%02llu", whole / 60, whole % 60);
  }
  return text;
}

}  // namespace

void ProgressMeter::Start(std::uint32_t range) {
  range_ = range;
  done_ = 0;
  start_ = std::chrono::steady_clock::now();
}

std::string ProgressMeter::Line(std::string_view text) const {
  std::string line(text);
  if (unit_ == StepUnit::kUncounted || range_ == 0) return line;
  line += "  " + std::to_string(done_) + "/" + std::to_string(range_) +
          (unit_ == StepUnit::kSector ? " sectors" : " files");
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start_;
  if (unit_ != StepUnit::kSector || elapsed < kRateSettles || done_ == 0) return line;
  const double sectorsPerSecond = done_ / elapsed.count();
  char rate[32];
  std::snprintf(rate, sizeof rate, "  %.1f MB/s",
                sectorsPerSecond * kSectorSize / kBytesPerMegabyte);
  line += rate;
  if (done_ < range_) line += "  " + Duration((range_ - done_) / sectorsPerSecond) + " left";
  return line;
}

}  // namespace velmora::cli
