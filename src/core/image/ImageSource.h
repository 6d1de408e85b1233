#pragma once

#include <string>

#include "disc/CCDReader.h"

namespace velmora::disc {

enum class ImageOpenResult {
  kOpened,         // a .cd image (its trailer gave the track list) or a plain ISO 9660 image
  kCannotOpen,     // the file could not be opened
  kNotAnImage,     // neither a trailer nor a volume descriptor
};

// Puts an image file in place of the drive: a .cd image with its track list
// from the trailer, or a plain ISO 9660 image (a volume descriptor from sector
// 16 on) as a single-session disc. On failure the reader is left without a file.
ImageOpenResult OpenImageSource(CCDReader& reader, platform::Machine& machine,
                                const std::string& path, std::string& reason);

}  // namespace velmora::disc
