#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "host/AppState.h"
#include "disc/CCDReader.h"
#include "entries/EntryTable.h"
#include "host/Prompts.h"
#include "host/ScanHost.h"
#include "platform/Machine.h"
#include "scan/ScanProcess.h"

namespace velmora::fuzz {

// The fuzzer's bytes as a file: positioned reads and a size, nothing else.
class MemoryFile : public platform::DeviceFile {
 public:
  explicit MemoryFile(std::span<const std::byte> bytes) : bytes_(bytes.begin(), bytes.end()) {}
  platform::IoResult ReadAt(std::uint64_t offset, std::span<std::byte> buffer) override {
    platform::IoResult result;
    result.ok = true;
    if (offset >= bytes_.size()) return result;
    result.bytes = std::min<std::size_t>(buffer.size(), bytes_.size() - offset);
    std::memcpy(buffer.data(), bytes_.data() + offset, result.bytes);
    return result;
  }
  std::optional<std::uint64_t> Size() override { return bytes_.size(); }
  std::optional<platform::Toc> ReadToc() override { return std::nullopt; }
  bool SetMediumRemoval(bool) override { return false; }

 private:
  std::vector<std::byte> bytes_;
};

// A machine without drives whose one file ("input") holds the fuzzer's bytes.
class MemoryMachine : public platform::Machine {
 public:
  explicit MemoryMachine(std::span<const std::byte> bytes) : bytes_(bytes) {}
  std::vector<std::string> OpticalDrives() override { return {}; }
  std::unique_ptr<platform::DeviceFile> OpenDevice(const std::string& path,
                                                   platform::OpenError& error) override {
    if (path != "input") {
      error = {2, path + ": No such file or directory"};
      return nullptr;
    }
    return std::make_unique<MemoryFile>(bytes_);
  }
  std::unique_ptr<platform::ScsiTransport> OpenPassThrough(const std::string& path,
                                                           platform::OpenError& error) override {
    error = {19, path + ": not a drive"};
    return nullptr;
  }
  bool SameMedium(const std::string&, const std::string&) override { return false; }

 private:
  std::span<const std::byte> bytes_;
};

// Answers every question as a user who goes on would; keeps nothing.
class QuietPrompts : public Prompts {
 public:
  std::optional<std::string> folder;
  std::optional<std::size_t> SelectDrive(const std::vector<std::string>&) override { return 0; }
  bool ConfirmInsertDisc() override { return true; }
  bool ConfirmOverwrite(const std::string&) override { return true; }
  void ShowError(int) override {}
  void ShowNotice(int) override {}
  std::optional<std::string> ChooseFolder(const std::u16string&) override { return folder; }
};

class QuietHost : public disc::ScanHost {
 public:
  QuietPrompts quiet;
  Prompts& prompts() override { return quiet; }
  void PumpPendingMessages() override {}
  void CreateReadingProgress(std::uint32_t) override {}
  void StepProgress(std::u16string_view) override {}
  void DeleteProgress() override {}
  void AddLogEntry(std::u16string_view, std::u16string_view, std::u16string_view,
                   log::LogIcon) override {}
};

// One engine over the fuzzer's bytes, as the programs assemble it.
struct FuzzEngine {
  explicit FuzzEngine(std::span<const std::byte> bytes)
      : machine(bytes), reader(machine), scan(reader, state, table, host) {}
  MemoryMachine machine;
  AppState state;
  disc::EntryTable table;
  QuietHost host;
  disc::CCDReader reader;
  disc::ScanProcess scan;
};

inline std::span<const std::byte> Bytes(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const std::byte*>(data), size};
}

}  // namespace velmora::fuzz
