#include "support/SoftwareDrive.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include "support/TextFiles.h"

namespace velmora::testing {

namespace fs = std::filesystem;

SoftwareDrive::SoftwareDrive(const fs::path& folder)
    : folder_(folder),
      device_(folder / "root/dev/sr0"),
      script_(folder / "drive.script"),
      log_(folder / "drive.log") {
  fs::create_directories(folder / "root/proc/sys/dev/cdrom");
  fs::create_directories(device_.parent_path());
  // The kernel's list of CD-ROM drives, as /proc shows it.
  std::ofstream(folder / "root/proc/sys/dev/cdrom/info")
      << "CD-ROM information, Id: cdrom.c 3.20 2003/12/17\n\ndrive name:\t\tsr0\n"
         "drive speed:\t\t40\ndrive # of slots:\t1\n";
  // The node exists as a file, so that paths resolve; the drive answers for it.
  std::ofstream(device_).close();
}

void SoftwareDrive::Load(const fs::path& disc, const std::vector<std::string>& directives) {
  std::ofstream script(script_);
  script << "device " << device_.string() << "\nlog " << log_.string() << '\n';
  if (disc.empty()) {
    script << "no-medium\n";
  } else {
    script << "disc " << disc.string() << '\n';
  }
  for (const std::string& line : directives) script << line << '\n';
  if (!script) throw std::runtime_error("cannot write " + script_.string());
  std::ofstream(log_, std::ios::trunc).close();
  fs::remove(log_.string() + ".release");
}

std::vector<std::string> SoftwareDrive::Environment() const {
  // A sanitizer's runtime wants to come first in a process; this library,
  // built without one, comes before it and says so.
  std::string asan = "verify_asan_link_order=0";
  if (const char* given = std::getenv("ASAN_OPTIONS"); given && *given) asan = std::string(given) + ":" + asan;
  return {"LD_PRELOAD=" VELMORA_SOFTDRIVE_PATH, "VELMORA_SOFT_DRIVE=" + script_.string(),
          "VELMORA_MACHINE_ROOT=" + (folder_ / "root").string(), "ASAN_OPTIONS=" + asan};
}

std::vector<std::string> SoftwareDrive::LogLines() const { return Lines(FileBytes(log_)); }

std::size_t SoftwareDrive::Count(std::string_view part) const {
  std::size_t count = 0;
  for (const std::string& line : LogLines()) count += line.find(part) != std::string::npos;
  return count;
}

bool SoftwareDrive::LeftUnlocked() const {
  const std::vector<std::string> lines = LogLines();
  for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
    if (line->starts_with("close ")) return line->ends_with(" opens 0 tray unlocked");
    if (line->starts_with("open ")) return false;
  }
  return true;  // never opened
}

void SoftwareDrive::Release() const { std::ofstream(log_.string() + ".release").close(); }

}  // namespace velmora::testing
