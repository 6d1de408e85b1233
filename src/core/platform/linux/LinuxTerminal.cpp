#include <unistd.h>

#include "platform/Terminal.h"

namespace velmora::platform {

bool StdoutIsTerminal() { return isatty(STDOUT_FILENO) == 1; }

bool StderrIsTerminal() { return isatty(STDERR_FILENO) == 1; }

}  // namespace velmora::platform
