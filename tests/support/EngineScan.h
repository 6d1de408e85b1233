#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/AppState.h"
#include "disc/CCDReader.h"
#include "entries/EntryTable.h"
#include "scan/ScanProcess.h"
#include "platform/Machine.h"
#include "support/ScriptedHost.h"

namespace velmora::testing {

// One engine as the programs assemble it: a reader over a machine, the flags,
// the entry table and a scripted host.
struct EngineScan {
  explicit EngineScan(std::unique_ptr<platform::Machine> machineIn);

  // Opens an image file in place of the drive and scans it.
  void ScanImage(const std::string& path);
  // Runs the Open Drive command on the machine's drive.
  void ScanDrive();

  // Each entry below Root as "path<TAB>type<TAB>size<TAB>date<TAB>extent", the
  // path made of the names below Root, type "file" or "folder"; sorted.
  std::vector<std::string> ListingTsv() const;
  // The path of entry index (names below Root joined by "/").
  std::string PathOf(std::size_t index) const;

  std::unique_ptr<platform::Machine> machine;
  AppState state;
  disc::EntryTable table;
  ScriptedHost host;
  disc::CCDReader reader;
  disc::ScanProcess scan;
};

}  // namespace velmora::testing
