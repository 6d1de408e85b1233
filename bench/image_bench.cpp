// Copies a generated disc of about 300 MB into an image file with the engine's
// Create Image, reading the disc once as an image file and once through the
// emulated drive, side by side with dd and ddrescue. Prints seconds, CPU
// seconds, MB/s, peak memory and each engine run's time over each row's.
//
//   build/bench/image_bench [WORKDIR] [--warm] [--repeat N]
//
// WORKDIR (default: the temp folder's velmora-bench) keeps the generated disc
// (about 320 MB) for the next run; each run's copy is written there, compared
// and removed (RunRounds). --warm has the disc in the page cache for every run
// instead of none of it (RunPolicy); --repeat sets the counted rounds (3).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
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
#include "image/ImageCreator.h"
#include "image/ImageSource.h"
#include "scan/ScanProcess.h"
#include "platform/Machine.h"
#include "platform/emulated/EmulatedMachine.h"

namespace fs = std::filesystem;
using namespace velmora;
using bench::Run;

namespace {

constexpr int kLargeFiles = 5;
constexpr std::uint64_t kLargeFileBytes = 60ull << 20;
constexpr int kSmallFiles = 500;

fs::path MakeDisc(const fs::path& work) {
  const fs::path image = work / "image-disc.iso";
  if (fs::exists(image)) return image;
  const fs::path tree = work / "tree-image";
  fs::remove_all(tree);
  fs::create_directories(tree / "MEDIA");
  fs::create_directories(tree / "DOCS");
  for (int i = 0; i < kLargeFiles; ++i) {
    bench::WritePseudoRandomFile(tree / "MEDIA" / ("clip_" + std::to_string(i) + ".bin"),
                                 kLargeFileBytes, 2000u + static_cast<std::uint64_t>(i));
  }
  for (int i = 0; i < kSmallFiles; ++i) {
    bench::WritePseudoRandomFile(tree / "DOCS" / ("note_" + std::to_string(i) + ".txt"),
                                 1 + static_cast<std::uint64_t>(i) * 97 % 6144,
                                 3000u + static_cast<std::uint64_t>(i));
  }
  bench::MakeIso(tree, image);
  fs::remove_all(tree);
  return image;
}

// The copy holds the disc's bytes first (the engine's .cd file adds its
// trailer block after them).
std::string CompareCopy(const Run& run, const fs::path& image, const fs::path& copy) {
  std::error_code error;
  const std::uintmax_t size = fs::file_size(image);
  if (fs::file_size(copy, error) < size || error) return "MISMATCH: copy too short";
  if (!bench::RunCommand({"cmp", "-n", std::to_string(size), image.string(), copy.string()}).ok) {
    return "MISMATCH: bytes differ";
  }
  return run.ok ? "ok" : "exit status not 0";
}

enum class Source { kImageFile, kEmulatedDrive };

// Create Image on a disc that is either the image file opened in place of the
// drive, or the image in the emulated drive, opened as the programs open a
// drive.
Run CreateImageWithEngine(Source source, const fs::path& image, const fs::path& out,
                          disc::ImageOutcome& outcome) {
  const bench::EngineClock clock;
  std::unique_ptr<platform::Machine> machine;
  AppState state;
  bench::QuietHost host;
  std::string reason;
  if (source == Source::kImageFile) {
    machine = platform::CreateHostMachine();
  } else {
    auto disc = platform::emulated::EmulatedDisc::FromImage(image.string(), reason);
    if (!disc) {
      std::cerr << reason << "\n";
      return clock.Finish(false);
    }
    auto emulated = std::make_unique<platform::emulated::EmulatedMachine>(1);
    emulated->InsertDisc(0, std::move(*disc));
    machine = std::move(emulated);
  }
  disc::CCDReader reader(*machine);
  if (source == Source::kImageFile) {
    if (disc::OpenImageSource(reader, *machine, image.string(), reason) !=
        disc::ImageOpenResult::kOpened) {
      std::cerr << reason << "\n";
      return clock.Finish(false);
    }
    state.readingImage = true;
  } else {
    if (!reader.OpenSelectedDrive(host.prompts(), state)) {
      std::cerr << reader.lastOpenError().reason << "\n";
      return clock.Finish(false);
    }
    state.drivesKnown = true;
  }
  disc::EntryTable table;
  disc::ScanProcess scan(reader, state, table, host);
  disc::ImageCreator creator(reader, state, table, scan, host);
  outcome = creator.CreateImage(out.string());
  return clock.Finish(outcome.result == disc::ImageResult::kCompleted &&
                      outcome.unreadableSectors == 0 && outcome.partialSectors == 0);
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
  // The disc, its source tree while it is made, and one copy.
  bench::RequireFreeSpace(work, 1'000'000'000);
  const bench::RunPolicy policy(work, warm, repeats);
  const fs::path image = MakeDisc(work);
  const std::uint64_t bytes = fs::file_size(image);
  const fs::path ddCopy = work / "image-out-dd.img";
  const fs::path rescueCopy = work / "image-out-ddrescue.img";
  const fs::path rescueMap = work / "image-out-ddrescue.map";
  const fs::path fileCopy = work / "image-out-file.cd";
  const fs::path driveCopy = work / "image-out-drive.cd";
  disc::ImageOutcome outcome;
  const auto compareWith = [&](const fs::path& copy) {
    return [&image, copy](const Run& run) { return CompareCopy(run, image, copy); };
  };
  const auto engine = [&](Source source, const fs::path& copy) {
    return [&, source, copy] {
      const Run run = CreateImageWithEngine(source, image, copy, outcome);
      bench::ReleaseFreedMemory();
      return run;
    };
  };
  const auto engineCheck = [&](const fs::path& copy) {
    return [&, copy](const Run& run) {
      std::string seen = CompareCopy(run, image, copy);
      if (seen == "ok" && outcome.blocks != bytes / 2048) {
        seen = "MISMATCH: " + std::to_string(outcome.blocks) + " blocks copied";
      } else if (seen == "ok" && !run.ok) {
        seen = "result " + std::to_string(static_cast<int>(outcome.result));
        seen += ", " + std::to_string(outcome.unreadableSectors) + " unreadable, ";
        seen += outcome.reason;
      }
      return seen;
    };
  };

  const std::vector<bench::Tool> tools = {
      {"dd bs=2048",
       ddCopy,
       [&] {
         return bench::RunCommand(
             {"dd", "if=" + image.string(), "of=" + ddCopy.string(), "bs=2048"});
       },
       compareWith(ddCopy),
       false,
       ""},
      {"ddrescue",
       rescueCopy,
       [&] {
         fs::remove(rescueMap);
         return bench::RunCommand({"ddrescue", image.string(), rescueCopy.string(),
                                   rescueMap.string()});
       },
       compareWith(rescueCopy),
       false,
       ""},
      {"velmora Create Image (image file)", fileCopy, engine(Source::kImageFile, fileCopy),
       engineCheck(fileCopy), true, "file/row"},
      {"velmora Create Image (emulated drive)", driveCopy,
       engine(Source::kEmulatedDrive, driveCopy), engineCheck(driveCopy), true, "drive/row"},
  };
  const std::vector<bench::Row> rows = bench::RunRounds(policy, image, tools, false);
  fs::remove(rescueMap);

  std::printf("imaging a disc; %s\n", policy.Describe().c_str());
  std::printf("disc: %s (%ju MB, %ju blocks)\n", image.c_str(), bytes / 1'000'000, bytes / 2048);
  std::printf("file/row, drive/row: velmora's time from the image file or through the emulated\n"
              "drive over that row's time; above 1: velmora is slower\n");
  bench::PrintTable(rows, bytes, 0);
  return 0;
}
