#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <utility>

#include "platform/FileSink.h"

namespace velmora::disc {

// A file sink that says how many bytes of the file it has dealt with, written
// or skipped as unreadable, so that a recovery's progress moves within a large
// file too. Everything else goes to the file as it is.
class CountingSink : public platform::FileSink {
 public:
  CountingSink(platform::FileSink& file, std::function<void(std::uint64_t)> counted)
      : file_(file), counted_(std::move(counted)) {}

  bool Append(std::span<const std::byte> bytes, platform::SinkError& error) override {
    if (!file_.Append(bytes, error)) return false;
    counted_(bytes.size());
    return true;
  }
  bool Skip(std::uint64_t count, platform::SinkError& error) override {
    if (!file_.Skip(count, error)) return false;
    counted_(count);
    return true;
  }
  bool WriteAt(std::uint64_t offset, std::span<const std::byte> bytes,
               platform::SinkError& error) override {
    return file_.WriteAt(offset, bytes, error);
  }
  std::size_t ReadAt(std::uint64_t offset, std::span<std::byte> buffer) override {
    return file_.ReadAt(offset, buffer);
  }
  bool Resize(std::uint64_t size, platform::SinkError& error) override {
    return file_.Resize(size, error);
  }
  bool SetModified(std::int64_t seconds, platform::SinkError& error) override {
    return file_.SetModified(seconds, error);
  }
  bool SetPermissions(std::uint32_t bits, platform::SinkError& error) override {
    return file_.SetPermissions(bits, error);
  }
  bool Close(platform::SinkError& error) override { return file_.Close(error); }

 private:
  platform::FileSink& file_;
  std::function<void(std::uint64_t)> counted_;
};

}  // namespace velmora::disc
