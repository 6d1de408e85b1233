#include "StopSignal.h"

#include <csignal>

namespace velmora::cli {
namespace {

volatile std::sig_atomic_t stopSignal = 0;

void OnInterrupt(int) {
  stopSignal = 1;
  std::signal(SIGINT, SIG_DFL);
}

}  // namespace

void InstallStopSignal() { std::signal(SIGINT, OnInterrupt); }

bool StopSignalRaised() { return stopSignal != 0; }

}  // namespace velmora::cli
