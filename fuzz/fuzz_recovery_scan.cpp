// The recovery scans of a session whose descriptors are lost: the sector scans
// for directories and path tables, and the walks they start.

#include "FuzzMachine.h"
#include "iso9660/RecoveryScan.h"
#include "iso9660/VolumeReader.h"

namespace {

using namespace velmora;

// Counts what the walks accept; never asks to stop.
class CountingSink : public disc::ScanSink {
 public:
  std::size_t records = 0;
  void AcceptRecord(const disc::WorkRecord&, bool) override { ++records; }
  bool StopRequested() override { return false; }
  void AddLogEntry(std::u16string_view, std::u16string_view, std::u16string_view,
                   log::LogIcon) override {}
  void MarkLogHasEntries() override {}
  bool ListedInEarlierSession(const disc::WorkRecord&) override { return false; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::MemoryMachine machine(fuzz::Bytes(data, size));
  disc::CCDReader reader(machine);
  reader.UseImage(std::make_unique<fuzz::MemoryFile>(fuzz::Bytes(data, size)), false, 0, {});
  CountingSink sink;
  disc::VolumeReader volume(reader, sink);
  disc::SessionGeometry session;
  session.end = reader.MediumSectors();
  // The descriptor search finds none in most inputs and runs the recovery
  // pass; the scans are run on their own too, as the pass may not reach them.
  volume.FindVolume(session);
  disc::RecoveryScan scan(volume, reader);
  scan.ScanForDirectories(16);
  scan.ScanForPathTables();
  return 0;
}
