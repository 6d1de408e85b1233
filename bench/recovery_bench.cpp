// Recovers every file of two generated discs with the engine and with three
// extractors, side by side: 60,000 small files in 3,000 folders, and three
// files of 150 MiB. Prints seconds, CPU seconds, MB/s of file data, files/s,
// peak memory and the engine's time over each peer's.
//
//   build/bench/recovery_bench [WORKDIR] [--warm] [--repeat N]
//
// WORKDIR (default: the temp folder's velmora-bench) keeps the generated
// images (about 740 MB) for the next run; each run's output is written there,
// counted and removed (RunRounds; the 60,000 files' outputs stay until the last
// round, about 1.2 GB a round). --warm has the image in the page cache for
// every run instead of none of it (RunPolicy); --repeat sets the counted
// rounds (3).
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "BenchInput.h"
#include "Measurement.h"
#include "QuietHost.h"
#include "ResultTable.h"
#include "RunPolicy.h"
#include "host/AppState.h"
#include "disc/CCDReader.h"
#include "entries/EntryTable.h"
#include "image/ImageSource.h"
#include "recovery/RecoveryEngine.h"
#include "scan/ScanProcess.h"
#include "platform/Machine.h"
#include "select/RecoveryFilterList.h"

namespace fs = std::filesystem;
using namespace velmora;
using bench::Run;

namespace {

constexpr int kFolders = 3000;
constexpr int kFilesPerFolder = 20;
constexpr std::uint64_t kLargestSmallFile = 6144;
constexpr int kLargeFiles = 3;
constexpr std::uint64_t kLargeFileBytes = 150ull << 20;

struct Workload {
  std::string title;
  fs::path image;
  bench::TreeTotals expected;
};

// 1 to kLargestSmallFile bytes, the same for (folder, file) on every run.
std::uint64_t SmallFileSize(int folder, int file) {
  std::uint64_t h = static_cast<std::uint64_t>(folder) * 7919u + static_cast<std::uint64_t>(file);
  h = (h ^ (h >> 16)) * 0x45D9F3Bu;
  h = (h ^ (h >> 16)) * 0x45D9F3Bu;
  return 1 + (h ^ (h >> 16)) % kLargestSmallFile;
}

fs::path SmallFilePath(const fs::path& tree, int folder, int file) {
  return tree / ("group" + std::to_string(folder / 100)) / ("folder_" + std::to_string(folder)) /
         ("document_" + std::to_string(file) + ".txt");
}

Workload SmallFiles(const fs::path& work) {
  Workload load{"60,000 small files in 3,000 folders", work / "recovery-small.iso", {}};
  for (int d = 0; d < kFolders; ++d) {
    for (int f = 0; f < kFilesPerFolder; ++f) {
      ++load.expected.files;
      load.expected.bytes += SmallFileSize(d, f);
    }
  }
  if (fs::exists(load.image)) return load;
  const fs::path tree = work / "tree-small";
  fs::remove_all(tree);
  for (int d = 0; d < kFolders; ++d) {
    fs::create_directories(SmallFilePath(tree, d, 0).parent_path());
    for (int f = 0; f < kFilesPerFolder; ++f) {
      bench::WritePseudoRandomFile(SmallFilePath(tree, d, f), SmallFileSize(d, f),
                                   static_cast<std::uint64_t>(d * kFilesPerFolder + f));
    }
  }
  bench::MakeIso(tree, load.image);
  fs::remove_all(tree);
  return load;
}

Workload LargeFiles(const fs::path& work) {
  Workload load{"3 files of 150 MiB", work / "recovery-large.iso",
                {kLargeFiles, kLargeFiles * kLargeFileBytes}};
  if (fs::exists(load.image)) return load;
  const fs::path tree = work / "tree-large";
  fs::remove_all(tree);
  fs::create_directories(tree / "VIDEO");
  for (int i = 0; i < kLargeFiles; ++i) {
    bench::WritePseudoRandomFile(tree / "VIDEO" / ("take_" + std::to_string(i) + ".bin"),
                                 kLargeFileBytes, 1000u + static_cast<std::uint64_t>(i));
  }
  bench::MakeIso(tree, load.image);
  fs::remove_all(tree);
  return load;
}

std::string Check(const Run& run, const fs::path& out, const bench::TreeTotals& expected) {
  const bench::TreeTotals got = bench::CountTree(out);
  if (got != expected) {
    return "MISMATCH: " + std::to_string(got.files) + " files, " + std::to_string(got.bytes) +
           " bytes";
  }
  return run.ok ? "ok" : "exit status not 0";
}

struct EngineRecord {
  std::vector<double> scanSeconds;
  disc::RecoverySummary summary;  // of the last run
};

// Open Image, the scan and Recover All, as the command-line tool runs them.
Run RecoverWithEngine(const fs::path& image, const fs::path& out, EngineRecord& record) {
  const bench::EngineClock clock;
  auto machine = platform::CreateHostMachine();
  AppState state;
  disc::EntryTable table;
  bench::QuietHost host;
  host.prompts().destination = out.string();
  disc::CCDReader reader(*machine);
  disc::ScanProcess scan(reader, state, table, host);
  std::string reason;
  if (disc::OpenImageSource(reader, *machine, image.string(), reason) !=
      disc::ImageOpenResult::kOpened) {
    std::cerr << reason << "\n";
    return clock.Finish(false);
  }
  state.readingImage = true;
  scan.Scan();
  record.scanSeconds.push_back(clock.Finish(true).seconds);
  state.recoverAll = true;
  disc::RecoveryEngine engine(reader, *machine, state, host, scan);
  const select::RecoveryFilterList noFilter;
  record.summary = engine.Run(table, noFilter);
  const disc::RecoverySummary& summary = record.summary;
  return clock.Finish(summary.started && !summary.aborted && summary.filesFailed == 0 &&
                      summary.filesPartial == 0);
}

void RunWorkload(const Workload& load, const fs::path& work, const bench::RunPolicy& policy) {
  const std::string image = load.image.string();
  const auto output = [&](const std::string& tool) { return work / ("recovery-out-" + tool); };
  const auto checkTree = [&](const fs::path& out) {
    return [&load, out](const Run& run) { return Check(run, out, load.expected); };
  };
  const fs::path out7zz = output("7zz");
  const fs::path outBsdtar = output("bsdtar");
  const fs::path outOsirrox = output("osirrox");
  const fs::path outEngine = output("velmora");
  EngineRecord record;

  std::vector<bench::Tool> tools = {
      {"7zz x",
       out7zz,
       [&] { return bench::RunCommand({"7zz", "x", "-y", "-o" + out7zz.string(), image}); },
       checkTree(out7zz),
       false,
       ""},
      {"bsdtar -x",
       outBsdtar,
       [&] {
         // bsdtar wants its -C folder to exist; the others make theirs.
         fs::create_directories(outBsdtar);
         return bench::RunCommand({"bsdtar", "-xf", image, "-C", outBsdtar.string()});
       },
       checkTree(outBsdtar),
       false,
       ""},
      {"osirrox -extract",
       outOsirrox,
       [&] {
         return bench::RunCommand(
             {"osirrox", "-indev", image, "-extract", "/", outOsirrox.string()});
       },
       checkTree(outOsirrox),
       false,
       ""},
      {"velmora open+scan+recover",
       outEngine,
       [&] {
         const Run run = RecoverWithEngine(load.image, outEngine, record);
         bench::ReleaseFreedMemory();
         return run;
       },
       [&](const Run& run) {
         const std::string verdict = Check(run, outEngine, load.expected);
         if (verdict != "ok" || run.ok) return verdict;
         const disc::RecoverySummary& summary = record.summary;
         return "recovered " + std::to_string(summary.filesRecovered) + ", partly " +
                std::to_string(summary.filesPartial) + ", failed " +
                std::to_string(summary.filesFailed);
       },
       true,
       "velmora/peer"},
  };
  const std::vector<bench::Row> rows = bench::RunRounds(policy, load.image, tools, load.expected.files > 1000);

  std::printf("\n%s: %s (%ju MB image, %ju files, %ju MB of file data)\n", load.title.c_str(),
              image.c_str(), fs::file_size(load.image) / 1'000'000, load.expected.files,
              load.expected.bytes / 1'000'000);
  bench::PrintTable(rows, load.expected.bytes, load.expected.files);
  std::sort(record.scanSeconds.begin(), record.scanSeconds.end());
  std::printf("velmora's open and scan took %.3f s (median)\n",
              record.scanSeconds[record.scanSeconds.size() / 2]);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  fs::path work = fs::temp_directory_path() / "velmora-bench";
  bool warm = false;
  int repeats = 3;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--warm") {
      warm = true;
    } else if (arg == "--repeat" && i + 1 < argc) {
      repeats = std::atoi(argv[++i]);
    } else {
      work = arg;
    }
  }
  fs::create_directories(work);
  // Two images, a source tree while one is made, and the small files' outputs
  // of every round, about 1.2 GB a round.
  const bench::RunPolicy policy(work, warm, repeats);
  bench::RequireFreeSpace(work, 1'300'000'000 + static_cast<std::uintmax_t>(policy.repeats()) *
                                                    1'200'000'000);
  std::printf("recovery of every file; %s\n", policy.Describe().c_str());
  std::printf("MB/s counts file data (10^6 bytes); velmora/peer above 1: velmora is slower\n");
  std::fflush(stdout);
  // The small files last: removing their outputs leaves the file system slow
  // to create files for minutes (RunPolicy).
  RunWorkload(LargeFiles(work), work, policy);
  RunWorkload(SmallFiles(work), work, policy);
  return 0;
}
