#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/BlockFile.h"
#include "platform/DriveControl.h"
#include "platform/ScsiTransport.h"

namespace velmora::platform {

// A drive or an image opened for cooked reads; on a drive the same handle
// answers the TOC and the tray lock.
class DeviceFile : public BlockFile, public DriveControl {
 public:
  // True while no call can keep its caller waiting (a drive emulated in
  // memory whose disc has no slow or holding sector): a caller that moves
  // calls that may block off its thread can make these in place.
  virtual bool AnswersAtOnce() { return false; }
};

// Why an open failed: errno and the OS text, ready for one line to the user.
struct OpenError {
  int error = 0;
  std::string reason;
};

// The machine's optical drives and files, as the engine sees them.
class Machine {
 public:
  virtual ~Machine() = default;
  // Device paths of the optical drives, sorted by number.
  virtual std::vector<std::string> OpticalDrives() = 0;
  // Opens a drive or a file for reading.
  virtual std::unique_ptr<DeviceFile> OpenDevice(const std::string& path, OpenError& error) = 0;
  // Opens a drive a second time for command pass-through.
  virtual std::unique_ptr<ScsiTransport> OpenPassThrough(const std::string& path,
                                                         OpenError& error) = 0;
  // True when path lies on the medium that devicePath reads: the disc in that
  // drive is mounted and path is on it. A file (an image) is no medium: the
  // file system that holds it is not what is rescued. False when either
  // cannot be examined.
  virtual bool SameMedium(const std::string& path, const std::string& devicePath) = 0;
};

// The real machine of this build's OS.
std::unique_ptr<Machine> CreateHostMachine();

}  // namespace velmora::platform
