// Lists a generated disc of about 60,000 files in 3,000 folders with the engine
// and with isoinfo, side by side, and prints entries per second and peak memory.
//
//   build/bench/listing_bench [WORKDIR]
#include <sys/resource.h>

#include <vector>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "host/AppState.h"
#include "disc/CCDReader.h"
#include "entries/EntryTable.h"
#include "image/ImageSource.h"
#include "scan/ScanProcess.h"
#include "platform/Machine.h"
#include "Measurement.h"
#include "QuietHost.h"

namespace fs = std::filesystem;
using namespace velmora;

namespace {

constexpr int kFolders = 3000;
constexpr int kFilesPerFolder = 20;

fs::path MakeImage(const fs::path& work) {
  fs::path image = work / "listing.iso";
  if (fs::exists(image)) return image;
  fs::path tree = work / "tree";
  fs::remove_all(tree);
  for (int d = 0; d < kFolders; ++d) {
    fs::path folder = tree / ("group" + std::to_string(d / 100)) / ("folder_" + std::to_string(d));
    fs::create_directories(folder);
    for (int f = 0; f < kFilesPerFolder; ++f) {
      std::ofstream(folder / ("document_" + std::to_string(f) + ".txt")) << d << ':' << f << '\n';
    }
  }
  std::string command = "xorriso -as mkisofs -quiet -J -R -o '" + image.string() + "' '" +
                        tree.string() + "' >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) {
    std::cerr << "xorriso failed\n";
    std::exit(1);
  }
  fs::remove_all(tree);
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  fs::path work = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "velmora-bench";
  fs::create_directories(work);
  fs::path image = MakeImage(work);

  // The peers run first: a child's peak memory counts what it had before exec.
  const bench::Run isoinfo = bench::RunCommand({"isoinfo", "-l", "-i", image.string()});
  const bench::Run joliet = bench::RunCommand({"isoinfo", "-J", "-l", "-i", image.string()});

  auto machine = platform::CreateHostMachine();
  AppState state;
  disc::EntryTable table;
  bench::QuietHost host;
  disc::CCDReader reader(*machine);
  disc::ScanProcess scan(reader, state, table, host);
  std::string reason;
  auto start = std::chrono::steady_clock::now();
  if (disc::OpenImageSource(reader, *machine, image.string(), reason) != disc::ImageOpenResult::kOpened) {
    std::cerr << reason << "\n";
    return 1;
  }
  state.readingImage = true;
  scan.Scan();
  double engineSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  rusage self{};
  getrusage(RUSAGE_SELF, &self);


  double entries = static_cast<double>(table.size());
  std::printf("image: %s (%zu entries)\n", image.c_str(), table.size());
  std::printf("%-22s %10s %14s %12s\n", "reader", "seconds", "entries/s", "peak KiB");
  std::printf("%-22s %10.3f %14.0f %12ld\n", "velmora (Joliet)", engineSeconds, entries / engineSeconds, self.ru_maxrss);
  std::printf("%-22s %10.3f %14.0f %12ld\n", "isoinfo -l", isoinfo.seconds, entries / isoinfo.seconds, isoinfo.peakKiB);
  std::printf("%-22s %10.3f %14.0f %12ld\n", "isoinfo -J -l", joliet.seconds, entries / joliet.seconds, joliet.peakKiB);
  std::printf("ratio velmora / isoinfo -J -l time: %.2f\n", engineSeconds / joliet.seconds);
  return 0;
}
