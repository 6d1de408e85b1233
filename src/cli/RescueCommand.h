#pragma once

#include "CliOptions.h"
#include "Console.h"
#include "host/RescueProgress.h"
#include "platform/Machine.h"

namespace velmora::cli {

// velmora-cli image SOURCE OUT --rescue: the disc into the .cd image OUT in
// several passes, what matters first, with OUT.map beside it; the same command
// resumes from the map. image --merge OTHER OUT: what OUT still lacks, from
// another image (or drive) of the same disc. Returns the exit code.
int RunRescue(const CliOptions& options, platform::Machine& machine, Console& console);

// The progress line of a rescue, in the words and units ddrescue uses.
std::string RescueLine(const disc::RescueProgress& progress);

}  // namespace velmora::cli
