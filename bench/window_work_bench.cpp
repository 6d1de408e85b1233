// The window's long work with its message log shown: the cost of one log row
// at row 10 and at row 20,000 (--log-rows), Recover All of a disc of 15,000 files, and
// Create Image of a disc with 12,000 unreadable sectors, each beside
// velmora-cli doing the same on the same disc. The window runs on Qt's
// offscreen platform at 1280 x 800 with the log bar docked and shown; its
// times include the scan (Open Drive) as the command line's do, and the
// repaint that follows.
//
//   QT_QPA_PLATFORM=offscreen build/bench/window_work_bench [WORKDIR] [--runs N] [--log-rows N]
//                                                           [--out FOLDER]
//
// WORKDIR keeps the generated images between runs; the outputs are written
// into FOLDER (WORKDIR by default; bench/run gives a folder in /dev/shm) and
// removed after each run.
#include <QApplication>
#include <QElapsedTimer>
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
#include "app/OffThreadMachine.h"
#include "app/WindowPrompts.h"
#include "log/CMessageLogDialog.h"
#include "platform/Heap.h"
#include "platform/emulated/EmulatedMachine.h"
#include "platform/emulated/FaultMapFile.h"

namespace fs = std::filesystem;
using namespace velmora;

namespace {

constexpr int kFolders = 750;
constexpr int kFilesPerFolder = 20;
constexpr int kImageMiB = 40;
constexpr int kFirstBadSector = 4000;
constexpr int kBadSectors = 12000;
constexpr int kTimedRows = 1000;
// Rows added between two pumps of the row figure: about what a recovery of
// small files writes in the 40 ms between two pumps.
constexpr int kRowsPerPump = 40;

void WriteSmallFiles(const fs::path& tree) {
  for (int d = 0; d < kFolders; ++d) {
    const fs::path folder = tree / ("group" + std::to_string(d / 50)) / ("folder_" + std::to_string(d));
    fs::create_directories(folder);
    for (int f = 0; f < kFilesPerFolder; ++f) {
      std::ofstream(folder / ("document_" + std::to_string(f) + ".txt")) << d << ':' << f << '\n';
    }
  }
}

void WriteOneLargeFile(const fs::path& tree) {
  fs::create_directories(tree);
  std::ofstream out(tree / "archive.bin", std::ios::binary);
  std::string block(1 << 20, '\0');
  for (int mib = 0; mib < kImageMiB; ++mib) {
    for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>((i * 31 + mib) & 0xff);
    out.write(block.data(), static_cast<std::streamsize>(block.size()));
  }
}

fs::path WriteFaultMap(const fs::path& work) {
  const fs::path map = work / "window-work-faults.txt";
  std::ofstream out(map);
  for (int lba = kFirstBadSector; lba < kFirstBadSector + kBadSectors; ++lba) {
    out << lba << " unreadable\n";
  }
  return map;
}

struct Window {
  Window(const fs::path& image, const fs::path& faults) {
    std::string reason;
    auto disc = platform::emulated::EmulatedDisc::FromImage(image.string(), reason);
    if (!disc || (!faults.empty() && !platform::emulated::LoadFaultFile(faults, *disc, reason))) {
      std::cerr << reason << "\n";
      std::exit(1);
    }
    machine.InsertDisc(0, std::move(*disc));
    // The drive's calls off the window's thread, as the program has them.
    frame = std::make_unique<gui::CMainFrame>(offThread);
    offThread.SetAnswerWhileWaiting([this] { return frame->AnswerDuringSlowCall(); });
    frame->SetPrompts(&prompts);
    frame->resize(1280, 800);
    frame->show();
    QApplication::processEvents();
  }
  ~Window() { offThread.SetAnswerWhileWaiting({}); }
  platform::emulated::EmulatedMachine machine;
  gui::OffThreadMachine offThread{machine};
  bench::WindowBenchPrompts prompts;
  std::unique_ptr<gui::CMainFrame> frame;
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Open Drive, then one command, in a new window; the output is removed after.
// logRows: the rows the log holds at the end.
bench::Run TimeWindow(const fs::path& image, const fs::path& faults, const fs::path& output,
                      int command, const std::function<bool()>& check, std::size_t& logRows) {
  fs::remove_all(output);
  Window window(image, faults);
  window.prompts.output = output.string();
  const double cpuBefore = bench::SelfCpuSeconds();
  QElapsedTimer clock;
  clock.start();
  window.frame->Action(gui::kOpenDrive)->trigger();
  window.frame->Action(command)->trigger();
  QApplication::processEvents();
  bench::Run run;
  run.seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
  run.cpuSeconds = bench::SelfCpuSeconds() - cpuBefore;
  run.ok = check();
  logRows = window.frame->messageLog().rows().size();
  fs::remove_all(output);
  return run;
}

// exitMayFail: the command ends with status 1 (part of the disc did not
// read); its output alone tells whether it did its work.
bench::Run TimeCli(std::vector<std::string> argv, const fs::path& output,
                   const std::function<bool()>& check, bool exitMayFail = false) {
  fs::remove_all(output);
  bench::Run run = bench::RunCommand(std::move(argv));
  run.ok = (run.ok || exitMayFail) && check();
  fs::remove_all(output);
  return run;
}

std::size_t FilesUnder(const fs::path& folder) {
  std::size_t files = 0;
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(folder, error);
       !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    if (it->is_regular_file()) ++files;
  }
  return files;
}

// Microseconds per row of the log for the rows from first on, added
// kRowsPerPump between two passes of the event loop, as a process adds them.
double MicrosecondsPerRow(gui::CMainFrame& frame, int first, int count) {
  while (static_cast<int>(frame.messageLog().rows().size()) < first) {
    frame.AddLogEntry(u" ", u"/folder/document.txt", u"Recovered", log::LogIcon::kInformation);
    if (frame.messageLog().rows().size() % kRowsPerPump == 0) QApplication::processEvents();
  }
  QApplication::processEvents();
  QElapsedTimer clock;
  clock.start();
  for (int row = 0; row < count; ++row) {
    frame.AddLogEntry(u" ", u"/folder/document.txt", u"Recovered", log::LogIcon::kInformation);
    if ((row + 1) % kRowsPerPump == 0) QApplication::processEvents();
  }
  QApplication::processEvents();
  return static_cast<double>(clock.nsecsElapsed()) / 1e3 / count;
}

// Prints the runs' row; false when a run's output was wrong or missing.
bool PrintRow(const char* step, const std::vector<bench::Run>& runs) {
  std::vector<double> wall, cpu;
  bool ok = true;
  for (const bench::Run& run : runs) {
    wall.push_back(run.seconds);
    cpu.push_back(run.cpuSeconds);
    ok = ok && run.ok;
  }
  std::printf("%-52s %8.3f %8.3f %8.3f %8.3f%s\n", step, Median(wall),
              *std::min_element(wall.begin(), wall.end()),
              *std::max_element(wall.begin(), wall.end()), Median(cpu),
              ok ? "" : "  (output wrong or missing)");
  return ok;
}

double MedianSeconds(const std::vector<bench::Run>& runs) {
  std::vector<double> wall;
  for (const bench::Run& run : runs) wall.push_back(run.seconds);
  return Median(wall);
}

}  // namespace

int main(int argc, char** argv) {
  velmora::platform::PrepareHeapForLargeTables();
  QApplication app(argc, argv);
  fs::path work = fs::temp_directory_path() / "velmora-bench";
  fs::path outputs;
  int runs = 5;
  int logRows = 20000;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--runs" && i + 1 < argc) {
      runs = std::max(1, std::atoi(argv[++i]));
    } else if (arg == "--out" && i + 1 < argc) {
      outputs = argv[++i];
    } else if (arg == "--log-rows" && i + 1 < argc) {
      logRows = std::max(kTimedRows, std::atoi(argv[++i]));
    } else {
      work = arg;
    }
  }
  fs::create_directories(work);
  const fs::path small = bench::MakeXorrisoImage(work, "window-small-files.iso", WriteSmallFiles);
  const fs::path large = bench::MakeXorrisoImage(work, "window-large-file.iso", WriteOneLargeFile);
  const fs::path faults = WriteFaultMap(work);
  if (outputs.empty()) outputs = work;
  fs::create_directories(outputs);
  const fs::path out = outputs / "out";
  const std::size_t files = static_cast<std::size_t>(kFolders) * kFilesPerFolder;

  // The cost of one row at the start of the log and at row 20,000.
  std::vector<double> earlyRuns, lateRuns;
  for (int run = 0; run < runs; ++run) {
    Window window(small, {});
    earlyRuns.push_back(MicrosecondsPerRow(*window.frame, 10, kTimedRows));
    lateRuns.push_back(MicrosecondsPerRow(*window.frame, logRows, kTimedRows));
  }
  const double early = Median(earlyRuns), late = Median(lateRuns);

  std::vector<bench::Run> cliRecover, windowRecover, cliImage, windowImage;
  const auto recovered = [&] { return FilesUnder(out) == files; };
  const fs::path imageOut = outputs / "out.cd";
  const auto imaged = [&] {
    std::error_code error;
    return fs::file_size(imageOut, error) > static_cast<std::uintmax_t>(kImageMiB) << 20;
  };
  bool ok = true;
  std::size_t recoverRows = 0, imageRows = 0;
  for (int run = 0; run < runs; ++run) {
    cliRecover.push_back(
        TimeCli({VELMORA_CLI_PATH, "recover", small.string(), out.string()}, out, recovered));
    windowRecover.push_back(TimeWindow(small, {}, out, gui::kRecoverAll, recovered, recoverRows));
    cliImage.push_back(TimeCli({VELMORA_CLI_PATH, "--emulated-drive", large.string(),
                                "--emulated-faults", faults.string(), "image", "drive",
                                imageOut.string()},
                               imageOut, imaged, true));
    fs::remove(imageOut.string() + ".map");
    windowImage.push_back(TimeWindow(large, faults, imageOut, gui::kCreateImage, imaged, imageRows));
    fs::remove(imageOut.string() + ".map");
  }

  std::printf("message log, %d rows between two pumps, median of %d runs of %d rows:\n",
              kRowsPerPump, runs, kTimedRows);
  std::printf("  one row from row 10 on:      %8.1f us\n", early);
  std::printf("  one row from row %d on:  %8.1f us\n", logRows, late);
  std::printf("median of %d runs                                          median      min      max      cpu\n", runs);
  ok = PrintRow("velmora-cli recover (15,000 files)", cliRecover) && ok;
  ok = PrintRow("window: Open Drive + Recover All, log shown", windowRecover) && ok;
  ok = PrintRow("velmora-cli image (12,000 unreadable sectors)", cliImage) && ok;
  ok = PrintRow("window: Open Drive + Create Image, log shown", windowImage) && ok;
  std::printf("log rows in the window: %zu after Recover All, %zu after Create Image\n",
              recoverRows, imageRows);
  std::printf("ratio window / velmora-cli: Recover All %.2f, Create Image %.2f (target <= 1.5)\n",
              MedianSeconds(windowRecover) / MedianSeconds(cliRecover),
              MedianSeconds(windowImage) / MedianSeconds(cliImage));
  if (!ok) std::printf("a run's output was wrong or missing\n");
  return ok ? 0 : 1;
}
