#pragma once

#include <string>

#include "platform/Machine.h"

namespace velmora::platform {

// The OS text for an errno value ("Input/output error").
std::string ErrnoText(int error);

// The one line the user sees when opening path failed with errno error: the
// path, then what went wrong and, where the user can fix it, how.
OpenError MakeOpenError(const std::string& path, int error);

}  // namespace velmora::platform
