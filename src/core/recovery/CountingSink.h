#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <utility>

#include "recovery/ForwardingSink.h"

namespace velmora::disc {

// A file sink that says how many bytes of the file it has dealt with, written
// or skipped as unreadable, so that a recovery's progress moves within a large
// file too. Everything else goes to the file as it is.
class CountingSink : public ForwardingSink {
 public:
  CountingSink(platform::FileSink& file, std::function<void(std::uint64_t)> counted)
      : ForwardingSink(file), counted_(std::move(counted)) {}

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

 private:
  std::function<void(std::uint64_t)> counted_;
};

}  // namespace velmora::disc
