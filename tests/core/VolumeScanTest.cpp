#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <optional>
#include <set>

#include "platform/Machine.h"
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

using testing::EngineScan;
using testing::FixtureFile;
using testing::IsoOptions;
using testing::IsoTool;
using testing::TempDir;

std::vector<FixtureFile> DeepTree() {
  std::vector<FixtureFile> files = {
      {.path = "README.TXT", .content = "read me\n"},
      {.path = "EMPTY.DAT", .content = ""},
      {.path = "A", .content = "a"},
      {.path = "B1.C", .content = "b"},
      {.path = "LONGER_NAME_FILE.DATA", .content = "longer"},
      {.path = "NOEXT", .content = "no extension"},
  };
  std::string deep;
  for (int level = 1; level <= 8; ++level) {
    deep += (deep.empty() ? "" : "/") + std::string("LEVEL") + std::to_string(level);
    files.push_back({.path = deep + "/F" + std::to_string(level) + ".BIN",
                     .patternSize = 3000u * level, .patternSeed = static_cast<std::uint32_t>(level)});
  }
  // A folder whose directory spans several sectors.
  for (int i = 0; i < 120; ++i) {
    files.push_back({.path = "MANY/FILE_WITH_A_LONG_NAME_" + std::to_string(i) + ".TXT",
                     .content = std::to_string(i)});
  }
  files.push_back({.path = "EMPTYDIR", .folder = true});
  return files;
}

std::vector<FixtureFile> UnicodeTree() {
  std::vector<FixtureFile> files = {
      {.path = "Caf\u00E9 cr\u00E8me br\u00FBl\u00E9e recipe with a very long name.txt", .content = "x"},
      {.path = "\u65E5\u672C\u8A9E\u306E\u30D5\u30A1\u30A4\u30EB.txt", .content = "cjk"},
      {.path = "Price \u20AC.txt", .content = "euro"},
      {.path = "\u042F", .content = "ya"},
      {.path = "\u041F\u0430\u043F\u043A\u0430/\u0444\u0430\u0439\u043B.doc", .content = "cyr"},
      {.path = "empty.txt", .content = ""},
      {.path = "photos/2019/holiday/IMG_0001.JPG", .patternSize = 70000, .patternSeed = 1},
  };
  // A root directory of well over 35 sectors.
  for (int i = 0; i < 450; ++i) {
    files.push_back({.path = "root file number " + std::to_string(i) + " with a long Joliet name.txt",
                     .content = "r"});
  }
  return files;
}

struct OracleCase {
  const char* name;
  std::vector<FixtureFile> (*tree)();
  IsoOptions options;
  bool joliet;
};

class ListingAgreesWithIsoinfo : public ::testing::TestWithParam<OracleCase> {};

TEST_P(ListingAgreesWithIsoinfo, NamesSizesExtentsAndDates) {
  const OracleCase& c = GetParam();
  TempDir dir;
  testing::WriteTree(dir / "src", c.tree());
  auto image = testing::MakeIso(dir / "src", dir / "disc.iso", c.options);
  EngineScan engine(platform::CreateHostMachine());
  engine.ScanImage(image.string());
  auto expected = testing::ListingTsv(testing::IsoinfoListing(image, c.joliet, 0, c.options.timeZone));
  auto actual = engine.ListingTsv();
  std::vector<std::string> missing, extra;
  std::set_difference(expected.begin(), expected.end(), actual.begin(), actual.end(),
                      std::back_inserter(missing));
  std::set_difference(actual.begin(), actual.end(), expected.begin(), expected.end(),
                      std::back_inserter(extra));
  EXPECT_TRUE(missing.empty() && extra.empty())
      << "missing: " << ::testing::PrintToString(missing) << "\nextra: " << ::testing::PrintToString(extra);
  EXPECT_TRUE(engine.host.scriptedPrompts.errors.empty());
  EXPECT_TRUE(engine.state.treeComplete);
  EXPECT_FALSE(engine.state.busy);
  EXPECT_EQ(engine.host.Statuses().back(), text::LoadText(text::kProcessCompleted));
}

IsoOptions PrimaryOnly() {
  IsoOptions o;
  o.tool = IsoTool::kGenisoimage;
  o.joliet = false;
  o.longNames = true;
  o.timeZone = "JST-9";
  return o;
}
IsoOptions PrimaryWithoutVersions() {
  IsoOptions o = PrimaryOnly();
  o.omitVersionNumbers = true;
  return o;
}
IsoOptions JolietXorriso() {
  IsoOptions o;
  o.tool = IsoTool::kXorriso;
  o.joliet = true;
  return o;
}

INSTANTIATE_TEST_SUITE_P(Fixtures, ListingAgreesWithIsoinfo,
                         ::testing::Values(OracleCase{"primary", DeepTree, PrimaryOnly(), false},
                                           OracleCase{"noversions", DeepTree, PrimaryWithoutVersions(), false},
                                           OracleCase{"joliet", UnicodeTree, JolietXorriso(), true}),
                         [](const auto& param) { return std::string(param.param.name); });

// A 1-byte patch of both halves of a both-endian 32-bit field.
void PatchBothEndian32(const std::filesystem::path& image, std::uint64_t offset, std::uint32_t value) {
  std::vector<std::byte> bytes(8);
  for (int i = 0; i < 4; ++i) {
    bytes[static_cast<std::size_t>(i)] = static_cast<std::byte>(value >> (8 * i));
    bytes[static_cast<std::size_t>(7 - i)] = static_cast<std::byte>(value >> (8 * i));
  }
  testing::WriteBytes(image, offset, bytes);
}

// Offset of the directory record named identifier inside the directory at extent.
std::uint64_t RecordOffset(const std::filesystem::path& image, std::uint32_t extent,
                           const std::string& identifier) {
  auto sector = testing::ReadSector(image, extent);
  for (std::size_t pos = 0; pos + 33 < sector.size();) {
    auto length = static_cast<std::size_t>(sector[pos]);
    if (length == 0) break;
    auto idLength = static_cast<std::size_t>(sector[pos + 32]);
    std::string id(reinterpret_cast<const char*>(sector.data()) + pos + 33, idLength);
    if (id == identifier) return std::uint64_t{extent} * testing::kSectorSize + pos;
    pos += length;
  }
  ADD_FAILURE() << identifier << " not found";
  return 0;
}

class DamagedDisc : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::WriteTree(dir / "src", {{.path = "TOP.TXT", .content = "top"},
                                     {.path = "DOCS/A.TXT", .content = "a"},
                                     {.path = "DOCS/SUB/B.TXT", .content = "b"},
                                     {.path = "PICS/C.JPG", .content = "c"}});
    IsoOptions options;
    options.joliet = false;
    image = testing::MakeIso(dir / "src", dir / "disc.iso", options);
  }
  std::vector<std::string> Paths() {
    EngineScan engine(platform::CreateHostMachine());
    engine.ScanImage(image.string());
    std::vector<std::string> paths;
    for (const auto& line : engine.ListingTsv()) paths.push_back(line.substr(0, line.find('\t')));
    aborted = engine.state.stopRequested;
    return paths;
  }
  TempDir dir;
  std::filesystem::path image;
  bool aborted = false;
};

TEST_F(DamagedDisc, DirectoryPointingToItsAncestorEndsTheWalk) {
  std::uint32_t root = testing::IsoinfoRootExtent(image, false);
  std::uint32_t docs = testing::FileExtentLba(image, "DOCS");
  // DOCS/SUB now claims to be the root directory again.
  PatchBothEndian32(image, RecordOffset(image, docs, "SUB") + 2, root);
  auto paths = Paths();
  EXPECT_EQ(paths, (std::vector<std::string>{"DOCS", "DOCS/A.TXT", "DOCS/SUB", "PICS", "PICS/C.JPG",
                                             "TOP.TXT"}));
}

TEST_F(DamagedDisc, OverwrittenRootLeavesThePathTableToGiveTheFolders) {
  std::uint32_t root = testing::IsoinfoRootExtent(image, false);
  for (std::byte fill : {std::byte{0}, std::byte{0x22}}) {
    SCOPED_TRACE(static_cast<int>(fill));
    testing::FillSectors(image, root, 1, fill);
    EXPECT_EQ(Paths(), (std::vector<std::string>{"DOCS", "DOCS/A.TXT", "DOCS/SUB", "DOCS/SUB/B.TXT",
                                                 "PICS", "PICS/C.JPG"}));
  }
}

// Three sessions laid out as on a CD, read through the emulated drive.
class MultiSessionScan : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::WriteTree(dir / "s1", {{.path = "OLD.TXT", .content = "old"},
                                    {.path = "DOCS/ONE.TXT", .content = "one"}});
    testing::WriteTree(dir / "s2", {{.path = "OLD.TXT", .content = "old"},
                                    {.path = "DOCS/ONE.TXT", .content = "one"},
                                    {.path = "DOCS/TWO.TXT", .content = "two"}});
    testing::WriteTree(dir / "s3", {{.path = "OLD.TXT", .content = "old"},
                                    {.path = "DOCS/ONE.TXT", .content = "one"},
                                    {.path = "DOCS/TWO.TXT", .content = "two"},
                                    {.path = "NEW/THREE.TXT", .content = "three"}});
    disc = testing::MakeCdMultiSessionDisc({dir / "s1", dir / "s2", dir / "s3"}, dir / "disc.img");
    auto machine = std::make_unique<platform::emulated::EmulatedMachine>(1);
    platform::emulated::EmulatedDisc emulated;
    emulated.imagePath = disc.image.string();
    emulated.tracks = disc.tracks;
    machine->InsertDisc(0, emulated);
    engine = std::make_unique<EngineScan>(std::move(machine));
  }
  std::vector<std::string> Paths() const {
    std::vector<std::string> paths;
    for (const auto& line : engine->ListingTsv()) paths.push_back(line.substr(0, line.find('\t')));
    return paths;
  }
  TempDir dir;
  testing::MultiSessionDisc disc;
  std::unique_ptr<EngineScan> engine;
};

TEST_F(MultiSessionScan, EverySessionUnderItsNodeWithEarlierFilesListedOnce) {
  engine->ScanDrive();
  const auto& table = engine->table;
  ASSERT_GE(table.size(), 4u);
  const std::uint32_t e = disc.tracks.back().end;
  EXPECT_EQ(table[0].name, u"Root");
  for (std::uint32_t k = 1; k <= 3; ++k) {
    const disc::Entry& node = table[table.SessionNodeIndex(k)];
    EXPECT_EQ(node.fileId, e + k);
    EXPECT_EQ(node.parentId, 0);
    EXPECT_EQ(text::ToUtf8(node.name), "Session " + std::to_string(k));
  }
  // Folders are listed in every session; files only where they were written.
  EXPECT_EQ(Paths(), (std::vector<std::string>{
                         "Session 1/DOCS", "Session 1/DOCS/ONE.TXT", "Session 1/OLD.TXT",
                         "Session 2/DOCS", "Session 2/DOCS/TWO.TXT",
                         "Session 3/DOCS", "Session 3/NEW", "Session 3/NEW/THREE.TXT"}));
  for (std::size_t i = 0; i < table.size(); ++i) {
    const disc::Entry& entry = table[i];
    if (entry.session == 0) continue;
    if (engine->PathOf(i).find('/', 10) == std::string::npos) {
      EXPECT_EQ(entry.parentId, static_cast<std::int32_t>(e + entry.session)) << engine->PathOf(i);
    }
  }
  EXPECT_EQ(engine->host.scriptedPrompts.asked, std::vector<std::string>{"InsertDisc"});
  EXPECT_FALSE(engine->machine->OpticalDrives().empty());
}

TEST_F(MultiSessionScan, FilesOfAnUnreadableEarlierSessionAreListedInTheLaterOne) {
  // Session 1's directories do not read, so session 2 is the only listing of OLD.TXT.
  auto* machine = static_cast<platform::emulated::EmulatedMachine*>(engine->machine.get());
  platform::emulated::EmulatedDisc emulated;
  emulated.imagePath = disc.image.string();
  emulated.tracks = disc.tracks;
  for (Lba lba = 0; lba < disc.tracks[0].end; ++lba) emulated.faults[lba] = {platform::emulated::FaultKind::kCheckCondition};
  machine->InsertDisc(0, emulated);
  engine->ScanDrive();
  auto paths = Paths();
  EXPECT_NE(std::find(paths.begin(), paths.end(), "Session 2/OLD.TXT"), paths.end());
  EXPECT_NE(std::find(paths.begin(), paths.end(), "Session 2/DOCS/ONE.TXT"), paths.end());
  EXPECT_EQ(std::count_if(paths.begin(), paths.end(), [](const std::string& p) { return p.rfind("Session 1/", 0) == 0; }), 0);
}

TEST_F(MultiSessionScan, StopInTheSecondSessionLeavesTheThirdUnread) {
  engine->host.onPump = [this] {
    for (std::size_t i = 0; i < engine->table.size(); ++i) {
      if (engine->table[i].session == 2 && !engine->state.stopRequested) {
        disc::ScanProcess::RequestStop(engine->state);
      }
    }
  };
  engine->ScanDrive();
  for (const auto& path : Paths()) EXPECT_EQ(path.rfind("Session 3/", 0), std::string::npos) << path;
  auto statuses = engine->host.Statuses();
  EXPECT_NE(std::find(statuses.begin(), statuses.end(), text::LoadText(text::kProcessAborted)), statuses.end());
  EXPECT_FALSE(engine->state.stopRequested);  // cleared once the scan ended
  EXPECT_TRUE(engine->state.treeComplete);
  EXPECT_FALSE(engine->host.progressShown);
}

// A drive's TOC gives where each session starts; the emulated drive finds where
// each ends from the session's volume, whatever the gaps between them.
TEST(ScanProcessTest, EverySessionReadsWhateverTheGapsBetweenThem) {
  struct Case {
    const char* name;
    std::vector<std::uint32_t> gaps;
  };
  for (const Case& c : {Case{"firstLeadOutLongerThanTheLater",
                             {testing::kFirstSessionGap, testing::kLaterSessionGap}},
                        Case{"everyGapAsLongAsTheFirst", {testing::kFirstSessionGap}}}) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    testing::WriteTree(dir / "s1", {{.path = "ONE.TXT", .content = "one"}});
    testing::WriteTree(dir / "s2", {{.path = "ONE.TXT", .content = "one"},
                                    {.path = "TWO/TWO.TXT", .content = "two"}});
    testing::WriteTree(dir / "s3", {{.path = "ONE.TXT", .content = "one"},
                                    {.path = "TWO/TWO.TXT", .content = "two"},
                                    {.path = "THREE.TXT", .content = "three"}});
    auto disc = testing::MakeMultiSessionDisc({dir / "s1", dir / "s2", dir / "s3"},
                                              dir / "disc.img", c.gaps);
    ASSERT_EQ(disc.tracks[2].start - disc.tracks[1].end, c.gaps.back() + testing::kPregapFrames);
    platform::emulated::EmulatedDisc emulated{.imagePath = disc.image.string(), .tracks = disc.tracks};
    for (auto& node : emulated.tracks) node.end = 0;  // the TOC has the starts only
    auto machine = std::make_unique<platform::emulated::EmulatedMachine>(1);
    machine->InsertDisc(0, emulated);
    EngineScan engine(std::move(machine));
    engine.ScanDrive();
    std::vector<std::string> paths;
    for (const auto& line : engine.ListingTsv()) paths.push_back(line.substr(0, line.find('\t')));
    EXPECT_EQ(paths, (std::vector<std::string>{"Session 1/ONE.TXT", "Session 2/TWO",
                                               "Session 2/TWO/TWO.TXT", "Session 3/THREE.TXT",
                                               "Session 3/TWO"}));
    // The full TOC gives each session's end as the disc has it.
    ASSERT_EQ(engine.reader.tracks().size(), 3u);
    for (std::size_t k = 0; k < 3; ++k) EXPECT_EQ(engine.reader.tracks()[k].end, disc.tracks[k].end);
  }
}

TEST(ScanProcessTest, StopBeforeAnyWalkStillLogsProcessAborted) {
  struct Case {
    const char* name;
    bool descriptorsWiped;
    // The scan asks once per sector of the descriptor search (100 with no
    // descriptor), then once per sector of the recovery sector scan.
    int stopAtQuestion;
  };
  for (const Case& c : {Case{"descriptorSearch", false, 1}, Case{"recoverySectorScan", true, 105}}) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    testing::WriteTree(dir / "src", {{.path = "A.TXT", .content = "a"}, {.path = "DIR/B.TXT", .content = "b"}});
    auto image = testing::MakeIso(dir / "src", dir / "disc.iso");
    if (c.descriptorsWiped) testing::FillSectors(image, 16, 3, std::byte{0});
    auto machine = std::make_unique<platform::emulated::EmulatedMachine>(1);
    machine->InsertDisc(0, {.imagePath = image.string()});
    EngineScan engine(std::move(machine));
    int questions = 0;
    engine.host.onPump = [&] {
      if (++questions == c.stopAtQuestion) disc::ScanProcess::RequestStop(engine.state);
    };
    engine.ScanDrive();
    // The drive is named first, as every scan of a drive does.
    EXPECT_EQ(engine.host.Statuses(),
              (std::vector<std::u16string>{text::LoadText(text::kDriveLabel) +
                                               u" ORVANE EMULATED DRIVE, " +
                                               text::LoadText(text::kFirmwareLabel) + u" 2.0",
                                           text::LoadText(text::kProcessAborted)}));
    EXPECT_TRUE(engine.state.logHasEntries);
    EXPECT_TRUE(engine.ListingTsv().empty());
    EXPECT_TRUE(engine.host.scriptedPrompts.errors.empty());
  }
}

// An empty drive asks for a disc: it is not a corrupted one.
TEST(ScanProcessTest, NoDiscAsksForADiscOnceAndForgetsTheDrives) {
  auto machine = std::make_unique<platform::emulated::EmulatedMachine>(1);
  EngineScan engine(std::move(machine));
  engine.ScanDrive();
  EXPECT_EQ(engine.host.scriptedPrompts.errors,
            std::vector<int>{static_cast<int>(text::ErrorCode::kNoDisc)});
  EXPECT_FALSE(engine.state.drivesKnown);
  EXPECT_FALSE(engine.reader.trayLocked());
  EXPECT_EQ(engine.table.size(), 0u);
}

// A disc whose first sectors read slowly shows "Reading.." while they do: the
// indicator comes before the first sector is read, and goes with a scan that
// finds no disc.
TEST(ScanProcessTest, ReadingShowsBeforeTheFirstReadAndGoesWithAFailedScan) {
  TempDir dir;
  testing::WriteTree(dir / "src", {{.path = "A.TXT", .content = "a"}});
  const auto image = testing::MakeIso(dir / "src", dir / "disc.iso");
  for (const bool withDisc : {true, false}) {
    SCOPED_TRACE(withDisc ? "disc" : "no disc");
    auto machine = std::make_unique<platform::emulated::EmulatedMachine>(1);
    auto* drive = machine.get();
    if (withDisc) machine->InsertDisc(0, {.imagePath = image.string()});
    EngineScan engine(std::move(machine));
    drive->RecordCommands(true);
    std::optional<std::size_t> readsBefore;
    engine.host.onProgressCreated = [&] {
      if (readsBefore) return;
      readsBefore = static_cast<std::size_t>(
          std::count_if(drive->commands().begin(), drive->commands().end(), [](const auto& c) {
            return c.kind == platform::emulated::RecordedCommand::Kind::kCookedRead;
          }));
    };
    engine.ScanDrive();
    ASSERT_TRUE(readsBefore.has_value());
    EXPECT_EQ(*readsBefore, 0u);
    EXPECT_FALSE(engine.host.progressShown);
    EXPECT_EQ(engine.ListingTsv().size(), withDisc ? 1u : 0u);
  }
}

TEST(ScanProcessTest, CancelAtTheInsertQuestionKeepsThePreviousTree) {
  TempDir dir;
  testing::WriteTree(dir / "src", {{.path = "A.TXT", .content = "a"}});
  auto image = testing::MakeIso(dir / "src", dir / "disc.iso");
  auto machine = std::make_unique<platform::emulated::EmulatedMachine>(1);
  std::string reason;
  machine->InsertDisc(0, *platform::emulated::EmulatedDisc::FromImage(image.string(), reason));
  EngineScan engine(std::move(machine));
  engine.ScanDrive();
  ASSERT_EQ(engine.ListingTsv().size(), 1u);
  EXPECT_TRUE(engine.reader.trayLocked());
  engine.host.scriptedPrompts.insertAnswer = false;
  engine.ScanDrive();
  EXPECT_EQ(engine.ListingTsv().size(), 1u);
  EXPECT_FALSE(engine.reader.trayLocked());
  // The counts still describe the tree shown (the totals panes use them).
  EXPECT_EQ(engine.scan.counters().filesFound, 1u);
  EXPECT_EQ(engine.scan.counters().totalFileBytes, 1u);
  EXPECT_TRUE(engine.scan.counters().namesCarried.primary);
}

// Which names a disc carries is found whatever names the scan shows: the
// window offers only those.
TEST(ScanProcessTest, NamesCarriedWhateverNamesAreShown) {
  TempDir dir;
  testing::WriteTree(dir / "src", {{.path = "Long Mixed Name.txt", .content = "a"}});
  struct Case {
    const char* name;
    bool joliet;
    bool rockRidge;
  };
  for (const Case& c : {Case{"plain", false, false}, Case{"joliet", true, false},
                        Case{"rock ridge", false, true}, Case{"both", true, true}}) {
    IsoOptions options;
    options.joliet = c.joliet;
    options.rockRidge = c.rockRidge;
    const auto image = testing::MakeIso(dir / "src", dir / "disc.iso", options);
    for (disc::NameSource names : {disc::NameSource::kAuto, disc::NameSource::kRockRidge,
                                   disc::NameSource::kJoliet, disc::NameSource::kPrimary}) {
      SCOPED_TRACE(std::string(c.name) + " disc, names " + std::to_string(static_cast<int>(names)));
      EngineScan engine(std::make_unique<platform::emulated::EmulatedMachine>(1));
      engine.state.nameSource = names;
      engine.ScanImage(image.string());
      ASSERT_EQ(engine.ListingTsv().size(), 1u);
      const disc::NameSets carried = engine.scan.counters().namesCarried;
      EXPECT_EQ(carried.rockRidge, c.rockRidge);
      EXPECT_EQ(carried.joliet, c.joliet);
      EXPECT_TRUE(carried.primary);
      EXPECT_EQ(engine.scan.counters().namesFound, carried.Has(names));
    }
  }
}

}  // namespace
}  // namespace velmora
