#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace velmora::platform {

// Outcome of one OS read: ok is false when the call itself failed (error holds
// errno and reason the OS text); bytes is what was delivered.
struct IoResult {
  bool ok = false;
  std::size_t bytes = 0;
  int error = 0;
  std::string reason;
};

// A drive opened as a file, or an image file: positioned reads with 64-bit
// offsets. One call fills the buffer unless the file ends or the OS fails;
// retrying a failure is the caller's policy.
class BlockFile {
 public:
  virtual ~BlockFile() = default;
  virtual IoResult ReadAt(std::uint64_t offset, std::span<std::byte> buffer) = 0;
  // Size in bytes, when the OS can tell it.
  virtual std::optional<std::uint64_t> Size() = 0;
};

}  // namespace velmora::platform
