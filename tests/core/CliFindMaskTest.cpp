// velmora-cli find and the file mask options of ls, find and recover, on an
// image made by xorriso with files of known sizes and dates.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/IsoBuilder.h"
#include "support/RunCommand.h"
#include "support/TempDir.h"
#include "support/TextFiles.h"
#include "support/TreeWriter.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
namespace chr = std::chrono;
using testing::CommandResult;
using testing::FixtureFile;

CommandResult RunCli(std::vector<std::string> args) {
  args.insert(args.begin(), VELMORA_CLI_PATH);
  return testing::RunCommand(args);
}

using testing::Lines;

chr::sys_seconds DaysAgo(int days) {
  return chr::floor<chr::seconds>(chr::system_clock::now()) - chr::days(days);
}

chr::sys_seconds On(int year, unsigned month, unsigned day) {
  return chr::sys_days(chr::year(year) / chr::month(month) / chr::day(day)) + chr::hours(12);
}

// Dates well inside or outside the windows the tests ask for, so that the day
// a test runs on never decides it.
std::vector<FixtureFile> Tree() {
  return {
      {.path = "README.TXT", .content = "read me\n", .mtime = DaysAgo(1)},
      {.path = "notes", .content = "no extension", .mtime = DaysAgo(1)},
      {.path = "docs/thesis-final.doc", .patternSize = 2500, .mtime = DaysAgo(3)},
      {.path = "docs/thesis.docx", .patternSize = 500, .mtime = DaysAgo(100)},
      {.path = "docs/old/archive.tar.gz", .patternSize = 1999, .mtime = On(2020, 5, 10)},
      {.path = "pics/a.jpg", .patternSize = 999, .mtime = On(2021, 1, 15)},
      {.path = "pics/B.JPG", .patternSize = 3000, .mtime = DaysAgo(2)},
  };
}

class CliFindMaskTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new testing::TempDir;
    testing::WriteTree(*dir_ / "tree", Tree());
    testing::IsoOptions options;
    options.tool = testing::IsoTool::kXorriso;
    image_ = testing::MakeIso(*dir_ / "tree", *dir_ / "disc.iso", options).string();
    // The listing in table order, which is also Find's order.
    const CommandResult ls = RunCli({"ls", "--tsv", image_});
    ASSERT_EQ(ls.exitCode, 0) << ls.err;
    for (const std::string& line : Lines(ls.out)) {
      tablePaths_.push_back(line.substr(0, line.find('\t')));
    }
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }

  // The paths of wanted in table order.
  static std::vector<std::string> InTableOrder(const std::set<std::string>& wanted) {
    std::vector<std::string> paths;
    for (const std::string& path : tablePaths_) {
      if (wanted.count(path)) paths.push_back(path);
    }
    EXPECT_EQ(paths.size(), wanted.size()) << "a wanted path is not on the disc";
    return paths;
  }

  static inline testing::TempDir* dir_ = nullptr;
  static inline std::string image_;
  static inline std::vector<std::string> tablePaths_;
};

TEST_F(CliFindMaskTest, FindPrintsEveryHitInFindOrder) {
  const struct {
    std::vector<std::string> args;
    std::set<std::string> hits;
  } cases[] = {
      {{"*.TXT"}, {"README.TXT"}},
      {{"readme.txt"}, {"README.TXT"}},
      {{"readme.txt", "--match-case"}, {}},
      {{"thesis*.doc"}, {"docs/thesis-final.doc"}},
      {{"*.jpg"}, {"pics/a.jpg", "pics/B.JPG"}},
      {{"*.jpg", "--match-case"}, {"pics/a.jpg"}},
      {{"notes.*"}, {"notes"}},
      {{"*s*"}, {"docs", "pics", "notes", "docs/thesis-final.doc", "docs/thesis.docx"}},
      {{"???"}, {"docs/old"}},
      {{"*.*"}, {"README.TXT", "notes", "docs", "pics", "docs/thesis-final.doc",
                 "docs/thesis.docx", "docs/old", "docs/old/archive.tar.gz", "pics/a.jpg",
                 "pics/B.JPG"}},
      {{"*", "--mask", "*.jpg"}, {"pics", "pics/a.jpg", "pics/B.JPG"}},
      {{"*.pdf"}, {}},
      // Root matches but has no path to print: no hit the user sees.
      {{"root"}, {}},
      {{"r*"}, {"README.TXT"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"find", image_};
    args.insert(args.end(), c.args.begin(), c.args.end());
    SCOPED_TRACE(c.args[0] + (c.args.size() > 1 ? " " + c.args[1] : ""));
    const CommandResult result = RunCli(args);
    EXPECT_EQ(result.exitCode, c.hits.empty() ? 1 : 0) << result.err;
    EXPECT_EQ(Lines(result.out), InTableOrder(c.hits));
  }
}

TEST_F(CliFindMaskTest, MaskOptionsNarrowTheListing) {
  const struct {
    std::vector<std::string> args;
    std::set<std::string> files;
  } cases[] = {
      {{"--mask", "*.txt; *.doc"}, {"README.TXT", "docs/thesis-final.doc"}},
      {{"--mask", "*.gz"}, {"docs/old/archive.tar.gz"}},
      {{"--mask", "jpg", "--mask-match-case"}, {"pics/a.jpg"}},
      {{"--mask", "*.*", "--max-kb", "1"}, {"README.TXT", "notes", "docs/thesis.docx", "pics/a.jpg"}},
      {{"--min-kb", "1", "--max-kb", "2"}, {"docs/old/archive.tar.gz"}},
      {{"--min-kb", "2"}, {"docs/thesis-final.doc", "pics/B.JPG"}},
      {{"--days", "30"}, {"README.TXT", "notes", "docs/thesis-final.doc", "pics/B.JPG"}},
      {{"--months", "2"}, {"README.TXT", "notes", "docs/thesis-final.doc", "pics/B.JPG"}},
      {{"--months", "6", "--mask", "*.doc*"}, {"docs/thesis-final.doc", "docs/thesis.docx"}},
      {{"--between", "2021-01-15", "2020-05-10"}, {"docs/old/archive.tar.gz", "pics/a.jpg"}},
      {{"--between", "2020-05-11", "2021-01-14"}, {}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"ls", "--tsv", image_};
    args.insert(args.end(), c.args.begin(), c.args.end());
    SCOPED_TRACE(c.args[0] + " " + c.args[1]);
    const CommandResult result = RunCli(args);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    std::set<std::string> files;
    std::set<std::string> folders;
    for (const std::string& line : Lines(result.out)) {
      const std::string path = line.substr(0, line.find('\t'));
      (line.find("\td\t") != std::string::npos ? folders : files).insert(path);
    }
    EXPECT_EQ(files, c.files);
    // Exactly the folders that hold a file shown.
    std::set<std::string> holding;
    for (const std::string& file : c.files) {
      for (auto slash = file.find('/'); slash != std::string::npos; slash = file.find('/', slash + 1)) {
        holding.insert(file.substr(0, slash));
      }
    }
    EXPECT_EQ(folders, holding);
  }
}

TEST_F(CliFindMaskTest, RecoverWithAMaskSavesOnlyWhatItShows) {
  const fs::path dest = dir_->path() / "out";
  const CommandResult result = RunCli({"recover", image_, dest.string(), "--mask", "*.jpg;*.gz"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  std::set<std::string> saved;
  for (const auto& item : fs::recursive_directory_iterator(dest)) {
    if (item.is_regular_file()) saved.insert(fs::relative(item.path(), dest).generic_string());
  }
  EXPECT_EQ(saved, (std::set<std::string>{"docs/old/archive.tar.gz", "pics/a.jpg", "pics/B.JPG"}));
}

TEST_F(CliFindMaskTest, BadMaskOptionsAreUsageErrors) {
  const struct {
    std::vector<std::string> args;
    std::string says;
  } cases[] = {
      {{"find", image_}, "find needs SOURCE PATTERN"},
      {{"find", image_, ""}, "PATTERN must not be empty"},
      {{"ls", image_, "--match-case"}, "--match-case belongs to find"},
      {{"ls", image_, "--days", "x"}, "--days needs a whole number"},
      {{"ls", image_, "--min-kb", "-1"}, "--min-kb needs a whole number"},
      {{"ls", image_, "--between", "2024-02-30", "2024-01-01"}, "YYYY-MM-DD, not '2024-02-30'"},
      {{"ls", image_, "--between", "2024-01-01"}, "--between needs two dates"},
      {{"image", image_, "out", "--mask", "*.txt"}, "the mask and --select with --rescue"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.says);
    const CommandResult result = RunCli(c.args);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find(c.says), std::string::npos) << result.err;
  }
}

}  // namespace
}  // namespace velmora
