#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace velmora::platform {

// Why a call on the destination failed: errno and the OS text.
struct SinkError {
  int error = 0;
  std::string reason;
};

// How creating a file or folder went.
enum class SinkStatus {
  kCreated,      // made new
  kExisting,     // a real folder of that name was there and is opened instead
  kNameTaken,    // something of that name is there already (a file, a link, ...)
  kNameRefused,  // the destination cannot hold that name (invalid characters, too long)
  kFailed,       // anything else: write protection, no space, no such folder, ...
};

// A file of the destination, opened for writing from its first byte on.
class FileSink {
 public:
  virtual ~FileSink() = default;
  // Writes all of bytes after what was written so far.
  virtual bool Append(std::span<const std::byte> bytes, SinkError& error) = 0;
  // Moves past count bytes without data for them: zeros, which a new file
  // holds as a hole where the file system can. Bytes that did not read come
  // this way, never as zeros written, so that a resumed recovery can tell
  // them from data.
  virtual bool Skip(std::uint64_t count, SinkError& error) = 0;
  // Writes all of bytes at offset, leaving the place Append writes next as it is.
  virtual bool WriteAt(std::uint64_t offset, std::span<const std::byte> bytes,
                       SinkError& error) = 0;
  // Reads what the file holds from offset into buffer; the bytes read, 0 past
  // its end or on failure.
  virtual std::size_t ReadAt(std::uint64_t offset, std::span<std::byte> buffer) = 0;
  // Extends the file with zeros, or cuts it, to size bytes.
  virtual bool Resize(std::uint64_t size, SinkError& error) = 0;
  // Sets the modification and access times, seconds since 1970-01-01 UTC.
  virtual bool SetModified(std::int64_t seconds, SinkError& error) = 0;
  // Sets the permission bits (0777 and below) exactly as given.
  virtual bool SetPermissions(std::uint32_t bits, SinkError& error) = 0;
  // Closes the file; false when the OS reports a late write error.
  virtual bool Close(SinkError& error) = 0;
};

class FolderSink;

// What makes a file the same file whatever its name: its device and inode.
struct FileIdentity {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  bool operator==(const FileIdentity&) const = default;
};

// A file of the destination opened to be read only.
class FoundFile {
 public:
  virtual ~FoundFile() = default;
  // Reads what the file holds from offset into buffer; the bytes read, 0 past
  // its end or on failure.
  virtual std::size_t ReadAt(std::uint64_t offset, std::span<std::byte> buffer) = 0;
  // The size and identity the file had when it was opened.
  virtual std::uint64_t size() const = 0;
  virtual FileIdentity identity() const = 0;
};

// What a name of a folder holds, as found without following a link.
struct FileFacts {
  bool regularFile = false;  // false: a folder, a link, a device, ...
  bool link = false;         // a symbolic link
  std::uint64_t size = 0;
  std::int64_t modified = 0;  // seconds since 1970-01-01 UTC
};

struct FolderResult {
  std::unique_ptr<FolderSink> folder;
  SinkStatus status = SinkStatus::kFailed;
  SinkError error;
};

struct FileResult {
  std::unique_ptr<FileSink> file;
  SinkStatus status = SinkStatus::kFailed;
  SinkError error;
};

// A folder of the destination. Every name is one component (never holds "/"),
// and everything is created relative to this folder's handle, so nothing lands
// outside it; no call follows a symbolic link found inside it.
class FolderSink {
 public:
  virtual ~FolderSink() = default;
  // Creates the folder name here. When a real folder of that name is there
  // already it is opened instead (kExisting); a link or a file there is
  // kNameTaken.
  virtual FolderResult MakeFolder(const std::string& name) = 0;
  // Opens a real folder made here earlier; nullptr when it is no longer one.
  virtual std::unique_ptr<FolderSink> OpenFolder(const std::string& name, SinkError& error) = 0;
  // Creates a new file; kNameTaken when anything of that name exists, so an
  // existing file is never overwritten.
  virtual FileResult CreateFile(const std::string& name) = 0;
  // Opens name to be read when it is what a recovery into this folder may
  // have made: a regular file of the user running it, with no other hard link.
  // Anything else (a link, a fifo, a device, another user's file, a file also
  // linked from elsewhere) is refused, as the opened descriptor shows it, and
  // is never written: nullptr with error then.
  virtual std::unique_ptr<FoundFile> OpenEarlier(const std::string& name, SinkError& error) = 0;
  // Renames the file from over the file to, when to is still the file of
  // identity expected; false, with nothing changed, when anything else is
  // there now.
  virtual bool ReplaceFile(const std::string& from, const std::string& to,
                           const FileIdentity& expected, SinkError& error) = 0;
  // What is at name; nothing when nothing is.
  virtual std::optional<FileFacts> Inspect(const std::string& name) = 0;
  virtual bool RemoveFile(const std::string& name, SinkError& error) = 0;
  // Creates the symbolic link name leading to target, which is stored as it
  // is and never followed; kNameTaken when anything of that name exists.
  virtual SinkStatus MakeLink(const std::string& name, const std::string& target,
                              SinkError& error) = 0;
  // The target of the symbolic link name; nothing when name is no link.
  virtual std::optional<std::string> ReadLink(const std::string& name) = 0;
  // Sets the times of the link name itself, not of what it leads to.
  virtual bool SetLinkModified(const std::string& name, std::int64_t seconds,
                               SinkError& error) = 0;
  // Sets this folder's modification and access times, seconds since 1970 UTC.
  virtual bool SetModified(std::int64_t seconds, SinkError& error) = 0;
  // Sets this folder's permission bits (0777 and below) exactly as given.
  virtual bool SetPermissions(std::uint32_t bits, SinkError& error) = 0;
};

// A recovery's destination, opened before anything is read from the disc:
// the folder itself, or, when only its last part is missing, the folder that
// is to hold it, where the recovery makes it (MakeFolder(missingName)) once it
// starts, so that a run that ends before leaves nothing behind.
struct DestinationResult {
  std::unique_ptr<FolderSink> folder;  // nullptr when the destination cannot be used
  std::string missingName;             // empty when folder is the destination itself
  SinkError error;                     // why, when folder is nullptr
  std::string errorPath;               // the path the error concerns (path, or its parent)
  bool notAFolder = false;             // a file, or a link to nothing, is at path
};

// Opens the destination at path and checks that it takes new files. path
// itself may lead through links: the user chose it.
DestinationResult OpenDestination(const std::string& path);

// Opens the file at path for a report or a log: made when missing
// (kCreated), kept as it is until written when there (kExisting). Only a
// regular file is opened for good: a fifo, a socket, a device or a folder is
// refused without waiting for a reader, and so is a link that leads nowhere.
FileResult OpenReportFile(const std::string& path);

// Where a report or log path leads, looked at before anything is opened.
enum class OutputPlace {
  kFile,            // a regular file, or nothing yet: OpenReportFile
  kStandardOutput,  // the file standard output is open on (/dev/stdout, a pipe, ...)
  kStandardError,   // the same for standard error
};
struct OutputCheck {
  OutputPlace place = OutputPlace::kFile;
  // Not empty when the path cannot take a report: "a fifo, not a file", "a
  // device, not a file", ..., "a link that leads nowhere".
  std::string refusal;
};
// What path leads to: what standard output or error is open on (the file or
// terminal they were redirected to, /dev/stdout, /dev/fd/2, ...) is that
// stream, to be written to where it stands, never opened again.
OutputCheck CheckOutputPath(const std::string& path);

// The permission bits the user's umask takes away from new files (022 mostly).
std::uint32_t FileCreationMask();

// Errors after which no further file can be written to the same destination:
// the file system is read-only, full, or the user's quota is spent.
bool FailsEveryWrite(int error);

}  // namespace velmora::platform
