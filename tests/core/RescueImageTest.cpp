// image --rescue and image --merge as a user runs them: velmora-cli on a disc
// made by xorriso (and a two-session disc made by genisoimage) in the emulated
// drive, with fault maps, stops at every pass (the drive holds at a sector,
// the test stops the program there) and resumes, checked against the disc's
// bytes, the drive's command log and ddrescuelog.

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "media/ImageTrailer.h"
#include "media/MapFileText.h"
#include "support/BackgroundCommand.h"
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

std::optional<disc::RescueMap> ReadMap(const fs::path& path) {
  std::size_t line = 0;
  std::optional<disc::RescueMap> map = disc::ParseMapFile(FileBytes(path), line);
  EXPECT_TRUE(map) << path << ": line " << line;
  return map;
}

// The sectors a map gives as bad (any byte of them not read).
std::set<Lba> BadSectors(const disc::RescueMap& map) {
  std::set<Lba> bad;
  map.ForEachRun([&](std::uint64_t begin, std::uint64_t end, disc::AreaStatus status) {
    if (status == disc::AreaStatus::kFinished) return;
    for (std::uint64_t s = begin / kBlock; s * kBlock < end; ++s) bad.insert(static_cast<Lba>(s));
  });
  return bad;
}

// The fault map's lines by sector.
using Faults = std::multimap<Lba, std::string>;

std::string FaultText(const Faults& faults) {
  std::string text;
  for (const auto& [lba, kind] : faults) text += std::to_string(lba) + " " + kind + "\n";
  return text;
}

// How often the drive delivered each sector, by its command logs: a read of
// the drive opened as a file delivers the sectors before the first faulty one,
// a READ CD all of them or, with a faulty one, none. The last read of a log
// whose run was killed is left out: the drive was still holding at it.
std::map<Lba, int> Deliveries(const std::vector<fs::path>& logs, const std::set<Lba>& faulty,
                              const fs::path& killed = {}) {
  std::map<Lba, int> delivered;
  for (const fs::path& log : logs) {
    std::vector<std::string> lines = Lines(FileBytes(log));
    if (log == killed) {
      for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        if (line->starts_with("read")) {
          lines.erase(std::next(line).base());
          break;
        }
      }
    }
    for (const std::string& line : lines) {
      std::istringstream words(line);
      std::string kind;
      Lba lba = 0;
      Lba count = 0;
      if (!(words >> kind >> lba >> count) || (kind != "read" && kind != "readcd")) continue;
      const auto firstFaulty = faulty.lower_bound(lba);
      Lba end = lba + count;
      if (firstFaulty != faulty.end() && *firstFaulty < end) end = kind == "read" ? *firstFaulty : lba;
      for (Lba s = lba; s < end; ++s) ++delivered[s];
    }
  }
  return delivered;
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

// ddrescuelog -b 2048 -l TYPES: the sectors of those statuses, exactly (-t
// rounds to kB from 100,000 bytes on).
std::set<Lba> DdrescuelogSectors(const std::string& types, const fs::path& map) {
  std::set<Lba> sectors;
  const CommandResult listed = testing::RunChecked(
      {"ddrescuelog", "-b", std::to_string(kBlock), "-l" + types, map.string()});
  for (const std::string& line : Lines(listed.out)) sectors.insert(static_cast<Lba>(std::stoul(line)));
  return sectors;
}

class RescueImageTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new testing::TempDir;
    testing::WriteTree(*dir_ / "tree",
                       {{.path = "README.TXT", .content = "read me\n"},
                        {.path = "D/ONE.BIN", .patternSize = 70000, .patternSeed = 1},
                        {.path = "D/TWO.BIN", .patternSize = 150000, .patternSeed = 2},
                        {.path = "D/THREE.BIN", .patternSize = 260000, .patternSeed = 3},
                        {.path = "E/FOUR.BIN", .patternSize = 90000, .patternSeed = 4}});
    testing::IsoOptions options;
    options.tool = testing::IsoTool::kXorriso;
    disc_ = testing::MakeIso(*dir_ / "tree", *dir_ / "disc.iso", options);
    sectors_ = static_cast<Lba>(fs::file_size(disc_) / kBlock);
    for (const std::string& line : Lines(RunCli({"ls", "--tsv", disc_.string()}).out)) {
      std::vector<std::string> fields;
      std::istringstream in(line);
      for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
      const Lba extent = static_cast<Lba>(std::stoul(fields[4]));
      const std::uint64_t size = std::stoull(fields[2]);
      extents_[fields[0]] = extent;
      if (fields[1] == "f") {
        lastFileEnd_ =
            std::max(lastFileEnd_, static_cast<Lba>(extent + (size + kBlock - 1) / kBlock));
      }
    }
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }

  static std::string disc() { return disc_.string(); }
  static Lba Extent(const std::string& path) { return extents_.at(path); }

  fs::path Scratch() const {
    const fs::path scratch =
        *dir_ / ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::create_directories(scratch);
    return scratch;
  }

  // The arguments of a rescue of the disc in the emulated drive.
  static std::vector<std::string> RescueArgs(const fs::path& faults, const fs::path& log,
                                             const fs::path& out,
                                             const std::vector<std::string>& more = {}) {
    std::vector<std::string> args{VELMORA_CLI_PATH, "image",  "--emulated-drive", disc(),
                                  "--emulated-faults", faults.string(), "--emulated-log",
                                  log.string(),      "drive", out.string(),      "--rescue"};
    args.insert(args.end(), more.begin(), more.end());
    return args;
  }

  // The image agrees with the disc where its map says read, and holds 0xF6
  // in every whole block it does not (unless holesMayBeEmpty: a killed run had
  // no stop to fill them).
  static void ExpectImageAgreesWithMap(const fs::path& image, bool holesMayBeEmpty = false) {
    std::optional<disc::RescueMap> map = ReadMap(image.string() + ".map");
    ASSERT_TRUE(map);
    ASSERT_EQ(map->extent(), std::uint64_t{sectors_} * kBlock);
    const std::string copy = FileBytes(image);
    const std::string original = FileBytes(disc_);
    ASSERT_EQ(copy.size(), original.size() + kBlock) << "the trailer block goes last";
    EXPECT_TRUE(copy.substr(original.size()).starts_with(disc::kImageSignature));
    map->ForEachRun([&](std::uint64_t begin, std::uint64_t end, disc::AreaStatus status) {
      if (status == disc::AreaStatus::kFinished) {
        EXPECT_TRUE(copy.compare(begin, end - begin, original, begin, end - begin) == 0)
            << "bytes " << begin << "-" << end << " read but not the disc's";
      } else if (!holesMayBeEmpty) {
        for (std::uint64_t s = (begin + kBlock - 1) / kBlock; (s + 1) * kBlock <= end; ++s) {
          EXPECT_EQ(copy.substr(s * kBlock, kBlock), std::string(kBlock, '\xF6')) << "block " << s;
        }
      }
    });
  }

  static inline testing::TempDir* dir_ = nullptr;
  static inline fs::path disc_;
  static inline Lba sectors_ = 0;
  static inline Lba lastFileEnd_ = 0;
  static inline std::map<std::string, Lba> extents_;
};

TEST_F(RescueImageTest, EachGoodSectorIsReadOnceAndTheMapHoldsWhatFailed) {
  const fs::path scratch = Scratch();
  const Lba two = Extent("D/TWO.BIN");
  const Lba three = Extent("D/THREE.BIN");
  const Lba pad = lastFileEnd_ + 40;  // past every file
  struct Case {
    const char* name;
    Faults faults;
    std::vector<std::string> options;
    std::set<Lba> bad;       // sectors the map ends with as not read
    std::uint64_t badBytes;  // what ddrescuelog counts bad
    int exitCode;
  };
  const Case cases[] = {
      {"ScatteredAreas",
       {{two + 3, "unreadable"},
        {three + 10, "unreadable"}, {three + 11, "unreadable"}, {three + 12, "check"},
        {pad, "unreadable"}},
       {},
       {two + 3, three + 10, three + 11, three + 12, pad},
       5 * kBlock,
       1},
      {"ReadsOnTheThirdTryWithTwoRetryPasses",
       {{two + 1, "flaky 3"}},
       {"--retries", "2"},
       {},
       0,
       0},
      {"StillBadAfterOneRetryPass", {{two + 1, "flaky 5"}}, {"--retries", "1"}, {two + 1}, kBlock, 1},
      {"AFolderOfTheFirstPass", {{Extent("D"), "unreadable"}}, {}, {Extent("D")}, kBlock, 1},
      {"ShortSector", {{three, "short 100"}}, {}, {three}, kBlock - 100, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path base = scratch / c.name;
    WriteText(base.string() + ".faults", FaultText(c.faults));
    const fs::path image = base.string() + ".cd";
    const fs::path log = base.string() + ".log";
    std::vector<std::string> args = RescueArgs(base.string() + ".faults", log, image, c.options);
    args.erase(args.begin());
    const CommandResult result = RunCli(args);
    EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
    std::optional<disc::RescueMap> map = ReadMap(image.string() + ".map");
    ASSERT_TRUE(map);
    EXPECT_EQ(BadSectors(*map), c.bad);
    EXPECT_EQ(map->phase, disc::RescuePhase::kFinished);
    ExpectImageAgreesWithMap(image);
    const auto status = Ddrescuelog({image.string() + ".map"});
    EXPECT_EQ(status.at("bad-sector").first, c.badBytes);
    EXPECT_EQ(DdrescuelogSectors("-", image.string() + ".map"), c.bad);
    EXPECT_EQ(status.at("non-tried").first + status.at("non-trimmed").first +
                  status.at("non-scraped").first,
              0u);
    // Every sector that reads came from the drive once, and only once.
    std::set<Lba> faulty;
    for (const auto& [lba, kind] : c.faults) faulty.insert(lba);
    const std::map<Lba, int> delivered = Deliveries({log}, faulty);
    for (Lba s = 0; s < sectors_; ++s) {
      if (faulty.contains(s)) continue;
      ASSERT_EQ(delivered.contains(s) ? delivered.at(s) : 0, 1) << "sector " << s;
    }
  }
}

TEST_F(RescueImageTest, AStopInEveryPassThenTheSameCommandResumes) {
  const fs::path scratch = Scratch();
  // In the padding past the files, which the first pass leaves to the second:
  // a read of 32 sectors breaks off at p, the sectors after it are read first
  // by trimming from the far end (down to p + 2, bad), p + 1 by scraping, and
  // p at its third read by the first retry pass.
  const Lba start = lastFileEnd_;
  const Lba p = start + 32 + 8;
  const Faults base = {{p, "unreadable"}, {p + 2, "unreadable"}};
  struct Case {
    const char* name;
    Lba holdAt;
    int holdRead;
    int signal;
  };
  const Case cases[] = {
      {"WhatMattersFirst", Extent("D/THREE.BIN") + 5, 1, SIGKILL},
      {"Copying", start + 100, 1, SIGKILL},
      {"Trimming", p + 20, 1, SIGKILL},
      {"Scraping", p + 1, 1, SIGKILL},
      {"Retrying", p, 3, SIGKILL},
      {"RetryingStoppedByTerm", p, 3, SIGTERM},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path dir = scratch / c.name;
    fs::create_directories(dir);
    const fs::path hold = dir / "held";
    Faults held = base;
    held.insert({c.holdAt, "hold " + hold.string() + " " + std::to_string(c.holdRead)});
    WriteText(dir / "held.faults", FaultText(held));
    WriteText(dir / "plain.faults", FaultText(base));
    const fs::path image = dir / "disc.cd";
    {
      testing::BackgroundCommand run(
          RescueArgs(dir / "held.faults", dir / "1.log", image, {"--retries", "1"}), dir / "run1");
      ASSERT_TRUE(run.WaitForFile(hold, std::chrono::seconds(60))) << run.err();
      run.Signal(c.signal);
      // A program stopped by a signal it catches goes on once the drive answers.
      if (c.signal == SIGTERM) fs::remove(hold);
      const int exitCode = run.Wait();
      EXPECT_EQ(exitCode, c.signal == SIGTERM ? 130 : 128 + SIGKILL) << run.err();
    }
    // Whatever the stop, the image opens and agrees with its map.
    ExpectImageAgreesWithMap(image, c.signal == SIGKILL);
    EXPECT_NE(RunCli({"ls", image.string()}).exitCode, 2);

    std::vector<std::string> args =
        RescueArgs(dir / "plain.faults", dir / "2.log", image, {"--retries", "1"});
    args.erase(args.begin());
    const CommandResult resumed = RunCli(args);
    EXPECT_EQ(resumed.exitCode, 1) << resumed.err;
    std::optional<disc::RescueMap> map = ReadMap(image.string() + ".map");
    ASSERT_TRUE(map);
    EXPECT_EQ(BadSectors(*map), (std::set<Lba>{p, p + 2}));
    ExpectImageAgreesWithMap(image);
    // Across the two runs, no sector that read was read twice.
    const std::map<Lba, int> delivered =
        Deliveries({dir / "1.log", dir / "2.log"}, {p, p + 2},
                   c.signal == SIGKILL ? dir / "1.log" : fs::path());
    for (const auto& [lba, count] : delivered) ASSERT_EQ(count, 1) << "sector " << lba;
    EXPECT_EQ(delivered.size(), sectors_ - 2);
  }
}

TEST_F(RescueImageTest, TheDrivesRetryCountAndSpeedAreSetAndPutBack) {
  const fs::path scratch = Scratch();
  WriteText(scratch / "faults", std::to_string(Extent("D/ONE.BIN") + 2) + " unreadable\n");
  std::vector<std::string> args = RescueArgs(scratch / "faults", scratch / "log",
                                             scratch / "disc.cd", {"--retries", "2", "--speed", "4"});
  args.erase(args.begin());
  EXPECT_EQ(RunCli(args).exitCode, 1);
  std::vector<std::string> commands;
  for (const std::string& line : Lines(FileBytes(scratch / "log"))) {
    // The rescue's own commands (the full TOC is the reader's).
    if (line.starts_with("cdb 5a") || line.starts_with("cdb 55") || line.starts_with("cdb bb")) {
      commands.push_back(line.substr(4));
    }
  }
  // MODE SENSE(10) of page 01h; MODE SELECT(10) of it with the read retry count
  // 1, then back at the drive's 20; SET CD SPEED 4x (706 kB/s), then the fastest.
  const std::string page = "010a00%02x0000000014000000";
  char lowered[64];
  char restored[64];
  std::snprintf(lowered, sizeof lowered, page.c_str(), 1);
  std::snprintf(restored, sizeof restored, page.c_str(), 20);
  EXPECT_EQ(commands,
            (std::vector<std::string>{
                "5a0801000000000100" "00",
                "55100000000000001400 data 0000000000000000" + std::string(lowered),
                "55100000000000001400 data 0000000000000000" + std::string(restored),
                "bb0002c2ffff000000000000",
                "bb00ffffffff000000000000"}));
  // An image is no drive: nothing is sent to it.
  EXPECT_EQ(RunCli({"image", disc(), (scratch / "copy.cd").string(), "--rescue"}).exitCode, 0);
}

TEST_F(RescueImageTest, TwoCopiesWithDisjointBadAreasMergeIntoAWholeImage) {
  const fs::path scratch = Scratch();
  const Lba two = Extent("D/TWO.BIN");
  const Lba four = Extent("E/FOUR.BIN");
  WriteText(scratch / "a.faults", std::to_string(two) + " unreadable\n" +
                                      std::to_string(two + 1) + " unreadable\n");
  WriteText(scratch / "b.faults", std::to_string(four + 4) + " unreadable\n");
  for (const char* copy : {"a", "b"}) {
    std::vector<std::string> args = RescueArgs(scratch / (std::string(copy) + ".faults"),
                                               scratch / (std::string(copy) + ".log"),
                                               scratch / (std::string(copy) + ".cd"));
    args.erase(args.begin());
    ASSERT_EQ(RunCli(args).exitCode, 1);
  }
  const fs::path a = scratch / "a.cd";
  const CommandResult merged =
      RunCli({"image", "--merge", (scratch / "b.cd").string(), a.string()});
  EXPECT_EQ(merged.exitCode, 0) << merged.err;
  std::optional<disc::RescueMap> map = ReadMap(a.string() + ".map");
  ASSERT_TRUE(map);
  EXPECT_TRUE(map->All(0, map->extent(), disc::AreaStatus::kFinished));
  EXPECT_TRUE(FileBytes(a).starts_with(FileBytes(disc_)));
  ExpectImageAgreesWithMap(a);
  EXPECT_TRUE(DdrescuelogSectors("?*/-", a.string() + ".map").empty());
  EXPECT_EQ(DdrescuelogSectors("+", a.string() + ".map").size(), sectors_);

  // An image of another disc is not merged.
  testing::WriteTree(scratch / "other", {{.path = "X.TXT", .content = "other\n"}});
  const fs::path other = testing::MakeIso(scratch / "other", scratch / "other.iso");
  ASSERT_EQ(RunCli({"image", other.string(), (scratch / "other.cd").string()}).exitCode, 0);
  const CommandResult refused =
      RunCli({"image", "--merge", (scratch / "other.cd").string(), a.string()});
  EXPECT_EQ(refused.exitCode, 2);
  EXPECT_NE(refused.err.find("of another disc"), std::string::npos) << refused.err;
}

TEST_F(RescueImageTest, RecoverFromTheRescuedImageIsPartialExactlyWhereTheMapSays) {
  const fs::path scratch = Scratch();
  const Lba three = Extent("D/THREE.BIN");
  WriteText(scratch / "faults", std::to_string(three + 7) + " unreadable\n" +
                                    std::to_string(three + 8) + " unreadable\n" +
                                    std::to_string(three + 20) + " short 1000\n");
  std::vector<std::string> args =
      RescueArgs(scratch / "faults", scratch / "log", scratch / "disc.cd", {"--select", "D/*"});
  args.erase(args.begin());
  ASSERT_EQ(RunCli(args).exitCode, 1);
  const fs::path dest = scratch / "dest";
  const CommandResult result = RunCli({"recover", (scratch / "disc.cd").string(), dest.string(),
                                       "--report", (scratch / "report").string()});
  EXPECT_EQ(result.exitCode, 1) << result.err;
  std::string line;
  for (const std::string& text : Lines(FileBytes(scratch / "report"))) {
    if (text.find("\tD/THREE.BIN\t") != std::string::npos) line = text;
  }
  const std::uint64_t at = 7 * kBlock;
  const std::uint64_t shortAt = 20 * kBlock + 1000;
  EXPECT_EQ(line, "partial\tD/THREE.BIN\t" + std::to_string(at) + "-" +
                      std::to_string(at + 2 * kBlock - 1) + "," + std::to_string(shortAt) + "-" +
                      std::to_string(21 * kBlock - 1) + "\tD/THREE.BIN");
  // The other files read whole.
  EXPECT_EQ(FileBytes(dest / "D/TWO.BIN"), FileBytes(*dir_ / "tree/D/TWO.BIN"));
}

TEST_F(RescueImageTest, TheChosenFilesAreReadFirst) {
  const fs::path scratch = Scratch();
  WriteText(scratch / "faults", "");
  std::vector<std::string> args =
      RescueArgs(scratch / "faults", scratch / "log", scratch / "disc.cd", {"--select", "E/*"});
  args.erase(args.begin());
  ASSERT_EQ(RunCli(args).exitCode, 0);
  // After the descriptors and folders, FOUR.BIN's sectors come first.
  const Lba four = Extent("E/FOUR.BIN");
  std::vector<Lba> firstBig;
  for (const std::string& line : Lines(FileBytes(scratch / "log"))) {
    std::istringstream words(line);
    std::string kind;
    Lba lba = 0;
    Lba count = 0;
    if (words >> kind >> lba >> count && kind == "read" && count > 1) firstBig.push_back(lba);
  }
  ASSERT_FALSE(firstBig.empty());
  EXPECT_EQ(firstBig.front(), four);
  EXPECT_TRUE(FileBytes(scratch / "disc.cd").starts_with(FileBytes(disc_)));
}

// Each pass's last line gives the pass's own average rate, and no rate at all
// for a pass that read nothing (a retry of a sector that never reads).
TEST_F(RescueImageTest, EachPassEndsOnItsAverageRateOrNoneWhenItReadNothing) {
  const fs::path scratch = Scratch();
  WriteText(scratch / "faults", std::to_string(Extent("D/THREE.BIN") + 5) + " unreadable\n");
  std::vector<std::string> args = RescueArgs(scratch / "faults", scratch / "log",
                                             scratch / "disc.cd", {"--retries", "1"});
  args.erase(args.begin());
  const CommandResult result = RunCli(args);
  ASSERT_EQ(result.exitCode, 1) << result.err;
  const std::regex passLine(R"(^velmora-cli: pass (\d+) .*rescued: ([^ ]+ [a-zA-Z]+) )");
  const std::regex rate(R"(  rate: ([0-9.]+) ([a-zA-Z]+)/s)");
  std::string rescuedBefore = "0 B";
  std::vector<std::string> passes;
  bool withRate = false;
  bool withoutRate = false;
  for (const std::string& line : Lines(result.err)) {
    std::smatch match;
    if (!std::regex_search(line, match, passLine)) continue;
    passes.push_back(match[1]);
    const std::string rescued = match[2];
    std::smatch rateMatch;
    const bool hasRate = std::regex_search(line, rateMatch, rate);
    if (rescued != rescuedBefore) {
      ASSERT_TRUE(hasRate) << line;
      EXPECT_GT(std::stod(rateMatch[1]), 0) << line;
      withRate = true;
    } else {
      EXPECT_FALSE(hasRate) << line;
      withoutRate = true;
    }
    rescuedBefore = rescued;
  }
  EXPECT_EQ(passes, (std::vector<std::string>{"0", "1", "2", "3", "4"})) << result.err;
  EXPECT_TRUE(withRate && withoutRate) << result.err;
}

TEST(RescueSessionsTest, TheGapsBetweenSessionsAreNeitherReadNorCounted) {
  testing::TempDir dir;
  testing::WriteTree(dir / "s1", {{.path = "A.TXT", .content = "first\n"}});
  testing::WriteTree(dir / "s2", {{.path = "B.BIN", .patternSize = 50000, .patternSeed = 9}});
  const testing::MultiSessionDisc made =
      testing::MakeMultiSessionDisc({dir / "s1", dir / "s2"}, dir / "two.iso", 400);
  disc::ImageTrailer trailer{true, 2, made.tracks};
  const std::vector<std::byte> block = disc::BuildImageTrailer(trailer);
  fs::copy_file(made.image, dir / "two.cd");
  std::ofstream(dir / "two.cd", std::ios::binary | std::ios::app)
      .write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(block.size()));
  const Lba end1 = made.tracks[0].end;
  const Lba start2 = disc::TrackLba(made.tracks[1]);
  WriteText(dir / "faults", std::to_string(start2 + 20) + " unreadable\n");

  const fs::path out = dir / "copy.cd";
  const CommandResult result =
      RunCli({"image", "--emulated-drive", (dir / "two.cd").string(), "--emulated-faults",
              (dir / "faults").string(), "--emulated-log", (dir / "log").string(), "drive",
              out.string(), "--rescue", "--retries", "1"});
  EXPECT_EQ(result.exitCode, 1) << result.err;
  for (const std::string& line : Lines(FileBytes(dir / "log"))) {
    std::istringstream words(line);
    std::string kind;
    Lba lba = 0;
    Lba count = 0;
    if (!(words >> kind >> lba >> count) || (kind != "read" && kind != "readcd")) continue;
    EXPECT_TRUE(lba + count <= end1 || lba >= start2) << line;
  }
  const auto status = Ddrescuelog({"-m", out.string() + ".domain", out.string() + ".map"});
  EXPECT_EQ(status.at("non-tried").first, 0u);
  EXPECT_EQ(status.at("bad-sector"), std::make_pair(kBlock, std::uint64_t{1}));
  // Both sessions list from the rescued image.
  EXPECT_NE(RunCli({"ls", "--tsv", out.string()}).out.find("B.BIN"), std::string::npos);
}

}  // namespace
}  // namespace velmora
