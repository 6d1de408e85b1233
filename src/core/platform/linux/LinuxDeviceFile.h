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

 private:
  explicit LinuxDeviceFile(int fd) : fd_(fd) {}

  int fd_;
};

}  // namespace velmora::platform
