#pragma once

// One run's time, CPU time and peak memory: of a peer run as a child process,
// or of the engine run in this process.

#include <fcntl.h>
#include <malloc.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace velmora::bench {

struct Run {
  double seconds = 0;
  double cpuSeconds = 0;  // user and system time
  long peakKiB = 0;
  // For a child: what this process held when it was spawned, the least peak
  // the child can show.
  long floorKiB = 0;
  bool ok = false;  // exit status 0, or the engine's own success
};

// Resets this process's peak resident size to what it holds now, so that an
// in-process engine run reports its own peak and not an earlier one's.
inline bool ResetPeakMemory() {
  std::ofstream control("/proc/self/clear_refs");
  control << "5\n";
  control.flush();
  return static_cast<bool>(control);
}

inline long PeakMemoryKiB() {
  rusage self{};
  getrusage(RUSAGE_SELF, &self);
  return self.ru_maxrss;
}

inline double CpuSecondsOf(const rusage& usage) {
  const auto seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
  };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The CPU time this process has used so far, in all its threads.
inline double SelfCpuSeconds() {
  rusage self{};
  getrusage(RUSAGE_SELF, &self);
  return CpuSecondsOf(self);
}

// Gives the heap that the engine freed back to the system, so that what this
// process holds afterwards raises neither the next engine run's peak nor the
// floor of the next peer's.
inline void ReleaseFreedMemory() { malloc_trim(0); }

// Times an engine run in this process: Start before it, Finish after it.
class EngineClock {
 public:
  EngineClock()
      : peakReset_(ResetPeakMemory()),
        cpuBefore_(SelfCpuSeconds()),
        start_(std::chrono::steady_clock::now()) {}

  // ok: the engine reported success. A peak that could not be reset is not the
  // run's own, and the run does not count as ok.
  Run Finish(bool ok) const {
    Run run;
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    run.cpuSeconds = SelfCpuSeconds() - cpuBefore_;
    run.peakKiB = PeakMemoryKiB();
    run.ok = ok && peakReset_;
    return run;
  }

 private:
  bool peakReset_;
  double cpuBefore_;
  std::chrono::steady_clock::time_point start_;
};

// Runs argv with its output discarded. The peak memory comes from wait4; the
// kernel starts a child's peak at its parent's peak when it execs, so the
// parent's is reset first, to what it holds at the spawn (floorKiB).
inline Run RunCommand(std::vector<std::string> argv) {
  std::vector<char*> args;
  for (auto& a : argv) args.push_back(a.data());
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  Run run;
  ResetPeakMemory();
  run.floorKiB = PeakMemoryKiB();
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  if (posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ) != 0) {
    std::cerr << argv[0] << " could not be started\n";
    posix_spawn_file_actions_destroy(&actions);
    return run;
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  posix_spawn_file_actions_destroy(&actions);
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  run.cpuSeconds = CpuSecondsOf(usage);
  run.peakKiB = usage.ru_maxrss;
  run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return run;
}

}  // namespace velmora::bench
