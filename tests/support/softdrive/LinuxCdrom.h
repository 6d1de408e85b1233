#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>

#include "ScsiDrive.h"

namespace softdrive {

// What the Linux sr and cdrom drivers make of the drive for a program: the
// device node's opens and closes, buffered and O_DIRECT reads, the CD-ROM
// ioctls and SG_IO, each turned into the drive's own commands as the kernel
// does it, with the kernel's rules:
// - a read through the page cache reads whole 4 KiB pages: a sector that
//   shares its page with a bad one does not read either; an O_DIRECT read
//   wants its offset, length and buffer aligned, and fails whole when one of
//   its blocks does not read;
// - a read that meets UNIT ATTENTION, medium changed, fails, and so does every
//   read after it until the media-change check (CDROM_MEDIA_CHANGED, or an
//   open) has taken note of the change;
// - the kernel waits for a drive that is becoming ready before a read, and
//   tries its own commands again after a UNIT ATTENTION;
// - CDROM_LOCKDOOR 1 keeps the tray locked past the last close; unlocking
//   while other handles are open is refused (EBUSY) unless privileged; the last
//   close unlocks a tray no one asked to keep locked;
// - SG_IO carries commands that change the drive's state only on a handle
//   opened for writing.
class LinuxCdrom {
 public:
  explicit LinuxCdrom(std::unique_ptr<ScsiDrive> drive) : drive_(std::move(drive)) {}

  // An open of the device node: realFd is a descriptor the caller opened to
  // stand for it. Returns 0, or an errno (and realFd is not kept).
  int Open(int realFd, int flags);
  bool Owns(int fd) const { return handles_.contains(fd); }
  bool HasOpenHandles() const { return !handles_.empty(); }
  void Close(int fd);
  // fcntl F_GETFL and F_SETFL on a handle: O_DIRECT and O_NONBLOCK change.
  int Flags(int fd) const { return handles_.at(fd).flags; }
  void SetFlags(int fd, int flags);
  // pread on a handle: bytes read, or -errno.
  long Read(int fd, void* buffer, std::size_t length, std::uint64_t offset);
  // Returns 0 or the value the ioctl gives, or -errno.
  long Ioctl(int fd, unsigned long request, void* argument);
  // What stat says of the device node.
  static void MakeDeviceStat(struct stat& status);
  const ScsiDrive& drive() const { return *drive_; }

 private:
  struct Handle {
    int flags = 0;
    bool writable = false;
    bool direct = false;
  };
  // A command the kernel sends for a CD-ROM ioctl, with sr's retries: 0, or -errno.
  int KernelCommand(std::span<const std::uint8_t> cdb, std::span<std::uint8_t> dataIn, ScsiAnswer& answer);
  // TEST UNIT READY as the SCSI layer sends it: again while UNIT ATTENTION.
  ScsiAnswer TestUnitReady();
  long ReadTocHeader(void* argument);
  long ReadTocEntry(void* argument);
  long LockDoor(unsigned long prevent);
  long DriveStatus();
  long MediaChanged();
  long SgIo(const Handle& handle, void* argument);

  std::unique_ptr<ScsiDrive> drive_;
  std::map<int, Handle> handles_;
  bool keepLocked_ = false;
  bool changed_ = false;       // sr's "medium changed": reads refused until checked
  bool changeEvent_ = false;   // kept for the next CDROM_MEDIA_CHANGED
};

}  // namespace softdrive
