#include "image/RescueImageFile.h"

#include <cerrno>
#include <filesystem>
#include <limits>
#include <system_error>

namespace velmora::disc {

RescueImageFile::~RescueImageFile() {
  if (file_) std::fclose(file_);
}

RescueImageFile::OpenResult RescueImageFile::Create(const std::string& path, Prompts& prompts) {
  errno = 0;
  path_ = path;
  if (std::FILE* existing = std::fopen(path.c_str(), "r+b")) {
    std::fclose(existing);
    if (!prompts.ConfirmOverwrite(path)) return OpenResult::kDeclined;
    file_ = std::fopen(path.c_str(), "w+b");
  } else if (errno == ENOENT) {
    // "x": made by this call, never taking the place of a file made meanwhile.
    file_ = std::fopen(path.c_str(), "w+bx");
  }
  if (!file_) {
    Fail();
    return OpenResult::kCannotOpen;
  }
  Unbuffered();
  return OpenResult::kOpened;
}

RescueImageFile::OpenResult RescueImageFile::Reopen(const std::string& path) {
  errno = 0;
  path_ = path;
  file_ = std::fopen(path.c_str(), "r+b");
  if (!file_) {
    Fail();
    return OpenResult::kCannotOpen;
  }
  Unbuffered();
  return OpenResult::kOpened;
}

void RescueImageFile::Unbuffered() {
  // What a write hands over reaches the system before the map that claims it
  // is saved.
  std::setvbuf(file_, nullptr, _IONBF, 0);
}

void RescueImageFile::Fail() {
  const int error = errno;
  reason_ = error != 0 ? std::generic_category().message(error) : "the system gave no reason";
}

bool RescueImageFile::Seek(std::uint64_t offset) {
  errno = 0;
  if (offset > static_cast<std::uint64_t>(std::numeric_limits<long>::max())) {
    errno = EFBIG;
    Fail();
    return false;
  }
  if (std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0) {
    Fail();
    return false;
  }
  return true;
}

bool RescueImageFile::WriteAt(std::uint64_t offset, std::span<const std::byte> bytes) {
  if (!file_ || !Seek(offset)) return false;
  errno = 0;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
    Fail();
    return false;
  }
  return true;
}

bool RescueImageFile::ReadAt(std::uint64_t offset, std::span<std::byte> bytes) {
  if (!file_ || !Seek(offset)) return false;
  errno = 0;
  if (std::fread(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
    if (errno == 0) errno = EIO;
    Fail();
    return false;
  }
  return true;
}

bool RescueImageFile::Resize(std::uint64_t size) {
  if (!Flush()) return false;
  std::error_code error;
  std::filesystem::resize_file(path_, size, error);
  if (error) {
    reason_ = error.message();
    return false;
  }
  return true;
}

bool RescueImageFile::Flush() {
  if (!file_) return false;
  errno = 0;
  if (std::fflush(file_) != 0) {
    Fail();
    return false;
  }
  return true;
}

bool RescueImageFile::Close() {
  if (!file_) return false;
  errno = 0;
  const int status = std::fclose(file_);
  file_ = nullptr;
  if (status == 0) return true;
  Fail();
  return false;
}

}  // namespace velmora::disc
