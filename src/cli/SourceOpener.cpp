#include "SourceOpener.h"

#include <algorithm>
#include <filesystem>
#include <limits>

#include "image/ImageSource.h"
#include "text/StringTable.h"
#include "text/Utf.h"

namespace velmora::cli {
namespace {

bool IsDevice(const std::string& path, platform::Machine& machine) {
  const std::vector<std::string> drives = machine.OpticalDrives();
  if (std::find(drives.begin(), drives.end(), path) != drives.end()) return true;
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  return !error &&
         (std::filesystem::is_block_file(status) || std::filesystem::is_character_file(status));
}

// A character device that the machine does not list as an optical drive. Linux
// optical drives are block devices (/dev/sr0); the character devices that
// remain are never a disc.
bool IsOtherDevice(const std::string& path, platform::Machine& machine) {
  const std::vector<std::string> drives = machine.OpticalDrives();
  if (std::find(drives.begin(), drives.end(), path) != drives.end()) return false;
  std::error_code error;
  return std::filesystem::is_character_file(std::filesystem::status(path, error)) && !error;
}

bool OpenSelectedDrive(std::optional<std::size_t> drive, disc::CCDReader& reader, Prompts& prompts,
                       AppState& state, std::string& reason) {
  // The flag holds a drive number of one byte; a larger --drive fails the range
  // check below all the same.
  if (drive) {
    state.driveChoice = static_cast<std::uint8_t>(
        std::min<std::size_t>(*drive, std::numeric_limits<std::uint8_t>::max()));
  }
  const bool opened = reader.OpenSelectedDrive(prompts, state);
  // The reader falls back to the first drive for a number out of range; the
  // user asked for that one, so say it is not there.
  if (drive && reader.driveCount() > 0 && *drive >= reader.driveCount()) {
    reason = "--drive " + std::to_string(*drive) + ": the machine has " +
             std::to_string(reader.driveCount()) + " optical drive(s), numbered from 0";
    return false;
  }
  if (!opened) {
    reason = reader.lastOpenError().reason;
    return false;
  }
  state.drivesKnown = true;
  return true;
}

}  // namespace

bool OpenSource(const std::string& source, std::optional<std::size_t> drive,
                platform::Machine& machine, disc::CCDReader& reader, Prompts& prompts,
                AppState& state, std::string& reason, std::string& warning) {
  if (source == kDriveSourceName) return OpenSelectedDrive(drive, reader, prompts, state, reason);
  if (IsOtherDevice(source, machine)) {
    // /dev/zero, /dev/urandom, a terminal: they read for ever and hold no disc.
    reason = source + ": not an optical drive or a disc image";
    return false;
  }
  if (IsDevice(source, machine)) {
    if (!reader.OpenDevicePath(source)) {
      reason = reader.lastOpenError().reason;
      return false;
    }
    // The scan would otherwise look for the machine's drives and open the first.
    state.drivesKnown = true;
    return true;
  }
  const disc::ImageOpenResult opened = disc::OpenImageSource(reader, machine, source, reason);
  if (opened == disc::ImageOpenResult::kNothingFound) {
    // Not even the recovery scans find a folder in it: no CDROM, in the
    // words the scan would end with, and which file it was.
    const int code = static_cast<int>(text::ErrorCode::kCdromNotFound);
    prompts.ShowErrorDetail(code, text::ToUtf8(text::ErrorMessage(code)) + ": " + reason);
    return false;
  }
  if (opened != disc::ImageOpenResult::kOpened) return false;
  state.readingImage = true;
  if (!reason.empty()) warning = reason;
  return true;
}

}  // namespace velmora::cli
