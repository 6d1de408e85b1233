#include "platform/linux/LinuxDeviceFile.h"

#include <fcntl.h>
#include <linux/cdrom.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "platform/linux/OsError.h"

namespace velmora::platform {

static_assert(sizeof(off_t) == 8, "reads past 2 GiB need a 64-bit off_t (_FILE_OFFSET_BITS=64)");
static_assert(kLeadOutTrack == CDROM_LEADOUT);

namespace {

// Buffers for reads past the page cache start on a page boundary, which every
// drive's alignment divides.
constexpr std::size_t kBufferAlignment = 4096;

// A drive is read past the page cache (O_DIRECT). The cache reads and keeps
// whole 4 KiB pages: a sector that shares its page with an unreadable one
// would not read either, and its read-ahead runs into damaged areas that no
// one asked for. The block size of the drive, or 0 when it cannot be read so.
std::size_t ReadPastCache(int fd) {
  int blockSize = 0;
  const int flags = fcntl(fd, F_GETFL);
  if (ioctl(fd, BLKSSZGET, &blockSize) != 0 || blockSize <= 0 || flags < 0 ||
      fcntl(fd, F_SETFL, flags | O_DIRECT) != 0) {
    return 0;
  }
  return static_cast<std::size_t>(blockSize);
}

}  // namespace

void LinuxDeviceFile::Free::operator()(std::byte* p) const { std::free(p); }

std::unique_ptr<LinuxDeviceFile> LinuxDeviceFile::Open(const std::string& path, OpenError& error) {
  // Opened non-blocking so that a drive without a disc still opens (the sr
  // driver refuses a blocking open then); a FIFO does not hang the open either.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    error = MakeOpenError(path, errno);
    return nullptr;
  }
  struct stat status {};
  int failure = 0;
  std::size_t blockSize = 0;
  if (fstat(fd, &status) != 0) {
    failure = errno;
  } else if (S_ISDIR(status.st_mode)) {
    failure = EISDIR;  // open() accepts a folder; say so now rather than at the first read
  } else if (S_ISBLK(status.st_mode)) {
    blockSize = ReadPastCache(fd);
  } else {
    // Anything but a drive reads blocking, as a file should.
    const int flags = fcntl(fd, F_GETFL);
    if (flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) failure = errno;
  }
  if (failure != 0) {
    close(fd);
    error = MakeOpenError(path, failure);
    return nullptr;
  }
  return std::unique_ptr<LinuxDeviceFile>(new LinuxDeviceFile(fd, blockSize));
}

LinuxDeviceFile::~LinuxDeviceFile() { close(fd_); }

IoResult LinuxDeviceFile::ReadAt(std::uint64_t offset, std::span<std::byte> buffer) {
  IoResult result;
  if (offset > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max()) - buffer.size()) {
    result.error = EOVERFLOW;
    result.reason = ErrnoText(EOVERFLOW);
    return result;
  }
  if (blockSize_ != 0) return ReadDirect(offset, buffer);
  result.ok = true;
  while (result.bytes < buffer.size()) {
    const ssize_t count = pread(fd_, buffer.data() + result.bytes, buffer.size() - result.bytes,
                                static_cast<off_t>(offset + result.bytes));
    if (count > 0) {
      result.bytes += static_cast<std::size_t>(count);
    } else if (count == 0) {
      break;  // end of file
    } else if (errno != EINTR) {
      if (result.bytes == 0) {
        result.ok = false;
        result.error = errno;
        result.reason = ErrnoText(errno);
      }
      break;
    }
  }
  return result;
}

IoResult LinuxDeviceFile::ReadDirect(std::uint64_t offset, std::span<std::byte> buffer) {
  IoResult result;
  const std::uint64_t first = offset / blockSize_ * blockSize_;
  const std::uint64_t end = (offset + buffer.size() + blockSize_ - 1) / blockSize_ * blockSize_;
  const auto span = static_cast<std::size_t>(end - first);
  if (span > alignedSize_) {
    const std::size_t size = (span + kBufferAlignment - 1) / kBufferAlignment * kBufferAlignment;
    aligned_.reset(static_cast<std::byte*>(std::aligned_alloc(kBufferAlignment, size)));
    alignedSize_ = aligned_ ? size : 0;
    if (!aligned_) {
      result.error = ENOMEM;
      result.reason = ErrnoText(ENOMEM);
      return result;
    }
  }
  std::size_t got = 0;
  int error = 0;
  while (got < span) {
    const ssize_t count = pread(fd_, aligned_.get() + got, span - got, static_cast<off_t>(first + got));
    if (count > 0) {
      got += static_cast<std::size_t>(count);
    } else if (count == 0) {
      break;  // the medium's end
    } else if (errno != EINTR) {
      error = errno;
      break;
    }
  }
  const auto skip = static_cast<std::size_t>(offset - first);
  result.bytes = got > skip ? std::min(got - skip, buffer.size()) : 0;
  std::memcpy(buffer.data(), aligned_.get() + skip, result.bytes);
  result.ok = error == 0 || result.bytes > 0;
  if (!result.ok) {
    result.error = error;
    result.reason = ErrnoText(error);
  }
  return result;
}

std::optional<std::uint64_t> LinuxDeviceFile::Size() {
  struct stat status {};
  if (fstat(fd_, &status) != 0) return std::nullopt;
  if (S_ISREG(status.st_mode)) return static_cast<std::uint64_t>(status.st_size);
  std::uint64_t bytes = 0;
  if (S_ISBLK(status.st_mode) && ioctl(fd_, BLKGETSIZE64, &bytes) == 0) return bytes;
  return std::nullopt;
}

std::optional<Toc> LinuxDeviceFile::ReadToc() {
  cdrom_tochdr header{};
  if (ioctl(fd_, CDROMREADTOCHDR, &header) != 0 || header.cdth_trk0 > header.cdth_trk1) {
    return std::nullopt;
  }
  Toc toc;
  toc.firstTrack = header.cdth_trk0;
  toc.lastTrack = header.cdth_trk1;
  auto readEntry = [&](std::uint8_t track) {
    cdrom_tocentry entry{};
    entry.cdte_track = track;
    entry.cdte_format = CDROM_MSF;
    if (ioctl(fd_, CDROMREADTOCENTRY, &entry) != 0) return false;
    TocEntry& out = toc.entries.emplace_back();
    out.trackNumber = track;
    out.control = entry.cdte_ctrl;
    out.minute = entry.cdte_addr.msf.minute;
    out.second = entry.cdte_addr.msf.second;
    out.frame = entry.cdte_addr.msf.frame;
    return true;
  };
  for (unsigned track = toc.firstTrack; track <= toc.lastTrack; ++track) {
    if (!readEntry(static_cast<std::uint8_t>(track))) return std::nullopt;
  }
  if (!readEntry(kLeadOutTrack)) return std::nullopt;
  return toc;
}

bool LinuxDeviceFile::SetMediumRemoval(bool prevent) {
  return ioctl(fd_, CDROM_LOCKDOOR, prevent ? 1 : 0) == 0;
}

DriveStatus LinuxDeviceFile::Status() {
  const int status = ioctl(fd_, CDROM_DRIVE_STATUS, CDSL_CURRENT);
  if (status < 0) return errno == ENODEV || errno == ENXIO ? DriveStatus::kGone : DriveStatus::kUnknown;
  switch (status) {
    case CDS_DISC_OK:
      return DriveStatus::kReady;
    case CDS_DRIVE_NOT_READY:
      return DriveStatus::kBecomingReady;
    case CDS_NO_DISC:
      return DriveStatus::kNoDisc;
    case CDS_TRAY_OPEN:
      return DriveStatus::kTrayOpen;
    default:
      return DriveStatus::kUnknown;
  }
}

bool LinuxDeviceFile::MediumChanged() {
  return ioctl(fd_, CDROM_MEDIA_CHANGED, CDSL_CURRENT) == 1;
}

}  // namespace velmora::platform
