#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/Machine.h"

namespace velmora::cli {

// The host machine, or with --emulated-drive a machine whose one drive holds
// that image, its sectors failing as the fault map of --emulated-faults says.
// nullptr with reason set when the image cannot serve as a disc or the fault
// map cannot be read.
std::unique_ptr<platform::Machine> CreateMachine(const std::optional<std::string>& emulatedImage,
                                                 const std::optional<std::string>& faultMap,
                                                 std::string& reason);

}  // namespace velmora::cli
