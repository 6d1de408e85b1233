#include "ListCommand.h"

#include <iostream>

#include "ExitCode.h"
#include "CliSession.h"
#include "DisplayedTable.h"
#include "platform/Terminal.h"
#include "browse/EntryListing.h"
#include "entries/EntryTable.h"
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
  CliSession session(options, machine, console);
  if (!session.OpenSource()) return session.openFailure;
  session.scan.Scan();
  if (!session.NamesFound()) return session.SaveLog(kExitBadInput);
  // The count of entries found stays above the listing; a scan that found
  // nothing leaves no line.
  console.ClearProgress();
  if (const std::string count = session.host.LastProgress(); !count.empty()) {
    console.KeepProgress(count);
  }
  // Releases the tray the scan locked before the listing goes out.
  session.reader.CloseDiscReader();
  DisplayedTable displayed(session.table, options.mask);
  WriteListing(displayed.table(), options.format);

  int result = kExitOk;
  if (const std::optional<int> failure = session.DiscFailure()) {
    // A disc that went while it was read: the listing holds what was found.
    result = *failure;
  } else if (session.host.stopped()) {
    console.Message("stopped; the listing holds what was found until then");
    result = kExitStopped;
  } else if (session.SayScanDamage()) {
    // Folders and entries that did not read are damage, named in the log.
    result = kExitPartial;
  }
  if (!std::cout) {
    console.Message("cannot write the listing to standard output");
    if (result == kExitOk) result = kExitPartial;
  }
  return session.SaveLog(result);
}

}  // namespace velmora::cli
