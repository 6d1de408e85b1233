#pragma once

#include <string>
#include <vector>

namespace velmora::testing {

struct CommandResult {
  int exitCode = -1;  // the program's exit status; 128 + signal number when a signal ended it
  std::string out;    // everything written to stdout
  std::string err;    // everything written to stderr
};

// Runs argv[0], looked up on PATH, with the arguments as given and no shell in between.
// environment holds "NAME=value" settings laid over the test's own environment.
// Throws std::runtime_error when the program is not installed or cannot be started.
CommandResult RunCommand(const std::vector<std::string>& argv,
                         const std::vector<std::string>& environment = {});

// RunCommand, and throws std::runtime_error with the command line and its stderr
// when the exit code is not 0.
CommandResult RunChecked(const std::vector<std::string>& argv,
                         const std::vector<std::string>& environment = {});

}  // namespace velmora::testing
