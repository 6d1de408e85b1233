#include "ListCommand.h"

#include <iostream>

#include "CliHost.h"
#include "CliPrompts.h"
#include "ExitCode.h"
#include "SourceOpener.h"
#include "platform/Terminal.h"
#include "browse/EntryListing.h"
#include "disc/CCDReader.h"
#include "disc/EntryTable.h"
#include "disc/ScanProcess.h"
#include "log/LogReport.h"
#include "log/MessageLog.h"
#include "text/StringTable.h"

namespace velmora::cli {
namespace {

void WriteListing(const disc::EntryTable& table, ListFormat format) {
  if (format == ListFormat::kJson) {
    browse::WriteJsonListing(table, std::cout);
  } else if (format == ListFormat::kTsv || !platform::StdoutIsTerminal()) {
    browse::WriteTsvListing(table, std::cout);
  } else {
    browse::WriteTreeListing(table, std::cout);
  }
  std::cout.flush();
}

}  // namespace

int RunList(const CliOptions& options, platform::Machine& machine, Console& console) {
  AppState state;
  CliPrompts prompts(console, options);
  disc::CCDReader reader(machine);
  std::string reason;
  if (!OpenSource(options.source, options.drive, machine, reader, prompts, state, reason)) {
    console.Message(reason);
    return kExitBadInput;
  }

  log::MessageLog log;
  CliHost host(prompts, console, state, log);
  disc::EntryTable table;
  disc::ScanProcess scan(reader, state, table, host);
  scan.Scan();
  // A scan that ends before its display finishes leaves no progress line behind.
  console.ClearProgress();
  // Releases the tray the scan locked before the listing goes out.
  reader.CloseDiscReader();
  WriteListing(table, options.format);

  int result = kExitOk;
  if (prompts.ErrorShown(static_cast<int>(text::ErrorCode::kCdromNotFound))) {
    result = kExitNoDisc;
  } else if (host.stopped()) {
    console.Message("stopped; the listing holds what was found until then");
    result = kExitStopped;
  }
  if (!std::cout) {
    console.Message("cannot write the listing to standard output");
    if (result == kExitOk) result = kExitPartial;
  }
  if (options.logPath && !log::WriteLogReport(*options.logPath, log.rows(), reason)) {
    console.Message("cannot save the log: " + reason);
    if (result == kExitOk) result = kExitPartial;
  }
  return result;
}

}  // namespace velmora::cli
