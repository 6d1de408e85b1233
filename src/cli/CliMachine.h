#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/Machine.h"

namespace velmora::cli {

// The host machine, or with --emulated-drive a machine whose one drive holds
// that image. nullptr with reason set when the image cannot serve as a disc.
std::unique_ptr<platform::Machine> CreateMachine(const std::optional<std::string>& emulatedImage,
                                                 std::string& reason);

}  // namespace velmora::cli
