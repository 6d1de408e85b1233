#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

#include "host/Prompts.h"

namespace velmora::disc {

// The .cd image a rescue writes: made new, replaced once the user agreed, or
// opened again to resume, and read back as well as written (what the rescue
// holds is served from it). Every call says whether the system took it, and
// reason() why not.
class RescueImageFile {
 public:
  enum class OpenResult {
    kOpened,
    kDeclined,    // the file exists and the user kept it
    kCannotOpen,
  };

  RescueImageFile() = default;
  ~RescueImageFile();
  RescueImageFile(const RescueImageFile&) = delete;
  RescueImageFile& operator=(const RescueImageFile&) = delete;

  // A new image: an existing file is offered for overwriting and emptied.
  OpenResult Create(const std::string& path, Prompts& prompts);
  // The image of an earlier run of the rescue, kept as it is.
  OpenResult Reopen(const std::string& path);

  bool WriteAt(std::uint64_t offset, std::span<const std::byte> bytes);
  bool ReadAt(std::uint64_t offset, std::span<std::byte> bytes);
  // Cuts or extends the file to size bytes.
  bool Resize(std::uint64_t size);
  // Hands what was written to the system, so that a map saved after it never
  // claims blocks the image does not hold.
  bool Flush();
  bool Close();
  bool open() const { return file_ != nullptr; }

  const std::string& reason() const { return reason_; }

 private:
  bool Seek(std::uint64_t offset);
  void Unbuffered();
  void Fail();

  std::FILE* file_ = nullptr;
  std::string path_;
  std::string reason_;
};

}  // namespace velmora::disc
