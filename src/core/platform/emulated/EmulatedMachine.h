#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Machine.h"
#include "platform/emulated/CommandLog.h"
#include "platform/emulated/EmulatedDisc.h"
#include "platform/emulated/EmulatedDrive.h"

namespace velmora::platform::emulated {

// A machine whose optical drives are emulated: drive k is "emulated:srk". Any
// other path opens on the host machine, so image files still open as files.
class EmulatedMachine : public Machine {
 public:
  explicit EmulatedMachine(std::size_t driveCount = 1);

  // Puts disc in the drive in place of any disc there: a disc change, which the
  // handles already open see.
  void InsertDisc(std::size_t drive, EmulatedDisc disc);
  void EjectDisc(std::size_t drive);

  const std::vector<RecordedCommand>& commands() const { return log_->commands(); }
  void ClearCommands() { log_->Clear(); }
  // The programs keep no record of the commands; tests do.
  void RecordCommands(bool on) { log_->SetRecording(on); }
  // Hands every command to sink as the drives receive it.
  void SetCommandSink(std::function<void(const RecordedCommand&)> sink) {
    log_->SetSink(std::move(sink));
  }
  std::size_t droppedCommands() const { return log_->dropped(); }
  // Command blocks rejected as malformed since the machine was made.
  std::size_t malformedCommands() const { return log_->malformed(); }
  bool trayLocked(std::size_t drive) const { return drives_.at(drive)->trayLocked(); }

  std::vector<std::string> OpticalDrives() override;
  std::unique_ptr<DeviceFile> OpenDevice(const std::string& path, OpenError& error) override;
  std::unique_ptr<ScsiTransport> OpenPassThrough(const std::string& path,
                                                 OpenError& error) override;
  // path lies on an emulated disc when the disc is shown mounted at a folder
  // (EmulatedDisc::mountedAt) and path is at or below it; the file system
  // that holds the disc's image is not the disc.
  bool SameMedium(const std::string& path, const std::string& devicePath) override;

 private:
  // The drive number in a path of the form "emulated:srN"; nothing for any other path.
  static std::optional<std::size_t> DriveNumberOf(const std::string& path);
  // The drive a drive path names; nullptr with error set when there is no such drive.
  std::shared_ptr<EmulatedDrive> DriveAt(const std::string& path, std::size_t number,
                                         OpenError& error) const;

  std::shared_ptr<CommandLog> log_ = std::make_shared<CommandLog>();
  std::vector<std::shared_ptr<EmulatedDrive>> drives_;
  std::vector<std::string> mountPoints_;  // per drive; empty while its disc is not mounted
  std::unique_ptr<Machine> host_;
};

}  // namespace velmora::platform::emulated
