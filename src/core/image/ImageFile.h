#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string>

#include "host/Prompts.h"

namespace velmora::disc {

// The file Create Image writes: made new, or replaced once the user agreed, and
// written with every write checked, so that a full disk or a failing device is
// reported with the system's own reason rather than leaving a silently short
// image.
class ImageFile {
 public:
  enum class OpenResult {
    kOpened,
    kDeclined,    // the file exists and the user kept it
    kCannotOpen,  // neither opened for writing nor created
  };

  ImageFile() = default;
  ~ImageFile();
  ImageFile(const ImageFile&) = delete;
  ImageFile& operator=(const ImageFile&) = delete;

  // An existing file is offered to the user for overwriting and then emptied,
  // so nothing of its old content survives past the new end; a missing one is
  // created, never taking the place of a file made meanwhile.
  OpenResult Open(const std::string& path, Prompts& prompts);

  // Writes bytes at offset and returns how many reached the file: fewer than
  // asked when the system refused the rest, and reason() then says why.
  std::size_t WriteAt(std::uint64_t offset, std::span<const std::byte> bytes);
  // Flushes and closes; false, with reason() set, when the system reports that
  // written data was lost.
  bool Close();

  const std::string& reason() const { return reason_; }

 private:
  void Fail();

  std::FILE* file_ = nullptr;
  // Where the next write lands without a seek; nothing after a failed write,
  // which leaves the stream's position undefined.
  std::optional<std::uint64_t> position_ = 0;
  std::string reason_;
};

}  // namespace velmora::disc
