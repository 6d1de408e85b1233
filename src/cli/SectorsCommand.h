#pragma once

#include "CliOptions.h"
#include "Console.h"
#include "platform/Machine.h"

namespace velmora::cli {

// velmora-cli sectors SOURCE FIRST COUNT: the sectors as 2048-byte blocks on
// standard output, 0xF6 where they did not read. Returns the exit code.
int RunSectors(const CliOptions& options, platform::Machine& machine, Console& console);

}  // namespace velmora::cli
