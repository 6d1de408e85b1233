#include "DrivesCommand.h"

#include <iostream>

#include "ExitCode.h"

namespace velmora::cli {

int RunDrives(platform::Machine& machine) {
  const std::vector<std::string> drives = machine.OpticalDrives();
  // A machine without drives is an answer, not a failure.
  if (drives.empty()) std::cout << "no optical drive found\n";
  for (std::size_t i = 0; i < drives.size(); ++i) std::cout << i << '\t' << drives[i] << '\n';
  return kExitOk;
}

}  // namespace velmora::cli
