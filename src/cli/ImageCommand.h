#pragma once

#include "CliOptions.h"
#include "Console.h"
#include "platform/Machine.h"

namespace velmora::cli {

// velmora-cli image SOURCE OUT: copies the disc sector by sector into the .cd
// image OUT (".cd" appended unless OUT ends in it); with --overwrite an existing
// image is replaced, with --log the message log is saved. Returns the exit code.
int RunImage(const CliOptions& options, platform::Machine& machine, Console& console);

}  // namespace velmora::cli
