#include "recovery/ResumedFile.h"

#include <algorithm>

namespace velmora::disc {

bool ResumedFile::Append(std::span<const std::byte> bytes, platform::SinkError& error) {
  old_.assign(bytes.size(), std::byte{0});
  // Past the old end the file holds nothing, as zeros would.
  file_->ReadAt(offset_, old_);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (old_[i] != std::byte{0} && old_[i] != bytes[i]) {
      holdsOtherData_ = true;
      error = {0, "holds other data than the disc's file"};
      return false;
    }
  }
  if (!file_->Append(bytes, error)) return false;
  offset_ += bytes.size();
  return true;
}

bool ResumedFile::Skip(std::uint64_t count, platform::SinkError& error) {
  if (!file_->Skip(count, error)) return false;
  offset_ += count;
  return true;
}

}  // namespace velmora::disc
