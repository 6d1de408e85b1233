#pragma once

#include <string>

#include "host/AppState.h"
#include "disc/CCDReader.h"
#include "host/ScanHost.h"
#include "scan/ScanProcess.h"
#include "platform/Machine.h"

namespace velmora::disc {

// Open Image: puts a .cd image (or a plain ISO 9660 image) in place of the drive
// and scans it like a disc. The image stays the sector source until the next
// Open Drive switches back to the drive.
class ImageOpener {
 public:
  ImageOpener(CCDReader& reader, platform::Machine& machine, AppState& state, ScanProcess& scan,
              ScanHost& host)
      : reader_(reader), machine_(machine), state_(state), scan_(scan), host_(host) {}

  // The command: opens the image and, when it is one, scans it into the entry
  // table. Returns false when the file is not a usable image; the entry table
  // then still holds what it held.
  bool OnOpenImage(const std::string& path);

  // Opens the image in place of the drive. On failure the user is told why
  // (code 7 when the file does not open, then code 1), and the reader and the
  // tray stay as they were.
  bool OpenImage(const std::string& path);

 private:
  CCDReader& reader_;
  platform::Machine& machine_;
  AppState& state_;
  ScanProcess& scan_;
  ScanHost& host_;
};

}  // namespace velmora::disc
