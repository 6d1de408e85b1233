// A sector that failed is asked of the medium once per medium: later reads
// that reach it are answered from what the reader remembers, as the emulated
// drive's command log shows.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "media/MmcCommands.h"
#include "platform/emulated/EmulatedMachine.h"
#include "recovery/RecoveryEngine.h"
#include "select/RecoveryFilterList.h"
#include "support/EngineScan.h"
#include "support/HandDisc.h"
#include "support/ScriptedHost.h"
#include "support/TempDir.h"
#include "support/TreeWriter.h"

namespace velmora::disc {
namespace {

namespace fs = std::filesystem;
using platform::emulated::EmulatedDisc;
using platform::emulated::EmulatedMachine;
using platform::emulated::FaultKind;
using platform::emulated::RecordedCommand;

Lba CdbLba(const RecordedCommand& c) {
  return (Lba{c.cdb[2]} << 24) | (Lba{c.cdb[3]} << 16) | (Lba{c.cdb[4]} << 8) | c.cdb[5];
}

std::uint32_t CdbLength(const RecordedCommand& c) {
  return (std::uint32_t{c.cdb[6]} << 16) | (std::uint32_t{c.cdb[7]} << 8) | c.cdb[8];
}

// READ(10) carries its transfer length in bytes 7-8.
std::uint32_t Read10Length(const RecordedCommand& c) {
  return (std::uint32_t{c.cdb[7]} << 8) | c.cdb[8];
}

// Commands that asked the drive for sector lba: cooked reads over it and READ
// CD or READ(10) commands whose range holds it.
std::size_t ReadsOf(const EmulatedMachine& machine, Lba lba) {
  return static_cast<std::size_t>(
      std::count_if(machine.commands().begin(), machine.commands().end(), [&](const auto& c) {
        if (c.kind == RecordedCommand::Kind::kCookedRead) {
          return c.offset <= std::uint64_t{lba} * kSectorSize &&
                 c.offset + c.length > std::uint64_t{lba} * kSectorSize;
        }
        if (c.kind != RecordedCommand::Kind::kCdb || c.cdb.empty()) return false;
        if (c.cdb[0] == kReadCdOpcode) return CdbLba(c) <= lba && CdbLba(c) + CdbLength(c) > lba;
        return c.cdb[0] == kRead10Opcode && CdbLba(c) <= lba && CdbLba(c) + Read10Length(c) > lba;
      }));
}

TEST(FailedSectorMemoryTest, AFailedSectorIsAskedOnceUntilTheMediumChanges) {
  testing::TempDir dir;
  const std::string image = (dir / "disc.img").string();
  std::ofstream(image, std::ios::binary) << testing::PatternBytes(3000 * kSectorSize, 5);
  constexpr Lba kBad = 1200;
  struct Case {
    const char* name;
    std::vector<TrackNode> tracks;
    std::size_t firstFailure;  // commands the first failing read takes
  };
  // A drive read as a file is asked once, then (a single sector) once with
  // READ(10), which says why it does not read; READ CD is not retried.
  const Case cases[] = {
      {"DriveReadAsAFile", {}, 2},
      {"DriveReadByReadCd", {{1, 150, 1000}, {2, 1150, 3000}}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EmulatedDisc disc;
    disc.imagePath = image;
    disc.tracks = c.tracks;
    disc.faults[kBad] = {FaultKind::kUnreadable};
    EmulatedMachine machine;
    machine.InsertDisc(0, disc);
    CCDReader reader(machine);
    testing::ScriptedPrompts prompts;
    AppState state;
    ASSERT_TRUE(reader.OpenSelectedDrive(prompts, state));
    machine.ClearCommands();
    std::vector<std::byte> buffer(8 * kSectorSize);
    std::uint32_t bytesRead = 0;

    EXPECT_FALSE(reader.ReadSectors(kBad, 1, buffer, bytesRead));
    EXPECT_EQ(ReadsOf(machine, kBad), c.firstFailure);
    for (int again = 0; again < 100; ++again) {
      EXPECT_FALSE(reader.ReadSectors(kBad, 1, buffer, bytesRead));
      EXPECT_FALSE(reader.ReadSectors(kBad, 1, buffer, bytesRead, 100, true));
    }
    // A read over it delivers what lies before it, without asking for it.
    ASSERT_TRUE(reader.ReadSectors(kBad - 3, 8, buffer, bytesRead));
    EXPECT_EQ(bytesRead, 3 * kSectorSize);
    EXPECT_EQ(ReadsOf(machine, kBad), c.firstFailure);
    EXPECT_EQ(ReadsOf(machine, kBad - 1), 1u);

    // Another disc may be in the drive: it is asked again.
    reader.RereadToc();
    EXPECT_FALSE(reader.ReadSectors(kBad, 1, buffer, bytesRead));
    EXPECT_EQ(ReadsOf(machine, kBad), 2 * c.firstFailure);
  }
}

// A disc whose files all lie on one sector: a recovery of them that reads the
// bad sector once per file spends a drive's retries on it every time.
TEST(FailedSectorMemoryTest, FilesSharingAnUnreadableSectorCostOneFailedRead) {
  testing::TempDir dir;
  constexpr std::uint32_t kFiles = 300;
  constexpr Lba kRoot = 20;
  testing::HandDisc hand(60);
  std::vector<testing::HandRecord> records;
  for (std::uint32_t k = 0; k < kFiles; ++k) {
    records.push_back({.name = "F" + std::to_string(k) + ".TXT;1", .extent = 50, .length = 3000});
  }
  const std::uint32_t rootBytes = testing::HandDisc::DirectoryBytes(records);
  hand.WritePrimary(kRoot, rootBytes);
  hand.WriteDirectory(kRoot, kRoot, records);
  hand.Save(dir / "shared.iso");

  EmulatedDisc disc;
  disc.imagePath = (dir / "shared.iso").string();
  disc.faults[51] = {FaultKind::kUnreadable};
  auto machine = std::make_unique<EmulatedMachine>();
  machine->InsertDisc(0, disc);
  EmulatedMachine& drive = *machine;
  testing::EngineScan engine(std::move(machine));
  engine.ScanDrive();
  ASSERT_EQ(engine.table.size(), kFiles + 1);

  RecoveryEngine recovery(engine.reader, *engine.machine, engine.state, engine.host, engine.scan);
  engine.host.scriptedPrompts.folderAnswer = (dir / "out").string();
  engine.state.recoverAll = true;
  const RecoverySummary summary = recovery.Run(engine.table, select::RecoveryFilterList());
  EXPECT_EQ(summary.filesPartial, kFiles);
  // The first file's run over both sectors, that broke off at it, then it
  // alone by the file reader and once with READ(10); none for the other files.
  EXPECT_EQ(ReadsOf(drive, 51), 3u);
  EXPECT_EQ(ReadsOf(drive, 50), kFiles) << "a good sector is read for every file";
}

}  // namespace
}  // namespace velmora::disc
