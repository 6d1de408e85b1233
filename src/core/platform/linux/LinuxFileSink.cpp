#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string_view>

#include "platform/FileSink.h"
#include "platform/linux/OsError.h"

namespace velmora::platform {
namespace {

SinkError ErrorOf(int error) { return SinkError{error, ErrnoText(error)}; }

// EEXIST: the name is in use. EINVAL and EILSEQ: the file system refuses a
// character of the name (vfat, ntfs3, a share); ENAMETOOLONG: its length.
SinkStatus StatusOf(int error) {
  switch (error) {
    case EEXIST:
      return SinkStatus::kNameTaken;
    case EINVAL:
    case EILSEQ:
    case ENAMETOOLONG:
      return SinkStatus::kNameRefused;
    default:
      return SinkStatus::kFailed;
  }
}

// The engine names one entry of this folder at a time; anything else (".."
// above all) would reach outside it, whatever the caller meant.
bool IsOneComponent(const std::string& name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of(std::string_view("/\0", 2)) == std::string::npos;
}

bool SetTimes(int fd, std::int64_t seconds, SinkError& error) {
  const timespec times[2] = {{static_cast<time_t>(seconds), 0}, {static_cast<time_t>(seconds), 0}};
  if (futimens(fd, times) == 0) return true;
  error = ErrorOf(errno);
  return false;
}

bool SetMode(int fd, std::uint32_t bits, SinkError& error) {
  if (fchmod(fd, static_cast<mode_t>(bits & 0777)) == 0) return true;
  error = ErrorOf(errno);
  return false;
}

// Reads count bytes at offset; fewer past the end or on failure.
std::size_t ReadFully(int fd, std::uint64_t offset, std::span<std::byte> buffer) {
  std::size_t got = 0;
  while (got < buffer.size()) {
    const ssize_t count =
        pread(fd, buffer.data() + got, buffer.size() - got, static_cast<off_t>(offset + got));
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) break;
    got += static_cast<std::size_t>(count);
  }
  return got;
}

class LinuxFileSink final : public FileSink {
 public:
  explicit LinuxFileSink(int fd) : fd_(fd) {}
  ~LinuxFileSink() override {
    if (fd_ >= 0) close(fd_);
  }
  LinuxFileSink(const LinuxFileSink&) = delete;
  LinuxFileSink& operator=(const LinuxFileSink&) = delete;

  bool Append(std::span<const std::byte> bytes, SinkError& error) override {
    while (!bytes.empty()) {
      const ssize_t count = write(fd_, bytes.data(), bytes.size());
      if (count < 0) {
        if (errno == EINTR) continue;
        error = ErrorOf(errno);
        return false;
      }
      bytes = bytes.subspan(static_cast<std::size_t>(count));
    }
    return true;
  }

  bool Skip(std::uint64_t count, SinkError& error) override {
    const off_t at = lseek(fd_, static_cast<off_t>(count), SEEK_CUR);
    if (at < 0) {
      error = ErrorOf(errno);
      return false;
    }
    // The file reaches the offset at once: what was skipped is a hole, which
    // reads as zeros and takes no space where the file system has holes.
    struct stat facts {};
    if (fstat(fd_, &facts) == 0 && facts.st_size >= at) return true;
    if (ftruncate(fd_, at) == 0) return true;
    error = ErrorOf(errno);
    return false;
  }

  bool WriteAt(std::uint64_t offset, std::span<const std::byte> bytes, SinkError& error) override {
    while (!bytes.empty()) {
      const ssize_t count = pwrite(fd_, bytes.data(), bytes.size(), static_cast<off_t>(offset));
      if (count < 0) {
        if (errno == EINTR) continue;
        error = ErrorOf(errno);
        return false;
      }
      bytes = bytes.subspan(static_cast<std::size_t>(count));
      offset += static_cast<std::uint64_t>(count);
    }
    return true;
  }

  std::size_t ReadAt(std::uint64_t offset, std::span<std::byte> buffer) override {
    return ReadFully(fd_, offset, buffer);
  }

  bool Resize(std::uint64_t size, SinkError& error) override {
    if (ftruncate(fd_, static_cast<off_t>(size)) == 0) return true;
    error = ErrorOf(errno);
    return false;
  }

  bool SetModified(std::int64_t seconds, SinkError& error) override {
    return SetTimes(fd_, seconds, error);
  }

  bool SetPermissions(std::uint32_t bits, SinkError& error) override {
    return SetMode(fd_, bits, error);
  }

  bool Close(SinkError& error) override {
    const int fd = fd_;
    fd_ = -1;
    // Linux frees the descriptor even when close fails, so it is never retried.
    if (close(fd) == 0) return true;
    error = ErrorOf(errno);
    return false;
  }

 private:
  int fd_;
};

class LinuxFoundFile final : public FoundFile {
 public:
  LinuxFoundFile(int fd, const struct stat& facts)
      : fd_(fd),
        size_(static_cast<std::uint64_t>(facts.st_size)),
        identity_{static_cast<std::uint64_t>(facts.st_dev),
                  static_cast<std::uint64_t>(facts.st_ino)} {}
  ~LinuxFoundFile() override { close(fd_); }
  LinuxFoundFile(const LinuxFoundFile&) = delete;
  LinuxFoundFile& operator=(const LinuxFoundFile&) = delete;

  std::size_t ReadAt(std::uint64_t offset, std::span<std::byte> buffer) override {
    return ReadFully(fd_, offset, buffer);
  }
  std::uint64_t size() const override { return size_; }
  FileIdentity identity() const override { return identity_; }

 private:
  int fd_;
  std::uint64_t size_;
  FileIdentity identity_;
};

class LinuxFolderSink final : public FolderSink {
 public:
  explicit LinuxFolderSink(int fd) : fd_(fd) {}
  ~LinuxFolderSink() override { close(fd_); }
  LinuxFolderSink(const LinuxFolderSink&) = delete;
  LinuxFolderSink& operator=(const LinuxFolderSink&) = delete;

  FolderResult MakeFolder(const std::string& name) override {
    FolderResult result;
    if (!IsOneComponent(name)) {
      result.error = ErrorOf(EINVAL);
      return result;
    }
    bool made = mkdirat(fd_, name.c_str(), 0777) == 0;
    if (!made && errno != EEXIST) {
      result.status = StatusOf(errno);
      result.error = ErrorOf(errno);
      return result;
    }
    result.folder = OpenFolder(name, result.error);
    if (result.folder) {
      result.status = made ? SinkStatus::kCreated : SinkStatus::kExisting;
    } else {
      // ELOOP: a symbolic link; ENOTDIR: a file or anything but a folder.
      const bool taken = result.error.error == ELOOP || result.error.error == ENOTDIR;
      result.status = !made && taken ? SinkStatus::kNameTaken : SinkStatus::kFailed;
    }
    return result;
  }

  std::unique_ptr<FolderSink> OpenFolder(const std::string& name, SinkError& error) override {
    if (!IsOneComponent(name)) {
      error = ErrorOf(EINVAL);
      return nullptr;
    }
    const int fd = openat(fd_, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
      error = ErrorOf(errno);
      return nullptr;
    }
    return std::make_unique<LinuxFolderSink>(fd);
  }

  FileResult CreateFile(const std::string& name) override {
    FileResult result;
    if (!IsOneComponent(name)) {
      result.error = ErrorOf(EINVAL);
      return result;
    }
    // O_EXCL also refuses a link of that name, dangling or not.
    const int fd =
        openat(fd_, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
      result.status = StatusOf(errno);
      result.error = ErrorOf(errno);
      return result;
    }
    result.file = std::make_unique<LinuxFileSink>(fd);
    result.status = SinkStatus::kCreated;
    return result;
  }

  std::unique_ptr<FoundFile> OpenEarlier(const std::string& name, SinkError& error) override {
    if (!IsOneComponent(name)) {
      error = ErrorOf(EINVAL);
      return nullptr;
    }
    // Read only, and neither a fifo nor a terminal planted there can hang the
    // open or become the controlling terminal: they are refused below.
    const int fd =
        openat(fd_, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
      error = ErrorOf(errno);
      return nullptr;
    }
    struct stat facts {};
    if (fstat(fd, &facts) != 0 || !S_ISREG(facts.st_mode) || facts.st_nlink != 1 ||
        facts.st_uid != geteuid()) {
      close(fd);
      error = ErrorOf(EPERM);
      return nullptr;
    }
    return std::make_unique<LinuxFoundFile>(fd, facts);
  }

  bool ReplaceFile(const std::string& from, const std::string& to, const FileIdentity& expected,
                   SinkError& error) override {
    if (!IsOneComponent(from) || !IsOneComponent(to)) {
      error = ErrorOf(EINVAL);
      return false;
    }
    struct stat facts {};
    if (fstatat(fd_, to.c_str(), &facts, AT_SYMLINK_NOFOLLOW) != 0 ||
        FileIdentity{static_cast<std::uint64_t>(facts.st_dev),
                     static_cast<std::uint64_t>(facts.st_ino)} != expected) {
      error = ErrorOf(EEXIST);
      return false;
    }
    if (renameat(fd_, from.c_str(), fd_, to.c_str()) == 0) return true;
    error = ErrorOf(errno);
    return false;
  }

  std::optional<FileFacts> Inspect(const std::string& name) override {
    struct stat facts {};
    if (!IsOneComponent(name) || fstatat(fd_, name.c_str(), &facts, AT_SYMLINK_NOFOLLOW) != 0) {
      return std::nullopt;
    }
    FileFacts found;
    found.regularFile = S_ISREG(facts.st_mode);
    found.link = S_ISLNK(facts.st_mode);
    found.size = static_cast<std::uint64_t>(facts.st_size);
    found.modified = facts.st_mtim.tv_sec;
    return found;
  }

  bool RemoveFile(const std::string& name, SinkError& error) override {
    if (!IsOneComponent(name)) {
      error = ErrorOf(EINVAL);
      return false;
    }
    if (unlinkat(fd_, name.c_str(), 0) == 0) return true;
    error = ErrorOf(errno);
    return false;
  }

  SinkStatus MakeLink(const std::string& name, const std::string& target,
                      SinkError& error) override {
    if (!IsOneComponent(name) || target.empty() || target.find('\0') != std::string::npos) {
      error = ErrorOf(EINVAL);
      return SinkStatus::kFailed;
    }
    // symlinkat never follows or replaces what is at name: EEXIST then.
    if (symlinkat(target.c_str(), fd_, name.c_str()) == 0) return SinkStatus::kCreated;
    error = ErrorOf(errno);
    return StatusOf(errno);
  }

  std::optional<std::string> ReadLink(const std::string& name) override {
    if (!IsOneComponent(name)) return std::nullopt;
    std::string target(4096, '\0');
    const ssize_t length = readlinkat(fd_, name.c_str(), target.data(), target.size());
    if (length < 0 || static_cast<std::size_t>(length) >= target.size()) return std::nullopt;
    target.resize(static_cast<std::size_t>(length));
    return target;
  }

  bool SetLinkModified(const std::string& name, std::int64_t seconds, SinkError& error) override {
    if (!IsOneComponent(name)) {
      error = ErrorOf(EINVAL);
      return false;
    }
    const timespec times[2] = {{static_cast<time_t>(seconds), 0},
                               {static_cast<time_t>(seconds), 0}};
    if (utimensat(fd_, name.c_str(), times, AT_SYMLINK_NOFOLLOW) == 0) return true;
    error = ErrorOf(errno);
    return false;
  }

  bool SetModified(std::int64_t seconds, SinkError& error) override {
    return SetTimes(fd_, seconds, error);
  }

  bool SetPermissions(std::uint32_t bits, SinkError& error) override {
    return SetMode(fd_, bits, error);
  }

 private:
  int fd_;
};

}  // namespace

DestinationResult OpenDestination(const std::string& path) {
  DestinationResult result;
  result.errorPath = path;
  const auto fail = [&](int error) {
    result.error = ErrorOf(error);
    result.folder.reset();
    return std::move(result);
  };
  int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    const int error = errno;
    struct stat link {};
    const bool present = lstat(path.c_str(), &link) == 0;
    // ENOTDIR: a file; ENOENT with something there: a link that leads nowhere.
    if ((error == ENOTDIR || error == ENOENT) && present) {
      result.notAFolder = true;
      return fail(error);
    }
    if (error != ENOENT) return fail(error);
    // Only the last part may be missing: "out/" and "out" both name out.
    std::string parent = path;
    while (parent.size() > 1 && parent.back() == '/') parent.pop_back();
    const std::size_t slash = parent.rfind('/');
    result.missingName = slash == std::string::npos ? parent : parent.substr(slash + 1);
    parent = slash == std::string::npos ? "." : slash == 0 ? "/" : parent.substr(0, slash);
    result.errorPath = parent;
    fd = open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return fail(errno);
  }
  result.folder = std::make_unique<LinuxFolderSink>(fd);
  // Write permission and a read-only mount show here; a full disk only with
  // the first write.
  if (faccessat(fd, ".", W_OK, AT_EACCESS) != 0) return fail(errno);
  return result;
}

// Why what facts describe takes no report.
std::string NotAFile(const struct stat& facts) {
  if (S_ISDIR(facts.st_mode)) return "a folder, not a file";
  if (S_ISFIFO(facts.st_mode)) return "a fifo, not a file";
  if (S_ISSOCK(facts.st_mode)) return "a socket, not a file";
  if (S_ISCHR(facts.st_mode) || S_ISBLK(facts.st_mode)) return "a device, not a file";
  return "not a regular file";
}

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

FileResult OpenReportFile(const std::string& path) {
  FileResult result;
  // O_NONBLOCK: a fifo without a reader fails at once instead of waiting for
  // one, and one with a reader is refused below, as is anything but a regular
  // file; O_NOCTTY: a terminal never becomes the controlling one.
  constexpr int kFlags = O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
  // O_EXCL makes no file through a link: one that leads nowhere is refused.
  int fd = open(path.c_str(), kFlags | O_CREAT | O_EXCL, 0666);
  result.status = SinkStatus::kCreated;
  if (fd < 0 && errno == EEXIST) {
    fd = open(path.c_str(), kFlags);
    result.status = SinkStatus::kExisting;
  }
  if (fd < 0) {
    const int error = errno;
    result.status = SinkStatus::kFailed;
    result.error = ErrorOf(error);
    // ENXIO: a fifo without a reader, or a socket; ENOENT: maybe a link that
    // leads nowhere. Said as what they are, not as the OS's words for them.
    const OutputCheck check =
        error == ENXIO || error == ENOENT ? CheckOutputPath(path) : OutputCheck{};
    if (!check.refusal.empty()) result.error.reason = check.refusal;
    return result;
  }
  struct stat facts {};
  if (fstat(fd, &facts) != 0 || !S_ISREG(facts.st_mode)) {
    result.status = SinkStatus::kFailed;
    result.error = {EINVAL, NotAFile(facts)};
    close(fd);
    return result;
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  result.file = std::make_unique<LinuxFileSink>(fd);
  return result;
}

OutputCheck CheckOutputPath(const std::string& path) {
  OutputCheck check;
  struct stat link {};
  if (lstat(path.c_str(), &link) != 0) return check;  // nothing there yet
  struct stat facts {};
  if (stat(path.c_str(), &facts) != 0) {
    check.refusal = "a link that leads nowhere";
    return check;
  }
  struct stat standard {};
  if (fstat(STDOUT_FILENO, &standard) == 0 && SameFile(facts, standard)) {
    // Both streams on one terminal: the one the path names by number wins.
    struct stat error {};
    const bool namesError = path == "/dev/stderr" || path.ends_with("/fd/2");
    const bool isError = fstat(STDERR_FILENO, &error) == 0 && SameFile(facts, error);
    check.place =
        namesError && isError ? OutputPlace::kStandardError : OutputPlace::kStandardOutput;
    return check;
  }
  if (fstat(STDERR_FILENO, &standard) == 0 && SameFile(facts, standard)) {
    check.place = OutputPlace::kStandardError;
    return check;
  }
  if (!S_ISREG(facts.st_mode)) check.refusal = NotAFile(facts);
  return check;
}

std::uint32_t FileCreationMask() {
  // The kernel shows the mask without changing it; setting and restoring it
  // would leave other threads a moment with none.
  std::FILE* status = std::fopen("/proc/self/status", "re");
  if (status != nullptr) {
    char line[256];
    unsigned mask = 0;
    bool found = false;
    while (!found && std::fgets(line, sizeof line, status) != nullptr) {
      found = std::sscanf(line, "Umask: %o", &mask) == 1;
    }
    std::fclose(status);
    if (found) return mask & 0777;
  }
  const mode_t mask = umask(0);
  umask(mask);
  return static_cast<std::uint32_t>(mask) & 0777;
}

bool FailsEveryWrite(int error) { return error == EROFS || error == ENOSPC || error == EDQUOT; }

}  // namespace velmora::platform
