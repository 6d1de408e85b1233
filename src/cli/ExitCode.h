#pragma once

namespace velmora::cli {

// What velmora-cli tells the shell; the help text lists the same.
enum ExitCode : int {
  kExitOk = 0,
  kExitPartial = 1,    // the command ran, but part of its work failed
  kExitBadInput = 2,   // a usage error, or a source that cannot be used
  kExitNoDisc = 3,     // the scan found no CDROM, or only an entirely corrupted one
  kExitStopped = 130,  // Ctrl-C, as the shell counts a program ended by SIGINT
};

}  // namespace velmora::cli
