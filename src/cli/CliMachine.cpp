#include "CliMachine.h"

#include <fstream>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "media/MmcCommands.h"
#include "platform/emulated/EmulatedMachine.h"
#include "platform/emulated/FaultMapFile.h"

namespace velmora::cli {
namespace {

std::string Hex(std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  for (std::uint8_t b : bytes) {
    text += kDigits[b >> 4];
    text += kDigits[b & 0x0F];
  }
  return text;
}

// One line per command: "read LBA COUNT" for a read of the drive opened as a
// file, "readcd LBA COUNT" for a READ CD, "cdb HEX [data HEX]" for any other
// command block, "toc" and "tray 0|1" for the ioctls.
std::string LogLine(const platform::emulated::RecordedCommand& command) {
  using Kind = platform::emulated::RecordedCommand::Kind;
  switch (command.kind) {
    case Kind::kCookedRead:
      return "read " + std::to_string(command.offset / kSectorSize) + " " +
             std::to_string((command.length + kSectorSize - 1) / kSectorSize);
    case Kind::kReadToc:
      return "toc";
    case Kind::kTrayLock:
      return std::string("tray ") + (command.prevent ? "1" : "0");
    case Kind::kCdb:
      break;
  }
  const std::vector<std::uint8_t>& cdb = command.cdb;
  if (cdb.size() == 12 && cdb[0] == disc::kReadCdOpcode) {
    const Lba lba = Lba{cdb[2]} << 24 | Lba{cdb[3]} << 16 | Lba{cdb[4]} << 8 | cdb[5];
    const std::uint32_t count = std::uint32_t{cdb[6]} << 16 | std::uint32_t{cdb[7]} << 8 | cdb[8];
    return "readcd " + std::to_string(lba) + " " + std::to_string(count);
  }
  std::string line = "cdb " + Hex(cdb);
  if (!command.dataOut.empty()) line += " data " + Hex(command.dataOut);
  return line;
}

}  // namespace

std::unique_ptr<platform::Machine> CreateMachine(const CliOptions& options, std::string& reason,
                                                 std::string& damage) {
  if (!options.emulatedImage) return platform::CreateHostMachine();
  std::string why;
  auto disc = platform::emulated::EmulatedDisc::FromImage(*options.emulatedImage, why);
  if (!disc) {
    reason = "--emulated-drive: " + why;
    return nullptr;
  }
  if (options.emulatedFaults &&
      !platform::emulated::LoadFaultFile(*options.emulatedFaults, *disc, why)) {
    reason = "--emulated-faults: " + why;
    return nullptr;
  }
  damage = disc->damage;
  auto machine = std::make_unique<platform::emulated::EmulatedMachine>(1);
  // Nobody reads the command record here; kept, it grows with every read.
  machine->RecordCommands(false);
  if (options.emulatedLog) {
    // Written as the commands come, so that a run that is killed leaves its log.
    auto log = std::make_shared<std::ofstream>(*options.emulatedLog, std::ios::trunc);
    if (!*log) {
      reason = "--emulated-log: cannot write " + *options.emulatedLog;
      return nullptr;
    }
    machine->SetCommandSink([log](const platform::emulated::RecordedCommand& command) {
      *log << LogLine(command) << std::endl;
    });
  }
  machine->InsertDisc(0, std::move(*disc));
  return machine;
}

}  // namespace velmora::cli
