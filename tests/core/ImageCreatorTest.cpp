#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "image/ImageCreator.h"
#include "image/ImageNaming.h"
#include "image/ImageOpener.h"
#include "media/MmcCommands.h"
#include "platform/emulated/EmulatedMachine.h"
#include "support/BytePatcher.h"
#include "support/EngineScan.h"
#include "support/IsoBuilder.h"
#include "support/IsoOracle.h"
#include "support/MultiSessionBuilder.h"
#include "support/SectorFinder.h"
#include "support/TempDir.h"
#include "support/TreeWriter.h"
#include "text/StringTable.h"
#include "text/Utf.h"

namespace velmora {
namespace {

using disc::ImageCreator;
using disc::ImageResult;
using platform::emulated::EmulatedDisc;
using platform::emulated::EmulatedMachine;
using platform::emulated::FaultKind;
using platform::emulated::FaultMap;
using platform::emulated::RecordedCommand;
using testing::EngineScan;
using testing::TempDir;

constexpr std::size_t kBlock = 2048;

// The engine over an emulated drive holding disc, with the drive opened as the
// programs open it before a command.
std::unique_ptr<EngineScan> EngineWithDisc(const EmulatedDisc& disc) {
  auto machine = std::make_unique<EmulatedMachine>(1);
  machine->InsertDisc(0, disc);
  auto engine = std::make_unique<EngineScan>(std::move(machine));
  engine->reader.OpenSelectedDrive(engine->host.prompts(), engine->state);
  engine->state.drivesKnown = true;
  return engine;
}

disc::ImageOutcome CreateImage(EngineScan& engine, const std::filesystem::path& path) {
  ImageCreator creator(engine.reader, engine.state, engine.table, engine.scan, engine.host);
  return creator.CreateImage(path.string());
}

// The trailer of a single-track image, spelt out byte by byte.
std::vector<std::byte> SingleTrackTrailer() {
  const std::string signature = "12345abbgtpogpkicupog6789";
  std::vector<std::byte> block(kBlock, std::byte{0xF6});
  for (std::size_t i = 0; i < signature.size(); ++i)
    block[i] = static_cast<std::byte>(signature[i]);
  block[25] = std::byte{0};  // the signature's terminator
  block[26] = std::byte{0};  // not multi-track
  block[27] = std::byte{0};  // no records
  return block;
}

std::uint32_t U32Le(const std::vector<std::byte>& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i)
    value |= std::to_integer<std::uint32_t>(bytes[at + i]) << (8 * i);
  return value;
}

// The 9-byte records of a trailer block: track number, start, end.
std::vector<disc::TrackNode> TrailerRecords(const std::vector<std::byte>& trailer) {
  std::vector<disc::TrackNode> records;
  if (trailer[26] == std::byte{0}) return records;
  for (std::size_t k = 0; k < std::to_integer<std::size_t>(trailer[27]); ++k) {
    std::size_t at = 28 + 9 * k;
    records.push_back({std::to_integer<std::uint8_t>(trailer[at]), U32Le(trailer, at + 1),
                       U32Le(trailer, at + 5)});
  }
  return records;
}

bool AllUnread(const std::vector<std::byte>& bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](std::byte b) { return b == std::byte{0xF6}; });
}

struct Row {
  std::u16string status;
  log::LogIcon icon;
  bool operator==(const Row&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Row& row) {
  return out << text::ToUtf8(row.status) << " (icon " << static_cast<int>(row.icon) << ")";
}

// The log rows of one image creation: the first carries "CD Image Creation", every
// one the destination path.
std::vector<Row> ImageRows(const testing::ScriptedHost& host, const std::string& destination) {
  std::vector<Row> rows;
  for (std::size_t i = 0; i < host.log.rows().size(); ++i) {
    const log::LogRow& row = host.log.rows()[i];
    EXPECT_EQ(row.activity, i == 0 ? text::LoadText(text::kImageCreation) : u" ");
    EXPECT_EQ(text::ToUtf8(row.text), destination);
    rows.push_back({row.status, row.icon});
  }
  return rows;
}

Row Started() { return {text::LoadText(text::kProcessStarted), log::LogIcon::kInformation}; }
Row Completed() { return {text::LoadText(text::kProcessCompleted), log::LogIcon::kCompleted}; }
Row Aborted() { return {text::LoadText(text::kProcessAborted), log::LogIcon::kFailure}; }
Row Unreadable(Lba lba) {
  return {text::LoadText(text::kUnableToReadSector) + u" " + text::FromUtf8(std::to_string(lba)),
          log::LogIcon::kFailure};
}
// An unreadable sector of which the emulated drive said MEDIUM ERROR (a
// fault kCheckCondition, or a sector the image does not hold).
Row UnreadableMediumError(Lba lba) {
  Row row = Unreadable(lba);
  row.status += u" - " + text::LoadText(text::kSenseMediumError) + u": " +
                text::LoadText(text::kAscUnrecoveredReadError) + u" (03/11/00)";
  return row;
}
Row Short(Lba lba) {
  return {text::LoadText(text::kProblemReadingSector) + u" " + text::FromUtf8(std::to_string(lba)),
          log::LogIcon::kFailure};
}

void ExpectIdle(const EngineScan& engine) {
  EXPECT_FALSE(engine.state.processRunning);
  EXPECT_FALSE(engine.state.imageCreationRunning);
  EXPECT_FALSE(engine.state.busy);
  EXPECT_FALSE(engine.state.stopRequested);
  EXPECT_FALSE(engine.host.progressShown);
}

TEST(ImageNaming, SuggestedNameSpellsDayMonthAndYearAsTheSystemDoes) {
  using namespace std::chrono;
  struct Case {
    year_month_day date;
    std::u16string name;
  };
  for (const Case& c : {Case{2005y / March / 3, u"CD Image 3- March -2005"},
                        Case{2026y / December / 8, u"CD Image 8- December -2026"},
                        Case{2000y / January / 31, u"CD Image 31- January -2000"}}) {
    SCOPED_TRACE(text::ToUtf8(c.name));
    EXPECT_EQ(disc::SuggestedImageName(c.date), c.name);
  }
}

TEST(ImageNaming, DestinationGetsTheExtensionUnlessItsFileNameHasIt) {
  struct Case {
    const char* chosen;
    const char* destination;
  };
  // The extension is matched in any case: "DISC.CD" is what a user typing in
  // capitals means by a .cd file.
  for (const Case& c :
       {Case{"disc", "disc.cd"}, Case{"disc.cd", "disc.cd"},
        Case{"/media/backups.cd/disc", "/media/backups.cd/disc.cd"}, Case{"x.CD", "x.CD"},
        Case{"discd", "discd.cd"}, Case{"old.cd.bak", "old.cd.bak.cd"}}) {
    SCOPED_TRACE(c.chosen);
    EXPECT_EQ(disc::ImageDestination(c.chosen), c.destination);
  }
}

// Sets the volume space size (byte 80, both-endian, 7.3.3) of every descriptor
// of the session at sessionStart.
void SetVolumeSpaceSize(const std::filesystem::path& image, Lba sessionStart,
                        std::uint32_t sectors) {
  std::vector<std::byte> size(8);
  for (std::size_t i = 0; i < 4; ++i) {
    size[i] = static_cast<std::byte>(sectors >> (8 * i));
    size[7 - i] = static_cast<std::byte>(sectors >> (8 * i));
  }
  for (const auto& descriptor : testing::DescriptorSectors(image, sessionStart)) {
    if (descriptor.type == testing::kTerminatorDescriptor) continue;
    testing::WriteBytes(image, descriptor.lba * kBlock + 80, size);
  }
}

// A single-session disc whose volume space size says 1000 sectors, on a medium
// that holds more: the copy goes by the medium, not by what the volume claims.
std::filesystem::path MakeThousandSectorDisc(const TempDir& dir) {
  testing::WriteTree(dir / "src",
                     {{.path = "README.TXT", .content = "read me\n"},
                      {.path = "DATA/BIG.BIN", .patternSize = 2'300'000, .patternSeed = 3}});
  // genisoimage: one descriptor set, at 16. (xorriso keeps a second one further on.)
  auto image = testing::MakeIso(dir / "src", dir / "disc.iso");
  EXPECT_GT(std::filesystem::file_size(image) / kBlock, 1000u);
  SetVolumeSpaceSize(image, 0, 1000);
  return image;
}

struct SingleTrackCase {
  const char* name;
  FaultMap faults;
  bool descriptorsWiped;
  std::vector<Lba> unreadable;
  std::vector<std::pair<Lba, std::uint32_t>> shortReads;  // sector, bytes delivered
  // A medium that ends before the volume does: the copy ends with its last
  // sector, short of what the volume claims.
  std::optional<Lba> mediumEnd = std::nullopt;
};

class SingleTrackCopy : public ::testing::TestWithParam<SingleTrackCase> {};

TEST_P(SingleTrackCopy, BlocksFollowTheSectorsAndEndInTheTrailer) {
  const SingleTrackCase& c = GetParam();
  TempDir dir;
  auto source = MakeThousandSectorDisc(dir);
  const auto mediumSectors = static_cast<Lba>(std::filesystem::file_size(source) / kBlock);
  if (c.descriptorsWiped) testing::FillSectors(source, 16, 20, std::byte{0});
  EmulatedDisc emulated{
      .imagePath = source.string(), .sectorCount = c.mediumEnd, .faults = c.faults};
  auto engine = EngineWithDisc(emulated);
  // The log has entries once a sector fails or the copy ends, not at its start.
  std::optional<bool> logHadEntriesAtFirstSector;
  engine->host.onPump = [&] {
    if (engine->host.progressTexts.size() == 1 && !logHadEntriesAtFirstSector)
      logHadEntriesAtFirstSector = engine->state.logHasEntries;
  };

  // Chosen without the extension: the rule appends it.
  auto outcome = CreateImage(*engine, dir / "copy");
  EXPECT_EQ(logHadEntriesAtFirstSector, std::optional<bool>(false));
  EXPECT_TRUE(engine->state.logHasEntries);
  const std::filesystem::path image = dir / "copy.cd";
  EXPECT_EQ(outcome.destination, image.string());
  EXPECT_EQ(outcome.result, ImageResult::kCompleted);
  // The TOC's lead-out gives the size, whatever the descriptor says.
  const Lba sectors = c.mediumEnd ? *c.mediumEnd : mediumSectors;
  EXPECT_EQ(outcome.blocks, sectors);
  EXPECT_EQ(outcome.expectedSectors, c.descriptorsWiped ? sectors : std::max<Lba>(sectors, 1000));
  ASSERT_EQ(std::filesystem::file_size(image), (sectors + 1) * kBlock);
  EXPECT_EQ(testing::ReadSector(image, sectors), SingleTrackTrailer());

  std::vector<Row> expected{Started()};
  std::vector<Lba> faulty;
  for (Lba lba : c.unreadable) faulty.push_back(lba);
  for (auto [lba, bytes] : c.shortReads) faulty.push_back(lba);
  std::sort(faulty.begin(), faulty.end());
  for (Lba lba : faulty) {
    bool unreadable =
        std::find(c.unreadable.begin(), c.unreadable.end(), lba) != c.unreadable.end();
    const auto fault = c.faults.find(lba);
    const bool senseGiven = fault != c.faults.end() && fault->second.kind == FaultKind::kCheckCondition;
    expected.push_back(!unreadable ? Short(lba) : senseGiven ? UnreadableMediumError(lba) : Unreadable(lba));
  }
  expected.push_back(Completed());
  EXPECT_EQ(ImageRows(engine->host, image.string()), expected);
  EXPECT_EQ(outcome.unreadableSectors, c.unreadable.size());
  EXPECT_EQ(outcome.partialSectors, c.shortReads.size());

  auto copied = testing::ReadBytes(image, 0, sectors * kBlock);
  auto original = testing::ReadBytes(source, 0, sectors * kBlock);
  for (Lba lba : c.unreadable) {
    std::fill_n(original.begin() + lba * kBlock, kBlock, std::byte{0xF6});
  }
  for (auto [lba, bytes] : c.shortReads) {
    std::fill_n(original.begin() + lba * kBlock + bytes, kBlock - bytes, std::byte{0xF6});
  }
  if (c.mediumEnd)
    std::fill(original.begin() + *c.mediumEnd * kBlock, original.end(), std::byte{0xF6});
  EXPECT_TRUE(copied == original);

  // One progress step per sector, the last naming the last sector.
  ASSERT_EQ(engine->host.progressTexts.size(), sectors);
  EXPECT_EQ(engine->host.progressTexts.back(), text::LoadText(text::kReadingSector) + u" " +
                                                   text::FromUtf8(std::to_string(sectors - 1)));
  EXPECT_EQ(engine->table.size(), 0u);  // the probe lists nothing
  ExpectIdle(*engine);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, SingleTrackCopy,
    ::testing::Values(
        SingleTrackCase{"whole", {}, false, {}, {}},
        SingleTrackCase{"unreadable500", {{500, {FaultKind::kUnreadable}}}, false, {500}, {}},
        SingleTrackCase{"short500", {{500, {FaultKind::kShortRead, 700}}}, false, {}, {{500, 700}}},
        SingleTrackCase{"firstLastAndAShortOneBetween",
                        {{0, {FaultKind::kUnreadable}},
                         {999, {FaultKind::kCheckCondition}},
                         {33, {FaultKind::kShortRead, 1}}},
                        false,
                        {0, 999},
                        {{33, 1}}},
        SingleTrackCase{"noDescriptor", {}, true, {}, {}},
        SingleTrackCase{"mediumEndsInsideTheVolume", {}, false, {}, {}, 900}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(ImageCreator, LongerFileIsReplacedOnlyWhenTheUserAgrees) {
  TempDir dir;
  auto source = MakeThousandSectorDisc(dir);
  const std::filesystem::path image = dir / "disc.cd";
  const std::string old = testing::PatternBytes(3000 * kBlock + 100, 9);
  for (bool overwrite : {false, true}) {
    SCOPED_TRACE(overwrite ? "overwrite" : "cancel");
    std::ofstream(image, std::ios::binary) << old;
    auto engine = EngineWithDisc({.imagePath = source.string()});
    engine->ScanDrive();
    const auto discListing = engine->ListingTsv();
    engine->host.log.Clear();
    engine->host.scriptedPrompts.asked.clear();
    engine->host.scriptedPrompts.overwriteAnswer = overwrite;

    auto outcome = CreateImage(*engine, image);
    EXPECT_EQ(engine->host.scriptedPrompts.asked, std::vector<std::string>{"Overwrite"});
    ExpectIdle(*engine);
    if (!overwrite) {
      EXPECT_EQ(outcome.result, ImageResult::kCancelled);
      EXPECT_TRUE(engine->host.log.rows().empty());
      auto kept = testing::ReadBytes(image, 0, old.size());
      EXPECT_TRUE(std::equal(kept.begin(), kept.end(), old.begin(),
                             [](std::byte b, char c) { return b == static_cast<std::byte>(c); }));
      EXPECT_EQ(std::filesystem::file_size(image), old.size());
      continue;
    }
    EXPECT_EQ(outcome.result, ImageResult::kCompleted);
    // Nothing of the old file survives past the new trailer.
    const auto sectors = static_cast<Lba>(std::filesystem::file_size(source) / kBlock);
    ASSERT_EQ(std::filesystem::file_size(image), (sectors + 1) * kBlock);
    EXPECT_EQ(testing::ReadSector(image, sectors), SingleTrackTrailer());
    disc::ImageOpener opener(engine->reader, *engine->machine, engine->state, engine->scan,
                             engine->host);
    ASSERT_TRUE(opener.OnOpenImage(image.string()));
    EXPECT_FALSE(discListing.empty());
    EXPECT_EQ(engine->ListingTsv(), discListing);
  }
}

TEST(ImageCreator, WithoutADiscOrAFolderCodeSixIsShownAndNoFileIsLeft) {
  TempDir dir;
  auto source = MakeThousandSectorDisc(dir);
  struct Case {
    const char* name;
    bool discInDrive;
    std::filesystem::path destination;
    std::vector<int> errors;
  };
  // An empty drive asks for a disc, and no file is tried.
  for (const Case& c : {Case{"noDisc", false, dir / "none.cd", {static_cast<int>(text::ErrorCode::kNoDisc)}},
                        Case{"missingFolder", true, dir / "no such folder" / "disc.cd", {6}}}) {
    SCOPED_TRACE(c.name);
    auto machine = std::make_unique<EmulatedMachine>(1);
    if (c.discInDrive) machine->InsertDisc(0, {.imagePath = source.string()});
    EngineScan engine(std::move(machine));
    engine.reader.OpenSelectedDrive(engine.host.prompts(), engine.state);
    engine.state.drivesKnown = true;

    auto outcome = CreateImage(engine, c.destination);
    EXPECT_EQ(outcome.result, ImageResult::kFailed);
    EXPECT_FALSE(outcome.reason.empty());
    EXPECT_EQ(engine.host.scriptedPrompts.errors, c.errors);
    EXPECT_FALSE(std::filesystem::exists(c.destination));
    EXPECT_TRUE(engine.host.log.rows().empty());
    EXPECT_EQ(engine.host.progressCreated, 0u);
    ExpectIdle(engine);
  }
}

TEST(ImageCreator, FullDiskIsReportedWithTheSystemsReasonAndNeverAsCompleted) {
  TempDir dir;
  auto source = MakeThousandSectorDisc(dir);
  // Writes to /dev/full fail with ENOSPC; the link gives it a name ending in .cd.
  const std::filesystem::path full = dir / "full.cd";
  std::filesystem::create_symlink("/dev/full", full);
  auto engine = EngineWithDisc({.imagePath = source.string()});

  auto outcome = CreateImage(*engine, full);
  EXPECT_EQ(outcome.result, ImageResult::kFailed);
  const std::u16string reason = text::FromUtf8(std::generic_category().message(ENOSPC));
  EXPECT_NE(outcome.reason.find(std::generic_category().message(ENOSPC)), std::string::npos);
  // One failure row; the copy stopped at the failure.
  EXPECT_EQ(ImageRows(engine->host, full.string()),
            (std::vector<Row>{Started(), {reason, log::LogIcon::kFailure}}));
  EXPECT_EQ(outcome.blocks, 0u);
  EXPECT_LE(engine->host.progressTexts.size(), 32u);
  EXPECT_TRUE(engine->host.scriptedPrompts.errors.empty());
  ExpectIdle(*engine);
}

TEST(ImageCreator, DiscChangedSinceTheScanIsCopiedAsItIsNow) {
  TempDir dir;
  testing::WriteTree(dir / "s1", {{.path = "A.TXT", .content = "a"}});
  testing::WriteTree(dir / "s2", {{.path = "B.TXT", .content = "b"}});
  auto before = testing::MakeCdMultiSessionDisc({dir / "s1", dir / "s2"}, dir / "before.img");
  auto engine = EngineWithDisc({.imagePath = before.image.string(), .tracks = before.tracks});
  engine->ScanDrive();
  ASSERT_TRUE(engine->reader.multiTrack());
  auto now = MakeThousandSectorDisc(dir);
  static_cast<EmulatedMachine&>(*engine->machine).InsertDisc(0, {.imagePath = now.string()});

  const std::filesystem::path image = dir / "now.cd";
  EXPECT_EQ(CreateImage(*engine, image).result, ImageResult::kCompleted);
  const auto sectors = static_cast<Lba>(std::filesystem::file_size(now) / kBlock);
  ASSERT_EQ(std::filesystem::file_size(image), (sectors + 1) * kBlock);
  EXPECT_TRUE(testing::ReadBytes(image, 0, sectors * kBlock) ==
              testing::ReadBytes(now, 0, sectors * kBlock));
  EXPECT_EQ(testing::ReadSector(image, sectors), SingleTrackTrailer());
}

// A READ CD command's first sector and sector count.
std::pair<Lba, Lba> ReadCdRange(const RecordedCommand& command) {
  const auto& cdb = command.cdb;
  Lba lba = (Lba{cdb[2]} << 24) | (Lba{cdb[3]} << 16) | (Lba{cdb[4]} << 8) | cdb[5];
  Lba count = (Lba{cdb[6]} << 16) | (Lba{cdb[7]} << 8) | cdb[8];
  return {lba, count};
}

struct GapCase {
  const char* name;
  // A scan first: the session ends come from the drive's full TOC. Without
  // one they come from each session's volume descriptor.
  bool scanFirst;
  // Session 2's volume space size counted from LBA 0, as writers that take in
  // the earlier sessions record it, instead of from the session's start.
  bool absoluteVolumeSize;
  // A drive without the full TOC: the TOC gives the lead-out only, and session 1
  // is taken to end a fixed 10740 frames before session 2's start, at LBA 9260,
  // past where the drive can read it (8000).
  bool fullTocUnsupported;
};

class TwoSessionGap : public ::testing::TestWithParam<GapCase> {};

TEST_P(TwoSessionGap, IsFilledWithoutReadingAndTheTrailerListsBothSessions) {
  const GapCase& c = GetParam();
  TempDir dir;
  testing::WriteTree(dir / "s1", {{.path = "ONE.TXT", .content = "one"}});
  testing::WriteTree(dir / "s2", {{.path = "ONE.TXT", .content = "one"},
                                  {.path = "TWO/TWO.TXT", .content = "two"}});
  // Session 2 at frame 20000 (LBA 19850): the gap is what session 1 leaves of it.
  const Lba firstLength =
      testing::MakeMultiSessionDisc({dir / "s1"}, dir / "alone.img", 0).tracks[0].end;
  auto disc = testing::MakeMultiSessionDisc({dir / "s1", dir / "s2"}, dir / "disc.img",
                                            19850 - firstLength);
  ASSERT_EQ(disc.tracks[1].start, 20000u);
  const Lba volumeEnd = disc.tracks[1].end;
  if (c.absoluteVolumeSize) SetVolumeSpaceSize(disc.image, 19850, volumeEnd);
  // The medium runs 500 zero sectors past the last volume, as on a padded disc.
  const Lba leadOut = volumeEnd + 500;
  testing::FillSectors(disc.image, volumeEnd, 500, std::byte{0});
  // The drive says session 1 ends at LBA 8000; its volume says less.
  const Lba firstVolume = testing::IsoinfoVolume(disc.image).volumeSpaceSize;
  ASSERT_LT(firstVolume, 8000u);
  EmulatedDisc emulated{.imagePath = disc.image.string(),
                        .tracks = {{1, 150, 8000}, {2, 20000, 0}},
                        .fullTocUnsupported = c.fullTocUnsupported};
  auto engine = EngineWithDisc(emulated);
  if (c.scanFirst) engine->ScanDrive();
  auto& machine = static_cast<EmulatedMachine&>(*engine->machine);
  machine.ClearCommands();
  engine->host.log.Clear();
  engine->host.progressTexts.clear();
  engine->host.bytesCounted.clear();

  const std::filesystem::path image = dir / "copy.cd";
  auto outcome = CreateImage(*engine, image);
  EXPECT_EQ(outcome.result, ImageResult::kCompleted);
  const Lba gapStart = !c.scanFirst ? firstVolume : c.fullTocUnsupported ? 9260 : 8000;
  const Lba end = c.scanFirst ? leadOut : volumeEnd;
  ASSERT_EQ(std::filesystem::file_size(image), (end + 1) * kBlock);
  EXPECT_TRUE(AllUnread(testing::ReadBytes(image, gapStart * kBlock, (19850 - gapStart) * kBlock)));
  EXPECT_TRUE(testing::ReadBytes(image, 0, gapStart * kBlock) ==
              testing::ReadBytes(disc.image, 0, gapStart * kBlock));
  EXPECT_TRUE(testing::ReadBytes(image, 19850 * kBlock, (end - 19850) * kBlock) ==
              testing::ReadBytes(disc.image, 19850 * kBlock, (end - 19850) * kBlock));
  for (const auto& command : machine.commands()) {
    if (command.kind != RecordedCommand::Kind::kCdb || command.cdb[0] != disc::kReadCdOpcode)
      continue;
    auto [lba, count] = ReadCdRange(command);
    EXPECT_TRUE(lba + count <= gapStart || lba >= 19850) << "read " << lba << "+" << count;
  }
  auto trailer = testing::ReadSector(image, end);
  EXPECT_EQ(trailer[26], std::byte{1});
  EXPECT_EQ(trailer[27], std::byte{2});
  auto records = TrailerRecords(trailer);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].trackNumber, 1);
  EXPECT_EQ(records[0].start, 150u);
  // Ends in frames, as the starts.
  EXPECT_EQ(records[0].end, gapStart + 150);
  EXPECT_EQ(records[1].trackNumber, 2);
  EXPECT_EQ(records[1].start, 20000u);
  EXPECT_EQ(records[1].end, end + 150);
  EXPECT_TRUE(AllUnread({trailer.begin() + 28 + 2 * 9, trailer.end()}));
  std::vector<Row> rows{Started()};
  // The drive answers MEDIUM ERROR there.
  for (Lba lba = 8000; lba < gapStart; ++lba) rows.push_back(UnreadableMediumError(lba));
  rows.push_back(Completed());
  EXPECT_EQ(ImageRows(engine->host, image.string()), rows);
  EXPECT_EQ(outcome.unreadableSectors, rows.size() - 2);
  EXPECT_EQ(engine->host.progressTexts.size(), end);
  // The bytes told for the rate and the time left are the sessions' alone:
  // the gap is written, never read, and would make the time left a guess.
  const std::uint64_t toRead = std::uint64_t{end - (19850 - gapStart)} * kBlock;
  ASSERT_FALSE(engine->host.bytesCounted.empty());
  EXPECT_EQ(engine->host.bytesCounted.front(), std::make_pair(std::uint64_t{0}, toRead));
  EXPECT_EQ(engine->host.bytesCounted.back(), std::make_pair(toRead, toRead));
  EXPECT_TRUE(std::is_sorted(engine->host.bytesCounted.begin(), engine->host.bytesCounted.end()));
}

INSTANTIATE_TEST_SUITE_P(SessionEnds, TwoSessionGap,
                         ::testing::Values(GapCase{"fromTheFullToc", true, false, false},
                                           GapCase{"atFixedDistances", true, false, true},
                                           GapCase{"fromRelativeVolumeSizes", false, false, false},
                                           GapCase{"fromAbsoluteVolumeSizes", false, true, false}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(ImageCreator, ImageOfAnImageNeverCopiesItsTrailerAsASector) {
  struct Case {
    const char* name;
    // The first image is stopped after this many blocks; 0: copied whole.
    Lba stopAt;
    // The first image's descriptors are wiped: only the medium's end ends the copy.
    bool descriptorsWiped;
    // Sectors of the second image; 0: all of the medium. Both images go to the
    // medium's end, not to the 1000 sectors the volume claims.
    Lba copiedSectors;
  };
  for (const Case& c : {Case{"cutShortByAStop", 500, false, 500}, Case{"withoutDescriptors", 0, true, 0}}) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    auto source = MakeThousandSectorDisc(dir);
    const auto medium = static_cast<Lba>(std::filesystem::file_size(source) / kBlock);
    const Lba copiedSectors = c.copiedSectors != 0 ? c.copiedSectors : medium;
    auto engine = EngineWithDisc({.imagePath = source.string()});
    const std::filesystem::path first = dir / "first.cd";
    engine->host.onPump = [&] {
      if (c.stopAt != 0 && engine->host.progressTexts.size() == c.stopAt)
        disc::ScanProcess::RequestStop(engine->state);
    };
    CreateImage(*engine, first);
    engine->host.onPump = nullptr;
    const Lba firstSectors = c.stopAt != 0 ? c.stopAt : medium;
    ASSERT_EQ(std::filesystem::file_size(first), (firstSectors + 1) * kBlock);
    if (c.descriptorsWiped) testing::FillSectors(first, 16, 3, std::byte{0});

    disc::ImageOpener opener(engine->reader, *engine->machine, engine->state, engine->scan,
                             engine->host);
    ASSERT_TRUE(opener.OpenImage(first.string()));
    engine->state.readingImage = true;
    const std::filesystem::path second = dir / "second.cd";
    auto outcome = CreateImage(*engine, second);
    EXPECT_EQ(outcome.result, ImageResult::kCompleted);
    ASSERT_EQ(std::filesystem::file_size(second), (copiedSectors + 1) * kBlock);
    EXPECT_TRUE(testing::ReadBytes(second, 0, firstSectors * kBlock) ==
                testing::ReadBytes(first, 0, firstSectors * kBlock));
    // Past the first image's sectors only unread blocks, then the trailer.
    EXPECT_TRUE(AllUnread(
        testing::ReadBytes(second, firstSectors * kBlock, (copiedSectors - firstSectors) * kBlock)));
    EXPECT_EQ(testing::ReadSector(second, copiedSectors), SingleTrackTrailer());
  }
}

TEST(ImageCreator, ShortSectorOfAMultiTrackDiscIsFlaggedAndKeepsOnlyWhatCame) {
  TempDir dir;
  testing::WriteTree(dir / "s1", {{.path = "ONE.BIN", .patternSize = 40'000, .patternSeed = 1}});
  testing::WriteTree(dir / "s2", {{.path = "TWO.TXT", .content = "two"}});
  auto disc = testing::MakeCdMultiSessionDisc({dir / "s1", dir / "s2"}, dir / "disc.img");
  // A sector inside a batch of the first session, read through READ CD.
  const Lba shortSector = disc.tracks[0].end - 5;
  auto engine = EngineWithDisc({.imagePath = disc.image.string(),
                                .tracks = disc.tracks,
                                .faults = {{shortSector, {FaultKind::kShortRead, 100}}}});
  ASSERT_EQ(engine->reader.ChooseReader(), disc::Reader::kDisc);

  const std::filesystem::path image = dir / "copy.cd";
  auto outcome = CreateImage(*engine, image);
  EXPECT_EQ(outcome.result, ImageResult::kCompleted);
  EXPECT_EQ(outcome.partialSectors, 1u);
  EXPECT_EQ(outcome.unreadableSectors, 0u);
  EXPECT_EQ(ImageRows(engine->host, image.string()),
            (std::vector<Row>{Started(), Short(shortSector), Completed()}));
  auto block = testing::ReadSector(image, shortSector);
  auto original = testing::ReadSector(disc.image, shortSector);
  EXPECT_TRUE(std::equal(block.begin(), block.begin() + 100, original.begin()));
  EXPECT_TRUE(AllUnread({block.begin() + 100, block.end()}));
}

TEST(ImageCreator, StopDuringAMultiTrackCopyLeavesAnImageOfWhatWasCopied) {
  TempDir dir;
  testing::WriteTree(dir / "s1", {{.path = "OLD.TXT", .content = "old"},
                                  {.path = "DOCS/ONE.TXT", .content = "one"}});
  testing::WriteTree(dir / "s2", {{.path = "OLD.TXT", .content = "old"},
                                  {.path = "NEW/TWO.TXT", .content = "two"}});
  testing::WriteTree(dir / "s3", {{.path = "THREE.TXT", .content = "three"}});
  auto disc =
      testing::MakeCdMultiSessionDisc({dir / "s1", dir / "s2", dir / "s3"}, dir / "disc.img");
  auto engine = EngineWithDisc({.imagePath = disc.image.string(), .tracks = disc.tracks});
  engine->ScanDrive();
  std::vector<std::string> firstSession;
  for (const auto& line : engine->ListingTsv()) {
    if (line.starts_with("Session 1/")) firstSession.push_back(line);
  }
  ASSERT_FALSE(firstSession.empty());
  engine->host.log.Clear();
  engine->host.progressTexts.clear();
  // Stop once ten blocks of the gap after session 1 have been written.
  const Lba stopAt = disc.tracks[0].end + 10;
  engine->host.onPump = [&] {
    if (engine->host.progressTexts.size() == stopAt) disc::ScanProcess::RequestStop(engine->state);
  };

  const std::filesystem::path image = dir / "partial.cd";
  auto outcome = CreateImage(*engine, image);
  engine->host.onPump = nullptr;
  EXPECT_EQ(outcome.result, ImageResult::kAborted);
  EXPECT_EQ(outcome.blocks, stopAt);
  EXPECT_EQ(ImageRows(engine->host, image.string()), (std::vector<Row>{Started(), Aborted()}));
  ASSERT_EQ(std::filesystem::file_size(image), (stopAt + 1) * kBlock);
  // The sessions that begin inside the image, ending where the copy ended.
  auto records = TrailerRecords(testing::ReadSector(image, stopAt));
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].start, 150u);
  EXPECT_EQ(records[0].end, disc.tracks[0].end + 150);
  ExpectIdle(*engine);

  disc::ImageOpener opener(engine->reader, *engine->machine, engine->state, engine->scan,
                           engine->host);
  ASSERT_TRUE(opener.OnOpenImage(image.string()));
  EXPECT_EQ(engine->ListingTsv(), firstSession);
}

}  // namespace
}  // namespace velmora
