#include "CliMachine.h"

#include "platform/emulated/EmulatedMachine.h"
#include "platform/emulated/FaultMapFile.h"

namespace velmora::cli {

std::unique_ptr<platform::Machine> CreateMachine(const std::optional<std::string>& emulatedImage,
                                                 const std::optional<std::string>& faultMap,
                                                 std::string& reason) {
  if (!emulatedImage) return platform::CreateHostMachine();
  std::string why;
  auto disc = platform::emulated::EmulatedDisc::FromImage(*emulatedImage, why);
  if (!disc) {
    reason = "--emulated-drive: " + why;
    return nullptr;
  }
  if (faultMap && !platform::emulated::LoadFaultFile(*faultMap, *disc, why)) {
    reason = "--emulated-faults: " + why;
    return nullptr;
  }
  auto machine = std::make_unique<platform::emulated::EmulatedMachine>(1);
  // Nobody reads the command record here; kept, it grows with every read.
  machine->RecordCommands(false);
  machine->InsertDisc(0, std::move(*disc));
  return machine;
}

}  // namespace velmora::cli
