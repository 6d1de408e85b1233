#include "LinuxCdrom.h"

#include <fcntl.h>
#include <linux/cdrom.h>
#include <linux/fs.h>
#include <scsi/sg.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <vector>

namespace softdrive {
namespace {

constexpr std::size_t kPage = 4096;
// How often the kernel tries a command again while the drive becomes ready,
// or after a UNIT ATTENTION (sr sleeps 2 s between tries; this drive counts).
constexpr int kIoctlRetries = 10;
constexpr int kReadRetries = 1'000'000;
constexpr int kSgVersion = 30527;
constexpr int kDmaAlignment = 512;
constexpr unsigned kScsiCdromMajor = 11;
// The driver status that says sense data came back.
constexpr unsigned short kDriverSense = 0x08;

bool IsUnitAttention(const ScsiAnswer& answer) {
  return answer.status == kStatusCheckCondition && answer.SenseCode().key == 0x06;
}
bool IsMediumChanged(const ScsiAnswer& answer) {
  return IsUnitAttention(answer) && answer.SenseCode().asc == 0x28;
}
bool IsBecomingReady(const ScsiAnswer& answer) {
  const Sense s = answer.SenseCode();
  return answer.status == kStatusCheckCondition && s.key == 0x02 && s.asc == 0x04 && s.ascq == 0x01;
}

std::array<std::uint8_t, 10> Read10(std::uint32_t lba, std::uint32_t count) {
  return {0x28, 0, static_cast<std::uint8_t>(lba >> 24), static_cast<std::uint8_t>(lba >> 16),
          static_cast<std::uint8_t>(lba >> 8), static_cast<std::uint8_t>(lba), 0,
          static_cast<std::uint8_t>(count >> 8), static_cast<std::uint8_t>(count), 0};
}

// The commands SG_IO carries on a handle opened for reading only, and those it
// carries on one opened for writing too; any other needs CAP_SYS_RAWIO.
bool ReadSafe(std::uint8_t opcode) {
  static constexpr std::uint8_t kReadSafe[] = {0x00, 0x03, 0x08, 0x12, 0x1A, 0x1B, 0x25, 0x28,
                                               0x2F, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48,
                                               0x4A, 0x4E, 0x51, 0x52, 0x5A, 0xA4, 0xA8, 0xAD,
                                               0xB9, 0xBA, 0xBE};
  return std::find(std::begin(kReadSafe), std::end(kReadSafe), opcode) != std::end(kReadSafe);
}
bool WriteSafe(std::uint8_t opcode) {
  static constexpr std::uint8_t kWriteSafe[] = {0x04, 0x0A, 0x15, 0x1E, 0x2A, 0x35, 0x55, 0x5B,
                                                0x5D, 0xA1, 0xA6, 0xB6, 0xBB};
  return std::find(std::begin(kWriteSafe), std::end(kWriteSafe), opcode) != std::end(kWriteSafe);
}

}  // namespace

void LinuxCdrom::MakeDeviceStat(struct stat& status) {
  status.st_mode = S_IFBLK | 0660;
  status.st_rdev = makedev(kScsiCdromMajor, 0);
  status.st_size = 0;
  status.st_blksize = 2048;
  status.st_blocks = 0;
}

int LinuxCdrom::Open(int realFd, int flags) {
  if (drive_->gone()) return ENOENT;  // the node went with the drive
  Handle handle;
  handle.flags = flags;
  handle.writable = (flags & O_ACCMODE) != O_RDONLY;
  handle.direct = (flags & O_DIRECT) != 0;
  if (handle.writable && drive_->script().readOnlyAccess) return EACCES;
  // A blocking open wants a disc; O_NONBLOCK opens an empty drive.
  if ((flags & O_NONBLOCK) == 0 && !drive_->hasDisc()) return ENOMEDIUM;
  // The open checks for a media change, and keeps the event for the ioctl.
  if (changed_) {
    changed_ = false;
    changeEvent_ = true;
  }
  handles_[realFd] = handle;
  drive_->Log("open " + std::to_string(realFd) + (handle.writable ? " rw" : " ro") +
              (handle.direct ? " direct" : "") + ((flags & O_NONBLOCK) ? " nonblock" : "") +
              " opens " + std::to_string(handles_.size()));
  return 0;
}

void LinuxCdrom::SetFlags(int fd, int flags) {
  Handle& handle = handles_.at(fd);
  // F_SETFL changes O_DIRECT, O_NONBLOCK and the like, never the access mode.
  handle.flags = (handle.flags & O_ACCMODE) | (flags & ~O_ACCMODE);
  handle.direct = (flags & O_DIRECT) != 0;
}

void LinuxCdrom::Close(int fd) {
  handles_.erase(fd);
  if (handles_.empty() && drive_->prevent() && !keepLocked_ && !drive_->gone()) {
    // The last close unlocks a tray that no one asked to keep locked.
    const std::array<std::uint8_t, 6> allow = {0x1E, 0, 0, 0, 0, 0};
    drive_->Execute({allow, {}, {}, "os"});
  }
  drive_->Log("close " + std::to_string(fd) + " opens " + std::to_string(handles_.size()) +
              " tray " + (drive_->prevent() ? "locked" : "unlocked"));
}

long LinuxCdrom::Read(int fd, void* buffer, std::size_t length, std::uint64_t offset) {
  const Handle handle = handles_.at(fd);
  if (handle.direct && (offset % kBlock != 0 || length % kBlock != 0 ||
                        reinterpret_cast<std::uintptr_t>(buffer) % kDmaAlignment != 0)) {
    return -EINVAL;
  }
  if (length == 0) return 0;
  if (drive_->gone()) {
    const auto cdb = Read10(static_cast<std::uint32_t>(offset / kBlock), 1);
    drive_->Execute({cdb, {}, {}, "os"});
    return -EIO;
  }
  if (changed_) {
    drive_->Log("os read refused: medium changed");
    return -EIO;
  }
  const std::uint64_t capacity = std::uint64_t{drive_->Capacity()} * kBlock;
  if (offset >= capacity) return 0;
  const std::uint64_t end = std::min<std::uint64_t>(offset + length, capacity);
  // The page cache reads and keeps whole pages; O_DIRECT reads blocks.
  const std::uint64_t unit = handle.direct ? kBlock : kPage;
  const std::uint64_t from = offset / unit * unit;
  const std::uint64_t to = std::min((end + unit - 1) / unit * unit, capacity);
  const auto first = static_cast<std::uint32_t>(from / kBlock);
  const auto count = static_cast<std::uint32_t>(std::min<std::uint64_t>((to - from) / kBlock, 0xFFFF));
  std::vector<std::uint8_t> data(std::size_t{count} * kBlock);
  const auto cdb = Read10(first, count);
  std::size_t good = 0;
  for (int tries = 0;; ++tries) {
    const ScsiAnswer answer = drive_->Execute({cdb, data, {}, "os"});
    if (answer.error != 0) return -EIO;
    if (IsMediumChanged(answer)) {
      changed_ = true;
      return -EIO;
    }
    // A reset's UNIT ATTENTION and a drive becoming ready: the kernel tries again.
    if ((IsUnitAttention(answer) || IsBecomingReady(answer)) && tries < kReadRetries) continue;
    if (answer.hostStatus == 0) good = answer.transferred;
    break;
  }
  // A page is read whole or not at all; the device's last page may hold fewer blocks.
  const std::uint64_t goodEnd = from + good >= to ? to : from + good / unit * unit;
  if (goodEnd <= offset || (handle.direct && goodEnd < end)) return -EIO;
  const std::size_t delivered = static_cast<std::size_t>(std::min(end, goodEnd) - offset);
  std::memcpy(buffer, data.data() + (offset - from), delivered);
  return static_cast<long>(delivered);
}

int LinuxCdrom::KernelCommand(std::span<const std::uint8_t> cdb, std::span<std::uint8_t> dataIn,
                              ScsiAnswer& answer) {
  for (int tries = 0;; ++tries) {
    answer = drive_->Execute({cdb, dataIn, {}, "os"});
    if (answer.error != 0) return -answer.error;
    if (answer.hostStatus != 0) return -EIO;
    if (answer.status == kStatusGood) return 0;
    if (IsUnitAttention(answer)) {
      if (IsMediumChanged(answer)) changed_ = true;
      if (tries < kIoctlRetries) continue;
      return -ENOMEDIUM;
    }
    if (IsBecomingReady(answer) && tries < kIoctlRetries) continue;
    return answer.SenseCode().key == 0x02 ? -ENOMEDIUM : -EIO;
  }
}

ScsiAnswer LinuxCdrom::TestUnitReady() {
  const std::array<std::uint8_t, 6> cdb = {0, 0, 0, 0, 0, 0};
  ScsiAnswer answer;
  for (int tries = 0; tries < 3; ++tries) {
    answer = drive_->Execute({cdb, {}, {}, "os"});
    if (!IsUnitAttention(answer)) break;
    // A reset the kernel made itself it expects, and tries again; any other
    // UNIT ATTENTION on removable media counts as a change.
    if (answer.SenseCode().asc != 0x29) changed_ = true;
  }
  return answer;
}

long LinuxCdrom::ReadTocHeader(void* argument) {
  const std::array<std::uint8_t, 10> cdb = {0x43, 0, 0, 0, 0, 0, 0, 0, 12, 0};
  std::array<std::uint8_t, 12> data{};
  ScsiAnswer answer;
  if (const int failure = KernelCommand(cdb, data, answer); failure != 0) return failure;
  auto* header = static_cast<cdrom_tochdr*>(argument);
  header->cdth_trk0 = data[2];
  header->cdth_trk1 = data[3];
  return 0;
}

long LinuxCdrom::ReadTocEntry(void* argument) {
  auto* entry = static_cast<cdrom_tocentry*>(argument);
  if (entry->cdte_format != CDROM_MSF && entry->cdte_format != CDROM_LBA) return -EINVAL;
  const bool msf = entry->cdte_format == CDROM_MSF;
  const std::array<std::uint8_t, 10> cdb = {
      0x43, static_cast<std::uint8_t>(msf ? 0x02 : 0), 0, 0, 0, 0, entry->cdte_track, 0, 12, 0};
  std::array<std::uint8_t, 12> data{};
  ScsiAnswer answer;
  if (const int failure = KernelCommand(cdb, data, answer); failure != 0) return failure;
  entry->cdte_ctrl = data[5] & 0x0F;
  entry->cdte_adr = (data[5] >> 4) & 0x0F;
  entry->cdte_datamode = (entry->cdte_ctrl & 0x04) ? 1 : 0;
  if (msf) {
    entry->cdte_addr.msf.minute = data[9];
    entry->cdte_addr.msf.second = data[10];
    entry->cdte_addr.msf.frame = data[11];
  } else {
    entry->cdte_addr.lba = static_cast<int>(std::uint32_t{data[8]} << 24 | std::uint32_t{data[9]} << 16 |
                                            std::uint32_t{data[10]} << 8 | data[11]);
  }
  return 0;
}

long LinuxCdrom::LockDoor(unsigned long prevent) {
  keepLocked_ = prevent != 0;
  if (handles_.size() != 1 && prevent == 0 && !drive_->script().privileged) {
    drive_->Log("lockdoor 0 refused: " + std::to_string(handles_.size()) + " handles open");
    return -EBUSY;
  }
  const std::array<std::uint8_t, 6> cdb = {0x1E, 0, 0, 0, static_cast<std::uint8_t>(prevent ? 1 : 0), 0};
  ScsiAnswer answer;
  return KernelCommand(cdb, {}, answer);
}

long LinuxCdrom::DriveStatus() {
  const ScsiAnswer answer = TestUnitReady();
  if (answer.error != 0) return -answer.error;
  if (answer.Good()) return CDS_DISC_OK;
  if (IsBecomingReady(answer)) return CDS_DRIVE_NOT_READY;
  const Sense s = answer.SenseCode();
  if (s.asc == 0x3A) return s.ascq == 0x02 ? CDS_TRAY_OPEN : CDS_NO_DISC;
  return CDS_TRAY_OPEN;
}

long LinuxCdrom::MediaChanged() {
  const ScsiAnswer answer = TestUnitReady();
  if (answer.error != 0) return -answer.error;
  const bool event = drive_->TakeMediaEvent() || changed_ || changeEvent_;
  changed_ = false;
  changeEvent_ = false;
  return event ? 1 : 0;
}

long LinuxCdrom::SgIo(const Handle& handle, void* argument) {
  auto* header = static_cast<sg_io_hdr_t*>(argument);
  if (header->interface_id != 'S') return -ENOSYS;
  if (header->iovec_count != 0 || header->cmd_len == 0 || header->cmdp == nullptr) return -EINVAL;
  const std::span<const std::uint8_t> cdb(header->cmdp, header->cmd_len);
  const bool allowed = drive_->script().privileged || ReadSafe(cdb[0]) ||
                       (handle.writable && WriteSafe(cdb[0]));
  if (!allowed) {
    char line[64];
    std::snprintf(line, sizeof line, "sg opcode %02X refused: the handle is %s", cdb[0],
                  handle.writable ? "writable" : "read-only");
    drive_->Log(line);
    return -EPERM;
  }
  Command command;
  command.cdb = cdb;
  auto* data = static_cast<std::uint8_t*>(header->dxferp);
  if (header->dxfer_direction == SG_DXFER_FROM_DEV) {
    command.dataIn = {data, header->dxfer_len};
  } else if (header->dxfer_direction == SG_DXFER_TO_DEV) {
    command.dataOut = {data, header->dxfer_len};
  }
  const ScsiAnswer answer = drive_->Execute(command);
  if (answer.error != 0) return -answer.error;
  header->status = answer.status;
  header->masked_status = static_cast<unsigned char>(answer.status >> 1);
  header->msg_status = 0;
  header->host_status = answer.hostStatus;
  header->driver_status = answer.senseLength > 0 ? kDriverSense : 0;
  header->sb_len_wr = static_cast<unsigned char>(std::min<std::size_t>(header->mx_sb_len, answer.senseLength));
  if (header->sb_len_wr > 0) std::memcpy(header->sbp, answer.sense.data(), header->sb_len_wr);
  header->resid = static_cast<int>(header->dxfer_len - std::min<std::size_t>(header->dxfer_len, answer.transferred));
  header->duration = answer.hostStatus == kHostTimeOut ? header->timeout : 1;
  header->info = (answer.status | answer.hostStatus | header->driver_status) != 0 ? SG_INFO_CHECK : SG_INFO_OK;
  return 0;
}

long LinuxCdrom::Ioctl(int fd, unsigned long request, void* argument) {
  const Handle handle = handles_.at(fd);
  if (drive_->gone()) {
    drive_->Log("ioctl " + std::to_string(request) + " -> ENODEV");
    return -ENODEV;
  }
  switch (request) {
    case SG_GET_VERSION_NUM:
      *static_cast<int*>(argument) = kSgVersion;
      return 0;
    case SG_IO:
      return SgIo(handle, argument);
    case BLKGETSIZE64:
      *static_cast<std::uint64_t*>(argument) = std::uint64_t{drive_->Capacity()} * kBlock;
      return 0;
    case BLKSSZGET:
      *static_cast<int*>(argument) = static_cast<int>(kBlock);
      return 0;
    case CDROMREADTOCHDR:
      return ReadTocHeader(argument);
    case CDROMREADTOCENTRY:
      return ReadTocEntry(argument);
    case CDROM_LOCKDOOR:
      return LockDoor(reinterpret_cast<unsigned long>(argument));
    case CDROM_DRIVE_STATUS:
      return DriveStatus();
    case CDROM_MEDIA_CHANGED:
      return MediaChanged();
    default:
      drive_->Log("ioctl " + std::to_string(request) + " not answered");
      return -ENOTTY;
  }
}

}  // namespace softdrive
