#pragma once

#include "CliOptions.h"
#include "Console.h"
#include "platform/Machine.h"

namespace velmora::cli {

// velmora-cli ls SOURCE: scans the disc and lists its entries; with --log it
// saves the message log. Returns the exit code.
int RunList(const CliOptions& options, platform::Machine& machine, Console& console);

}  // namespace velmora::cli
