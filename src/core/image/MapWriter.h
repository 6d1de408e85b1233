#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "media/RescueMap.h"

namespace velmora::disc {

// Keeps the map beside an image up to date while the image is written: saved
// whole (a temporary file renamed over the map) every few seconds and
// whenever the copy stops, with the heading comments a mapfile carries (the
// program, its command line, when it started and what it is doing).
class MapWriter {
 public:
  static constexpr std::chrono::seconds kSaveInterval{5};

  MapWriter(std::string imagePath, std::string commandLine);

  // Saves the map now; false when it could not be written (reason() says why).
  bool Save(const RescueMap& map);
  // Saves when the last save is kSaveInterval old or older.
  bool SaveIfDue(const RescueMap& map);
  // Writes the domain map: the sessions' blocks finished, the rest not tried.
  // An image without blocks outside its sessions has none, and one an earlier
  // image left is removed.
  bool SaveDomain(const RescueMap& domain);

  const std::string& mapPath() const { return mapPath_; }
  // Why the last save failed; empty while every save went through.
  const std::string& reason() const { return reason_; }

 private:
  std::vector<std::string> Headings(const RescueMap& map) const;

  std::string imagePath_;
  std::string mapPath_;
  std::string commandLine_;
  std::string startTime_;
  std::chrono::steady_clock::time_point lastSave_;
  std::string reason_;
};

}  // namespace velmora::disc
