// The software optical drive for tests: preloaded into a program
// (LD_PRELOAD=libvelmora_softdrive.so), it makes the path its script names
// behave like a Linux SCSI optical drive, /dev/sr0 say, for open, close,
// pread, stat and ioctl. VELMORA_SOFT_DRIVE names the script (DriveScript.h
// has its directives); the log it names tells, one line each, every command
// the drive received and how it ended, every open and close, and whether the
// tray was left locked when the last handle closed:
//   open 5 ro nonblock opens 1
//   cmd 12 sg READ-CD 16+4 type2 -> CHECK 03/11/05 0
//   cmd 13 os READ(10) 0+2 -> GOOD 4096
//   close 5 opens 0 tray unlocked
// "sg" commands came through SG_IO; "os" ones the kernel sent for a read of
// the device or a CD-ROM ioctl. The script is read at the first open or stat
// of a path after it changes, while no handle of the drive is open.

#include <dlfcn.h>
#include <fcntl.h>
#include <linux/stat.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <mutex>
#include <string>

#include "LinuxCdrom.h"

namespace softdrive {
namespace {

std::recursive_mutex gMutex;
std::unique_ptr<LinuxCdrom> gCdrom;
std::string gScriptPath;
std::string gDevice;
std::string gDeviceResolved;
// Set while the drive's own code runs: its file reads pass straight through.
thread_local bool gInside = false;

template <typename F>
F Real(const char* name) {
  return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

// The functions this library stands in front of, found once.
#define REAL(type, name)                                  \
  static const auto real_##name = Real<type>(#name);      \
  (void)real_##name

// The errno of the call passed through, whatever the drive's own code does
// with it before the call returns.
struct ErrnoKept {
  ErrnoKept() : value(errno) {}
  ~ErrnoKept() { errno = value; }
  mutable int value;
};

struct Inside {
  Inside() : before_(gInside) { gInside = true; }
  ~Inside() { gInside = before_; }
  bool before_;
};

void WaitForFile(const std::string& path) {
  const timespec tick = {0, 10'000'000};
  while (access(path.c_str(), F_OK) != 0) nanosleep(&tick, nullptr);
}

std::string Resolved(const char* path) {
  char resolved[PATH_MAX];
  return realpath(path, resolved) ? std::string(resolved) : std::string();
}

// The drive of the current script; nullptr when there is none. A new script
// takes effect while no handle of the drive is open.
LinuxCdrom* Current() {
  const char* script = std::getenv("VELMORA_SOFT_DRIVE");
  if (!script || !*script) return gCdrom.get();
  if (script == gScriptPath || (gCdrom && gCdrom->HasOpenHandles())) return gCdrom.get();
  gScriptPath = script;
  gCdrom.reset();
  std::string error;
  std::optional<DriveScript> loaded = DriveScript::Load(script, error);
  std::unique_ptr<ScsiDrive> drive;
  if (loaded) {
    drive = std::make_unique<ScsiDrive>(std::move(*loaded), WaitForFile);
    if (!drive->Start(error)) drive.reset();
  }
  if (!drive) {
    std::fprintf(stderr, "softdrive: %s\n", error.c_str());
    return nullptr;
  }
  gDevice = drive->script().device;
  gDeviceResolved = Resolved(gDevice.c_str());
  gCdrom = std::make_unique<LinuxCdrom>(std::move(drive));
  return gCdrom.get();
}

bool NamesDevice(const char* path) {
  if (!path || gDevice.empty()) return false;
  if (gDevice == path) return true;
  // Another spelling of the same path ends in the same name.
  const char* slash = std::strrchr(path, '/');
  const std::string name = slash ? slash + 1 : path;
  const std::size_t at = gDevice.rfind('/');
  if (name != gDevice.substr(at == std::string::npos ? 0 : at + 1)) return false;
  return !gDeviceResolved.empty() && Resolved(path) == gDeviceResolved;
}

// The drive when path names it; nullptr otherwise (the caller passes through).
LinuxCdrom* DriveAt(const char* path) {
  if (gInside) return nullptr;
  Inside inside;
  LinuxCdrom* cdrom = Current();
  return cdrom && NamesDevice(path) ? cdrom : nullptr;
}

LinuxCdrom* DriveOf(int fd) {
  if (gInside || !gCdrom || !gCdrom->Owns(fd)) return nullptr;
  return gCdrom.get();
}

using OpenFunction = int (*)(const char*, int, ...);
using OpenAtFunction = int (*)(int, const char*, int, ...);
using CloseFunction = int (*)(int);

int OpenDevice(LinuxCdrom& cdrom, int flags) {
  REAL(OpenFunction, open);
  REAL(CloseFunction, close);
  Inside inside;
  const int fd = real_open("/dev/null", O_RDONLY | (flags & O_CLOEXEC));
  if (fd < 0) return -1;
  if (const int failure = cdrom.Open(fd, flags); failure != 0) {
    real_close(fd);
    errno = failure;
    return -1;
  }
  return fd;
}

mode_t ModeOf(int flags, va_list args) {
  return (flags & (O_CREAT | O_TMPFILE)) != 0 ? static_cast<mode_t>(va_arg(args, int)) : 0;
}

long Result(long value) {
  if (value >= 0) return value;
  errno = static_cast<int>(-value);
  return -1;
}

template <typename Stat>
int FakeStat(int result, Stat* status) {
  if (result == 0) {
    struct stat device {};
    LinuxCdrom::MakeDeviceStat(device);
    status->st_mode = device.st_mode;
    status->st_rdev = device.st_rdev;
    status->st_size = device.st_size;
    status->st_blksize = device.st_blksize;
    status->st_blocks = device.st_blocks;
  }
  return result;
}

// What a stat of path gave, made the drive's when path names the drive.
template <typename Stat>
int StatOfPath(const char* path, int result, Stat* status) {
  const ErrnoKept kept;
  std::lock_guard lock(gMutex);
  return DriveAt(path) ? FakeStat(result, status) : result;
}

// The same for a stat of handle fd.
template <typename Stat>
int StatOfHandle(int fd, int result, Stat* status) {
  const ErrnoKept kept;
  std::lock_guard lock(gMutex);
  return DriveOf(fd) ? FakeStat(result, status) : result;
}

// The drive's handle when path names it; -2 when it does not.
int OpenIfDevice(const char* path, int flags) {
  const ErrnoKept kept;
  std::lock_guard lock(gMutex);
  LinuxCdrom* cdrom = DriveAt(path);
  if (!cdrom) return -2;
  const int fd = OpenDevice(*cdrom, flags);
  kept.value = errno;
  return fd;
}

}  // namespace
}  // namespace softdrive

using namespace softdrive;

extern "C" {

int open(const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = ModeOf(flags, args);
  va_end(args);
  REAL(OpenFunction, open);
  if (const int fd = OpenIfDevice(path, flags); fd != -2) return fd;
  return real_open(path, flags, mode);
}

int open64(const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = ModeOf(flags, args);
  va_end(args);
  REAL(OpenFunction, open64);
  if (const int fd = OpenIfDevice(path, flags); fd != -2) return fd;
  return real_open64(path, flags, mode);
}

int openat(int dirfd, const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = ModeOf(flags, args);
  va_end(args);
  REAL(OpenAtFunction, openat);
  if (const int fd = OpenIfDevice(path, flags); fd != -2) return fd;
  return real_openat(dirfd, path, flags, mode);
}

int openat64(int dirfd, const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = ModeOf(flags, args);
  va_end(args);
  REAL(OpenAtFunction, openat64);
  if (const int fd = OpenIfDevice(path, flags); fd != -2) return fd;
  return real_openat64(dirfd, path, flags, mode);
}

int close(int fd) {
  {
    std::lock_guard lock(gMutex);
    if (LinuxCdrom* cdrom = DriveOf(fd)) {
      Inside inside;
      cdrom->Close(fd);
    }
  }
  REAL(CloseFunction, close);
  return real_close(fd);
}

ssize_t pread(int fd, void* buffer, size_t length, off_t offset) {
  {
    std::lock_guard lock(gMutex);
    if (LinuxCdrom* cdrom = DriveOf(fd)) {
      Inside inside;
      if (offset < 0) return Result(-EINVAL);
      return Result(cdrom->Read(fd, buffer, length, static_cast<std::uint64_t>(offset)));
    }
  }
  REAL(ssize_t (*)(int, void*, size_t, off_t), pread);
  return real_pread(fd, buffer, length, offset);
}

ssize_t pread64(int fd, void* buffer, size_t length, off64_t offset) {
  {
    std::lock_guard lock(gMutex);
    if (LinuxCdrom* cdrom = DriveOf(fd)) {
      Inside inside;
      if (offset < 0) return Result(-EINVAL);
      return Result(cdrom->Read(fd, buffer, length, static_cast<std::uint64_t>(offset)));
    }
  }
  REAL(ssize_t (*)(int, void*, size_t, off64_t), pread64);
  return real_pread64(fd, buffer, length, offset);
}

int fcntl(int fd, int command, ...) {
  va_list args;
  va_start(args, command);
  const long argument = va_arg(args, long);
  va_end(args);
  REAL(int (*)(int, int, ...), fcntl);
  {
    std::lock_guard lock(gMutex);
    if (LinuxCdrom* cdrom = DriveOf(fd); cdrom && (command == F_GETFL || command == F_SETFL)) {
      Inside inside;
      if (command == F_GETFL) return cdrom->Flags(fd);
      cdrom->SetFlags(fd, static_cast<int>(argument));
      return 0;
    }
  }
  return real_fcntl(fd, command, argument);
}

int fcntl64(int fd, int command, ...) {
  va_list args;
  va_start(args, command);
  const long argument = va_arg(args, long);
  va_end(args);
  REAL(int (*)(int, int, ...), fcntl64);
  {
    std::lock_guard lock(gMutex);
    if (LinuxCdrom* cdrom = DriveOf(fd); cdrom && (command == F_GETFL || command == F_SETFL)) {
      Inside inside;
      if (command == F_GETFL) return cdrom->Flags(fd);
      cdrom->SetFlags(fd, static_cast<int>(argument));
      return 0;
    }
  }
  return real_fcntl64(fd, command, argument);
}

int ioctl(int fd, unsigned long request, ...) noexcept {
  va_list args;
  va_start(args, request);
  void* argument = va_arg(args, void*);
  va_end(args);
  {
    std::lock_guard lock(gMutex);
    if (LinuxCdrom* cdrom = DriveOf(fd)) {
      Inside inside;
      return static_cast<int>(Result(cdrom->Ioctl(fd, request, argument)));
    }
  }
  REAL(int (*)(int, unsigned long, ...), ioctl);
  return real_ioctl(fd, request, argument);
}

int stat(const char* path, struct stat* status) noexcept {
  REAL(int (*)(const char*, struct stat*), stat);
  return StatOfPath(path, real_stat(path, status), status);
}

int stat64(const char* path, struct stat64* status) noexcept {
  REAL(int (*)(const char*, struct stat64*), stat64);
  return StatOfPath(path, real_stat64(path, status), status);
}

int lstat(const char* path, struct stat* status) noexcept {
  REAL(int (*)(const char*, struct stat*), lstat);
  return StatOfPath(path, real_lstat(path, status), status);
}

int lstat64(const char* path, struct stat64* status) noexcept {
  REAL(int (*)(const char*, struct stat64*), lstat64);
  return StatOfPath(path, real_lstat64(path, status), status);
}

int fstatat(int dirfd, const char* path, struct stat* status, int flags) noexcept {
  REAL(int (*)(int, const char*, struct stat*, int), fstatat);
  return StatOfPath(path, real_fstatat(dirfd, path, status, flags), status);
}

int fstatat64(int dirfd, const char* path, struct stat64* status, int flags) noexcept {
  REAL(int (*)(int, const char*, struct stat64*, int), fstatat64);
  return StatOfPath(path, real_fstatat64(dirfd, path, status, flags), status);
}

int fstat(int fd, struct stat* status) noexcept {
  REAL(int (*)(int, struct stat*), fstat);
  return StatOfHandle(fd, real_fstat(fd, status), status);
}

int fstat64(int fd, struct stat64* status) noexcept {
  REAL(int (*)(int, struct stat64*), fstat64);
  return StatOfHandle(fd, real_fstat64(fd, status), status);
}

int statx(int dirfd, const char* path, int flags, unsigned int mask, struct statx* status) noexcept {
  REAL(int (*)(int, const char*, int, unsigned int, struct statx*), statx);
  const int result = real_statx(dirfd, path, flags, mask, status);
  const ErrnoKept kept;
  std::lock_guard lock(gMutex);
  const bool device = *path != '\0' ? DriveAt(path) != nullptr
                                      : ((flags & AT_EMPTY_PATH) != 0 && DriveOf(dirfd) != nullptr);
  if (result == 0 && device) {
    status->stx_mode = S_IFBLK | 0660;
    status->stx_rdev_major = 11;
    status->stx_rdev_minor = 0;
    status->stx_size = 0;
  }
  return result;
}

}  // extern "C"
