#include "StopSignal.h"

#include <csignal>

namespace velmora::cli {
namespace {

volatile std::sig_atomic_t stopSignal = 0;

void OnInterrupt(int signal) {
  stopSignal = 1;
  std::signal(signal, SIG_DFL);
}

}  // namespace

// SIGTERM (what `kill` and service managers send) stops as Ctrl-C does: the
// image gets its track list, the recovery its log and report.
void InstallStopSignal() {
  std::signal(SIGINT, OnInterrupt);
  std::signal(SIGTERM, OnInterrupt);
}

bool StopSignalRaised() { return stopSignal != 0; }

}  // namespace velmora::cli
