// Times the selection tools on the entry table of a scanned disc: Find over
// every entry, Find with Find Next through every hit, and the file mask built
// anew. Prints one line per operation, tab-separated: name, median, fastest
// and slowest seconds of the counted runs, and the entries it worked on.
//
//   build/bench/select_bench IMAGE [--repeat N]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "QuietHost.h"
#include "disc/CCDReader.h"
#include "entries/EntryTable.h"
#include "host/AppState.h"
#include "image/ImageSource.h"
#include "platform/Machine.h"
#include "scan/ScanProcess.h"
#include "select/ApplyMask.h"
#include "select/CivilDate.h"
#include "select/FileMask.h"
#include "select/FindSearch.h"

using namespace velmora;

namespace {

// One uncounted run first, then repeats counted runs; the seconds sorted.
std::vector<double> TimeRuns(int repeats, const std::function<std::size_t()>& work,
                             std::size_t& result) {
  result = work();
  std::vector<double> seconds;
  for (int i = 0; i < repeats; ++i) {
    const auto start = std::chrono::steady_clock::now();
    result = work();
    seconds.push_back(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(seconds.begin(), seconds.end());
  return seconds;
}

void Print(const std::string& name, const std::vector<double>& seconds, std::size_t result) {
  std::printf("%s\t%.6f\t%.6f\t%.6f\t%zu\n", name.c_str(), seconds[seconds.size() / 2],
              seconds.front(), seconds.back(), result);
}

// Every hit of pattern, Find and then Find Next until it runs out.
std::size_t FindAll(const disc::EntryTable& table, std::u16string_view pattern, AppState& state) {
  select::FindSearch search;
  std::size_t hits = 0;
  for (select::FindStep step = search.Start(table, pattern, false, state); step.hit;
       step = search.Next(table, state)) {
    ++hits;
  }
  return hits;
}

std::size_t MaskedEntries(const disc::EntryTable& table, std::u16string maskText) {
  select::MaskCriteria criteria;
  criteria.maskText = std::move(maskText);
  return select::ApplyMask(table, select::FileMask(criteria, select::TodayUtc())).table.size();
}

}  // namespace

int main(int argc, char** argv) {
  std::string image;
  int repeats = 7;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--repeat" && i + 1 < argc) {
      repeats = std::max(1, std::atoi(argv[++i]));
    } else {
      image = arg;
    }
  }
  if (image.empty()) {
    std::cerr << "usage: select_bench IMAGE [--repeat N]\n";
    return 2;
  }
  auto machine = platform::CreateHostMachine();
  AppState state;
  disc::EntryTable table;
  bench::QuietHost host;
  disc::CCDReader reader(*machine);
  disc::ScanProcess scan(reader, state, table, host);
  std::string reason;
  if (disc::OpenImageSource(reader, *machine, image, reason) != disc::ImageOpenResult::kOpened) {
    std::cerr << reason << "\n";
    return 1;
  }
  state.readingImage = true;
  scan.Scan();
  reader.CloseDiscReader();
  std::printf("entries\t%zu\n", table.size());

  std::size_t result = 0;
  // A name no entry has: the search walks the whole table.
  auto seconds = TimeRuns(repeats, [&] { return FindAll(table, u"*.none", state); }, result);
  Print("find, no hit", seconds, table.size());
  seconds = TimeRuns(repeats, [&] { return FindAll(table, u"document_1?.txt", state); }, result);
  Print("find and find next, every hit", seconds, result);
  // A mask every file passes: the masked table is as large as the complete one.
  seconds = TimeRuns(repeats, [&] { return MaskedEntries(table, u"*.txt"); }, result);
  Print("mask rebuild, all pass", seconds, result);
  seconds = TimeRuns(repeats, [&] { return MaskedEntries(table, u"document_7.txt"); }, result);
  Print("mask rebuild, one file a folder", seconds, result);
  return 0;
}
