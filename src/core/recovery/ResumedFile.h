#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/FileSink.h"

namespace velmora::disc {

// A file that an earlier recovery left partial or stopped, written again in
// place from its first byte. Each byte written goes over one that is zero (not
// read then, or past the old end) or equal to it; bytes that do not read this
// time are skipped, so what the earlier run read there stays. A byte of other
// data in the way shows that the file is not the disc's (the user's own file
// of that name): that write is refused before any of it is written, and
// holdsOtherData() tells the caller to save the disc's file elsewhere.
class ResumedFile final : public platform::FileSink {
 public:
  explicit ResumedFile(std::unique_ptr<platform::FileSink> file) : file_(std::move(file)) {}

  bool Append(std::span<const std::byte> bytes, platform::SinkError& error) override;
  bool Skip(std::uint64_t count, platform::SinkError& error) override;
  std::size_t ReadAt(std::uint64_t offset, std::span<std::byte> buffer) override {
    return file_->ReadAt(offset, buffer);
  }
  bool Resize(std::uint64_t size, platform::SinkError& error) override {
    return file_->Resize(size, error);
  }
  bool SetModified(std::int64_t seconds, platform::SinkError& error) override {
    return file_->SetModified(seconds, error);
  }
  bool SetPermissions(std::uint32_t bits, platform::SinkError& error) override {
    return file_->SetPermissions(bits, error);
  }
  bool Close(platform::SinkError& error) override { return file_->Close(error); }

  bool holdsOtherData() const { return holdsOtherData_; }

 private:
  std::unique_ptr<platform::FileSink> file_;
  std::uint64_t offset_ = 0;
  std::vector<std::byte> old_;
  bool holdsOtherData_ = false;
};

}  // namespace velmora::disc
