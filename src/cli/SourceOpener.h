#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "host/AppState.h"
#include "disc/CCDReader.h"
#include "host/Prompts.h"
#include "platform/Machine.h"

namespace velmora::cli {

// The SOURCE that names the machine's selected optical drive.
inline constexpr std::string_view kDriveSourceName = "drive";

// Opens a command's SOURCE in the reader and sets the flags the scan goes by:
// "drive" is the selected optical drive (drive: the --drive answer), a path the
// machine lists as a drive or a device node opens as a drive, anything else as
// an image file; any other character device is refused. False, with reason set
// to one line, when it cannot be used. True with warning set: an image that
// opened despite damage to its track list.
bool OpenSource(const std::string& source, std::optional<std::size_t> drive,
                platform::Machine& machine, disc::CCDReader& reader, Prompts& prompts,
                AppState& state, std::string& reason, std::string& warning);

}  // namespace velmora::cli
