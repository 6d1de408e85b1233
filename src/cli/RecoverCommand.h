#pragma once

#include "CliOptions.h"
#include "Console.h"
#include "platform/Machine.h"

namespace velmora::cli {

// velmora-cli recover SOURCE DEST: scans the disc as ls does, then saves every
// file (or those --select picks, through the --include or --exclude filter)
// into the folder DEST, made when only DEST itself is missing; --report and
// --log save the recovery report and the message log. Returns the exit code.
int RunRecover(const CliOptions& options, platform::Machine& machine, Console& console);

}  // namespace velmora::cli
