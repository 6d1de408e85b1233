// The map beside an image: `image` writes which blocks it read in ddrescue's
// mapfile format, and `ls` and `recover` from the image take the blocks it
// gives as never read for unreadable, never their 0xF6 bytes for data. Run as
// a user runs velmora-cli, on discs made by xorriso and genisoimage, with the
// emulated drive's faults given by --emulated-faults.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "media/ImageTrailer.h"
#include "media/MapFileText.h"
#include "support/IsoBuilder.h"
#include "support/MultiSessionBuilder.h"
#include "support/RunCommand.h"
#include "support/TempDir.h"
#include "support/TextFiles.h"
#include "support/TreeWriter.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::CommandResult;
using testing::FileBytes;
using testing::Lines;

constexpr std::uint64_t kBlock = 2048;

CommandResult RunCli(std::vector<std::string> args) {
  args.insert(args.begin(), VELMORA_CLI_PATH);
  return testing::RunCommand(args);
}

void WriteText(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// The extent of path in `ls --tsv` of source (its fifth field), with the names
// given.
std::uint64_t ExtentOf(const std::string& source, const std::string& path,
                       const std::string& names = "auto") {
  for (const std::string& line : Lines(RunCli({"ls", "--tsv", "--names", names, source}).out)) {
    if (line.starts_with(path + "\t")) return std::stoull(line.substr(line.rfind('\t') + 1));
  }
  ADD_FAILURE() << path << " not listed";
  return 0;
}

// The runs of a mapfile, "begin-end:status" with block numbers where they fall
// on blocks and bytes where not.
std::vector<std::string> MapRuns(const fs::path& path) {
  std::size_t line = 0;
  std::optional<disc::RescueMap> map = disc::ParseMapFile(FileBytes(path), line);
  EXPECT_TRUE(map) << path << ": line " << line;
  std::vector<std::string> runs;
  if (!map) return runs;
  map->ForEachRun([&](std::uint64_t begin, std::uint64_t end, disc::AreaStatus status) {
    runs.push_back(std::to_string(begin) + "-" + std::to_string(end) + ":" +
                   static_cast<char>(status));
  });
  return runs;
}

std::string MapRun(std::uint64_t begin, std::uint64_t end, char status) {
  return std::to_string(begin) + "-" + std::to_string(end) + ":" + status;
}

// ddrescuelog -t: bytes and areas per status.
std::map<std::string, std::pair<std::uint64_t, std::uint64_t>> Ddrescuelog(
    const std::vector<std::string>& args) {
  std::vector<std::string> argv{"ddrescuelog", "-t"};
  argv.insert(argv.end(), args.begin(), args.end());
  std::map<std::string, std::pair<std::uint64_t, std::uint64_t>> status;
  const std::regex line(R"(^\s*([a-z-]+):\s+(\d+) B,\s+in\s+(\d+) area)");
  for (const std::string& text : Lines(testing::RunChecked(argv).out)) {
    std::smatch match;
    if (std::regex_search(text, match, line)) {
      status[match[1]] = {std::stoull(match[2]), std::stoull(match[3])};
    }
  }
  return status;
}

// The report line of a disc path: status TAB path TAB ranges TAB saved.
std::vector<std::string> ReportLine(const fs::path& report, const std::string& discPath) {
  for (const std::string& line : Lines(FileBytes(report))) {
    std::vector<std::string> fields;
    std::size_t from = 0;
    for (std::size_t tab; (tab = line.find('\t', from)) != std::string::npos; from = tab + 1) {
      fields.push_back(line.substr(from, tab - from));
    }
    fields.push_back(line.substr(from));
    if (fields.size() >= 2 && fields[1] == discPath) return fields;
  }
  ADD_FAILURE() << discPath << " not in the report";
  return {};
}

class ImageMapTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new testing::TempDir;
    testing::WriteTree(*dir_ / "tree",
                       {{.path = "README.TXT", .content = "read me\n"},
                        // Recorded long before a recovery writes it, so that
                        // --resume cannot take a partial copy for the whole file.
                        {.path = "DOCS/DATA.BIN",
                         .patternSize = 20000,
                         .patternSeed = 3,
                         .mtime = std::chrono::sys_days(std::chrono::year(2020) / 5 / 10)},
                        // A sector of the disc that holds nothing but 0xF6 bytes.
                        {.path = "DOCS/F6.BIN", .content = std::string(3 * kBlock, '\xF6')},
                        {.path = "PICS/PHOTO.JPG", .patternSize = 9000, .patternSeed = 4}});
    testing::IsoOptions options;
    options.tool = testing::IsoTool::kXorriso;
    disc_ = testing::MakeIso(*dir_ / "tree", *dir_ / "disc.iso", options);
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }

  static std::string disc() { return disc_.string(); }
  static fs::path Source(const std::string& name) { return *dir_ / "tree" / name; }

  fs::path Scratch() const {
    const fs::path scratch =
        *dir_ / ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::create_directories(scratch);
    return scratch;
  }

  // `image` of the disc in the emulated drive with the faults given.
  CommandResult ImageWithFaults(const fs::path& faults, const fs::path& out) {
    return RunCli({"image", "--emulated-drive", disc(), "--emulated-faults", faults.string(),
                   "drive", out.string()});
  }

 private:
  static inline testing::TempDir* dir_ = nullptr;
  static inline fs::path disc_;
};

TEST_F(ImageMapTest, ImageWritesTheMapOfWhatReadAndDdrescuelogAgrees) {
  const fs::path scratch = Scratch();
  const std::uint64_t sectors = fs::file_size(disc()) / kBlock;
  const std::uint64_t bad = ExtentOf(disc(), "DOCS/DATA.BIN") + 2;
  WriteText(scratch / "bad.map",
            "0 + 1\n0 " + std::to_string(bad * kBlock) + " +\n" + std::to_string(bad * kBlock) +
                " 2048 -\n" + std::to_string((bad + 1) * kBlock) + " " +
                std::to_string((sectors - bad - 1) * kBlock) + " +\n");
  // The same bad sector in the emulated drive's form and as a ddrescue mapfile;
  // a short sector gives the bytes that came to the map as read.
  struct Case {
    const char* name;
    std::string faults;
    std::vector<std::string> runs;
  };
  const Case cases[] = {
      {"FaultLine", std::to_string(bad) + " unreadable\n",
       {MapRun(0, bad * kBlock, '+'), MapRun(bad * kBlock, (bad + 1) * kBlock, '-'),
        MapRun((bad + 1) * kBlock, sectors * kBlock, '+')}},
      {"DdrescueMapfile", FileBytes(scratch / "bad.map"),
       {MapRun(0, bad * kBlock, '+'), MapRun(bad * kBlock, (bad + 1) * kBlock, '-'),
        MapRun((bad + 1) * kBlock, sectors * kBlock, '+')}},
      {"ShortSector", std::to_string(bad) + " short 100\n",
       {MapRun(0, bad * kBlock + 100, '+'), MapRun(bad * kBlock + 100, (bad + 1) * kBlock, '-'),
        MapRun((bad + 1) * kBlock, sectors * kBlock, '+')}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteText(scratch / "faults", c.faults);
    const fs::path out = scratch / (std::string(c.name) + ".cd");
    const CommandResult result = ImageWithFaults(scratch / "faults", out);
    EXPECT_EQ(result.exitCode, 1) << result.err;
    EXPECT_EQ(MapRuns(out.string() + ".map"), c.runs);
    // ddrescuelog counts what the map says, and the trailer block is no sector.
    const auto status = Ddrescuelog({out.string() + ".map"});
    const std::uint64_t badBytes = c.name == std::string("ShortSector") ? kBlock - 100 : kBlock;
    EXPECT_EQ(status.at("bad-sector"), std::make_pair(badBytes, std::uint64_t{1}));
    EXPECT_EQ(status.at("rescued").first, sectors * kBlock - badBytes);
    EXPECT_EQ(status.at("non-tried").first, 0u);
    EXPECT_FALSE(fs::exists(out.string() + ".domain")) << "one session: no domain map";
  }
}

TEST_F(ImageMapTest, RecoverFromTheImageGivesPartialFilesWhereTheMapSaysAndResumeMendsThem) {
  const fs::path scratch = Scratch();
  const std::uint64_t extent = ExtentOf(disc(), "DOCS/DATA.BIN");
  WriteText(scratch / "faults", std::to_string(extent + 2) + " unreadable\n");
  const fs::path image = scratch / "disc.cd";
  ASSERT_EQ(ImageWithFaults(scratch / "faults", image).exitCode, 1);

  // The image holds 0xF6 in that block; the map keeps it from passing for data.
  const fs::path dest = scratch / "dest";
  CommandResult result =
      RunCli({"recover", image.string(), dest.string(), "--report", (scratch / "r1").string()});
  EXPECT_EQ(result.exitCode, 1) << result.err;
  EXPECT_EQ(ReportLine(scratch / "r1", "DOCS/DATA.BIN"),
            (std::vector<std::string>{"partial", "DOCS/DATA.BIN", "4096-6143",
                                      "DOCS/DATA.BIN"}));
  // A sector of the disc that holds 0xF6 bytes read, and is data.
  EXPECT_EQ(ReportLine(scratch / "r1", "DOCS/F6.BIN")[0], "recovered");
  EXPECT_EQ(FileBytes(dest / "DOCS/F6.BIN"), FileBytes(Source("DOCS/F6.BIN")));
  std::string expected = FileBytes(Source("DOCS/DATA.BIN"));
  std::string partial = expected;
  partial.replace(4096, 2048, std::string(2048, '\0'));
  EXPECT_TRUE(FileBytes(dest / "DOCS/DATA.BIN") == partial) << "zeros only where the map says";

  // From the disc, now whole, --resume writes the partial file again.
  result = RunCli({"recover", disc(), dest.string(), "--resume", "--report",
                   (scratch / "r2").string()});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(ReportLine(scratch / "r2", "DOCS/DATA.BIN")[0], "recovered");
  EXPECT_TRUE(FileBytes(dest / "DOCS/DATA.BIN") == expected);
}

TEST_F(ImageMapTest, LsOfTheImageNamesAFolderOverAnUnreadBlockAndTheLogTheMap) {
  const fs::path scratch = Scratch();
  // Both copies of the folder, so that neither tree can stand in for the other.
  const std::uint64_t primary = ExtentOf(disc(), "PICS", "primary");
  const std::uint64_t joliet = ExtentOf(disc(), "PICS", "joliet");
  ASSERT_NE(primary, joliet);
  WriteText(scratch / "faults", std::to_string(primary) + " unreadable\n" +
                                    std::to_string(joliet) + " unreadable\n");
  const fs::path image = scratch / "disc.cd";
  ASSERT_EQ(ImageWithFaults(scratch / "faults", image).exitCode, 1);

  const CommandResult result =
      RunCli({"ls", "--tsv", image.string(), "--log", (scratch / "log").string()});
  EXPECT_EQ(result.exitCode, 1) << result.err;
  EXPECT_EQ(result.out.find("PICS/PHOTO.JPG"), std::string::npos) << "read from 0xF6 bytes";
  EXPECT_NE(result.out.find("DOCS/DATA.BIN"), std::string::npos);
  const std::string log = FileBytes(scratch / "log");
  EXPECT_NE(log.find("The image's map gives 4096 bytes in 2 areas as never read"),
            std::string::npos)
      << log;

}

TEST_F(ImageMapTest, ADamagedMapRefusesTheImageAndAMapOfOtherFormsIsRefusedAsFaults) {
  const fs::path scratch = Scratch();
  const fs::path image = scratch / "disc.cd";
  ASSERT_EQ(RunCli({"image", disc(), image.string()}).exitCode, 0);
  EXPECT_EQ(MapRuns(image.string() + ".map"),
            (std::vector<std::string>{MapRun(0, fs::file_size(disc()), '+')}));
  WriteText(image.string() + ".map", "0 + 1\n0 100 +\n50 100 -\n");
  CommandResult result = RunCli({"ls", image.string()});
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_NE(result.err.find("disc.cd.map: line 3 is not a line of a mapfile; the image's map is "
                            "damaged"),
            std::string::npos)
      << result.err;

  WriteText(scratch / "faults", "0 + 1\n0 100 x\n");
  result = RunCli({"ls", "--emulated-drive", disc(), "--emulated-faults",
                   (scratch / "faults").string(), "drive"});
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_NE(result.err.find("--emulated-faults: " + (scratch / "faults").string() +
                            ": not a ddrescue mapfile (line 2)"),
            std::string::npos)
      << result.err;
  result = RunCli({"ls", "--emulated-faults", (scratch / "faults").string(), disc()});
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_NE(result.err.find("--emulated-faults needs --emulated-drive"), std::string::npos);
}

TEST_F(ImageMapTest, GapsBetweenSessionsLieOutsideTheDomainMap) {
  const fs::path scratch = Scratch();
  testing::WriteTree(scratch / "s1", {{.path = "A.TXT", .content = "first\n"}});
  testing::WriteTree(scratch / "s2", {{.path = "B.TXT", .patternSize = 5000, .patternSeed = 9}});
  const testing::MultiSessionDisc made =
      testing::MakeMultiSessionDisc({scratch / "s1", scratch / "s2"}, scratch / "two.iso", 300);
  // The disc as the emulated drive takes it: its blocks and its track list.
  disc::ImageTrailer trailer{true, 2, made.tracks};
  const std::vector<std::byte> block = disc::BuildImageTrailer(trailer);
  fs::copy_file(made.image, scratch / "two.cd");
  std::ofstream(scratch / "two.cd", std::ios::binary | std::ios::app)
      .write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(block.size()));

  const fs::path out = scratch / "copy.cd";
  const CommandResult result =
      RunCli({"image", "--emulated-drive", (scratch / "two.cd").string(), "drive", out.string()});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  const std::uint64_t end1 = made.tracks[0].end * kBlock;
  const std::uint64_t start2 = disc::TrackLba(made.tracks[1]) * kBlock;
  const std::uint64_t end2 = made.tracks[1].end * kBlock;
  EXPECT_EQ(MapRuns(out.string() + ".map"),
            (std::vector<std::string>{MapRun(0, end1, '+'), MapRun(end1, start2, '?'),
                                      MapRun(start2, end2, '+')}));
  EXPECT_EQ(MapRuns(out.string() + ".domain"),
            (std::vector<std::string>{MapRun(0, end1, '+'), MapRun(end1, start2, '?'),
                                      MapRun(start2, end2, '+')}));
  // Within the domain, everything is rescued: nothing non-tried, nothing bad.
  const auto status = Ddrescuelog({"-m", out.string() + ".domain", out.string() + ".map"});
  EXPECT_EQ(status.at("non-tried").first, 0u);
  EXPECT_EQ(status.at("bad-sector").first, 0u);
  EXPECT_EQ(status.at("rescued").first, end1 + end2 - start2);
  // Both sessions list from the image as from the disc.
  EXPECT_EQ(RunCli({"ls", "--tsv", out.string()}).out,
            RunCli({"ls", "--tsv", (scratch / "two.cd").string()}).out);
}

}  // namespace
}  // namespace velmora
