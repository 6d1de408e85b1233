#pragma once

namespace velmora::platform {

// Whether standard output and standard error go to a terminal: the command-line
// tool refuses binary output there, and picks its listing format and progress
// line by it.
bool StdoutIsTerminal();
bool StderrIsTerminal();

}  // namespace velmora::platform
