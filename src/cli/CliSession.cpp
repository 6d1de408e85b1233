#include "CliSession.h"

#include <string>

#include "ExitCode.h"
#include "SourceOpener.h"
#include "log/LogReport.h"
#include "text/CodePage.h"

namespace velmora::cli {

bool CliSession::OpenSource() {
  // 8-bit names that are not UTF-8 are read in the chosen code page.
  if (options.codePage) text::SetEightBitCodePage(*options.codePage);
  std::string reason;
  if (cli::OpenSource(options.source, options.drive, machine, reader, prompts, state, reason)) {
    return true;
  }
  console.Message(reason);
  return false;
}

int CliSession::SaveLog(int result) {
  std::string reason;
  if (options.logPath && !log::WriteLogReport(*options.logPath, log.rows(), reason)) {
    console.Message("cannot save the log: " + reason);
    if (result == kExitOk) return kExitPartial;
  }
  return result;
}

}  // namespace velmora::cli
