// The recovery scan's search for path tables on a disc made to make it slow:
// every sector looks like the start of a path table whose records run on to
// the disc's last sector. The work must grow with the disc's size, not with
// its square; it is counted in sectors read, never timed.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/emulated/EmulatedMachine.h"
#include "support/EngineScan.h"
#include "support/HandDisc.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

using platform::emulated::EmulatedDisc;
using platform::emulated::EmulatedMachine;
using platform::emulated::RecordedCommand;

constexpr std::uint32_t kSector = 2048;
constexpr std::uint32_t kFirstScanSector = 16;

// One path table record (ECMA-119 9.4): identifier length, extended attribute
// length, extent, parent number, identifier, and a padding byte after an odd
// identifier.
void PutRecord(std::vector<std::byte>& sector, std::size_t at, std::uint8_t length,
               std::uint8_t padding = 0) {
  sector[at] = std::byte{length};
  sector[at + 2] = std::byte{20};  // extent 20
  sector[at + 6] = std::byte{1};   // parent number 1
  for (std::size_t i = 0; i < length; ++i) sector[at + 8 + i] = std::byte{'A'};
  if (length % 2 != 0) sector[at + 8 + length] = std::byte{padding};
}

// A disc without volume descriptors whose sectors from 16 on each begin with a
// root record (identifier length 1, parent 1, identifier 0) and are filled with
// records to their last byte, so that a table followed from any of them runs
// on through all the sectors after it. In the last sector a padding byte that
// is not zero makes the reader refuse the table there.
testing::HandDisc AllPathTables(std::uint32_t sectors) {
  testing::HandDisc disc(sectors);
  for (std::uint32_t lba = kFirstScanSector; lba < sectors; ++lba) {
    std::vector<std::byte> sector(kSector, std::byte{0});
    PutRecord(sector, 0, 1);
    sector[8] = std::byte{0};  // the root's identifier
    std::size_t at = 10;
    // 202 records of 10 bytes and one of 18 end at byte 2048.
    for (int i = 0; i < 202; ++i, at += 10) PutRecord(sector, at, 2);
    const bool last = lba + 1 == sectors;
    PutRecord(sector, at, last ? 9 : 10, last ? 0x41 : 0);
    disc.WriteAt(std::uint64_t{lba} * kSector, sector);
  }
  return disc;
}

// Scans the disc in the emulated drive; returns the sectors the drive was asked for.
std::uint64_t SectorsReadByAScan(const std::filesystem::path& image) {
  auto machine = std::make_unique<EmulatedMachine>(1);
  EmulatedMachine& drive = *machine;
  std::string reason;
  std::optional<EmulatedDisc> disc = EmulatedDisc::FromImage(image.string(), reason);
  EXPECT_TRUE(disc) << reason;
  if (!disc) return 0;
  drive.InsertDisc(0, *disc);
  testing::EngineScan scan(std::move(machine));
  scan.ScanDrive();
  EXPECT_TRUE(scan.ListingTsv().empty());
  EXPECT_FALSE(scan.state.processRunning);
  EXPECT_EQ(drive.droppedCommands(), 0u);
  std::uint64_t bytes = 0;
  for (const RecordedCommand& command : drive.commands()) {
    if (command.kind == RecordedCommand::Kind::kCookedRead) bytes += command.length;
  }
  return bytes / kSector;
}

// 29 s for 8 MB when the search started again at the sector after each table
// it refused: each start read the rest of the disc again.
TEST(PathTableScan, SectorsThatAllLookLikePathTablesAreReadAFewTimesEach) {
  testing::TempDir dir;
  for (std::uint32_t sectors : {512u, 4096u}) {  // 1 MB and 8 MB
    SCOPED_TRACE(std::to_string(sectors) + " sectors");
    const std::filesystem::path image = dir / ("tables" + std::to_string(sectors) + ".iso");
    AllPathTables(sectors).Save(image);
    const std::uint64_t read = SectorsReadByAScan(image);
    // The directory search and the path table search read each sector once,
    // the readiness probe and the descriptor search a few dozen.
    EXPECT_GE(read, sectors);
    EXPECT_LE(read, 3u * sectors);
    RecordProperty("sectorsRead" + std::to_string(sectors), static_cast<int>(read));
  }
}

}  // namespace
}  // namespace velmora
