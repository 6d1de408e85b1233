#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/emulated/EmulatedMachine.h"
#include "support/IsoBuilder.h"
#include "support/TempDir.h"
#include "support/TreeWriter.h"

namespace velmora::testing {

// A disc for an emulated drive: folderCount folders of
// filesPerFolder small files each, made by genisoimage.
struct FixtureDisc {
  // slowMs: every sector is served that late, so that a scan lasts long enough
  // for a test to act while it runs.
  explicit FixtureDisc(int folderCount = 3, int filesPerFolder = 4, int slowMs = 0) {
    std::vector<FixtureFile> files;
    for (int folder = 0; folder < folderCount; ++folder) {
      for (int file = 0; file < filesPerFolder; ++file) {
        files.push_back({.path = "DIR" + std::to_string(folder) + "/F" + std::to_string(file) +
                                 ".TXT",
                         .content = "file " + std::to_string(file)});
      }
    }
    WriteTree(dir / "tree", files);
    image = MakeIso(dir / "tree", dir / "disc.iso").string();
    std::string reason;
    auto disc = platform::emulated::EmulatedDisc::FromImage(image, reason);
    if (!disc) throw std::runtime_error(reason);
    if (slowMs > 0) {
      const auto sectors = std::filesystem::file_size(image) / 2048;
      for (std::uint32_t lba = 0; lba < sectors; ++lba) {
        disc->faults[lba] = {.kind = platform::emulated::FaultKind::kSlow,
                             .delay = std::chrono::milliseconds(slowMs)};
      }
    }
    disc_ = std::move(*disc);
  }

  // A new machine with the disc in its drive.
  std::unique_ptr<platform::emulated::EmulatedMachine> NewMachine() const {
    auto machine = std::make_unique<platform::emulated::EmulatedMachine>();
    machine->InsertDisc(0, disc_);
    return machine;
  }

  TempDir dir;
  std::string image;

 private:
  platform::emulated::EmulatedDisc disc_;
};

}  // namespace velmora::testing
