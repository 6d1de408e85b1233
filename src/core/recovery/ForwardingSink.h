#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/FileSink.h"

namespace velmora::disc {

// A file sink that passes every call on to another file; a sink that adds to
// some of them derives from it and overrides just those.
class ForwardingSink : public platform::FileSink {
 public:
  explicit ForwardingSink(platform::FileSink& file) : file_(file) {}

  bool Append(std::span<const std::byte> bytes, platform::SinkError& error) override {
    return file_.Append(bytes, error);
  }
  bool Skip(std::uint64_t count, platform::SinkError& error) override {
    return file_.Skip(count, error);
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

 protected:
  platform::FileSink& file_;
};

}  // namespace velmora::disc
