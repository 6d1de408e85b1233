#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/Machine.h"

namespace velmora::platform {

// The Linux machine: optical drives as the kernel lists them, opened through
// /dev.
class LinuxMachine final : public Machine {
 public:
  // The kernel's own lists.
  LinuxMachine();
  // cdromInfo stands for /proc/sys/dev/cdrom/info, blockClass for
  // /sys/class/block, deviceFolder for /dev (tests point them at files of
  // their own).
  LinuxMachine(std::filesystem::path cdromInfo, std::filesystem::path blockClass,
               std::filesystem::path deviceFolder = "/dev");
  // The machine with root standing for "/" where drives are looked up and
  // named: root/proc/sys/dev/cdrom/info, root/sys/class/block, root/dev.
  static std::unique_ptr<LinuxMachine> UnderRoot(const std::filesystem::path& root);

  // Drive paths sorted by drive number (/dev/sr2 before /dev/sr10). The CD-ROM
  // layer's list comes first; the block class only when that list names none.
  std::vector<std::string> OpticalDrives() override;
  std::unique_ptr<DeviceFile> OpenDevice(const std::string& path, OpenError& error) override;
  std::unique_ptr<ScsiTransport> OpenPassThrough(const std::string& path,
                                                 OpenError& error) override;
  bool SameMedium(const std::string& path, const std::string& devicePath) override;

 private:
  std::filesystem::path cdromInfo_;
  std::filesystem::path blockClass_;
  std::filesystem::path deviceFolder_;
};

}  // namespace velmora::platform
