#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "platform/emulated/EmulatedMachine.h"
#include "platform/emulated/FaultMapFile.h"
#include "support/TempDir.h"
#include "support/TreeWriter.h"

namespace velmora::platform::emulated {
namespace {

std::optional<FaultMap> Read(const std::string& text, std::string& reason) {
  testing::TempDir dir;
  const auto path = dir / "faults";
  std::ofstream(path) << text;
  return ReadFaultMapFile(path.string(), reason);
}

TEST(FaultMapFileTest, ReadsEveryKindAndSkipsCommentsAndBlankLines) {
  std::string reason;
  const auto faults = Read(
      "# two bad sectors in one file\n\n40 unreadable\n41 check\n  42 short 100\n43 slow 5\n"
      "44 gone\n",
      reason);
  ASSERT_TRUE(faults) << reason;
  ASSERT_EQ(faults->size(), 5u);
  EXPECT_EQ(faults->at(40).kind, FaultKind::kUnreadable);
  EXPECT_EQ(faults->at(41).kind, FaultKind::kCheckCondition);
  EXPECT_EQ(faults->at(42).kind, FaultKind::kShortRead);
  EXPECT_EQ(faults->at(42).shortBytes, 100u);
  EXPECT_EQ(faults->at(43).kind, FaultKind::kSlow);
  EXPECT_EQ(faults->at(43).delay.count(), 5);
  EXPECT_EQ(faults->at(44).kind, FaultKind::kDriveGone);
}

TEST(FaultMapFileTest, RejectsMalformedLinesNamingTheLine) {
  const struct {
    const char* text;
    const char* line;
  } cases[] = {
      {"40 unreadable\n41 broken\n", ":2:"},   {"-1 unreadable\n", ":1:"},
      {"40 short\n", ":1:"},                    {"40 short 2048\n", ":1:"},
      {"40 unreadable extra\n", ":1:"},         {"forty unreadable\n", ":1:"},
      {"40 slow 99999999\n", ":1:"},            {"4294967296 unreadable\n", ":1:"},
      {"40 gone 5\n", ":1:"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    std::string reason;
    EXPECT_FALSE(Read(c.text, reason));
    EXPECT_NE(reason.find(c.line), std::string::npos) << reason;
  }
}

TEST(FaultMapFileTest, MissingFileIsReported) {
  std::string reason;
  EXPECT_FALSE(ReadFaultMapFile("/nonexistent/faults", reason));
  EXPECT_NE(reason.find("/nonexistent/faults"), std::string::npos);
}

// ddrescue's test mode takes a mapfile of good and bad areas; the emulated
// drive takes the same file, byte for byte.
TEST(FaultMapFileTest, ADdrescueMapfileFailsWhatIsNotFinished) {
  testing::TempDir dir;
  const std::string image = (dir / "disc.img").string();
  std::ofstream(image, std::ios::binary) << testing::PatternBytes(20 * 2048, 1);
  std::ofstream(dir / "bad.map") << "# from ddrescue\n0x0 + 1\n"
                                    "0x0 0x2800 +\n"      // sectors 0-4
                                    "0x2800 0x1000 -\n"   // 5-6 bad
                                    "0x3800 0x864 +\n"    // 7, and 100 bytes of 8
                                    "0x4064 0x79C /\n"    // the rest of 8
                                    "0x4800 0x800 ?\n";   // 9 never tried; 10 on past the map
  EmulatedDisc disc;
  disc.imagePath = image;
  std::string reason;
  ASSERT_TRUE(LoadFaultFile((dir / "bad.map").string(), disc, reason)) << reason;
  EXPECT_TRUE(disc.faults.empty());
  EmulatedMachine machine;
  machine.InsertDisc(0, disc);
  OpenError error;
  auto drive = machine.OpenDevice("emulated:sr0", error);
  ASSERT_TRUE(drive);
  std::vector<std::byte> sector(2048);
  const struct {
    std::uint32_t lba;
    bool ok;
    std::size_t bytes;
  } cases[] = {{4, true, 2048}, {5, false, 0}, {6, false, 0}, {7, true, 2048},
               {8, true, 100},  {9, false, 0}, {10, true, 2048}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lba);
    const IoResult read = drive->ReadAt(std::uint64_t{c.lba} * 2048, sector);
    EXPECT_EQ(read.ok, c.ok);
    EXPECT_EQ(read.bytes, c.bytes);
  }
}

TEST(FaultMapFileTest, AFileOfEitherFormThatDoesNotReadIsRefused) {
  testing::TempDir dir;
  const struct {
    const char* text;
    const char* says;
  } cases[] = {
      {"0 + 1\n0 0x800 +\n0x1000 0x800 -\n", "not a ddrescue mapfile (line 3)"},
      {"40 unreadable\n41 broken\n", ":2: expected 'LBA unreadable'"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    std::ofstream(dir / "faults") << c.text;
    EmulatedDisc disc;
    std::string reason;
    EXPECT_FALSE(LoadFaultFile((dir / "faults").string(), disc, reason));
    EXPECT_NE(reason.find(c.says), std::string::npos) << reason;
  }
}

}  // namespace
}  // namespace velmora::platform::emulated
