#include "image/ImageOpener.h"

#include "image/ImageSource.h"
#include "text/StringTable.h"

namespace velmora::disc {

bool ImageOpener::OnOpenImage(const std::string& path) {
  if (!OpenImage(path)) return false;
  state_.stopRequested = false;
  state_.readingImage = true;
  // With readingImage set the scan asks nothing and leaves the tray alone; it
  // empties the entry table before it reads.
  scan_.Scan();
  return true;
}

bool ImageOpener::OpenImage(const std::string& path) {
  // The image takes the drive's place: the drive need not stay locked.
  if (reader_.trayLocked()) reader_.SetTrayLock(false);
  std::string reason;
  ImageOpenResult result = OpenImageSource(reader_, machine_, path, reason);
  if (result == ImageOpenResult::kOpened) return true;
  Prompts& prompts = host_.prompts();
  if (result == ImageOpenResult::kCannotOpen) {
    prompts.ShowError(static_cast<int>(text::ErrorCode::kCannotOpenImage));
  }
  prompts.ShowError(static_cast<int>(text::ErrorCode::kNotValidImage));
  if (state_.drivesKnown) {
    reader_.ReopenSelectedDrive();
    state_.readingImage = false;
  }
  return false;
}

}  // namespace velmora::disc
