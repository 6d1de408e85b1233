#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <sys/types.h>
#include <vector>

namespace velmora::testing {

// A program started and left running, its standard output and error going to
// files, so that a test can wait for something it does (a file it makes), then
// signal it and collect its exit status. A program still running when the
// object goes is killed.
class BackgroundCommand {
 public:
  // Starts argv[0] (looked up on PATH); its output goes to outputs.out and
  // outputs.err. Throws std::runtime_error when it cannot be started.
  BackgroundCommand(const std::vector<std::string>& argv, const std::filesystem::path& outputs);
  ~BackgroundCommand();
  BackgroundCommand(const BackgroundCommand&) = delete;
  BackgroundCommand& operator=(const BackgroundCommand&) = delete;

  // True once file exists; false when the program ended first or limit passed
  // (a safety net for a test that would otherwise hang, not a measure).
  bool WaitForFile(const std::filesystem::path& file, std::chrono::seconds limit);
  void Signal(int signal);
  // The exit status; 128 + the signal's number when a signal ended it.
  int Wait();
  std::string err() const;

 private:
  pid_t pid_ = -1;
  std::filesystem::path outputs_;
  bool done_ = false;
  int status_ = -1;
};

}  // namespace velmora::testing
