#include "image/MapWriter.h"

#include <ctime>
#include <utility>

#include "image/ImageMapFile.h"
#include "media/MapFileText.h"

namespace velmora::disc {
namespace {

std::string LocalTimeNow() {
  const std::time_t now = std::time(nullptr);
  char text[32] = "";
  if (const std::tm* local = std::localtime(&now)) {
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", local);
  }
  return text;
}

}  // namespace

MapWriter::MapWriter(std::string imagePath, std::string commandLine)
    : imagePath_(std::move(imagePath)),
      mapPath_(MapPathOf(imagePath_)),
      commandLine_(std::move(commandLine)),
      startTime_(LocalTimeNow()),
      lastSave_(std::chrono::steady_clock::now()) {}

std::vector<std::string> MapWriter::Headings(const RescueMap& map) const {
  std::string doing(PhaseText(map.phase));
  if (map.phase != RescuePhase::kFinished) {
    doing += " Pass " + std::to_string(map.pass);
  }
  return {"Mapfile. Created by velmora",
          "Command line: " + commandLine_,
          "Start time:   " + startTime_,
          "Current time: " + LocalTimeNow(),
          doing};
}

bool MapWriter::Save(const RescueMap& map) {
  lastSave_ = std::chrono::steady_clock::now();
  std::string why;
  if (!ReplaceFileText(mapPath_, FormatMapFile(map, Headings(map)), why)) {
    reason_ = why;
    return false;
  }
  return true;
}

bool MapWriter::SaveIfDue(const RescueMap& map) {
  if (std::chrono::steady_clock::now() - lastSave_ < kSaveInterval) return true;
  return Save(map);
}

bool MapWriter::SaveDomain(const RescueMap& domain) {
  const std::string path = DomainPathOf(imagePath_);
  if (domain.All(0, domain.extent(), AreaStatus::kFinished)) {
    RemoveStaleMap(path);
    return true;
  }
  RescueMap text = domain;
  text.phase = RescuePhase::kFinished;
  std::string why;
  if (!ReplaceFileText(path, FormatMapFile(text, {"Domain map. Created by velmora",
                                                   "Command line: " + commandLine_,
                                                   "The blocks of the sessions are finished (+); "
                                                   "the gaps between them lie outside the rescue"}),
                       why)) {
    reason_ = why;
    return false;
  }
  return true;
}

}  // namespace velmora::disc
