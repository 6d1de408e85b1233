#pragma once

#include "platform/Machine.h"

namespace velmora::cli {

// velmora-cli drives: "INDEX<TAB>PATH" per optical drive. Returns the exit code.
int RunDrives(platform::Machine& machine);

}  // namespace velmora::cli
