#include "platform/linux/OsError.h"

#include <cerrno>
#include <system_error>

namespace velmora::platform {

std::string ErrnoText(int error) { return std::system_category().message(error); }

OpenError MakeOpenError(const std::string& path, int error) {
  OpenError result;
  result.error = error;
  switch (error) {
    case ENOENT:
      result.reason = path + " does not exist";
      break;
    case ENOMEDIUM:
      result.reason = path + ": no disc in the drive";
      break;
    case EACCES:
    case EPERM:
      result.reason = path + ": " + ErrnoText(error) +
                      "; the user needs read access to the device (for example membership in "
                      "the cdrom group)";
      break;
    default:
      result.reason = path + ": " + ErrnoText(error);
      break;
  }
  return result;
}

}  // namespace velmora::platform
