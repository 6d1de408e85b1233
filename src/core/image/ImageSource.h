#pragma once

#include <string>

#include "disc/CCDReader.h"

namespace velmora::disc {

enum class ImageOpenResult {
  kOpened,         // a .cd image (its trailer gave the track list) or a plain ISO 9660 image
  kCannotOpen,     // the file could not be opened
  kNotAnImage,     // a damaged trailer, or too short for a volume and no descriptor
  kNothingFound,   // no trailer, no descriptor, and no sector shaped as a directory or path table
};

// Puts an image file in place of the drive: a .cd image with its track list
// from the trailer, or a plain ISO 9660 image: one with a volume descriptor
// from sector 16 on (its sessions, when it holds several, found by their
// descriptor sets and given to the reader as its track list), or one whose
// descriptors are lost but whose sectors hold a directory or path table (the
// scan's recovery pass then walks them). On failure the reader is left as it
// was.
// Opened with reason set: the image was damaged (a track list past the file's
// end, cut to it; a trailer whose signature is damaged or cut) and is read as
// far as it goes; the caller says so.
ImageOpenResult OpenImageSource(CCDReader& reader, platform::Machine& machine,
                                const std::string& path, std::string& reason);

}  // namespace velmora::disc
