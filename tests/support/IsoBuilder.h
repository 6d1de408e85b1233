#pragma once

#include <filesystem>
#include <string>

namespace velmora::testing {

enum class IsoTool { kGenisoimage, kXorriso };

struct IsoOptions {
  IsoTool tool = IsoTool::kGenisoimage;
  bool joliet = true;
  bool rockRidge = false;
  std::string volumeId = "VELMORA";
  int isoLevel = 1;  // 1 to 3; genisoimage also takes 4
  // Names without the ";1" version (genisoimage -N, xorriso omit_version).
  bool omitVersionNumbers = false;
  // Longer ISO 9660 names than level 1 allows: genisoimage -l (31 characters),
  // xorriso long_names (37 characters).
  bool longNames = false;
  // Lower-case letters kept in ISO 9660 names (genisoimage -allow-lowercase,
  // xorriso lowercase).
  bool lowercase = false;
  // POSIX TZ the tool runs in. genisoimage records local times with this zone's
  // offset; xorriso always records UTC. A fixed zone such as "JST-9" gives recorded
  // times that IsoinfoListing can read back when handed the same zone.
  std::string timeZone = "UTC0";
};

// The zone whose local time the image's records hold: options.timeZone for
// genisoimage, UTC for xorriso. IsoinfoListing needs it to read the times back.
std::string RecordingZone(const IsoOptions& options);

// Builds an image of sourceDir at out (replacing any file there) and returns out.
// Throws std::runtime_error when the tool is missing or fails.
std::filesystem::path MakeIso(const std::filesystem::path& sourceDir,
                              const std::filesystem::path& out, const IsoOptions& options = {});

}  // namespace velmora::testing
