#pragma once

namespace velmora::cli {

// Ctrl-C asks the running command to stop; the second Ctrl-C ends the program
// the usual way, should the first not be heard.
void InstallStopSignal();
bool StopSignalRaised();

}  // namespace velmora::cli
