#pragma once

namespace velmora::cli {

// Ctrl-C (SIGINT) or SIGTERM asks the running command to stop; a second one
// ends the program the usual way, should the first not be heard.
void InstallStopSignal();
bool StopSignalRaised();

}  // namespace velmora::cli
