#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "platform/Machine.h"

namespace velmora::platform {

// A drive (/dev/sr*) or an image file opened read-only. The TOC and the tray
// lock go through the CD-ROM ioctls, which fail on anything but a drive.
class LinuxDeviceFile final : public DeviceFile {
 public:
  // Returns nullptr and fills error when path cannot be opened.
  static std::unique_ptr<LinuxDeviceFile> Open(const std::string& path, OpenError& error);

  ~LinuxDeviceFile() override;
  LinuxDeviceFile(const LinuxDeviceFile&) = delete;
  LinuxDeviceFile& operator=(const LinuxDeviceFile&) = delete;

  // Fills the buffer unless the file ends or the OS fails first; a failure after
  // some bytes arrived still counts as a read of those bytes.
  IoResult ReadAt(std::uint64_t offset, std::span<std::byte> buffer) override;
  std::optional<std::uint64_t> Size() override;
  std::optional<Toc> ReadToc() override;
  bool SetMediumRemoval(bool prevent) override;
  DriveStatus Status() override;
  bool MediumChanged() override;

 private:
  struct Free {
    void operator()(std::byte* p) const;
  };

  LinuxDeviceFile(int fd, std::size_t blockSize) : fd_(fd), blockSize_(blockSize) {}
  // ReadAt on a drive read past the page cache: whole blocks into an aligned
  // buffer, the bytes asked for out of it.
  IoResult ReadDirect(std::uint64_t offset, std::span<std::byte> buffer);

  int fd_;
  // The drive's block size when it is read past the page cache; 0 for a file.
  std::size_t blockSize_;
  std::unique_ptr<std::byte, Free> aligned_;
  std::size_t alignedSize_ = 0;
};

}  // namespace velmora::platform
