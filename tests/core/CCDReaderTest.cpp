#include "disc/CCDReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "media/MmcCommands.h"
#include "platform/emulated/EmulatedMachine.h"
#include "support/ScriptedHost.h"
#include "support/TempDir.h"
#include "support/TreeWriter.h"

namespace velmora::disc {
namespace {

using platform::emulated::EmulatedDisc;
using platform::emulated::EmulatedMachine;
using platform::emulated::FaultKind;
using platform::emulated::RecordedCommand;
using testing::ScriptedPrompts;
using testing::TempDir;

// An image of sectors whose bytes tell where they came from.
std::string WriteImage(const TempDir& dir, std::uint32_t sectors) {
  std::string path = (dir / "disc.img").string();
  std::ofstream(path, std::ios::binary) << testing::PatternBytes(std::uint64_t{sectors} * kSectorSize, 7);
  return path;
}

std::vector<std::byte> ImageBytes(const std::string& path, std::uint64_t offset, std::size_t n) {
  std::ifstream in(path, std::ios::binary);
  in.seekg(static_cast<std::streamoff>(offset));
  std::vector<std::byte> bytes(n);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(n));
  return bytes;
}

// Three sessions of 1000 sectors at LBA 0, 12000 and 24000.
std::vector<TrackNode> ThreeSessions() {
  return {{1, 150, 1000}, {2, 12150, 13000}, {3, 24150, 25000}};
}

std::vector<RecordedCommand> ReadCds(const EmulatedMachine& machine) {
  std::vector<RecordedCommand> cdbs;
  for (const auto& c : machine.commands()) {
    if (c.kind == RecordedCommand::Kind::kCdb && !c.cdb.empty() && c.cdb[0] == kReadCdOpcode) {
      cdbs.push_back(c);
    }
  }
  return cdbs;
}

std::size_t FullTocCommands(const EmulatedMachine& machine) {
  return static_cast<std::size_t>(std::count_if(
      machine.commands().begin(), machine.commands().end(), [](const RecordedCommand& c) {
        return c.kind == RecordedCommand::Kind::kCdb && !c.cdb.empty() && c.cdb[0] == kReadTocOpcode;
      }));
}

Lba CdbLba(const RecordedCommand& c) {
  return (Lba{c.cdb[2]} << 24) | (Lba{c.cdb[3]} << 16) | (Lba{c.cdb[4]} << 8) | c.cdb[5];
}

std::uint32_t CdbLength(const RecordedCommand& c) {
  return (std::uint32_t{c.cdb[6]} << 16) | (std::uint32_t{c.cdb[7]} << 8) | c.cdb[8];
}

class CCDReaderTest : public ::testing::Test {
 protected:
  void Open(std::size_t drives, EmulatedDisc disc) {
    machine = std::make_unique<EmulatedMachine>(drives);
    for (std::size_t d = 0; d < drives; ++d) machine->InsertDisc(d, disc);
    reader = std::make_unique<CCDReader>(*machine);
    ASSERT_TRUE(reader->OpenSelectedDrive(prompts, state));
    machine->ClearCommands();
  }
  EmulatedDisc MultiSessionDisc() {
    EmulatedDisc disc;
    disc.imagePath = WriteImage(dir, 25000);
    disc.tracks = ThreeSessions();
    return disc;
  }

  TempDir dir;
  ScriptedPrompts prompts;
  AppState state;
  std::unique_ptr<EmulatedMachine> machine;
  std::unique_ptr<CCDReader> reader;
};

TEST_F(CCDReaderTest, AsksForTheDriveOnlyWhenThereAreSeveral) {
  struct Case {
    std::size_t drives;
    std::optional<std::size_t> answer;
    bool asked;
    std::uint8_t selected;
  };
  for (const Case& c : {Case{1, 1, false, 0}, Case{2, 1, true, 1}, Case{3, std::nullopt, true, 0},
                        Case{5, 4, true, 4}}) {
    SCOPED_TRACE(c.drives);
    prompts.asked.clear();
    prompts.driveAnswer = c.answer;
    state = AppState{};
    EmulatedDisc disc;
    disc.imagePath = WriteImage(dir, 40);
    Open(c.drives, disc);
    EXPECT_EQ(!prompts.asked.empty(), c.asked);
    EXPECT_EQ(reader->driveCount(), c.drives);  // every drive is kept
    EXPECT_EQ(reader->selectedDrive(), c.selected);
    EXPECT_EQ(reader->SelectedDrivePath(), "emulated:sr" + std::to_string(c.selected));
  }
}

TEST_F(CCDReaderTest, SingleTrackDiscHasNoTrackListAndReadsThroughTheFile) {
  EmulatedDisc disc;
  disc.imagePath = WriteImage(dir, 40);
  Open(1, disc);
  EXPECT_FALSE(reader->multiTrack());
  EXPECT_TRUE(reader->tracks().empty());
  EXPECT_EQ(reader->ChooseReader(), Reader::kFile);
  std::vector<std::byte> buffer(2 * kSectorSize);
  std::uint32_t bytesRead = 0;
  ASSERT_TRUE(reader->ReadSectors(16, 2, buffer, bytesRead));
  EXPECT_EQ(bytesRead, 2 * kSectorSize);
  EXPECT_EQ(buffer, ImageBytes(disc.imagePath, 16 * kSectorSize, 2 * kSectorSize));
  ASSERT_EQ(machine->commands().size(), 1u);
  EXPECT_EQ(machine->commands()[0].kind, RecordedCommand::Kind::kCookedRead);
  EXPECT_EQ(machine->commands()[0].offset, 16u * kSectorSize);
}

TEST_F(CCDReaderTest, TocGivesTrackStartsInFramesAndTheLeadOutAsLastEnd) {
  Open(1, MultiSessionDisc());
  ASSERT_TRUE(reader->multiTrack());
  EXPECT_EQ(reader->lastTrack(), 3);
  ASSERT_EQ(reader->tracks().size(), 3u);
  EXPECT_EQ(reader->tracks()[0].start, 150u);
  EXPECT_EQ(reader->tracks()[1].start, 12150u);
  EXPECT_EQ(reader->tracks()[2].start, 24150u);
  EXPECT_EQ(reader->tracks()[0].end, 0u);
  EXPECT_EQ(reader->tracks()[2].end, 25000u + 150u);  // lead-out start in frames
  EXPECT_EQ(reader->discEnd(), 25150u);
  EXPECT_EQ(reader->ChooseReader(), Reader::kDisc);
}

TEST_F(CCDReaderTest, ReadCdIsSplitIntoCommandsOfAtMostFourSectors) {
  struct Case {
    std::uint32_t count;
    std::uint32_t byteLength;
    bool byteMode;
    std::vector<std::uint32_t> lengths;
    std::uint32_t delivered;
  };
  for (const Case& c : {Case{0, 5000, true, {3}, 5000}, Case{10, 0, false, {4, 4, 2}, 10 * kSectorSize},
                        Case{4, 0, false, {4}, 4 * kSectorSize}, Case{1, 0, false, {1}, kSectorSize}}) {
    SCOPED_TRACE(c.delivered);
    EmulatedDisc disc = MultiSessionDisc();
    Open(1, disc);
    const Lba lba = 100;
    std::vector<std::byte> buffer(c.delivered + kSectorSize, std::byte{0xAB});
    std::uint32_t bytesRead = 0;
    ASSERT_TRUE(reader->ReadDiscSectors(lba, c.count, buffer, bytesRead, c.byteLength, c.byteMode));
    EXPECT_EQ(bytesRead, c.delivered);
    EXPECT_EQ(std::vector<std::byte>(buffer.begin(), buffer.begin() + c.delivered),
              ImageBytes(disc.imagePath, lba * kSectorSize, c.delivered));
    EXPECT_EQ(buffer[c.delivered], std::byte{0xAB});  // nothing past what was asked
    auto cdbs = ReadCds(*machine);
    ASSERT_EQ(cdbs.size(), c.lengths.size());
    Lba at = lba;
    for (std::size_t i = 0; i < cdbs.size(); ++i) {
      ASSERT_EQ(cdbs[i].cdb.size(), 12u);
      EXPECT_EQ(cdbs[i].cdb[1], kSectorTypeMode1);
      EXPECT_EQ(cdbs[i].cdb[9], kUserDataOnly);
      EXPECT_EQ(CdbLba(cdbs[i]), at);
      EXPECT_EQ(CdbLength(cdbs[i]), c.lengths[i]);
      at += c.lengths[i];
    }
    EXPECT_EQ(machine->malformedCommands(), 0u);
  }
}

TEST_F(CCDReaderTest, CheckConditionFailsTheReadAndCopiesNothing) {
  for (FaultKind kind : {FaultKind::kCheckCondition, FaultKind::kUnreadable}) {
    SCOPED_TRACE(static_cast<int>(kind));
    EmulatedDisc disc = MultiSessionDisc();
    disc.faults[106] = {kind};
    Open(1, disc);
    std::vector<std::byte> buffer(10 * kSectorSize, std::byte{0xAB});
    std::uint32_t bytesRead = 1;
    EXPECT_FALSE(reader->ReadDiscSectors(100, 10, buffer, bytesRead));
    EXPECT_EQ(bytesRead, 0u);
    EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](std::byte b) { return b == std::byte{0xAB}; }));
  }
}

TEST_F(CCDReaderTest, ShortTransferDeliversOnlyTheBytesTheDriveSent) {
  struct Case {
    Lba first;
    std::uint32_t count;
    Lba shortSector;
    std::uint32_t shortBytes;
    std::size_t commands;  // the read ends with the command that came back short
  };
  for (const Case& c : {Case{100, 10, 106, 100, 2}, Case{100, 2, 101, 0, 1},
                        Case{100, 10, 100, 1, 1}, Case{100, 3, 102, 2047, 1}}) {
    SCOPED_TRACE(::testing::Message() << c.shortSector << "+" << c.shortBytes);
    EmulatedDisc disc = MultiSessionDisc();
    disc.faults[c.shortSector] = {FaultKind::kShortRead, c.shortBytes};
    Open(1, disc);
    std::vector<std::byte> buffer(c.count * kSectorSize, std::byte{0xAB});
    std::uint32_t bytesRead = 0;
    ASSERT_TRUE(reader->ReadDiscSectors(c.first, c.count, buffer, bytesRead));
    const std::uint32_t delivered = (c.shortSector - c.first) * kSectorSize + c.shortBytes;
    EXPECT_EQ(bytesRead, delivered);
    EXPECT_EQ(std::vector<std::byte>(buffer.begin(), buffer.begin() + delivered),
              ImageBytes(disc.imagePath, c.first * kSectorSize, delivered));
    EXPECT_TRUE(std::all_of(buffer.begin() + delivered, buffer.end(),
                            [](std::byte b) { return b == std::byte{0xAB}; }));
    EXPECT_EQ(ReadCds(*machine).size(), c.commands);
  }
}

TEST_F(CCDReaderTest, XaTrackIsReadAgainAsMode2Form1AndKeepsThatType) {
  EmulatedDisc disc = MultiSessionDisc();
  disc.xaTracks = {2};
  Open(1, disc);
  std::vector<std::byte> buffer(kSectorSize);
  std::uint32_t bytesRead = 0;
  ASSERT_TRUE(reader->ReadDiscSectors(12016, 1, buffer, bytesRead));
  EXPECT_EQ(buffer, ImageBytes(disc.imagePath, 12016 * kSectorSize, kSectorSize));
  ASSERT_TRUE(reader->ReadDiscSectors(12017, 1, buffer, bytesRead));
  ASSERT_TRUE(reader->ReadDiscSectors(16, 1, buffer, bytesRead));
  auto cdbs = ReadCds(*machine);
  ASSERT_EQ(cdbs.size(), 4u);
  EXPECT_EQ(cdbs[0].cdb[1], kSectorTypeMode1);
  EXPECT_EQ(cdbs[1].cdb[1], kSectorTypeMode2Form1);
  EXPECT_EQ(cdbs[2].cdb[1], kSectorTypeMode2Form1);  // no second refusal on that track
  EXPECT_EQ(cdbs[3].cdb[1], kSectorTypeMode1);       // the other tracks stay Mode 1
  EXPECT_EQ(cdbs[1].cdb[9], kUserDataOnly);
}

TEST_F(CCDReaderTest, FullTocPassSetsSessionEndsByPointWhateverTheLayout) {
  using platform::emulated::TocStyle;
  for (TocStyle style : {TocStyle::kUsual, TocStyle::kNoC0, TocStyle::kReordered, TocStyle::kAdr5Points}) {
    SCOPED_TRACE(static_cast<int>(style));
    EmulatedDisc disc = MultiSessionDisc();
    disc.tocStyle = style;
    Open(1, disc);
    std::vector<std::byte> buffer(kSectorSize);
    std::uint32_t bytesRead = 0;
    ASSERT_TRUE(reader->ReadDiscSectors(16, 1, buffer, bytesRead));
    ASSERT_EQ(reader->tracks().size(), 3u);
    EXPECT_EQ(reader->tracks()[0].end, 1000u);
    EXPECT_EQ(reader->tracks()[1].end, 13000u);
    EXPECT_EQ(reader->tracks()[2].end, 25000u);
  }
}

TEST_F(CCDReaderTest, FullTocPassRunsOncePerDiscAndAgainAfterADiscChange) {
  Open(1, MultiSessionDisc());
  std::vector<std::byte> buffer(kSectorSize);
  std::uint32_t bytesRead = 0;
  for (Lba lba : {16u, 17u, 12016u}) ASSERT_TRUE(reader->ReadDiscSectors(lba, 1, buffer, bytesRead));
  EXPECT_EQ(FullTocCommands(*machine), 1u);

  EmulatedDisc other;
  other.imagePath = (dir / "other.img").string();
  std::ofstream(other.imagePath, std::ios::binary) << testing::PatternBytes(30000 * kSectorSize, 9);
  other.tracks = {{1, 150, 2000}, {2, 20150, 30000}};
  machine->InsertDisc(0, other);
  reader->RereadToc();  // as the scan does after the Insert CDROM question
  ASSERT_TRUE(reader->ReadDiscSectors(20016, 1, buffer, bytesRead));
  EXPECT_EQ(FullTocCommands(*machine), 2u);
  ASSERT_EQ(reader->tracks().size(), 2u);
  EXPECT_EQ(reader->tracks()[0].end, 2000u);
  EXPECT_EQ(buffer, ImageBytes(other.imagePath, 20016 * kSectorSize, kSectorSize));
}

TEST_F(CCDReaderTest, ReadFileBlockEndModeReadsTheLastBlock) {
  std::string path = (dir / "small.cd").string();
  std::ofstream(path, std::ios::binary) << testing::PatternBytes(10240, 3);
  platform::OpenError error;
  auto machineForFiles = std::make_unique<EmulatedMachine>(1);
  reader = std::make_unique<CCDReader>(*machineForFiles);
  reader->UseImage(machineForFiles->OpenDevice(path, error), false, 0, {});
  std::vector<std::byte> block(kSectorSize);
  std::uint32_t bytesRead = 0;
  ASSERT_TRUE(reader->ReadFileBlock(0, kSectorSize, 2, block, bytesRead));
  EXPECT_EQ(bytesRead, kSectorSize);
  EXPECT_EQ(block, ImageBytes(path, 8192, kSectorSize));
  ASSERT_TRUE(reader->ReadFileBlock(4096, kSectorSize, 1, block, bytesRead));
  EXPECT_EQ(block, ImageBytes(path, 4096, kSectorSize));
}

TEST_F(CCDReaderTest, ReadsPastFourGibibytesOfAnImage) {
  std::string path = (dir / "sparse.cd").string();
  const Lba lba = (std::uint64_t{5} << 30) / kSectorSize;  // 5 GiB in
  std::vector<std::byte> marker(kSectorSize, std::byte{0x5A});
  {
    std::ofstream out(path, std::ios::binary);
    out.seekp(static_cast<std::streamoff>(std::uint64_t{lba} * kSectorSize));
    out.write(reinterpret_cast<const char*>(marker.data()), kSectorSize);
  }
  auto machineForFiles = std::make_unique<EmulatedMachine>(1);
  platform::OpenError error;
  reader = std::make_unique<CCDReader>(*machineForFiles);
  reader->UseImage(machineForFiles->OpenDevice(path, error), false, 0, {});
  std::vector<std::byte> buffer(kSectorSize);
  std::uint32_t bytesRead = 0;
  ASSERT_TRUE(reader->ReadSectors(lba, 1, buffer, bytesRead));
  EXPECT_EQ(bytesRead, kSectorSize);
  EXPECT_EQ(buffer, marker);
}

TEST_F(CCDReaderTest, NoDriveOpensNothingAndReadsFail) {
  machine = std::make_unique<EmulatedMachine>(0);
  reader = std::make_unique<CCDReader>(*machine);
  EXPECT_FALSE(reader->OpenSelectedDrive(prompts, state));
  EXPECT_FALSE(reader->lastOpenError().reason.empty());
  std::vector<std::byte> buffer(kSectorSize);
  std::uint32_t bytesRead = 0;
  EXPECT_FALSE(reader->ReadSectors(16, 1, buffer, bytesRead));
  EXPECT_FALSE(reader->ReadDiscSectors(16, 1, buffer, bytesRead));
}

}  // namespace
}  // namespace velmora::disc
