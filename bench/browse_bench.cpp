// The browsing window on large discs: the scan of a generated disc of about
// 60,000 files in the window beside velmora-cli ls on the same image, a folder
// of 10,000 files listed and sorted, and a click on Root's box on the large disc.
// Each figure includes the repaint that follows (the events are let through).
//
//   QT_QPA_PLATFORM=offscreen build/bench/browse_bench [WORKDIR]
#include <QApplication>
#include <QElapsedTimer>
#include <QTreeView>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>

#include "Measurement.h"
#include "app/CMainFrame.h"
#include "app/CommandId.h"
#include "app/WindowPrompts.h"
#include "browse/BrowseViews.h"
#include "browse/CCDView.h"
#include "browse/CLeftView.h"
#include "browse/FileListModel.h"
#include "browse/FolderTreeModel.h"
#include "browse/MarkingController.h"
#include "platform/emulated/EmulatedMachine.h"

namespace fs = std::filesystem;
using namespace velmora;

namespace {

constexpr int kGroups = 30;
constexpr int kFoldersPerGroup = 100;
constexpr int kFilesPerFolder = 20;
constexpr int kBigFolderFiles = 10000;

// Answers every question of a scan without a dialog.
class BenchPrompts final : public gui::WindowPrompts {
 public:
  std::optional<std::size_t> SelectDrive(const std::vector<std::string>&) override { return 0; }
  bool ConfirmInsertDisc() override { return true; }
  bool ConfirmOverwrite(const std::string&) override { return false; }
  void ShowError(int code) override { std::cerr << "error code " << code << "\n"; }
  void ShowNotice(int) override {}
  std::optional<std::string> ChooseFolder(const std::u16string&) override { return {}; }
  bool ConfirmStop() override { return false; }
  std::optional<QString> ChooseSaveFile(const QString&, const QString&, const QString&) override {
    return {};
  }
  std::optional<QString> ChooseOpenFile(const QString&, const QString&) override { return {}; }
  bool ConfirmReplaceFile(const QString&) override { return false; }
};

fs::path MakeImage(const fs::path& work, const std::string& name,
                   const std::function<void(const fs::path&)>& writeTree) {
  const fs::path image = work / name;
  if (fs::exists(image)) return image;
  const fs::path tree = work / (name + ".tree");
  fs::remove_all(tree);
  writeTree(tree);
  const std::string command = "xorriso -as mkisofs -quiet -J -R -o '" + image.string() + "' '" +
                              tree.string() + "' >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) {
    std::cerr << "xorriso failed\n";
    std::exit(1);
  }
  fs::remove_all(tree);
  return image;
}

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
  BenchPrompts prompts;
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

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const fs::path work = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "velmora-bench";
  fs::create_directories(work);
  const fs::path manyImage = MakeImage(work, "browse-many.iso", WriteManyFolders);
  const fs::path bigImage = MakeImage(work, "browse-big.iso", WriteBigFolder);

  const bench::Run cli = bench::RunCommand({VELMORA_CLI_PATH, "ls", manyImage.string()});

  Window many(manyImage);
  const double scan = Time([&] { many.frame->Action(gui::kOpenDrive)->trigger(); });
  const std::size_t entries = many.frame->table().size();
  gui::BrowseViews& views = many.frame->browse();
  const std::size_t root = views.treeModel().tree().root();
  const double markAll = Time([&] { views.marking().FolderBoxClicked(root); });
  const double unmarkAll = Time([&] { views.marking().FolderBoxClicked(root); });

  // The same scan with the views not told of the entries: what the window's
  // own progress display costs.
  Window bare(manyImage);
  bare.frame->table().SetObserver(nullptr);
  const double bareScan = Time([&] { bare.frame->Action(gui::kOpenDrive)->trigger(); });

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

  std::printf("disc: %s (%zu entries)\n", manyImage.c_str(), entries);
  std::printf("%-44s %10s\n", "step", "seconds");
  std::printf("%-44s %10.3f\n", "velmora-cli ls (child process)", cli.seconds);
  std::printf("%-44s %10.3f\n", "Open Drive in the window", scan);
  std::printf("%-44s %10.3f\n", "Open Drive, the views not following", bareScan);
  std::printf("%-44s %10.3f\n", "Root's box: mark everything", markAll);
  std::printf("%-44s %10.3f\n", "Root's box: unmark everything", unmarkAll);
  std::printf("folder of %d rows:\n", rows);
  std::printf("%-44s %10.3f\n", "list it", list);
  std::printf("%-44s %10.3f\n", "sort by Name", byName);
  std::printf("%-44s %10.3f\n", "sort by Size", bySize);
  std::printf("%-44s %10.3f\n", "sort by Date", byDate);
  std::printf("%-44s %10.3f\n", "its box: mark it all", markFolder);
  std::printf("ratio window scan / velmora-cli ls: %.2f\n", scan / cli.seconds);
  return cli.ok ? 0 : 1;
}
