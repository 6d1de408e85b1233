#include "DrivesCommand.h"

#include <iostream>

#include "ExitCode.h"

namespace velmora::cli {

int RunDrives(platform::Machine& machine, Console& console) {
  const std::vector<std::string> drives = machine.OpticalDrives();
  // Standard output lists drives and nothing else, so a script reading it
  // never takes a message for a drive.
  if (drives.empty()) {
    console.Message("no optical drive found");
    return kExitNoDisc;
  }
  for (std::size_t i = 0; i < drives.size(); ++i) std::cout << i << '\t' << drives[i] << '\n';
  return kExitOk;
}

}  // namespace velmora::cli
