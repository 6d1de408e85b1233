#include "FindCommand.h"

#include <iostream>

#include "CliSession.h"
#include "DisplayedTable.h"
#include "ExitCode.h"
#include "browse/EntryListing.h"
#include "select/FindSearch.h"
#include "text/StringTable.h"
#include "text/Utf.h"

namespace velmora::cli {
namespace {

// Prints every hit but Root, which has no path; returns the number printed.
std::size_t PrintHits(const disc::EntryTable& table, const CliOptions& options, AppState& state) {
  const browse::EntryListing listing(table);
  select::FindSearch search;
  std::size_t hits = 0;
  for (select::FindStep step =
           search.Start(table, text::FromUtf8(options.pattern), options.matchCase, state);
       step.hit; step = search.Next(table, state)) {
    if (*step.hit == listing.root()) continue;
    ++hits;
    std::cout << listing.PathOf(*step.hit) << '\n';
  }
  std::cout.flush();
  return hits;
}

}  // namespace

int RunFind(const CliOptions& options, platform::Machine& machine, Console& console) {
  CliSession session(options, machine, console);
  if (!session.OpenSource()) return session.openFailure;
  session.scan.Scan();
  if (!session.NamesFound()) return session.SaveLog(kExitBadInput);
  console.ClearProgress();
  session.reader.CloseDiscReader();

  const std::optional<int> failure = session.DiscFailure();
  if (failure == kExitNoDisc) return session.SaveLog(kExitNoDisc);
  DisplayedTable displayed(session.table, options.mask);
  const std::size_t hits = PrintHits(displayed.table(), options, session.state);
  // A disc that went while it was read leaves the paths of what was found.
  int result = hits == 0 || failure ? kExitPartial : kExitOk;
  if (session.host.stopped()) {
    console.Message("stopped; the paths found are those of the entries read until then");
    result = kExitStopped;
  }
  if (!std::cout) {
    console.Message("cannot write the paths to standard output");
    if (result == kExitOk) result = kExitPartial;
  }
  return session.SaveLog(result);
}

}  // namespace velmora::cli
