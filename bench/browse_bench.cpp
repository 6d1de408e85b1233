// The browsing window on large discs: the scan of a generated disc of about
// 60,000 files (3,000 folders of 20) in the window beside `velmora-cli ls --tsv`
// on the same image, a folder of 10,000 files listed and sorted, and a click on
// Root's box on the large disc. Each figure includes the repaint that follows
// (the events are let through); the scans are the median of several runs.
//
//   QT_QPA_PLATFORM=offscreen build/bench/browse_bench [WORKDIR | IMAGE] [--runs N] [--scan-only]
//
// WORKDIR keeps the generated images between runs; an IMAGE is scanned instead
// of the generated 60,000-file disc. --scan-only leaves out the 10,000-row folder
// and the marking figures.
#include <QApplication>
#include <QElapsedTimer>
#include <QTreeView>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "Measurement.h"
#include "WindowBench.h"
#include "app/CMainFrame.h"
#include "app/CommandId.h"
#include "app/WindowPrompts.h"
#include "browse/BrowseViews.h"
#include "browse/CCDView.h"
#include "browse/CLeftView.h"
#include "browse/FileListModel.h"
#include "browse/FolderTreeModel.h"
#include "browse/MarkingController.h"
#include "platform/Heap.h"
#include "platform/emulated/EmulatedMachine.h"

namespace fs = std::filesystem;
using namespace velmora;

namespace {

constexpr int kGroups = 30;
constexpr int kFoldersPerGroup = 100;
constexpr int kFilesPerFolder = 20;
constexpr int kBigFolderFiles = 10000;

void WriteManyFolders(const fs::path& tree) {
  for (int d = 0; d < kGroups * kFoldersPerGroup; ++d) {
    const fs::path folder =
        tree / ("group" + std::to_string(d / kFoldersPerGroup)) / ("folder_" + std::to_string(d));
    fs::create_directories(folder);
    for (int f = 0; f < kFilesPerFolder; ++f) {
      std::ofstream(folder / ("document_" + std::to_string(f) + ".txt")) << d << ':' << f << '\n';
    }
  }
}

void WriteBigFolder(const fs::path& tree) {
  const fs::path folder = tree / "BIG";
  fs::create_directories(folder);
  for (int f = 0; f < kBigFolderFiles; ++f) {
    // Sizes and names in an order of their own, so that every sort moves rows.
    const int key = (f * 7919) % kBigFolderFiles;
    std::ofstream(folder / ("file_" + std::to_string(key) + ".dat")) << std::string(f % 97, 'x');
  }
}

struct Window {
  explicit Window(const fs::path& image) {
    std::string reason;
    auto disc = platform::emulated::EmulatedDisc::FromImage(image.string(), reason);
    if (!disc) {
      std::cerr << reason << "\n";
      std::exit(1);
    }
    machine.InsertDisc(0, std::move(*disc));
    frame = std::make_unique<gui::CMainFrame>(machine);
    frame->SetPrompts(&prompts);
    frame->resize(1280, 800);
    frame->show();
    QApplication::processEvents();
  }
  platform::emulated::EmulatedMachine machine;
  bench::WindowBenchPrompts prompts;
  std::unique_ptr<gui::CMainFrame> frame;
};

// Seconds that work takes, the repaint after it included.
double Time(const std::function<void()>& work) {
  QElapsedTimer clock;
  clock.start();
  work();
  QApplication::processEvents();
  return static_cast<double>(clock.nsecsElapsed()) / 1e9;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Options {
  fs::path work = fs::temp_directory_path() / "velmora-bench";
  fs::path image;  // empty: the generated disc
  int runs = 5;
  bool scanOnly = false;
};

Options ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--runs" && i + 1 < argc) {
      options.runs = std::max(1, std::atoi(argv[++i]));
    } else if (arg == "--scan-only") {
      options.scanOnly = true;
    } else if (fs::is_regular_file(arg)) {
      options.image = arg;
    } else {
      options.work = arg;
    }
  }
  return options;
}

// The seconds and the CPU seconds of an Open Drive in a new window on image;
// views false leaves the folder tree and the file list out of the scan (the
// table is not observed).
bench::Run TimeScan(const fs::path& image, bool views, std::size_t& entries) {
  Window window(image);
  if (!views) window.frame->table().SetObserver(nullptr);
  bench::Run run;
  const double cpuBefore = bench::SelfCpuSeconds();
  run.seconds = Time([&] { window.frame->Action(gui::kOpenDrive)->trigger(); });
  run.cpuSeconds = bench::SelfCpuSeconds() - cpuBefore;
  entries = window.frame->table().size();
  run.ok = window.frame->state().treeComplete;
  return run;
}

}  // namespace

int main(int argc, char** argv) {
  velmora::platform::PrepareHeapForLargeTables();
  QApplication app(argc, argv);
  const Options options = ParseOptions(argc, argv);
  fs::create_directories(options.work);
  const fs::path manyImage = options.image.empty()
                                 ? bench::MakeXorrisoImage(options.work, "browse-many.iso", WriteManyFolders)
                                 : options.image;

  std::vector<bench::Run> cliRuns, scanRuns, bareRuns;
  std::size_t entries = 0;
  for (int run = 0; run < options.runs; ++run) {
    cliRuns.push_back(bench::RunCommand({VELMORA_CLI_PATH, "ls", "--tsv", manyImage.string()}));
    scanRuns.push_back(TimeScan(manyImage, true, entries));
    // What the window costs without its views: the progress, the log and the pump.
    std::size_t bareEntries = 0;
    bareRuns.push_back(TimeScan(manyImage, false, bareEntries));
  }
  const auto all = [](const std::vector<bench::Run>& runs, double bench::Run::*figure) {
    std::vector<double> values;
    for (const bench::Run& run : runs) values.push_back(run.*figure);
    return values;
  };
  bool ok = true;
  for (const auto* runs : {&cliRuns, &scanRuns, &bareRuns}) {
    for (const bench::Run& run : *runs) ok = ok && run.ok;
  }

  std::printf("disc: %s (%zu entries), median of %d runs\n", manyImage.c_str(), entries,
              options.runs);
  std::printf("%-40s %8s %8s %8s %8s\n", "step", "median", "min", "max", "cpu");
  const auto row = [&](const char* step, const std::vector<bench::Run>& runs) {
    const std::vector<double> wall = all(runs, &bench::Run::seconds);
    std::printf("%-40s %8.3f %8.3f %8.3f %8.3f\n", step, Median(wall),
                *std::min_element(wall.begin(), wall.end()),
                *std::max_element(wall.begin(), wall.end()),
                Median(all(runs, &bench::Run::cpuSeconds)));
  };
  row("velmora-cli ls --tsv (child process)", cliRuns);
  row("Open Drive in the window", scanRuns);
  row("Open Drive, the views not following", bareRuns);
  std::printf(
      "ratio window scan / velmora-cli ls --tsv: %.2f (CPU time %.2f)\n",
      Median(all(scanRuns, &bench::Run::seconds)) / Median(all(cliRuns, &bench::Run::seconds)),
      Median(all(scanRuns, &bench::Run::cpuSeconds)) /
          Median(all(cliRuns, &bench::Run::cpuSeconds)));
  if (options.scanOnly) return ok ? 0 : 1;

  Window many(manyImage);
  many.frame->Action(gui::kOpenDrive)->trigger();
  gui::BrowseViews& views = many.frame->browse();
  const std::size_t root = views.treeModel().tree().root();
  const double markAll = Time([&] { views.marking().FolderBoxClicked(root); });
  const double unmarkAll = Time([&] { views.marking().FolderBoxClicked(root); });

  const fs::path bigImage = bench::MakeXorrisoImage(options.work, "browse-big.iso", WriteBigFolder);
  Window big(bigImage);
  big.frame->Action(gui::kOpenDrive)->trigger();
  gui::BrowseViews& bigViews = big.frame->browse();
  std::size_t folder = 0;
  for (std::size_t i = 0; i < big.frame->table().size(); ++i) {
    if (big.frame->table()[i].name == u"BIG") folder = i;
  }
  const double list = Time([&] { bigViews.tree().SelectFolder(folder); });
  const int rows = bigViews.listModel().rowCount();
  const double byName = Time([&] { bigViews.list().Arrange(0); });
  const double bySize = Time([&] { bigViews.list().Arrange(2); });
  const double byDate = Time([&] { bigViews.list().Arrange(3); });
  const double markFolder = Time([&] { bigViews.marking().FolderBoxClicked(folder); });

  std::printf("%-44s %10s\n", "step (one run)", "seconds");
  std::printf("%-44s %10.3f\n", "Root's box: mark everything", markAll);
  std::printf("%-44s %10.3f\n", "Root's box: unmark everything", unmarkAll);
  std::printf("folder of %d rows:\n", rows);
  std::printf("%-44s %10.3f\n", "list it", list);
  std::printf("%-44s %10.3f\n", "sort by Name", byName);
  std::printf("%-44s %10.3f\n", "sort by Size", bySize);
  std::printf("%-44s %10.3f\n", "sort by Date", byDate);
  std::printf("%-44s %10.3f\n", "its box: mark it all", markFolder);
  return ok ? 0 : 1;
}
