#pragma once

#include <optional>
#include <string>

#include "CliOptions.h"

namespace velmora::cli {

// Checks the files --log and --report are to write, before any work: neither
// may be a fifo, a socket, a device other than the standard output or error,
// a folder or a link that leads nowhere, the source, the image OUT or lie
// inside DEST, the two may not be one file, and an existing file is replaced
// only when it is a log or report this tool wrote, or with --overwrite.
// Returns the refusal, one line, or nothing.
std::optional<std::string> RefuseWrittenFiles(const CliOptions& options);

}  // namespace velmora::cli
