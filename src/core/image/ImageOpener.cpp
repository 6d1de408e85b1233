#include "image/ImageOpener.h"

#include "image/ImageSource.h"
#include "text/StringTable.h"
#include "text/Utf.h"

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
  // The reader changes over only to a usable image (and then releases the
  // tray); on failure it stays on the medium the tree on screen came from.
  std::string reason;
  ImageOpenResult result = OpenImageSource(reader_, machine_, path, reason);
  if (result == ImageOpenResult::kOpened) {
    // Damage met in the image itself: it opens, and the log says what was lost.
    if (!reason.empty()) {
      host_.AddLogEntry(text::LoadText(text::kInfo), text::FromUtf8(reason), u" ",
                        log::LogIcon::kFailure);
      state_.logHasEntries = true;
    }
    return true;
  }
  // One dialog per failure, naming the file and what is wrong with it: a file
  // that does not open is not also called an invalid image.
  const text::ErrorCode code = result == ImageOpenResult::kCannotOpen
                                   ? text::ErrorCode::kCannotOpenImage
                                   : text::ErrorCode::kNotValidImage;
  host_.prompts().ShowErrorDetail(static_cast<int>(code), reason);
  return false;
}

}  // namespace velmora::disc
