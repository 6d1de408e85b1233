// Checks that the fixture builders make what they claim, against the tools'
// own readers, before any engine test relies on them.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/BytePatcher.h"
#include "support/IsoBuilder.h"
#include "support/IsoOracle.h"
#include "support/MultiSessionBuilder.h"
#include "support/RunCommand.h"
#include "support/SectorFinder.h"
#include "support/TempDir.h"
#include "support/TreeWriter.h"

namespace velmora::testing {
namespace {

using namespace std::chrono;

const sys_seconds kStamp = sys_days{2021y / March / 4} + 5h + 6min + 7s;
constexpr const char* kSourceName = "Mixed Case Name.txt";
// Three UTF-8 bytes per character but two per UCS-2 unit: libcdio cuts such names.
constexpr const char* kCjkName = "\u65E5\u672C\u8A9E\u306E\u30D5\u30A1\u30A4\u30EB.txt";

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const OracleRecord* Find(const std::vector<OracleRecord>& records, const std::string& path) {
  const auto found = std::find_if(records.begin(), records.end(),
                                  [&path](const OracleRecord& r) { return r.path == path; });
  return found == records.end() ? nullptr : &*found;
}

struct IsoCase {
  const char* name;
  IsoOptions options;
  const char* isoName;       // what kSourceName becomes in the ISO 9660 tree
  const char* isoDataPath;   // what dir/data.bin becomes there
  bool recordsVersion;       // ";1" after file identifiers
  const char* recordedTime;  // kStamp as the tool records it
};

void PrintTo(const IsoCase& c, std::ostream* os) { *os << c.name; }

class MakeIsoTest : public ::testing::TestWithParam<IsoCase> {};

TEST_P(MakeIsoTest, ImageHoldsTheTreeAsTheOptionsAsk) {
  const IsoCase& c = GetParam();
  const TempDir dir;
  WriteTree(dir / "src", {{.path = kSourceName, .content = "mixed\n", .mtime = kStamp},
                          {.path = "dir/data.bin", .patternSize = 5000, .patternSeed = 7},
                          {.path = "empty folder", .folder = true},
                          {.path = kCjkName, .content = "cjk"}});
  const auto image = MakeIso(dir / "src", dir / "out.iso", c.options);

  const std::string zone = RecordingZone(c.options);
  const std::vector<OracleRecord> iso = IsoinfoListing(image, false, 0, zone);
  const OracleRecord* stamped = Find(iso, c.isoName);
  ASSERT_NE(stamped, nullptr) << ::testing::PrintToString(ListingTsv(iso));
  EXPECT_EQ(stamped->size, 6u);
  EXPECT_EQ(stamped->date, c.recordedTime);
  const std::vector<std::string> tsv = ListingTsv(iso);
  EXPECT_TRUE(std::is_sorted(tsv.begin(), tsv.end()));
  const std::string line = std::string(c.isoName) + "\tfile\t6\t" + c.recordedTime + "\t" +
                           std::to_string(stamped->extent);
  EXPECT_NE(std::find(tsv.begin(), tsv.end(), line), tsv.end()) << line;
  EXPECT_EQ(IsoinfoVolume(image).volumeId, c.options.volumeId);

  const std::vector<std::byte> root = ReadSector(image, IsoinfoRootExtent(image, false));
  const std::string rootText(reinterpret_cast<const char*>(root.data()), root.size());
  EXPECT_EQ(rootText.find(";1") != std::string::npos, c.recordsVersion);

  if (c.options.joliet) {
    const std::vector<OracleRecord> joliet = IsoinfoListing(image, true, 0, zone);
    ASSERT_NE(Find(joliet, kSourceName), nullptr);
    EXPECT_EQ(Find(joliet, kSourceName)->date, c.recordedTime);
    ASSERT_NE(Find(joliet, kCjkName), nullptr);
    EXPECT_EQ(Find(joliet, kCjkName)->size, 3u);
    ASSERT_NE(Find(joliet, "empty folder"), nullptr);
    EXPECT_TRUE(Find(joliet, "empty folder")->isDirectory);
  } else {
    EXPECT_THROW(IsoinfoListing(image, true), std::runtime_error);
  }

  // 7-Zip, a third reader, takes the Joliet or Rock Ridge names when there are any.
  SevenZipExtract(image, dir / "x");
  const bool sourceNames = c.options.joliet || c.options.rockRidge;
  const std::filesystem::path extracted =
      dir / "x" / (sourceNames ? "dir/data.bin" : c.isoDataPath);
  EXPECT_TRUE(ReadFile(extracted) == PatternBytes(5000, 7));
  // Whole byte vectors go through EXPECT_TRUE: a mismatch would print thousands of bytes.
  EXPECT_TRUE(ReadSector(image, FileExtentLba(image, c.isoDataPath)) ==
              ReadBytes(extracted, 0, kSectorSize));
}

IsoOptions Options(IsoTool tool, bool joliet, bool rockRidge, int level, bool omitVersion,
                   bool longNames, bool lowercase, const char* zone) {
  return {tool, joliet, rockRidge, "FIXTURE_VOL", level, omitVersion, longNames, lowercase, zone};
}

constexpr IsoTool kGen = IsoTool::kGenisoimage;
constexpr IsoTool kXor = IsoTool::kXorriso;

// Note the xorriso long_names row: libisofs drops the version whenever names may be long.
INSTANTIATE_TEST_SUITE_P(
    Tools, MakeIsoTest,
    ::testing::Values(IsoCase{"GenisoimagePlain",
                              Options(kGen, true, false, 1, false, false, false, "UTC0"),
                              "MIXED_CA.TXT", "DIR/DATA.BIN", true, "2021-03-04 05:06:07"},
                      IsoCase{"GenisoimageLongLowerRockRidgeInTokyo",
                              Options(kGen, false, true, 1, false, true, true, "JST-9"),
                              "Mixed_Case_Name.txt", "dir/data.bin", true, "2021-03-04 14:06:07"},
                      IsoCase{"GenisoimageLevel2NoVersion",
                              Options(kGen, true, false, 2, true, false, false, "UTC0"),
                              "MIXED_CASE_NAME.TXT", "DIR/DATA.BIN", false, "2021-03-04 05:06:07"},
                      IsoCase{"XorrisoPlain",
                              Options(kXor, true, false, 1, false, false, false, "UTC0"),
                              "MIXED_CA.TXT", "DIR/DATA.BIN", true, "2021-03-04 05:06:07"},
                      IsoCase{"XorrisoLongLowerInTokyo",
                              Options(kXor, true, false, 1, false, true, true, "JST-9"),
                              "Mixed_Case_Name.txt", "dir/data.bin", false, "2021-03-04 05:06:07"},
                      IsoCase{"XorrisoLevel3NoVersionNoExtensions",
                              Options(kXor, false, false, 3, true, false, false, "UTC0"),
                              "MIXED_CASE_NAME.TXT", "DIR/DATA.BIN", false, "2021-03-04 05:06:07"}),
    [](const ::testing::TestParamInfo<IsoCase>& row) { return std::string(row.param.name); });

TEST(MultiSessionDiscTest, SessionsSitAtTheirStartsWithF6Gaps) {
  const TempDir dir;
  const std::vector<std::vector<FixtureFile>> trees{
      {{.path = "first.txt", .content = "one"}, {.path = "dir/big.bin", .patternSize = 9000}},
      {{.path = "second.txt", .content = "two"}},
      {{.path = kCjkName, .content = "three"},
       {.path = "dir/more.bin", .patternSize = 3000, .patternSeed = 3}}};
  std::vector<std::filesystem::path> sources;
  for (std::size_t k = 0; k < trees.size(); ++k) {
    sources.push_back(dir / ("s" + std::to_string(k + 1)));
    WriteTree(sources.back(), trees[k]);
  }
  constexpr std::uint32_t kGap = 40;
  const MultiSessionDisc disc = MakeMultiSessionDisc(sources, dir / "disc.iso", kGap);
  ASSERT_EQ(disc.tracks.size(), trees.size());
  EXPECT_EQ(disc.tracks[0].start, kPregapFrames);
  EXPECT_EQ(std::filesystem::file_size(disc.image), disc.tracks.back().end * kSectorSize);

  std::vector<std::string> expected;
  for (std::size_t k = 0; k < trees.size(); ++k) {
    SCOPED_TRACE("session " + std::to_string(k + 1));
    const disc::TrackNode& track = disc.tracks[k];
    const std::uint32_t start = track.start - kPregapFrames;
    EXPECT_EQ(track.trackNumber, k + 1);
    if (k > 0) {
      EXPECT_EQ(start, disc.tracks[k - 1].end + kGap);
      for (const std::uint32_t lba : {disc.tracks[k - 1].end, start - 1}) {
        const std::vector<std::byte> gap = ReadSector(disc.image, lba);
        EXPECT_EQ(std::count(gap.begin(), gap.end(), std::byte{0xF6}), kSectorSize);
      }
    }
    const std::vector<DescriptorSector> descriptors = DescriptorSectors(disc.image, start);
    ASSERT_GE(descriptors.size(), 3u);
    EXPECT_EQ(descriptors[0].lba, start + 16);
    EXPECT_EQ(descriptors[0].type, kPrimaryDescriptor);
    EXPECT_EQ(FindDescriptor(disc.image, kSupplementaryDescriptor, start), start + 17);
    const VolumeInfo volume = IsoinfoVolume(disc.image, start);
    EXPECT_EQ(volume.volumeId, "SESSION_" + std::to_string(k + 1));
    EXPECT_EQ(volume.volumeSpaceSize, track.end - start);

    // Each session lists every file so far; the ones it brought lie inside it.
    for (const FixtureFile& file : trees[k]) expected.push_back(file.path);
    const std::vector<OracleRecord> listing = IsoinfoListing(disc.image, true, start);
    for (const std::string& path : expected) {
      const OracleRecord* record = Find(listing, path);
      ASSERT_NE(record, nullptr) << path;
      const bool broughtHere = std::any_of(trees[k].begin(), trees[k].end(),
                                           [&](const FixtureFile& f) { return f.path == path; });
      EXPECT_EQ(record->extent >= start && record->extent < track.end, broughtHere) << path;
    }
    EXPECT_NE(Find(listing, "dir"), nullptr);
  }
  const auto moreAt =
      FileExtentLba(disc.image, "dir/more.bin", true, disc.tracks[2].start - kPregapFrames);
  EXPECT_TRUE(ReadBytes(disc.image, moreAt * kSectorSize, 3000) ==
              ReadBytes(dir / "s3" / "dir" / "more.bin", 0, 3000));
}

TEST(BytePatcherTest, PatchedBytesReadBack) {
  const TempDir dir;
  WriteTree(dir / "src", {{.path = "a.txt", .content = "a"}});
  const auto image = MakeIso(dir / "src", dir / "out.iso");
  const std::uint32_t root = IsoinfoRootExtent(image, false);
  const std::vector<std::byte> after = ReadSector(image, root + 1);

  FillSectors(image, root, 1, std::byte{0xF6});
  EXPECT_TRUE(ReadSector(image, root) == std::vector<std::byte>(kSectorSize, std::byte{0xF6}));
  EXPECT_TRUE(ReadSector(image, root + 1) == after);

  const std::vector<std::byte> patch{std::byte{0x00}, std::byte{0x22}, std::byte{0xFF}};
  WriteBytes(image, root * kSectorSize + 2047, patch);
  EXPECT_EQ(ReadBytes(image, root * kSectorSize + 2047, patch.size()), patch);
  EXPECT_THROW(ReadBytes(image, std::filesystem::file_size(image) - 1, 2), std::runtime_error);
}

TEST(RunCommandTest, ReportsOutputExitCodeAndMissingTools) {
  const CommandResult listed = RunCommand({"ls", "-d", "/", "/no/such/path"}, {"LC_ALL=C"});
  EXPECT_EQ(listed.out, "/\n");
  EXPECT_NE(listed.err.find("/no/such/path"), std::string::npos);
  EXPECT_EQ(listed.exitCode, 2);
  EXPECT_EQ(RunCommand({"printenv", "TZ"}, {"TZ=JST-9"}).out, "JST-9\n");
  EXPECT_THROW(RunCommand({"velmora-no-such-tool"}), std::runtime_error);
  EXPECT_THROW(RunChecked({"false"}), std::runtime_error);
}

}  // namespace
}  // namespace velmora::testing
