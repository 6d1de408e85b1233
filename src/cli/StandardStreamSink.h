#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "Console.h"
#include "platform/FileSink.h"

namespace velmora::cli {

// A report or log written onto standard output or standard error, which are
// open already: appended to where they stand, never truncated or opened
// again, so that what went there before (a listing, messages) stays. Writes to
// standard error wipe the progress line first.
class StandardStreamSink final : public platform::FileSink {
 public:
  enum class Stream { kOutput, kError };
  StandardStreamSink(Stream stream, Console& console) : stream_(stream), console_(console) {}
  // The sink of the stream a path leads to (platform::CheckOutputPath).
  static std::unique_ptr<StandardStreamSink> Of(platform::OutputPlace place, Console& console) {
    return std::make_unique<StandardStreamSink>(
        place == platform::OutputPlace::kStandardOutput ? Stream::kOutput : Stream::kError,
        console);
  }

  bool Append(std::span<const std::byte> bytes, platform::SinkError& error) override;
  // Cutting a stream to nothing is nothing to do while nothing was written;
  // the rest of a file's calls do not apply to a stream.
  bool Resize(std::uint64_t size, platform::SinkError& error) override;
  bool Close(platform::SinkError& error) override;
  bool Skip(std::uint64_t, platform::SinkError& error) override { return Refuse(error); }
  bool WriteAt(std::uint64_t, std::span<const std::byte>, platform::SinkError& error) override {
    return Refuse(error);
  }
  std::size_t ReadAt(std::uint64_t, std::span<std::byte>) override { return 0; }
  bool SetModified(std::int64_t, platform::SinkError&) override { return true; }
  bool SetPermissions(std::uint32_t, platform::SinkError&) override { return true; }

 private:
  platform::SinkError Failed() const;
  static bool Refuse(platform::SinkError& error);

  Stream stream_;
  Console& console_;
  bool written_ = false;
};

}  // namespace velmora::cli
