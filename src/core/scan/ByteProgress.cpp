#include "scan/ByteProgress.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "text/StringTable.h"

namespace velmora::disc {
namespace {

constexpr std::uint64_t kKilobyte = 1024;
constexpr std::uint64_t kMegabyte = kKilobyte * 1024;
constexpr std::uint64_t kGigabyte = kMegabyte * 1024;

std::u16string Decimal(std::uint64_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

// The unit a figure of bytes is given in, and its size.
struct Unit {
  std::uint64_t size;
  text::StringId name;
};

Unit UnitOf(std::uint64_t bytes) {
  if (bytes >= kGigabyte) return {kGigabyte, text::kUnitGigabytes};
  if (bytes >= kMegabyte) return {kMegabyte, text::kUnitMegabytes};
  if (bytes >= kKilobyte) return {kKilobyte, text::kUnitKilobytes};
  return {1, text::kUnitBytes};
}

// bytes in unit with two decimals, truncated, so that a copy shows its whole
// only once it is done; whole bytes without decimals.
std::u16string InUnit(std::uint64_t bytes, std::uint64_t unit) {
  if (unit == 1) return Decimal(bytes);
  const std::uint64_t hundredths = bytes / unit * 100 + bytes % unit * 100 / unit;
  std::u16string fraction = Decimal(hundredths % 100);
  if (fraction.size() < 2) fraction.insert(0, 1, u'0');
  return Decimal(hundredths / 100) + text::LoadText(text::kDecimalSeparator) + fraction;
}

double Seconds(ByteProgress::Clock::duration span) {
  return std::chrono::duration<double>(span).count();
}

// "7.50 MB/s".
std::u16string Rate(double bytesPerSecond) {
  const auto bytes = static_cast<std::uint64_t>(std::max(bytesPerSecond, 0.0));
  const Unit unit = UnitOf(bytes);
  return text::FormatText(text::kRatePerSecond,
                          {InUnit(bytes, unit.size), text::LoadText(unit.name)});
}

// "0:42", "12:05", "1:02:03".
std::u16string Duration(double seconds) {
  const auto whole = static_cast<std::uint64_t>(std::llround(std::max(seconds, 0.0)));
  const auto twoDigits = [](std::uint64_t value) {
    return (value < 10 ? u"0" : u"") + Decimal(value);
  };
  if (whole >= 3600) {
    return Decimal(whole / 3600) + u":" + twoDigits(whole / 60 % 60) + u":" + twoDigits(whole % 60);
  }
  return Decimal(whole / 60) + u":" + twoDigits(whole % 60);
}

}  // namespace

void ByteProgress::Start(std::uint64_t totalBytes, Clock::time_point now, std::uint64_t doneBytes) {
  started_ = true;
  total_ = totalBytes;
  startDone_ = std::min(doneBytes, totalBytes);
  start_ = now;
  built_ = {};
  recent_.assign(1, Sample{now, startDone_});
  text_.clear();
}

const std::u16string& ByteProgress::Text(std::uint64_t doneBytes, Clock::time_point now) {
  if (!started_) return text_;
  doneBytes = std::clamp(doneBytes, startDone_, total_);
  if (!text_.empty() && now - built_ < kRebuildEvery && doneBytes < total_) return text_;
  built_ = now;
  // The rate spans the last samples back to one at least kRecent old.
  recent_.push_back({now, doneBytes});
  while (recent_.size() > 2 && now - recent_[1].at >= kRecent) recent_.pop_front();

  const Unit unit = UnitOf(total_);
  const std::u16string done = InUnit(doneBytes, unit.size);
  const std::u16string total = InUnit(total_, unit.size);
  const std::u16string unitName = text::LoadText(unit.name);
  if (now - start_ < kSettles) {
    text_ = text::FormatText(text::kCopyBytes, {done, total, unitName});
    return text_;
  }
  const Sample& oldest = recent_.front();
  const double span = Seconds(now - oldest.at);
  const double recentRate = span > 0 ? static_cast<double>(doneBytes - oldest.done) / span : 0;
  const double average = static_cast<double>(doneBytes - startDone_) / Seconds(now - start_);
  const std::u16string rate = Rate(recentRate);
  // Stuck, the copy may go on at any speed or none: no time is honest then.
  if (!timeLeftShown_ || doneBytes >= total_ || recentRate <= 0) {
    text_ = text::FormatText(text::kCopyBytesRate, {done, total, unitName, rate});
    return text_;
  }
  const double left = static_cast<double>(total_ - doneBytes) / std::max(recentRate, average);
  text_ = text::FormatText(text::kCopyBytesRateLeft, {done, total, unitName, rate, Duration(left)});
  return text_;
}

}  // namespace velmora::disc
