#pragma once

#include <memory>
#include <optional>
#include <string>

#include "CliOptions.h"
#include "platform/Machine.h"

namespace velmora::cli {

// The host machine, or with --emulated-drive a machine whose one drive holds
// that image, its sectors failing as the fault map of --emulated-faults says
// and its commands written to --emulated-log. nullptr with reason set when the
// image cannot serve as a disc or a file given cannot be read or made. damage
// says what of the image's track list the drive leaves out (empty when
// nothing).
std::unique_ptr<platform::Machine> CreateMachine(const CliOptions& options, std::string& reason,
                                                 std::string& damage);

}  // namespace velmora::cli
