#include "platform/emulated/EmulatedMachine.h"

#include <cerrno>
#include <charconv>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "text/StringTable.h"

namespace velmora::platform::emulated {
namespace {

constexpr std::string_view kDrivePrefix = "emulated:sr";

// The drive opened as a file.
class EmulatedDeviceFile final : public DeviceFile {
 public:
  explicit EmulatedDeviceFile(std::shared_ptr<EmulatedDrive> drive) : drive_(std::move(drive)) {}
  IoResult ReadAt(std::uint64_t offset, std::span<std::byte> buffer) override {
    return drive_->ReadAt(offset, buffer);
  }
  std::optional<std::uint64_t> Size() override { return drive_->Size(); }
  std::optional<Toc> ReadToc() override { return drive_->ReadToc(); }
  bool SetMediumRemoval(bool prevent) override { return drive_->SetMediumRemoval(prevent); }
  DriveStatus Status() override { return drive_->Status(); }
  bool AnswersAtOnce() override { return drive_->answersAtOnce(); }

 private:
  std::shared_ptr<EmulatedDrive> drive_;
};

// The drive opened for pass-through. It never times out: a slow sector takes its
// delay and is served.
class EmulatedPassThrough final : public ScsiTransport {
 public:
  explicit EmulatedPassThrough(std::shared_ptr<EmulatedDrive> drive) : drive_(std::move(drive)) {}
  ScsiResult Execute(std::span<const std::uint8_t> cdb, std::span<std::byte> dataIn,
                     std::chrono::milliseconds) override {
    return drive_->Execute(cdb, dataIn);
  }
  ScsiResult ExecuteOut(std::span<const std::uint8_t> cdb, std::span<const std::byte> dataOut,
                        std::chrono::milliseconds) override {
    return drive_->ExecuteOut(cdb, dataOut);
  }
  bool AnswersAtOnce() override { return drive_->answersAtOnce(); }

 private:
  std::shared_ptr<EmulatedDrive> drive_;
};

}  // namespace

EmulatedMachine::EmulatedMachine(std::size_t driveCount) : host_(CreateHostMachine()) {
  for (std::size_t i = 0; i < driveCount; ++i)
    drives_.push_back(std::make_shared<EmulatedDrive>(log_));
  mountPoints_.resize(driveCount);
}

void EmulatedMachine::InsertDisc(std::size_t drive, EmulatedDisc disc) {
  OpenError error;
  // An image that does not open leaves a disc whose sectors all fail to read.
  std::unique_ptr<DeviceFile> image = host_->OpenDevice(disc.imagePath, error);
  mountPoints_.at(drive) = disc.mountedAt;
  drives_.at(drive)->Insert(std::move(disc), std::move(image));
}

void EmulatedMachine::EjectDisc(std::size_t drive) {
  drives_.at(drive)->Eject();
  mountPoints_.at(drive).clear();
}

std::vector<std::string> EmulatedMachine::OpticalDrives() {
  std::vector<std::string> paths;
  for (std::size_t i = 0; i < drives_.size(); ++i)
    paths.push_back(std::string(kDrivePrefix) + std::to_string(i));
  return paths;
}

std::optional<std::size_t> EmulatedMachine::DriveNumberOf(const std::string& path) {
  if (!path.starts_with(kDrivePrefix)) return std::nullopt;
  std::string_view digits = std::string_view(path).substr(kDrivePrefix.size());
  std::size_t number = 0;
  auto [end, status] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  if (status != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return number;
}

std::shared_ptr<EmulatedDrive> EmulatedMachine::DriveAt(const std::string& path, std::size_t number,
                                                        OpenError& error) const {
  if (number < drives_.size()) return drives_[number];
  error.error = ENOENT;
  error.reason = text::FormatTextUtf8(text::kReasonDoesNotExist, {path});
  return nullptr;
}

std::unique_ptr<DeviceFile> EmulatedMachine::OpenDevice(const std::string& path, OpenError& error) {
  std::optional<std::size_t> number = DriveNumberOf(path);
  if (!number) return host_->OpenDevice(path, error);
  std::shared_ptr<EmulatedDrive> drive = DriveAt(path, *number, error);
  if (!drive) return nullptr;
  return std::make_unique<EmulatedDeviceFile>(std::move(drive));
}

std::unique_ptr<ScsiTransport> EmulatedMachine::OpenPassThrough(const std::string& path,
                                                                OpenError& error) {
  std::optional<std::size_t> number = DriveNumberOf(path);
  if (!number) return host_->OpenPassThrough(path, error);
  std::shared_ptr<EmulatedDrive> drive = DriveAt(path, *number, error);
  if (!drive) return nullptr;
  return std::make_unique<EmulatedPassThrough>(std::move(drive));
}

bool EmulatedMachine::SameMedium(const std::string& path, const std::string& devicePath) {
  std::optional<std::size_t> number = DriveNumberOf(devicePath);
  if (!number) return host_->SameMedium(path, devicePath);
  if (*number >= mountPoints_.size() || mountPoints_[*number].empty()) return false;
  // A folder still to be made lies where its nearest existing ancestor lies.
  std::error_code error;
  const std::filesystem::path place = std::filesystem::weakly_canonical(path, error);
  if (error) return false;
  const std::filesystem::path mount = std::filesystem::weakly_canonical(mountPoints_[*number], error);
  if (error) return false;
  const std::filesystem::path relative = place.lexically_relative(mount);
  return !relative.empty() && *relative.begin() != "..";
}

}  // namespace velmora::platform::emulated
