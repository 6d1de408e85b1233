#include "platform/linux/LinuxMachine.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <cerrno>
#include <fstream>
#include <sstream>
#include <string_view>
#include <system_error>
#include <utility>

#include "platform/linux/LinuxDeviceFile.h"
#include "platform/linux/SgTransport.h"

namespace velmora::platform {

namespace {

// The kernel's names of the drives on the "drive name:" line, e.g. "sr1 sr0"
// (newest first); none when the file is missing.
std::vector<std::string> NamesFromCdromInfo(const std::filesystem::path& file) {
  constexpr std::string_view kDriveNameKey = "drive name:";
  std::vector<std::string> names;
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.starts_with(kDriveNameKey)) continue;
    std::istringstream fields(line.substr(kDriveNameKey.size()));
    for (std::string name; fields >> name;) names.push_back(name);
    break;
  }
  return names;
}

// The sr* entries of the block class: one per SCSI optical drive.
std::vector<std::string> NamesFromBlockClass(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    std::string name = it->path().filename().string();
    const bool isSr =
        name.size() > 2 && name.starts_with("sr") &&
        std::all_of(name.begin() + 2, name.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (isSr) names.push_back(std::move(name));
  }
  return names;
}

// Orders "sr2" before "sr10": by the name's letters, then by its number.
bool DriveNameLess(std::string_view a, std::string_view b) {
  auto split = [](std::string_view name) {
    const std::size_t digits = name.find_last_not_of("0123456789") + 1;
    return std::pair(name.substr(0, digits), name.substr(digits));
  };
  const auto [aLetters, aNumber] = split(a);
  const auto [bLetters, bNumber] = split(b);
  if (aLetters != bLetters) return aLetters < bLetters;
  if (aNumber.size() != bNumber.size()) return aNumber.size() < bNumber.size();
  return aNumber < bNumber;
}

}  // namespace

LinuxMachine::LinuxMachine() : LinuxMachine("/proc/sys/dev/cdrom/info", "/sys/class/block") {}

LinuxMachine::LinuxMachine(std::filesystem::path cdromInfo, std::filesystem::path blockClass,
                           std::filesystem::path deviceFolder)
    : cdromInfo_(std::move(cdromInfo)),
      blockClass_(std::move(blockClass)),
      deviceFolder_(std::move(deviceFolder)) {}

std::unique_ptr<LinuxMachine> LinuxMachine::UnderRoot(const std::filesystem::path& root) {
  return std::make_unique<LinuxMachine>(root / "proc/sys/dev/cdrom/info", root / "sys/class/block",
                                        root / "dev");
}

std::vector<std::string> LinuxMachine::OpticalDrives() {
  std::vector<std::string> names = NamesFromCdromInfo(cdromInfo_);
  if (names.empty()) names = NamesFromBlockClass(blockClass_);
  std::sort(names.begin(), names.end(), DriveNameLess);
  names.erase(std::unique(names.begin(), names.end()), names.end());
  std::vector<std::string> paths;
  paths.reserve(names.size());
  for (const std::string& name : names) paths.push_back((deviceFolder_ / name).string());
  return paths;
}

std::unique_ptr<DeviceFile> LinuxMachine::OpenDevice(const std::string& path, OpenError& error) {
  return LinuxDeviceFile::Open(path, error);
}

std::unique_ptr<ScsiTransport> LinuxMachine::OpenPassThrough(const std::string& path,
                                                             OpenError& error) {
  return SgTransport::Open(path, error);
}

bool LinuxMachine::SameMedium(const std::string& path, const std::string& devicePath) {
  struct stat place {};
  struct stat device {};
  // A folder still to be made lies where its nearest existing ancestor lies.
  std::filesystem::path at = path;
  while (stat(at.c_str(), &place) != 0) {
    if (errno != ENOENT) return false;
    std::filesystem::path up = at.parent_path();
    if (up.empty()) up = ".";
    if (up == at) return false;
    at = std::move(up);
  }
  if (stat(devicePath.c_str(), &device) != 0 || !S_ISBLK(device.st_mode)) return false;
  // A mounted disc's files carry the drive's device number.
  return place.st_dev == device.st_rdev;
}

std::unique_ptr<Machine> CreateHostMachine() {
  // Tests stand a folder of their own in for the machine's drive lists and
  // device nodes, with a drive made in software behind a node there.
  if (const char* root = std::getenv("VELMORA_MACHINE_ROOT"); root != nullptr && *root != '\0') {
    return LinuxMachine::UnderRoot(root);
  }
  return std::make_unique<LinuxMachine>();
}

}  // namespace velmora::platform
