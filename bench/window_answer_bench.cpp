// How soon the window answers while the drive is slow: during a scan whose
// every directory sector takes --sector-ms (5000 by default) to read, as a
// drive retrying a bad sector does, a click on the Tools menu and then Stop,
// each given while a read is in progress, are timed until the menu shows and
// until the Stop question is asked. Side by side: the drive's calls on a
// thread of their own (OffThreadMachine, as the program runs) and on the
// window's thread (the window then answers only between two reads).
//
//   QT_QPA_PLATFORM=offscreen build/bench/window_answer_bench [WORKDIR] [--runs N]
//                                                             [--sector-ms MS]
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/CMainFrame.h"
#include "app/CommandId.h"
#include "app/OffThreadMachine.h"
#include "WindowBench.h"
#include "app/WindowPrompts.h"
#include "platform/emulated/EmulatedMachine.h"

namespace fs = std::filesystem;
using namespace velmora;
using Clock = std::chrono::steady_clock;

namespace {

// The first sector past the volume descriptors: from here on every read is slow.
constexpr std::uint32_t kFirstSlowSector = 18;

// Takes the Stop, noting when it was asked.
class StopPrompts final : public bench::WindowBenchPrompts {
 public:
  bool ConfirmStop() override {
    stopAsked = Clock::now();
    return true;
  }
  Clock::time_point stopAsked{};
};

fs::path MakeDisc(const fs::path& work) {
  return bench::MakeXorrisoImage(work, "answer-disc.iso", [](const fs::path& tree) {
    for (int folder = 0; folder < 6; ++folder) {
      const fs::path dir = tree / ("folder_" + std::to_string(folder));
      fs::create_directories(dir);
      for (int file = 0; file < 4; ++file) {
        std::ofstream(dir / ("file_" + std::to_string(file) + ".txt")) << folder << ':' << file;
      }
    }
  });
}

struct Answer {
  double menuSeconds = 0;
  double stopSeconds = 0;
  bool ok = false;
};

double SecondsBetween(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double>(to - from).count();
}

// One scan of the slow disc; the user's click and Stop come from another
// thread, as a user's come whatever the window is doing.
Answer TimeAnswers(const fs::path& image, std::chrono::milliseconds sectorTime, bool offThread) {
  std::string reason;
  auto disc = platform::emulated::EmulatedDisc::FromImage(image.string(), reason);
  if (!disc) {
    std::cerr << reason << "\n";
    std::exit(1);
  }
  const auto sectors = static_cast<std::uint32_t>(fs::file_size(image) / 2048);
  for (std::uint32_t lba = kFirstSlowSector; lba < sectors; ++lba) {
    disc->faults[lba] = {.kind = platform::emulated::FaultKind::kSlow, .delay = sectorTime};
  }
  platform::emulated::EmulatedMachine machine;
  machine.InsertDisc(0, std::move(*disc));
  gui::OffThreadMachine drive(machine);
  gui::CMainFrame frame(offThread ? static_cast<platform::Machine&>(drive) : machine);
  if (offThread) drive.SetAnswerWhileWaiting([&frame] { return frame.AnswerDuringSlowCall(); });
  StopPrompts prompts;
  frame.SetPrompts(&prompts);
  frame.resize(1280, 800);
  frame.show();
  QApplication::processEvents();

  QMenuBar* bar = frame.menuBar();
  QAction* tools = nullptr;
  for (QAction* action : bar->actions()) {
    if (action->text().remove(QLatin1Char('&')) == QStringLiteral("Tools")) tools = action;
  }
  if (!tools || !tools->menu()) std::exit(1);
  std::mutex mutex;
  std::condition_variable shown;
  Clock::time_point menuShown{};
  QObject::connect(tools->menu(), &QMenu::aboutToShow, &frame, [&] {
    {
      std::lock_guard lock(mutex);
      menuShown = Clock::now();
    }
    shown.notify_all();
    QTimer::singleShot(0, tools->menu(), &QMenu::close);
  });

  // Halfway into a read, whichever: every read after the descriptors is slow.
  const auto intoRead = sectorTime + sectorTime / 2;
  Clock::time_point clicked{}, stopGiven{};
  QAction* stop = frame.Action(gui::kStopProcess);
  std::thread user([&] {
    std::this_thread::sleep_for(intoRead);
    clicked = Clock::now();
    QMetaObject::invokeMethod(
        bar, [bar, tools] { bar->setActiveAction(tools); }, Qt::QueuedConnection);
    {
      std::unique_lock lock(mutex);
      shown.wait_for(lock, sectorTime * 4, [&] { return menuShown != Clock::time_point{}; });
    }
    std::this_thread::sleep_for(sectorTime / 3);
    stopGiven = Clock::now();
    QMetaObject::invokeMethod(
        stop, [stop] { stop->trigger(); }, Qt::QueuedConnection);
  });
  frame.Action(gui::kOpenDrive)->trigger();
  user.join();
  // A Stop given after the scan ended is answered by the next pass of events.
  QApplication::processEvents();
  frame.SetPrompts(nullptr);
  drive.SetAnswerWhileWaiting({});

  Answer answer;
  answer.ok = menuShown != Clock::time_point{} && prompts.stopAsked != Clock::time_point{};
  if (answer.ok) {
    answer.menuSeconds = SecondsBetween(clicked, menuShown);
    answer.stopSeconds = SecondsBetween(stopGiven, prompts.stopAsked);
  }
  return answer;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  fs::path work = fs::temp_directory_path() / "velmora-bench";
  int runs = 3;
  int sectorMs = 5000;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--runs" && i + 1 < argc) {
      runs = std::max(1, std::atoi(argv[++i]));
    } else if (arg == "--sector-ms" && i + 1 < argc) {
      sectorMs = std::max(100, std::atoi(argv[++i]));
    } else {
      work = arg;
    }
  }
  fs::create_directories(work);
  const fs::path image = MakeDisc(work);
  const std::chrono::milliseconds sectorTime(sectorMs);

  std::printf("the window answering during a scan at %d ms per sector, median of %d runs:\n",
              sectorMs, runs);
  std::printf("%-40s %16s %20s\n", "drive calls", "menu shown (s)", "Stop question (s)");
  bool ok = true;
  for (const bool offThread : {true, false}) {
    std::vector<double> menu, stop;
    for (int run = 0; run < runs; ++run) {
      const Answer answer = TimeAnswers(image, sectorTime, offThread);
      ok = ok && answer.ok;
      menu.push_back(answer.menuSeconds);
      stop.push_back(answer.stopSeconds);
    }
    std::printf("%-40s %16.3f %20.3f\n",
                offThread ? "on their own thread (the program)" : "on the window's thread",
                Median(menu), Median(stop));
  }
  if (!ok) std::printf("a run saw no menu or no Stop question\n");
  return ok ? 0 : 1;
}
