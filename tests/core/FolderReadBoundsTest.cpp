// Folder records that point into a file's data, each claiming megabytes: the
// reader judges each "no directory" from its first sector, in the tree it
// shows and in the other tree the union reads, instead of reading the length
// it claims (hours on a drive). The work is counted in sectors the emulated
// drive was asked for, never timed.

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
using testing::HandDisc;
using testing::HandRecord;

constexpr std::uint32_t kSector = 2048;
constexpr std::uint32_t kRecords = 200;
constexpr std::uint32_t kDataSectors = 2048;  // a 4 MiB file every record points into
constexpr std::uint32_t kPrimaryRoot = 20;
constexpr std::uint32_t kSecondRoot = 24;  // the second tree's root, when there is one
constexpr std::uint32_t kData = 40;

// A disc whose primary root holds kRecords folder records, each pointing at
// another sector of one file's data and claiming the rest of it, and a file
// that reads. With a second tree (a type 2 descriptor with Joliet's escape
// sequence, names as 8-bit bytes), that tree holds the file alone and the
// primary tree is the other tree of the union.
HandDisc IntoFileData(bool secondTree) {
  HandDisc disc(kData + kDataSectors);
  std::vector<HandRecord> records = {{.name = "A.TXT;1", .extent = kData, .length = 5}};
  for (std::uint32_t k = 0; k < kRecords; ++k) {
    const std::uint32_t at = kData + 1 + k;
    records.push_back({.name = "D" + std::to_string(k), .folder = true, .extent = at,
                       .length = (kData + kDataSectors - at) * kSector});
  }
  disc.WritePrimary(kPrimaryRoot, HandDisc::DirectoryBytes(records));
  disc.WriteDirectory(kPrimaryRoot, kPrimaryRoot, records);
  if (secondTree) {
    std::vector<std::byte> descriptor(disc.bytes().begin() + 16 * kSector,
                                      disc.bytes().begin() + 17 * kSector);
    const std::vector<std::byte> terminator(disc.bytes().begin() + 17 * kSector,
                                            disc.bytes().begin() + 18 * kSector);
    const std::vector<HandRecord> second = {{.name = std::string("\0A", 2), .extent = kData, .length = 5}};
    std::vector<std::byte> rootRecord = testing::DirectoryRecordBytes(
        {.name = std::string(1, '\0'), .folder = true, .extent = kSecondRoot,
         .length = HandDisc::DirectoryBytes(second)});
    descriptor[0] = std::byte{2};
    descriptor[88] = std::byte{'%'};
    descriptor[89] = std::byte{'/'};
    descriptor[90] = std::byte{'E'};
    std::copy(rootRecord.begin(), rootRecord.end(), descriptor.begin() + 156);
    disc.WriteAt(17 * kSector, descriptor);
    disc.WriteAt(18 * kSector, terminator);
    disc.WriteDirectory(kSecondRoot, kSecondRoot, second);
  }
  // Text, never a directory's "." record.
  for (std::uint32_t s = 0; s < kDataSectors; ++s) disc.WriteText(kData + s, "hello, file data");
  return disc;
}

struct Scanned {
  std::uint64_t sectorsRead = 0;
  std::uint32_t damagedFolders = 0;
  std::vector<std::string> listing;
};

Scanned ScanInDrive(const std::filesystem::path& image, bool allNames) {
  auto machine = std::make_unique<EmulatedMachine>(1);
  EmulatedMachine& drive = *machine;
  std::string reason;
  std::optional<EmulatedDisc> disc = EmulatedDisc::FromImage(image.string(), reason);
  EXPECT_TRUE(disc) << reason;
  if (!disc) return {};
  drive.InsertDisc(0, *disc);
  testing::EngineScan scan(std::move(machine));
  scan.state.allNames = allNames;
  scan.ScanDrive();
  Scanned result;
  for (const RecordedCommand& command : drive.commands()) {
    if (command.kind == RecordedCommand::Kind::kCookedRead) result.sectorsRead += command.length / kSector;
  }
  result.damagedFolders = scan.scan.counters().damagedFolders;
  result.listing = scan.ListingTsv();
  return result;
}

TEST(FolderReadBounds, FolderRecordsPointingIntoFileDataCostAFewSectorsEach) {
  testing::TempDir dir;
  struct Case {
    const char* name;
    bool secondTree;
    bool allNames;
  };
  const Case cases[] = {
      {"the shown tree's folders", false, false},
      // The union reads the other tree's folders to pair them with the
      // shown ones, and to add what only it holds.
      {"the other tree's folders, --all-names", true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::filesystem::path image = dir / (std::string(c.name).substr(0, 9) + ".iso");
    IntoFileData(c.secondTree).Save(image);
    const Scanned scanned = ScanInDrive(image, c.allNames);
    // The readiness probe and the descriptor search read a few dozen sectors;
    // each folder record a few. Reading what they claim was 200 x 2048.
    EXPECT_LE(scanned.sectorsRead, 200u + 8 * kRecords);
    RecordProperty(c.secondTree ? "sectorsReadUnion" : "sectorsRead",
                   static_cast<int>(scanned.sectorsRead));
    if (!c.secondTree) {
      EXPECT_EQ(scanned.damagedFolders, kRecords);
      EXPECT_EQ(scanned.listing.size(), kRecords + 1);
    } else {
      // Nothing of the primary tree is new: no folder of it holds a file.
      EXPECT_EQ(scanned.listing.size(), 1u) << ::testing::PrintToString(scanned.listing);
    }
  }
}

}  // namespace
}  // namespace velmora
