#pragma once

#include "CliOptions.h"
#include "Console.h"
#include "platform/Machine.h"

namespace velmora::cli {

// velmora-cli find SOURCE PATTERN: scans the disc as ls does and prints the
// path of every entry Find hits, in Find order (the first hit, then every Find
// Next), one per line. Exit status 1 when nothing matched.
int RunFind(const CliOptions& options, platform::Machine& machine, Console& console);

}  // namespace velmora::cli
