#include "platform/linux/OsError.h"

#include <cerrno>
#include <system_error>

#include "text/StringTable.h"

namespace velmora::platform {
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
      result.reason = text::FormatTextUtf8(text::kReasonDeviceAccess, {path, ErrnoText(error)});
      break;
    default:
      result.reason = text::FormatTextUtf8(text::kReasonSystem, {path, ErrnoText(error)});
      break;
  }
  return result;
}

}  // namespace velmora::platform
