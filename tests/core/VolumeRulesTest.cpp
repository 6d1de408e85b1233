// The volume reader against the rules of ISO 9660 on discs made by xorriso,
// genisoimage and pycdlib: records of any legal length, the descriptor set's
// end, the fallback from one tree to the other and to the recovery scans,
// empty file systems, folders that do not read, names and recording times.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/Machine.h"
#include "platform/emulated/EmulatedMachine.h"
#include "support/BytePatcher.h"
#include "support/EngineScan.h"
#include "support/IsoBuilder.h"
#include "support/IsoOracle.h"
#include "support/RunCommand.h"
#include "support/SectorFinder.h"
#include "support/TempDir.h"
#include "support/TreeWriter.h"
#include "text/StringTable.h"
#include "text/Utf.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using platform::emulated::EmulatedDisc;
using platform::emulated::EmulatedMachine;
using platform::emulated::FaultKind;
using platform::emulated::FaultMap;
using testing::EngineScan;
using testing::FixtureFile;
using testing::IsoOptions;
using testing::IsoTool;
using testing::TempDir;

IsoOptions Options(IsoTool tool, bool joliet, bool rockRidge = false) {
  IsoOptions options;
  options.tool = tool;
  options.joliet = joliet;
  options.rockRidge = rockRidge;
  return options;
}

fs::path BuildDisc(const TempDir& dir, const std::vector<FixtureFile>& tree,
                   const IsoOptions& options, const std::string& name = "disc.iso") {
  const fs::path source = dir / (name + ".tree");
  fs::create_directories(source);
  testing::WriteTree(source, tree);
  return testing::MakeIso(source, dir / name, options);
}

std::vector<std::string> PathsOf(const std::vector<std::string>& tsv) {
  std::vector<std::string> paths;
  for (const std::string& line : tsv) paths.push_back(line.substr(0, line.find('\t')));
  std::sort(paths.begin(), paths.end());
  return paths;
}

std::vector<std::string> OraclePaths(const fs::path& image, bool joliet) {
  return PathsOf(testing::ListingTsv(testing::IsoinfoListing(image, joliet)));
}

// Open Drive with the image in an emulated drive whose sectors fail as faults say.
std::unique_ptr<EngineScan> ScanInDrive(const fs::path& image, FaultMap faults = {}) {
  auto machine = std::make_unique<EmulatedMachine>(1);
  EmulatedDisc disc;
  disc.imagePath = image.string();
  disc.faults = std::move(faults);
  machine->InsertDisc(0, disc);
  auto engine = std::make_unique<EngineScan>(std::move(machine));
  engine->ScanDrive();
  return engine;
}

std::unique_ptr<EngineScan> ScanFile(const fs::path& image) {
  auto engine = std::make_unique<EngineScan>(platform::CreateHostMachine());
  engine->ScanImage(image.string());
  return engine;
}

// The log rows as "text | status".
std::vector<std::string> LogRows(const EngineScan& engine) {
  std::vector<std::string> rows;
  for (const log::LogRow& row : engine.host.log.rows()) {
    rows.push_back(text::ToUtf8(row.text) + " | " + text::ToUtf8(row.status));
  }
  return rows;
}

bool LogHasText(const EngineScan& engine, std::uint16_t id) {
  for (const log::LogRow& row : engine.host.log.rows()) {
    if (row.text == text::LoadText(id) || row.status == text::LoadText(id)) return true;
  }
  return false;
}

// Zeroes every volume descriptor of the descriptor area.
void WipeDescriptors(const fs::path& image) {
  for (const testing::DescriptorSector& d : testing::DescriptorSectors(image)) {
    testing::FillSectors(image, d.lba, 1, std::byte{0});
  }
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = text.find('\n', at);
    lines.push_back(text.substr(at, end - at));
    at = end == std::string::npos ? text.size() : end + 1;
  }
  return lines;
}

testing::CommandResult RunCli(std::vector<std::string> args) {
  args.insert(args.begin(), VELMORA_CLI_PATH);
  return testing::RunCommand(args);
}

std::vector<FixtureFile> SmallTree() {
  return {{.path = "top.txt", .content = "top"},
          {.path = "docs/readme.txt", .content = "read me"},
          {.path = "docs/deep/note.txt", .content = "note"},
          {.path = "pics/c.jpg", .content = "c"}};
}

// ---- Records -----------------------------------------------------------------------

// A Rock Ridge record of a long name is 246 bytes long, the value the buffers
// are pre-filled with: it is a record like any other, in the walk and in the
// recovery scans' follow of a directory.
TEST(VolumeRulesTest, RecordOf246BytesIsARecordAndNotTheEndOfTheFolder) {
  TempDir dir;
  std::vector<FixtureFile> tree = {{.path = std::string(134, 'a'), .content = "long"},
                                   {.path = "sub/s.txt", .content = "s"}};
  for (int i = 1; i <= 5; ++i) {
    tree.push_back({.path = "f" + std::to_string(i) + ".txt", .content = std::to_string(i)});
  }
  const fs::path image = BuildDisc(dir, tree, Options(IsoTool::kXorriso, false, true));
  const std::uint32_t root = testing::IsoinfoRootExtent(image, false);
  const std::vector<std::byte> sector = testing::ReadSector(image, root);
  const std::uint64_t longRecord =
      testing::DirectoryRecordOffset(image, root, "AAAAAAAA.;1") - std::uint64_t{root} * 2048;
  ASSERT_EQ(static_cast<int>(sector[longRecord]), 246) << "the fixture lost its point";

  const std::vector<std::string> expected = OraclePaths(image, false);
  ASSERT_EQ(expected.size(), 8u);
  // The walk shows the Rock Ridge names xorriso recorded, the names of the tree.
  std::vector<std::string> rockRidge = {"sub"};
  for (const FixtureFile& file : tree) rockRidge.push_back(file.path);
  std::sort(rockRidge.begin(), rockRidge.end());
  EXPECT_EQ(PathsOf(ScanFile(image)->ListingTsv()), rockRidge);

  WipeDescriptors(image);
  EXPECT_EQ(PathsOf(ScanInDrive(image)->ListingTsv()), rockRidge);
}

// A primary-only disc whose first file is an image with a Joliet tree: the
// image's descriptors lie past the disc's set terminator.
TEST(VolumeRulesTest, DescriptorSearchEndsAtTheSetTerminator) {
  TempDir dir;
  const fs::path inner =
      BuildDisc(dir, {{.path = "inner/in.txt", .content = "in"}}, Options(IsoTool::kXorriso, true),
                "inner.iso");
  std::ifstream in(inner, std::ios::binary);
  const std::string innerBytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const fs::path outer = BuildDisc(dir, {{.path = "A.ISO", .content = innerBytes},
                                         {.path = "B.TXT", .content = "b"}},
                                   Options(IsoTool::kGenisoimage, false), "outer.iso");
  ASSERT_LT(testing::FileExtentLba(outer, "A.ISO") + 17, 116u) << "the fixture lost its point";

  auto engine = ScanFile(outer);
  EXPECT_EQ(PathsOf(engine->ListingTsv()), (std::vector<std::string>{"A.ISO", "B.TXT"}));
  EXPECT_TRUE(engine->host.scriptedPrompts.errors.empty());
}

// ---- One tree, the other, the recovery scans ---------------------------------------

TEST(VolumeRulesTest, UnreadableJolietTreeFallsBackToThePrimaryTree) {
  TempDir dir;
  const fs::path image = BuildDisc(dir, SmallTree(), Options(IsoTool::kGenisoimage, true));
  const auto joliet = testing::TreeOfDescriptor(
      image, *testing::FindDescriptor(image, testing::kSupplementaryDescriptor));
  FaultMap faults;
  for (std::uint32_t lba : {joliet.root, joliet.typeL, joliet.typeM}) faults[lba] = {};

  auto engine = ScanInDrive(image, faults);
  EXPECT_EQ(PathsOf(engine->ListingTsv()), OraclePaths(image, false));
  EXPECT_TRUE(engine->host.scriptedPrompts.errors.empty());
  EXPECT_TRUE(LogHasText(*engine, text::kJolietTreeUnreadable))
      << ::testing::PrintToString(LogRows(*engine));
}

// A supplementary descriptor whose escape sequences name no UCS-2 level holds
// 8-bit names, as the primary one does: never read as 16-bit characters, with
// the primary descriptor there or lost.
TEST(VolumeRulesTest, SupplementaryDescriptorWithoutJolietEscapesHasEightBitNames) {
  for (const IsoTool tool : {IsoTool::kGenisoimage, IsoTool::kXorriso}) {
    for (const bool primaryLost : {false, true}) {
      SCOPED_TRACE(std::string(tool == IsoTool::kGenisoimage ? "genisoimage" : "xorriso") +
                   (primaryLost ? ", primary descriptor zeroed" : ""));
      TempDir dir;
      const fs::path image = BuildDisc(dir, SmallTree(), Options(tool, false));
      const std::vector<std::string> expected = OraclePaths(image, false);
      // Sector 17 (the terminator) becomes a copy of the primary descriptor
      // of type 2, its escape sequences zero; the terminator moves to 18,
      // which both writers leave empty.
      std::vector<std::byte> supplementary = testing::ReadSector(image, 16);
      supplementary[0] = std::byte{2};
      const std::vector<std::byte> terminator = testing::ReadSector(image, 17);
      ASSERT_EQ(testing::ReadSector(image, 18), std::vector<std::byte>(2048, std::byte{0}));
      testing::WriteBytes(image, 17 * 2048, supplementary);
      testing::WriteBytes(image, 18 * 2048, terminator);
      if (primaryLost) testing::FillSectors(image, 16, 1, std::byte{0});

      const std::vector<std::string> paths = PathsOf(ScanFile(image)->ListingTsv());
      EXPECT_EQ(paths, expected);
    }
  }
}

TEST(VolumeRulesTest, PrimaryTreeThatLeadsNowhereGoesToTheRecoveryScans) {
  TempDir dir;
  const fs::path image = BuildDisc(dir, SmallTree(), Options(IsoTool::kGenisoimage, false));
  const auto primary = testing::TreeOfDescriptor(
      image, *testing::FindDescriptor(image, testing::kPrimaryDescriptor));
  FaultMap faults;
  for (std::uint32_t lba : {primary.root, primary.typeL, primary.typeM}) faults[lba] = {};

  auto engine = ScanInDrive(image, faults);
  const std::vector<std::string> paths = PathsOf(engine->ListingTsv());
  // The root is lost; the folders below it are found by their shape.
  for (const char* path : {"README.TXT", "DEEP", "DEEP/NOTE.TXT"}) {
    EXPECT_NE(std::find(paths.begin(), paths.end(), path), paths.end())
        << path << " in " << ::testing::PrintToString(paths);
  }
  EXPECT_TRUE(engine->host.scriptedPrompts.errors.empty());
  EXPECT_TRUE(LogHasText(*engine, text::kPrimaryTreeUnreadable));
  EXPECT_GE(engine->scan.counters().damagedFolders, 1u);
}

// ---- The recovery scans ------------------------------------------------------------

// A primary-only disc whose folder name holds a Latin-1 letter, read without
// descriptors: the names stay 8-bit.
TEST(VolumeRulesTest, RecoveryScansKeepLatinOneNamesEightBit) {
  TempDir dir;
  const fs::path image = BuildDisc(dir, SmallTree(), Options(IsoTool::kGenisoimage, false));
  const std::uint32_t root = testing::IsoinfoRootExtent(image, false);
  const std::string latin = "D\xD6" "CS";
  testing::WriteBytes(image, testing::DirectoryRecordOffset(image, root, "DOCS") + 33,
                      {reinterpret_cast<const std::byte*>(latin.data()), latin.size()});
  WipeDescriptors(image);
  EXPECT_EQ(PathsOf(ScanInDrive(image)->ListingTsv()),
            (std::vector<std::string>{"D\u00D6CS", "D\u00D6CS/DEEP", "D\u00D6CS/DEEP/NOTE.TXT",
                                      "D\u00D6CS/README.TXT", "PICS", "PICS/C.JPG", "TOP.TXT"}));
}

// The Joliet root cut short and no path table left: the walk of the root and
// those of the directories found after it list every file once.
TEST(VolumeRulesTest, RecoveryPassListsNoFileTwice) {
  TempDir dir;
  std::vector<FixtureFile> tree;
  for (int i = 10; i < 60; ++i) {
    tree.push_back({.path = "folder" + std::to_string(i) + "/f" + std::to_string(i) + ".txt",
                    .content = "f"});
  }
  const fs::path image = BuildDisc(dir, tree, Options(IsoTool::kGenisoimage, true));
  FaultMap faults;
  for (std::uint8_t type : {testing::kPrimaryDescriptor, testing::kSupplementaryDescriptor}) {
    const auto t = testing::TreeOfDescriptor(image, *testing::FindDescriptor(image, type));
    testing::FillSectors(image, t.typeL, t.pathTableSectors, std::byte{0});
    testing::FillSectors(image, t.typeM, t.pathTableSectors, std::byte{0});
    if (type == testing::kSupplementaryDescriptor) faults[t.root + 1] = {};
  }
  WipeDescriptors(image);

  const std::vector<std::string> paths = PathsOf(ScanInDrive(image, faults)->ListingTsv());
  std::multiset<std::string> names;
  for (const std::string& path : paths) names.insert(path.substr(path.rfind('/') + 1));
  for (const std::string& name : names) EXPECT_EQ(names.count(name), 1u) << name;
  // The files of the root's first sector keep their folders.
  EXPECT_NE(std::find(paths.begin(), paths.end(), "folder10/f10.txt"), paths.end())
      << ::testing::PrintToString(paths);
}

// A plain image whose descriptors are lost is opened and searched; a file in
// which the search finds nothing is refused with the words of code 5.
TEST(VolumeRulesTest, PlainImageWithoutDescriptorsGoesToTheRecoveryScans) {
  TempDir dir;
  const fs::path image = BuildDisc(dir, SmallTree(), Options(IsoTool::kXorriso, true));
  const std::vector<std::string> expected = OraclePaths(image, true);
  WipeDescriptors(image);
  EXPECT_EQ(PathsOf(ScanFile(image)->ListingTsv()), expected);
  const testing::CommandResult ls = RunCli({"ls", "--tsv", image.string()});
  EXPECT_EQ(ls.exitCode, 0) << ls.err;
  EXPECT_EQ(static_cast<std::size_t>(std::count(ls.out.begin(), ls.out.end(), '\n')),
            expected.size());

  const fs::path noise = dir / "noise.bin";
  std::ofstream(noise, std::ios::binary) << testing::PatternBytes(40 * 2048, 4);
  const testing::CommandResult refused = RunCli({"ls", noise.string()});
  EXPECT_EQ(refused.exitCode, 3);
  EXPECT_NE(refused.err.find(text::ToUtf8(text::ErrorMessage(5))), std::string::npos) << refused.err;
}

// ---- Empty file systems --------------------------------------------------------------

TEST(VolumeRulesTest, ReadableDiscWithAnEmptyFileSystemIsAnEmptyTree) {
  for (IsoOptions options : {Options(IsoTool::kGenisoimage, true), Options(IsoTool::kXorriso, true),
                             Options(IsoTool::kGenisoimage, false)}) {
    SCOPED_TRACE(options.tool == IsoTool::kXorriso ? "xorriso" : "genisoimage");
    TempDir dir;
    fs::create_directories(dir / "empty");
    const fs::path image = testing::MakeIso(dir / "empty", dir / "disc.iso", options);
    auto engine = ScanFile(image);
    ASSERT_EQ(engine->table.size(), 1u);
    EXPECT_EQ(engine->table[0].name, text::LoadText(text::kRootName));
    EXPECT_TRUE(engine->host.scriptedPrompts.errors.empty());
    EXPECT_TRUE(LogHasText(*engine, text::kDiscHoldsNoFiles));
    EXPECT_TRUE(engine->state.treeComplete);

    const testing::CommandResult ls = RunCli({"ls", "--tsv", image.string()});
    EXPECT_EQ(ls.exitCode, 0) << ls.err;
    EXPECT_EQ(ls.out, "");
  }
}

// ---- Folders that do not read ----------------------------------------------------------

TEST(VolumeRulesTest, FolderThatDoesNotReadIsNamedInTheLogAndCountsAsDamage) {
  struct Case {
    const char* name;
    bool joliet;
    // What happens to the directory of docs/deep at lba.
    void (*damage)(const fs::path& image, std::uint32_t lba, FaultMap& faults);
    std::uint16_t status;
  };
  const Case cases[] = {
      {"Joliet folder overwritten with random bytes", true,
       [](const fs::path& image, std::uint32_t lba, FaultMap&) {
         const std::string noise = testing::PatternBytes(2048, 7);
         testing::WriteBytes(image, std::uint64_t{lba} * 2048,
                             {reinterpret_cast<const std::byte*>(noise.data()), noise.size()});
       },
       text::kFolderNoDirectory},
      {"unreadable sector", false,
       [](const fs::path&, std::uint32_t lba, FaultMap& faults) { faults[lba] = {}; },
       text::kFolderNotRead},
      {"sector read short", false,
       [](const fs::path&, std::uint32_t lba, FaultMap& faults) {
         faults[lba] = {.kind = FaultKind::kShortRead, .shortBytes = 100};
       },
       text::kFolderReadInPart},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const fs::path image = BuildDisc(dir, SmallTree(), Options(IsoTool::kGenisoimage, c.joliet));
    const std::string folder = c.joliet ? "docs/deep" : "DOCS/DEEP";
    const std::uint32_t lba = testing::FileExtentLba(image, folder, c.joliet);
    FaultMap faults;
    c.damage(image, lba, faults);

    auto engine = ScanInDrive(image, faults);
    const std::string row =
        folder + " (sector " + std::to_string(lba) + ") | " + text::ToUtf8(text::LoadText(c.status));
    const std::vector<std::string> rows = LogRows(*engine);
    EXPECT_NE(std::find(rows.begin(), rows.end(), row), rows.end())
        << row << "\n" << ::testing::PrintToString(rows);
    EXPECT_EQ(engine->scan.counters().damagedFolders, 1u);
    EXPECT_TRUE(engine->host.scriptedPrompts.errors.empty());
    const std::vector<std::string> paths = PathsOf(engine->ListingTsv());
    EXPECT_NE(std::find(paths.begin(), paths.end(), folder), paths.end());

    if (c.joliet) {
      // The command line says so by its exit status, for ls and recover.
      const testing::CommandResult ls = RunCli({"ls", "--tsv", image.string()});
      EXPECT_EQ(ls.exitCode, 1) << ls.err;
      const testing::CommandResult recover =
          RunCli({"recover", image.string(), (dir / "out").string()});
      EXPECT_EQ(recover.exitCode, 1) << recover.err;
    }
  }
}

// A Joliet folder that does not read takes its entries from the primary
// tree's copy of it: 8.3 names, the same extents.
TEST(VolumeRulesTest, UnreadableJolietFolderTakesItsEntriesFromThePrimaryTree) {
  struct Case {
    const char* name;
    bool noise;  // overwritten with noise, else unreadable
  };
  for (const Case& c : {Case{"overwritten", true}, Case{"unreadable", false}}) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const fs::path image = BuildDisc(dir, SmallTree(), Options(IsoTool::kGenisoimage, true));
    const std::uint32_t deep = testing::FileExtentLba(image, "docs/deep", true);
    FaultMap faults;
    if (c.noise) {
      const std::string noise = testing::PatternBytes(2048, 7);
      testing::WriteBytes(image, std::uint64_t{deep} * 2048,
                          {reinterpret_cast<const std::byte*>(noise.data()), noise.size()});
    } else {
      faults[deep] = {};
    }
    auto engine = ScanInDrive(image, faults);
    EXPECT_EQ(PathsOf(engine->ListingTsv()),
              (std::vector<std::string>{"docs", "docs/deep", "docs/deep/NOTE.TXT", "docs/readme.txt",
                                        "pics", "pics/c.jpg", "top.txt"}));
    const std::string row = "docs/deep (sector " + std::to_string(deep) + ") | " +
                            text::ToUtf8(text::LoadText(text::kFolderFromPrimary));
    const std::vector<std::string> rows = LogRows(*engine);
    EXPECT_NE(std::find(rows.begin(), rows.end(), row), rows.end()) << ::testing::PrintToString(rows);
    // Still damage: the Joliet names of that folder are lost.
    EXPECT_EQ(engine->scan.counters().damagedFolders, 1u);
  }
}

// Files and folders hidden from the Joliet tree: --all-names adds them under
// their primary names, and the log counts them; without it the listing is the
// Joliet tree, as isoinfo -J lists it.
TEST(VolumeRulesTest, AllNamesAddsWhatOnlyThePrimaryTreeHolds) {
  struct Case {
    const char* name;
    std::vector<std::string> (*command)(const fs::path& source, const fs::path& image);
    bool rockRidge;  // the automatic choice shows the Rock Ridge names
  };
  const Case cases[] = {
      {"genisoimage",
       [](const fs::path& source, const fs::path& image) -> std::vector<std::string> {
         return {"genisoimage", "-quiet", "-input-charset", "utf-8", "-J", "-hide-joliet",
                 "secret.txt", "-hide-joliet", "hidden", "-o", image.string(), source.string()};
       },
       false},
      {"xorriso -R",
       [](const fs::path& source, const fs::path& image) -> std::vector<std::string> {
         return {"xorriso", "-no_rc", "-report_about", "SORRY", "-outdev", image.string(),
                 "-joliet", "on", "-rockridge", "on", "-map", source.string(), "/",
                 "-hide", "joliet", "/secret.txt", "/hidden", "--"};
       },
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    testing::WriteTree(dir / "src", {{.path = "top.txt", .content = "t"},
                                     {.path = "docs/d.txt", .content = "d"},
                                     {.path = "secret.txt", .content = "s"},
                                     {.path = "hidden/in.txt", .content = "i"}});
    const fs::path image = dir / "disc.iso";
    testing::RunChecked(c.command(dir / "src", image));
    const std::vector<std::string> joliet = OraclePaths(image, true);
    ASSERT_EQ(joliet, (std::vector<std::string>{"docs", "docs/d.txt", "top.txt"}));

    // Rock Ridge names come with the primary tree, which hides nothing.
    const std::vector<std::string> everything = {"docs",       "docs/d.txt", "hidden",
                                                 "hidden/in.txt", "secret.txt", "top.txt"};
    EXPECT_EQ(PathsOf(ScanFile(image)->ListingTsv()), c.rockRidge ? everything : joliet);
    const testing::CommandResult plain =
        RunCli({"ls", "--tsv", "--names", "joliet", image.string()});
    EXPECT_EQ(std::count(plain.out.begin(), plain.out.end(), '\n'), 3);

    const fs::path logFile = dir / "log.txt";
    const testing::CommandResult all =
        RunCli({"ls", "--tsv", "--all-names", "--names", "joliet", "--log", logFile.string(),
                image.string()});
    EXPECT_EQ(all.exitCode, 0) << all.err;
    EXPECT_EQ(PathsOf(Lines(all.out)),
              (std::vector<std::string>{"HIDDEN", "HIDDEN/IN.TXT", "SECRET.TXT", "docs", "docs/d.txt",
                                        "top.txt"}));
    std::ifstream log(logFile, std::ios::binary);
    const std::string logText{std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>()};
    EXPECT_NE(logText.find(text::ToUtf8(text::LoadText(text::kNamesAddedFromPrimary)) + " 3"),
              std::string::npos)
        << logText;

    const testing::CommandResult recover =
        RunCli({"recover", "--all-names", "--names", "joliet", image.string(), (dir / "out").string()});
    EXPECT_EQ(recover.exitCode, 0) << recover.err;
    EXPECT_TRUE(fs::exists(dir / "out" / "SECRET.TXT"));
    EXPECT_TRUE(fs::exists(dir / "out" / "HIDDEN" / "IN.TXT"));
  }
}

// ---- Names -------------------------------------------------------------------------------

// Level-4 discs made on Linux record names untranslated, in UTF-8.
TEST(VolumeRulesTest, EightBitNamesInUtf8AreReadAsUtf8) {
  TempDir dir;
  testing::WriteTree(dir / "src", {{.path = "caf\u00E9.txt", .content = "c"},
                                   {.path = "\u65E5\u672C\u8A9E.txt", .content = "j"},
                                   {.path = "\u041F\u0430\u043F\u043A\u0430/x.txt", .content = "x"}});
  // Without -input-charset genisoimage copies the names' bytes as they are.
  const fs::path image = dir / "disc.iso";
  testing::RunChecked({"genisoimage", "-quiet", "-iso-level", "4", "-o", image.string(),
                       (dir / "src").string()});
  EXPECT_EQ(PathsOf(ScanFile(image)->ListingTsv()),
            (std::vector<std::string>{"caf\u00E9.txt", "\u041F\u0430\u043F\u043A\u0430",
                                      "\u041F\u0430\u043F\u043A\u0430/x.txt",
                                      "\u65E5\u672C\u8A9E.txt"}));
}

// pycdlib writes what it is told: two versions of one name, and a name without
// extension.
TEST(VolumeRulesTest, HighestVersionKeepsThePlainNameAndIsTheOneRecovered) {
  TempDir dir;
  const fs::path image = dir / "versions.iso";
  const std::string script =
      "import io, sys, pycdlib\n"
      "iso = pycdlib.PyCdlib()\n"
      "iso.new(interchange_level=1)\n"
      "def add(name, data):\n"
      "    iso.add_fp(io.BytesIO(data), len(data), '/' + name)\n"
      "add('VERS.TXT;1', b'old')\n"
      "add('VERS.TXT;2', b'newer')\n"
      "add('OTHER.TXT;1', b'other')\n"
      "add('NOEXT.;1', b'no extension')\n"
      "iso.write(sys.argv[1])\n";
  testing::RunChecked({"/usr/bin/python3", "-c", script, image.string()});

  auto engine = ScanFile(image);
  const std::vector<std::string> tsv = engine->ListingTsv();
  EXPECT_EQ(PathsOf(tsv), (std::vector<std::string>{"NOEXT", "OTHER.TXT", "VERS.TXT", "VERS.TXT;1"}));
  for (const std::string& line : tsv) {
    if (line.starts_with("VERS.TXT\t")) {
      EXPECT_NE(line.find("\tfile\t5\t"), std::string::npos) << line;
    }
  }

  const testing::CommandResult recover = RunCli({"recover", image.string(), (dir / "out").string()});
  ASSERT_EQ(recover.exitCode, 0) << recover.err;
  std::ifstream vers(dir / "out" / "VERS.TXT");
  std::string content;
  std::getline(vers, content);
  EXPECT_EQ(content, "newer");
  EXPECT_TRUE(fs::exists(dir / "out" / "NOEXT"));
}

// ---- Recording times -------------------------------------------------------------------

// genisoimage records local times with the zone's offset from GMT.
TEST(VolumeRulesTest, RecordedTimeKeepsItsOffsetAndRecoverSetsTheRealInstant) {
  using namespace std::chrono;
  const sys_seconds written = sys_days{2020y / January / 15} + 12h;
  struct Case {
    const char* zone;
    const char* date;
    const char* instant;
  };
  const Case cases[] = {
      {"IST-5:30", "2020-01-15 17:30:00", "2020-01-15T17:30:00+05:30"},
      {"EST5", "2020-01-15 07:00:00", "2020-01-15T07:00:00-05:00"},
      {"UTC0", "2020-01-15 12:00:00", "2020-01-15T12:00:00+00:00"},
      // The two ends of the zones in use: Baker Island and Kiribati.
      {"BIT12", "2020-01-15 00:00:00", "2020-01-15T00:00:00-12:00"},
      {"LINT-14", "2020-01-16 02:00:00", "2020-01-16T02:00:00+14:00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.zone);
    TempDir dir;
    IsoOptions options = Options(IsoTool::kGenisoimage, false);
    options.timeZone = c.zone;
    const fs::path image = BuildDisc(dir, {{.path = "A.TXT", .content = "a", .mtime = written}}, options);

    const testing::CommandResult tsv = RunCli({"ls", "--tsv", image.string()});
    EXPECT_NE(tsv.out.find(std::string("\t") + c.date + "\t"), std::string::npos) << tsv.out;
    const testing::CommandResult json = RunCli({"ls", "--json", image.string()});
    EXPECT_NE(json.out.find(std::string("\"instant\":\"") + c.instant + "\""), std::string::npos)
        << json.out;

    ASSERT_EQ(RunCli({"recover", image.string(), (dir / "out").string()}).exitCode, 0);
    struct stat status {};
    ASSERT_EQ(stat((dir / "out" / "A.TXT").c_str(), &status), 0);
    EXPECT_EQ(status.st_mtime, written.time_since_epoch().count());
  }
}

TEST(VolumeRulesTest, OffsetOutOfRangeIsTakenAsGmtAndNoted) {
  TempDir dir;
  const fs::path image = BuildDisc(dir, {{.path = "A.TXT", .content = "a"}},
                                   Options(IsoTool::kGenisoimage, false));
  const std::uint32_t root = testing::IsoinfoRootExtent(image, false);
  const std::byte offset[] = {std::byte{100}};
  testing::WriteBytes(image, testing::DirectoryRecordOffset(image, root, "A.TXT;1") + 24, offset);

  auto engine = ScanFile(image);
  ASSERT_EQ(engine->table.size(), 2u);
  EXPECT_EQ(engine->table[1].gmtOffset, 0);
  bool noted = false;
  for (const log::LogRow& row : engine->host.log.rows()) {
    if (row.text == text::LoadText(text::kGmtOffsetsIgnored) + u" 1") noted = true;
  }
  EXPECT_TRUE(noted) << ::testing::PrintToString(LogRows(*engine));
}

// A date that is no calendar time is never printed: the truncated image's
// folders from the path table have no "." record to take one from.
TEST(VolumeRulesTest, InvalidDateIsEmptyInTsvAndNullInJson) {
  TempDir dir;
  const fs::path image = BuildDisc(dir, SmallTree(), Options(IsoTool::kGenisoimage, false));
  const std::uint32_t root = testing::IsoinfoRootExtent(image, false);
  const std::uint32_t docs = testing::FileExtentLba(image, "DOCS");
  // The root's "." date and the record of DOCS hold a month 0 and day 246.
  const std::byte month[] = {std::byte{0}, std::byte{246}};
  testing::WriteBytes(image, testing::DirectoryRecordOffset(image, root, "DOCS") + 19, month);

  const testing::CommandResult tsv = RunCli({"ls", "--tsv", image.string()});
  EXPECT_NE(tsv.out.find("DOCS\td\t0\t\t" + std::to_string(docs) + "\n"), std::string::npos)
      << tsv.out;
  const testing::CommandResult json = RunCli({"ls", "--json", image.string()});
  EXPECT_NE(json.out.find("\"path\":\"DOCS\",\"type\":\"d\",\"size\":0,\"date\":null,\"instant\":null"),
            std::string::npos)
      << json.out;
}

}  // namespace
}  // namespace velmora
