#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "image/ImageCreator.h"
#include "image/ImageOpener.h"
#include "media/ImageTrailer.h"
#include "platform/emulated/EmulatedMachine.h"
#include "support/BytePatcher.h"
#include "support/EngineScan.h"
#include "support/IsoBuilder.h"
#include "support/IsoOracle.h"
#include "support/MultiSessionBuilder.h"
#include "support/TempDir.h"
#include "support/TreeWriter.h"

namespace velmora {
namespace {

using platform::emulated::EmulatedDisc;
using platform::emulated::EmulatedMachine;
using testing::EngineScan;
using testing::TempDir;

constexpr std::size_t kBlock = 2048;

struct Disc {
  EmulatedDisc emulated;
  // Sectors the disc's volumes take up, as a third-party reader or the builder
  // tells it: what the image must hold before its trailer.
  Lba sectors = 0;
};

Disc ThreeSessions(const TempDir& dir) {
  testing::WriteTree(dir / "s1", {{.path = "OLD.TXT", .content = "old"},
                                  {.path = "DOCS/ONE.TXT", .content = "one"}});
  testing::WriteTree(dir / "s2",
                     {{.path = "OLD.TXT", .content = "old"},
                      {.path = "DOCS/ONE.TXT", .content = "one"},
                      {.path = "DOCS/TWO.TXT", .patternSize = 70'000, .patternSeed = 2}});
  testing::WriteTree(dir / "s3", {{.path = "OLD.TXT", .content = "old"},
                                  {.path = "NEW/THREE.TXT", .content = "three"}});
  auto disc =
      testing::MakeCdMultiSessionDisc({dir / "s1", dir / "s2", dir / "s3"}, dir / "disc.img");
  return {{.imagePath = disc.image.string(), .tracks = disc.tracks}, disc.tracks.back().end};
}

Disc JolietSingleSession(const TempDir& dir) {
  testing::WriteTree(dir / "src",
                     {{.path = "Caf\u00E9 cr\u00E8me.txt", .content = "x"},
                      {.path = "\u65E5\u672C\u8A9E/\u30D5\u30A1\u30A4\u30EB.txt", .content = "cjk"},
                      {.path = "photos/IMG_0001.JPG", .patternSize = 90'000, .patternSeed = 1}});
  testing::IsoOptions options;
  options.tool = testing::IsoTool::kXorriso;
  auto image = testing::MakeIso(dir / "src", dir / "disc.iso", options);
  // The image holds every block of the medium, xorriso's padding past the volume too.
  return {{.imagePath = image.string()},
          static_cast<Lba>(std::filesystem::file_size(image) / kBlock)};
}

std::unique_ptr<EngineScan> EngineWithDisc(const EmulatedDisc& disc) {
  auto machine = std::make_unique<EmulatedMachine>(1);
  machine->InsertDisc(0, disc);
  return std::make_unique<EngineScan>(std::move(machine));
}

disc::ImageOpener OpenerOf(EngineScan& engine) {
  return {engine.reader, *engine.machine, engine.state, engine.scan, engine.host};
}

struct RoundTripCase {
  const char* name;
  Disc (*make)(const TempDir&);
};

class ImageRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(ImageRoundTrip, ImageListsAsTheDiscDidAndStaysTheSourceUntilOpenDrive) {
  TempDir dir;
  Disc disc = GetParam().make(dir);
  auto engine = EngineWithDisc(disc.emulated);
  engine->ScanDrive();
  const auto discListing = engine->ListingTsv();
  ASSERT_FALSE(discListing.empty());

  const std::filesystem::path image = dir / "copy.cd";
  disc::ImageCreator creator(engine->reader, engine->state, engine->table, engine->scan,
                             engine->host);
  ASSERT_EQ(creator.CreateImage(image.string()).result, disc::ImageResult::kCompleted);
  // Block for block the disc, gaps included.
  ASSERT_EQ(std::filesystem::file_size(image), (disc.sectors + 1) * kBlock);
  EXPECT_TRUE(testing::ReadBytes(image, 0, disc.sectors * kBlock) ==
              testing::ReadBytes(disc.emulated.imagePath, 0, disc.sectors * kBlock));

  engine->host.scriptedPrompts.asked.clear();
  ASSERT_TRUE(OpenerOf(*engine).OnOpenImage(image.string()));
  EXPECT_EQ(engine->ListingTsv(), discListing);
  EXPECT_TRUE(engine->host.scriptedPrompts.asked.empty());  // no Insert question
  EXPECT_FALSE(engine->reader.trayLocked());
  EXPECT_TRUE(engine->state.readingImage);
  EXPECT_TRUE(engine->reader.imageOpen());

  // Open Drive switches back to the disc.
  engine->ScanDrive();
  EXPECT_FALSE(engine->state.readingImage);
  EXPECT_FALSE(engine->reader.imageOpen());
  EXPECT_EQ(engine->ListingTsv(), discListing);
}

INSTANTIATE_TEST_SUITE_P(Discs, ImageRoundTrip,
                         ::testing::Values(RoundTripCase{"threeSessions", ThreeSessions},
                                           RoundTripCase{"jolietSingleSession",
                                                         JolietSingleSession}),
                         [](const auto& row) { return std::string(row.param.name); });

// Ten sectors of noise and the trailer the image writer gives two sessions,
// with one byte of it changed.
std::filesystem::path ImageWithDamagedTrailer(const TempDir& dir, std::size_t offset,
                                              std::byte value) {
  auto path = dir / "damaged.cd";
  std::ofstream(path, std::ios::binary) << testing::PatternBytes(10 * kBlock, 4);
  auto trailer = disc::BuildImageTrailer({true, 2, {{1, 150, 5}, {2, 158, 10}}});
  trailer[offset] = value;
  testing::WriteBytes(path, 10 * kBlock, trailer);
  return path;
}

std::filesystem::path MissingFile(const TempDir& dir) { return dir / "no such image.cd"; }

std::filesystem::path NoiseFile(const TempDir& dir) {
  auto path = dir / "noise.cd";
  std::ofstream(path, std::ios::binary) << testing::PatternBytes(40 * kBlock, 5);
  return path;
}

std::filesystem::path TooManyRecords(const TempDir& dir) {
  return ImageWithDamagedTrailer(dir, 27, std::byte{225});
}

// The second record's start (bytes 38-41) below the first's.
std::filesystem::path DescendingStarts(const TempDir& dir) {
  return ImageWithDamagedTrailer(dir, 38, std::byte{100});
}

struct RefusedCase {
  const char* name;
  std::filesystem::path (*make)(const TempDir&);
  std::vector<int> errors;
};

class RefusedImage : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedImage, TellsWhyAndLeavesTheDriveAndTheTreeAsTheyWere) {
  const RefusedCase& c = GetParam();
  TempDir dir;
  Disc disc = JolietSingleSession(dir);
  auto engine = EngineWithDisc(disc.emulated);
  engine->ScanDrive();
  const auto listing = engine->ListingTsv();
  ASSERT_FALSE(listing.empty());

  EXPECT_FALSE(OpenerOf(*engine).OnOpenImage(c.make(dir).string()));
  EXPECT_EQ(engine->host.scriptedPrompts.errors, c.errors);
  // The one dialog says why, naming the file.
  ASSERT_EQ(engine->host.scriptedPrompts.errorDetails.size(), 1u);
  EXPECT_NE(engine->host.scriptedPrompts.errorDetails[0].find(c.make(dir).filename().string()),
            std::string::npos)
      << engine->host.scriptedPrompts.errorDetails[0];
  EXPECT_EQ(engine->ListingTsv(), listing);
  EXPECT_FALSE(engine->state.readingImage);
  EXPECT_FALSE(engine->reader.imageOpen());
  // The drive reads again: its primary volume descriptor comes back.
  std::vector<std::byte> sector(kBlock);
  std::uint32_t bytesRead = 0;
  ASSERT_TRUE(engine->reader.ReadFileSectors(16, 1, sector, bytesRead));
  EXPECT_EQ(sector, testing::ReadSector(disc.emulated.imagePath, 16));
}

INSTANTIATE_TEST_SUITE_P(
    Files, RefusedImage,
    ::testing::Values(RefusedCase{"missing", MissingFile, {7}},
                      RefusedCase{"noSignatureNorDescriptor", NoiseFile, {1}},
                      RefusedCase{"moreRecordsThanTheBlockHolds", TooManyRecords, {1}},
                      RefusedCase{"startsThatDoNotAscend", DescendingStarts, {1}}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace velmora
