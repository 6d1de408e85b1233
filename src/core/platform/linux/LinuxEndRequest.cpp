#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <initializer_list>

#include "platform/EndRequest.h"

namespace velmora::platform {
namespace {

int writeEnd = -1;

// Only async-signal-safe calls here: one byte down the pipe, and the signal
// back to its usual action for a second one.
void OnEndRequest(int number) {
  const int saved = errno;
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = write(writeEnd, &byte, 1);
  struct sigaction usual {};
  usual.sa_handler = SIG_DFL;
  sigemptyset(&usual.sa_mask);
  sigaction(number, &usual, nullptr);
  errno = saved;
}

}  // namespace

int WatchEndRequests() {
  int ends[2];
  if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return -1;
  writeEnd = ends[1];
  struct sigaction action {};
  action.sa_handler = OnEndRequest;
  sigemptyset(&action.sa_mask);
  // A read the drive is working on goes on when the handler returns.
  action.sa_flags = SA_RESTART;
  for (const int number : {SIGTERM, SIGHUP, SIGINT}) sigaction(number, &action, nullptr);
  return ends[0];
}

void AcknowledgeEndRequest(int descriptor) {
  char bytes[16];
  while (read(descriptor, bytes, sizeof bytes) > 0) {
  }
}

}  // namespace velmora::platform
