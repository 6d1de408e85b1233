#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::testing {

// The software optical drive (support/softdrive) set up in a folder for a
// program that runs with Environment(): a machine root that lists one drive,
// sr0, whose device node behaves as a Linux SCSI optical drive holding a disc
// image, with the real Linux backend reading it. The drive's script and log
// are files in the folder; directives are those of support/softdrive/DriveScript.h.
class SoftwareDrive {
 public:
  explicit SoftwareDrive(const std::filesystem::path& folder);

  // folder/root/dev/sr0.
  const std::filesystem::path& device() const { return device_; }
  const std::filesystem::path& log() const { return log_; }
  const std::filesystem::path& script() const { return script_; }
  // The folder that stands for "/": root()/dev/sr0, root()/proc/sys/dev/cdrom/info.
  std::filesystem::path root() const { return folder_ / "root"; }
  // Puts disc in the drive (an empty path: no disc), with further directives,
  // and empties the log. Takes effect at the next program run.
  void Load(const std::filesystem::path& disc, const std::vector<std::string>& directives = {});

  // LD_PRELOAD and the settings that make a program find and use the drive.
  std::vector<std::string> Environment() const;

  std::vector<std::string> LogLines() const;
  // Log lines that hold part: "sg READ-CD", "MALFORMED".
  std::size_t Count(std::string_view part) const;
  // True when the last handle closed with the tray unlocked, or none was
  // opened: a process that died with the drive open, or left it locked, has
  // no such line last.
  bool LeftUnlocked() const;
  // Lets a command the script holds go on.
  void Release() const;

 private:
  std::filesystem::path folder_;
  std::filesystem::path device_;
  std::filesystem::path script_;
  std::filesystem::path log_;
};

}  // namespace velmora::testing
