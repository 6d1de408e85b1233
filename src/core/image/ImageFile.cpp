#include "image/ImageFile.h"

#include <cerrno>
#include <limits>
#include <system_error>

namespace velmora::disc {
namespace {

std::FILE* OpenUnbuffered(const std::string& path, const char* mode) {
  std::FILE* file = std::fopen(path.c_str(), mode);
  // The copy hands over large blocks itself; without a stream buffer every
  // failure shows at the write that caused it.
  if (file) std::setvbuf(file, nullptr, _IONBF, 0);
  return file;
}

}  // namespace

ImageFile::~ImageFile() {
  if (file_) std::fclose(file_);
}

ImageFile::OpenResult ImageFile::Open(const std::string& path, Prompts& prompts) {
  // "r+" opens only a file that exists, and does not empty it before the user answers.
  errno = 0;
  if (std::FILE* existing = std::fopen(path.c_str(), "r+b")) {
    std::fclose(existing);
    if (!prompts.ConfirmOverwrite(path)) return OpenResult::kDeclined;
    file_ = OpenUnbuffered(path, "wb");
  } else if (errno == ENOENT) {
    // "x": the file is made by this call or the call fails.
    file_ = OpenUnbuffered(path, "wbx");
  }
  if (!file_) {
    Fail();
    return OpenResult::kCannotOpen;
  }
  position_ = 0;
  return OpenResult::kOpened;
}

void ImageFile::Fail() {
  int error = errno;
  reason_ = error != 0 ? std::generic_category().message(error) : "the system gave no reason";
}

std::size_t ImageFile::WriteAt(std::uint64_t offset, std::span<const std::byte> bytes) {
  if (!file_) return 0;
  if (position_ != offset) {
    errno = 0;
    if (offset > static_cast<std::uint64_t>(std::numeric_limits<long>::max())) {
      errno = EFBIG;
      Fail();
      return 0;
    }
    if (std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0) {
      position_.reset();
      Fail();
      return 0;
    }
  }
  errno = 0;
  std::size_t written = std::fwrite(bytes.data(), 1, bytes.size(), file_);
  if (written != bytes.size()) {
    position_.reset();
    Fail();
    return written;
  }
  position_ = offset + written;
  return written;
}

bool ImageFile::Close() {
  if (!file_) return false;
  errno = 0;
  int status = std::fclose(file_);
  file_ = nullptr;
  if (status == 0) return true;
  Fail();
  return false;
}

}  // namespace velmora::disc
