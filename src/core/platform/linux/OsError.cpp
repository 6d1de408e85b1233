#include "platform/linux/OsError.h"

#include <sys/stat.h>

#include <cerrno>
#include <system_error>

#include "text/StringTable.h"

namespace velmora::platform {
namespace {

// A path that is a plain file or a folder: the user fixes its permissions, not
// a group membership. A path that cannot be examined is taken for a device.
bool IsFileOrFolder(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 && (S_ISREG(status.st_mode) || S_ISDIR(status.st_mode));
}

}  // namespace

std::string ErrnoText(int error) { return std::system_category().message(error); }

OpenError MakeOpenError(const std::string& path, int error) {
  OpenError result;
  result.error = error;
  switch (error) {
    case ENOENT:
      result.reason = text::FormatTextUtf8(text::kReasonDoesNotExist, {path});
      break;
    case ENOMEDIUM:
      result.reason = text::FormatTextUtf8(text::kReasonNoDisc, {path});
      break;
    case EACCES:
    case EPERM:
      result.reason = text::FormatTextUtf8(
          IsFileOrFolder(path) ? text::kReasonFileAccess : text::kReasonDeviceAccess,
          {path, ErrnoText(error)});
      break;
    default:
      result.reason = text::FormatTextUtf8(text::kReasonSystem, {path, ErrnoText(error)});
      break;
  }
  return result;
}

}  // namespace velmora::platform
