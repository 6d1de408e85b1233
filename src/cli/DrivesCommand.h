#pragma once

#include "Console.h"
#include "platform/Machine.h"

namespace velmora::cli {

// velmora-cli drives: "INDEX<TAB>PATH" per optical drive; with none, nothing on
// standard output, a line on the console and no CDROM's exit status.
int RunDrives(platform::Machine& machine, Console& console);

}  // namespace velmora::cli
