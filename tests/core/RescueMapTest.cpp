// The map of a rescue and its text in GNU ddrescue's mapfile format, checked
// against ddrescue and ddrescuelog themselves (Debian's gddrescue).

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

#include "media/MapFileText.h"
#include "media/RescueMap.h"
#include "support/RunCommand.h"
#include "support/TempDir.h"
#include "support/TextFiles.h"

namespace velmora::disc {
namespace {

using Area = std::tuple<std::uint64_t, std::uint64_t, char>;

std::vector<Area> AreasOf(const RescueMap& map) {
  std::vector<Area> runs;
  map.ForEachRun([&](std::uint64_t begin, std::uint64_t end, AreaStatus status) {
    runs.emplace_back(begin, end, static_cast<char>(status));
  });
  return runs;
}

void WriteText(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

TEST(RescueMapTest, SettingAreasSplitsAndJoinsRuns) {
  struct Step {
    std::uint64_t begin;
    std::uint64_t end;
    char status;
  };
  const struct {
    const char* name;
    std::vector<Step> steps;
    std::vector<Area> runs;
  } cases[] = {
      {"one area inside", {{10, 20, '+'}}, {{0, 10, '?'}, {10, 20, '+'}, {20, 100, '?'}}},
      {"neighbours of one status join",
       {{10, 20, '+'}, {20, 30, '+'}, {0, 10, '+'}},
       {{0, 30, '+'}, {30, 100, '?'}}},
      {"an area over several runs replaces them",
       {{10, 20, '+'}, {30, 40, '-'}, {50, 60, '*'}, {15, 55, '/'}},
       {{0, 10, '?'}, {10, 15, '+'}, {15, 55, '/'}, {55, 60, '*'}, {60, 100, '?'}}},
      {"filling a hole joins three runs", {{0, 40, '+'}, {50, 100, '+'}, {40, 50, '+'}},
       {{0, 100, '+'}}},
      {"past the extent is left out", {{90, 500, '-'}}, {{0, 90, '?'}, {90, 100, '-'}}},
      {"an empty area changes nothing", {{40, 40, '+'}, {60, 50, '+'}}, {{0, 100, '?'}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RescueMap map(100);
    for (const Step& step : c.steps) map.Set(step.begin, step.end, static_cast<AreaStatus>(step.status));
    EXPECT_EQ(AreasOf(map), c.runs);
  }
}

TEST(RescueMapTest, AnswersWhereTheFirstUnfinishedByteLies) {
  RescueMap map(8192, AreaStatus::kFinished);
  map.Set(4096, 4196, AreaStatus::kBadSector);
  EXPECT_EQ(map.FirstNotIn(0, 8192, AreaStatus::kFinished), 4096u);
  EXPECT_EQ(map.FirstNotIn(4196, 8192, AreaStatus::kFinished), 8192u);
  EXPECT_EQ(map.FirstNotIn(4196, 9000, AreaStatus::kFinished), 8192u) << "past the extent";
  EXPECT_TRUE(map.All(0, 4096, AreaStatus::kFinished));
  EXPECT_FALSE(map.All(0, 4097, AreaStatus::kFinished));
  EXPECT_EQ(map.StatusAt(8192), std::nullopt);
  EXPECT_EQ(map.BytesOf(AreaStatus::kBadSector), 100u);
  map.Truncate(4100);
  EXPECT_EQ(AreasOf(map), (std::vector<Area>{{0, 4096, '+'}, {4096, 4100, '-'}}));
}

TEST(RescueMapTest, ReadsMapfilesAsDdrescueWritesThem) {
  // The example of ddrescue's manual, with decimal and octal numbers and
  // comments after blanks as a user may edit them.
  const std::string text =
      "# Mapfile. Created by GNU ddrescue version 1.27\n"
      "# current_pos  current_status  current_pass\n"
      "0x00120000     ?               1\n"
      "#      pos        size  status\n"
      "0x00000000  0x00117000  +   # read\n"
      "1142784  512  -\n"
      "0x00117200  0x00001000  /\n"
      "0x00118200  077000  *\n"
      "0x00120000  0x00048000  ?\n";
  std::size_t line = 0;
  std::optional<RescueMap> map = ParseMapFile(text, line);
  ASSERT_TRUE(map) << "line " << line;
  EXPECT_EQ(map->currentPos, 0x120000u);
  EXPECT_EQ(map->phase, RescuePhase::kCopying);
  EXPECT_EQ(map->extent(), 0x168000u);
  EXPECT_EQ(AreasOf(*map), (std::vector<Area>{{0, 0x117000, '+'},
                                            {0x117000, 0x117200, '-'},
                                            {0x117200, 0x118200, '/'},
                                            {0x118200, 0x120000, '*'},
                                            {0x120000, 0x168000, '?'}}));
}

TEST(RescueMapTest, RefusesTextThatIsNoMapfileNamingTheLine) {
  const struct {
    const char* text;
    std::size_t line;
  } cases[] = {
      {"", 0},
      {"# only a comment\n", 0},
      {"40 unreadable\n", 1},                               // the emulated drive's fault form
      {"0 Q 1\n", 1},                                       // no such status
      {"0 + 1\n0 100 +\n200 100 -\n", 3},                   // a gap
      {"0 + 1\n0 100 +\n50 100 -\n", 3},                    // an overlap
      {"0 + 1\n0 100 x\n", 2},                              // no such status
      {"0 + 1\n0 -100 +\n", 2},                             // a negative size
      {"0 + 1\n0 0x10 + extra\n", 2},                       // a word too many
      {"0 + 1\n0 10 +\n10 0xFFFFFFFFFFFFFFFF +\n", 3},      // past the largest position
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    std::size_t line = 99;
    EXPECT_FALSE(ParseMapFile(c.text, line));
    EXPECT_EQ(line, c.line);
  }
}

// ddrescuelog -t: the bytes and areas of each status.
std::map<std::string, std::pair<std::uint64_t, std::uint64_t>> DdrescuelogStatus(
    const std::vector<std::string>& args) {
  std::vector<std::string> argv{"ddrescuelog", "-t"};
  argv.insert(argv.end(), args.begin(), args.end());
  const testing::CommandResult result = testing::RunChecked(argv);
  std::map<std::string, std::pair<std::uint64_t, std::uint64_t>> status;
  const std::regex line(R"(^\s*([a-z-]+):\s+(\d+) B,\s+in\s+(\d+) area)");
  for (const std::string& text : testing::Lines(result.out)) {
    std::smatch match;
    if (std::regex_search(text, match, line)) {
      status[match[1]] = {std::stoull(match[2]), std::stoull(match[3])};
    }
  }
  return status;
}

TEST(RescueMapTest, DdrescuelogReadsTheWrittenMapAsItsOwn) {
  testing::TempDir dir;
  RescueMap map(64 * 2048);
  map.Set(0, 20 * 2048, AreaStatus::kFinished);
  map.Set(20 * 2048, 21 * 2048, AreaStatus::kBadSector);
  map.Set(21 * 2048, 30 * 2048, AreaStatus::kFinished);
  map.Set(30 * 2048, 34 * 2048, AreaStatus::kNonTrimmed);
  map.Set(34 * 2048, 40 * 2048, AreaStatus::kNonScraped);
  map.Set(40 * 2048, 41 * 2048 + 100, AreaStatus::kFinished);
  map.Set(41 * 2048 + 100, 42 * 2048, AreaStatus::kBadSector);
  map.phase = RescuePhase::kTrimming;
  map.currentPos = 30 * 2048;
  WriteText(dir / "disc.cd.map", FormatMapFile(map, {"Mapfile. Created by velmora"}));

  const auto status = DdrescuelogStatus({(dir / "disc.cd.map").string()});
  EXPECT_EQ(status.at("rescued"), std::make_pair(map.BytesOf(AreaStatus::kFinished), std::uint64_t{3}));
  EXPECT_EQ(status.at("bad-sector"), std::make_pair(std::uint64_t{2048 + 2048 - 100}, std::uint64_t{2}));
  EXPECT_EQ(status.at("non-trimmed"), std::make_pair(std::uint64_t{4 * 2048}, std::uint64_t{1}));
  EXPECT_EQ(status.at("non-scraped"), std::make_pair(std::uint64_t{6 * 2048}, std::uint64_t{1}));
  EXPECT_EQ(status.at("non-tried"), std::make_pair(std::uint64_t{22 * 2048}, std::uint64_t{1}));

  // The text reads back to the same map.
  std::size_t line = 0;
  std::optional<RescueMap> back = ParseMapFile(testing::FileBytes(dir / "disc.cd.map"), line);
  ASSERT_TRUE(back) << "line " << line;
  EXPECT_EQ(AreasOf(*back), AreasOf(map));
  EXPECT_EQ(back->phase, RescuePhase::kTrimming);
  EXPECT_EQ(back->currentPos, map.currentPos);
}

TEST(RescueMapTest, ReadsWhatDdrescueWroteInATestRescue) {
  testing::TempDir dir;
  // ddrescue's test mode fails every area its test map does not give as
  // finished; the mapfile it writes then holds trimmed and scraped areas.
  WriteText(dir / "input", std::string(256 * 1024, 'a'));
  WriteText(dir / "bad.map",
            "0 + 1\n0 0x10000 +\n0x10000 0x1000 -\n0x11000 0x20000 +\n0x31000 0x800 -\n"
            "0x31800 0xE800 +\n");
  testing::RunChecked({"ddrescue", "-q", "-b", "2048", "--test-mode=" + (dir / "bad.map").string(),
                       (dir / "input").string(), (dir / "output").string(),
                       (dir / "rescue.map").string()});
  std::size_t line = 0;
  std::optional<RescueMap> map = ParseMapFile(testing::FileBytes(dir / "rescue.map"), line);
  ASSERT_TRUE(map) << "line " << line;
  EXPECT_EQ(map->phase, RescuePhase::kFinished);
  EXPECT_EQ(AreasOf(*map), (std::vector<Area>{{0, 0x10000, '+'},
                                            {0x10000, 0x11000, '-'},
                                            {0x11000, 0x31000, '+'},
                                            {0x31000, 0x31800, '-'},
                                            {0x31800, 0x40000, '+'}}));
}

}  // namespace
}  // namespace velmora::disc
