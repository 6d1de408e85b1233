#pragma once

#include <memory>
#include <string>
#include <vector>

#include "media/RescueMap.h"

namespace velmora::disc {

// The map beside an image: which of its blocks hold what the disc gave and
// which were never read, in GNU ddrescue's mapfile format, so that ddrescue and
// ddrescuelog take it too. It is the file of the image's name with ".map"
// after it ("disc.cd" -> "disc.cd.map").
std::string MapPathOf(const std::string& imagePath);
// The domain map beside it, written when the disc has blocks outside the
// rescue (the gaps between sessions): the sessions' blocks finished, the gaps
// non-tried, so that `ddrescuelog -m disc.cd.domain -t disc.cd.map` counts the
// sessions alone.
std::string DomainPathOf(const std::string& imagePath);

enum class MapLoad {
  kNone,     // no file of that name
  kLoaded,
  kDamaged,  // the file is there but does not read as a mapfile (reason says why)
};

MapLoad LoadMapFile(const std::string& path, RescueMap& map, std::string& reason);

// Writes text to path through a temporary file beside it that is then renamed
// over it, so that a stop at any moment leaves the old file or the new one
// whole, never a part. False, with reason, when that fails.
bool ReplaceFileText(const std::string& path, const std::string& text, std::string& reason);

// Removes path when it holds a mapfile (a domain map left by an earlier image
// of another disc); any other file there is kept.
void RemoveStaleMap(const std::string& path);

}  // namespace velmora::disc
