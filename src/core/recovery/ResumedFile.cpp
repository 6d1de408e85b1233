#include "recovery/ResumedFile.h"

#include <algorithm>

namespace velmora::disc {
namespace {

constexpr std::size_t kCopyBytes = 128 * 1024;

bool AllZero(std::span<const std::byte> bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](std::byte b) { return b == std::byte{0}; });
}

}  // namespace

ResumedFile::ResumedFile(platform::FileSink& file, std::vector<platform::FoundFile*> earlier)
    : ForwardingSink(file) {
  for (platform::FoundFile* one : earlier) earlier_.push_back({one});
}

bool ResumedFile::Append(std::span<const std::byte> bytes, platform::SinkError& error) {
  for (Earlier& earlier : earlier_) {
    if (earlier.differs || offset_ >= earlier.file->size()) continue;
    const std::size_t held = static_cast<std::size_t>(
        std::min<std::uint64_t>(bytes.size(), earlier.file->size() - offset_));
    old_.resize(held);
    // A file that no longer reads as long as it was is not compared further.
    if (earlier.file->ReadAt(offset_, old_) != held) {
      earlier.differs = true;
      continue;
    }
    for (std::size_t i = 0; i < held; ++i) {
      if (old_[i] == bytes[i]) {
        earlier.agrees = earlier.agrees || old_[i] != std::byte{0};
      } else if (old_[i] == std::byte{0}) {
        // What an earlier run could not read is zeros there.
        earlier.zeroWhereRead = true;
      } else {
        earlier.differs = true;
        break;
      }
    }
  }
  if (!file_.Append(bytes, error)) return false;
  offset_ += bytes.size();
  return true;
}

bool ResumedFile::Skip(std::uint64_t count, platform::SinkError& error) {
  if (count == 0) return true;
  if (!file_.Skip(count, error)) return false;
  if (!skipped_.empty() && skipped_.back().last + 1 == offset_) {
    skipped_.back().last = offset_ + count - 1;
  } else {
    skipped_.push_back({offset_, offset_ + count - 1});
  }
  offset_ += count;
  return true;
}

std::optional<std::size_t> ResumedFile::Proven() const {
  for (std::size_t k = 0; k < earlier_.size(); ++k) {
    if (!earlier_[k].differs && earlier_[k].agrees) return k;
  }
  return std::nullopt;
}

std::optional<std::size_t> ResumedFile::Same(std::uint64_t size) const {
  if (offset_ != size || !skipped_.empty()) return std::nullopt;
  for (std::size_t k = 0; k < earlier_.size(); ++k) {
    const Earlier& earlier = earlier_[k];
    if (!earlier.differs && !earlier.zeroWhereRead && earlier.file->size() == size) return k;
  }
  return std::nullopt;
}

bool ResumedFile::FillFrom(std::size_t k, platform::SinkError& error) {
  platform::FoundFile& from = *earlier_.at(k).file;
  for (const ByteRange& range : skipped_) {
    if (!Copy(from, range.first, range.last, error)) return false;
  }
  // A run stopped before the earlier one got as far keeps what that one read after it.
  if (from.size() > offset_ && !Copy(from, offset_, from.size() - 1, error)) return false;
  return true;
}

bool ResumedFile::Copy(platform::FoundFile& from, std::uint64_t first, std::uint64_t last,
                       platform::SinkError& error) {
  last = std::min(last, from.size() == 0 ? 0 : from.size() - 1);
  for (std::uint64_t at = first; at <= last && at < from.size();) {
    old_.resize(static_cast<std::size_t>(std::min<std::uint64_t>(kCopyBytes, last - at + 1)));
    const std::size_t got = from.ReadAt(at, old_);
    if (got == 0) break;
    const std::span<const std::byte> bytes = std::span(old_).first(got);
    if (!AllZero(bytes) && !file_.WriteAt(at, bytes, error)) return false;
    at += got;
  }
  return true;
}

}  // namespace velmora::disc
