#pragma once

#include <string>

#include "disc/CCDReader.h"

namespace velmora::disc {

enum class ImageOpenResult {
  kOpened,         // a .cd image (its trailer gave the track list) or a plain ISO 9660 image
  kCannotOpen,     // the file could not be opened
  kNotAnImage,     // a damaged trailer, or too short for a volume and no descriptor
};

// Puts an image file in place of the drive: a .cd image with its track list
// from the trailer, or any other file long enough to hold a volume as a plain
// single-session image (its descriptors may be lost: the scan's recovery pass
// then searches it). On failure the reader is left without a file.
ImageOpenResult OpenImageSource(CCDReader& reader, platform::Machine& machine,
                                const std::string& path, std::string& reason);

}  // namespace velmora::disc
