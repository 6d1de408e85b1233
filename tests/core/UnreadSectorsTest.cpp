// Discs written by genisoimage, xorriso and pycdlib with one or two sectors
// that do not read (the sector shim fails them with EIO, as a scratch would):
// what still reads is listed in its right place, what is lost is said in the
// log, and the exit status is never a clean 0.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "support/RunCommand.h"
#include "support/TempDir.h"
#include "support/TextFiles.h"
#include "support/TreeWriter.h"
#include "support/UnreadableSectors.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::CommandResult;
using testing::TempDir;

// Runs pycdlib's reader over image: body sees it opened as iso, and prints.
std::string AskPycdlib(const fs::path& image, const std::string& body) {
  const std::string script =
      "import sys, pycdlib\n"
      "iso = pycdlib.PyCdlib()\n"
      "iso.open(sys.argv[1])\n" +
      body;
  return testing::RunChecked({"/usr/bin/python3", "-c", script, image.string()}).out;
}

std::uint32_t Number(const std::string& text) { return static_cast<std::uint32_t>(std::stoul(text)); }

// The block of the Rock Ridge continuation area of the record at isoPath.
std::uint32_t ContinuationBlock(const fs::path& image, const std::string& isoPath) {
  return Number(AskPycdlib(
      image, "r = iso.get_record(iso_path='" + isoPath + "')\n"
             "print(r.rock_ridge.dr_entries.ce_record.bl_cont_area)\n"));
}

struct UnreadCase {
  const char* name;
  // Writes the disc into the folder and returns the image.
  std::function<fs::path(const fs::path&)> make;
  std::function<std::vector<std::uint32_t>(const fs::path&)> unreadable;
  std::vector<std::string> command;  // before SOURCE
  int exitCode;
  std::string said;     // on standard error
  std::string logged;   // in the log
  std::vector<std::string> listed;     // lines (or their start) the output holds
  std::vector<std::string> notListed;  // lines (or their start) it must not hold
};

fs::path Genisoimage(const fs::path& dir, const std::vector<std::string>& options,
                     const std::vector<testing::FixtureFile>& files) {
  const fs::path tree = dir / "tree";
  testing::WriteTree(tree, files);
  const fs::path image = dir / "disc.iso";
  std::vector<std::string> args = {"genisoimage", "-quiet"};
  args.insert(args.end(), options.begin(), options.end());
  args.insert(args.end(), {"-o", image.string(), tree.string()});
  testing::RunChecked(args);
  return image;
}

const std::string kLongName = std::string(240, 'N') + ".txt";

const std::vector<UnreadCase>& Cases() {
  static const std::vector<UnreadCase> cases = {
      {.name = "continuation area of a long Rock Ridge name",
       .make =
           [](const fs::path& dir) {
             return Genisoimage(dir, {"-R"},
                                {{.path = kLongName, .content = "long"},
                                 {.path = "short.txt", .content = "s"}});
           },
       .unreadable =
           [](const fs::path& image) {
             return std::vector<std::uint32_t>{ContinuationBlock(image, "/NNNNNNNN.TXT;1")};
           },
       .command = {"ls", "--tsv"},
       .exitCode = 1,
       .said = "1 Rock Ridge entry did not read whole",
       .logged = "Damaged Rock Ridge entries",
       // The part of the name the record itself holds is what is left.
       .listed = {"short.txt\tf\t1\t", "NNNNNNNNNNNNNNNN"},
       .notListed = {kLongName}},
  };
  return cases;
}

class UnreadSectors : public ::testing::TestWithParam<std::size_t> {};

TEST_P(UnreadSectors, WhatReadsIsListedAndWhatIsLostIsSaid) {
  const UnreadCase& c = Cases()[GetParam()];
  SCOPED_TRACE(c.name);
  TempDir dir;
  const fs::path image = c.make(dir.path());
  const testing::UnreadableSectors bad(image, c.unreadable(image), dir / "tries");
  const fs::path log = dir / "log.txt";
  std::vector<std::string> args = {VELMORA_CLI_PATH};
  args.insert(args.end(), c.command.begin(), c.command.end());
  args.insert(args.end(), {image.string(), "--log", log.string()});
  const CommandResult run = testing::RunCommand(args, bad.Environment());
  EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
  EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
  EXPECT_NE(testing::FileBytes(log).find(c.logged), std::string::npos) << testing::FileBytes(log);
  EXPECT_FALSE(bad.Tries().empty()) << "the unreadable sectors were never read";
  const std::vector<std::string> lines = testing::Lines(run.out);
  const auto holds = [&](const std::string& start) {
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& line) { return line.starts_with(start); });
  };
  for (const std::string& line : c.listed) EXPECT_TRUE(holds(line)) << line << "\n" << run.out;
  for (const std::string& line : c.notListed) EXPECT_FALSE(holds(line)) << line << "\n" << run.out;
}

INSTANTIATE_TEST_SUITE_P(Discs, UnreadSectors, ::testing::Range<std::size_t>(0, Cases().size()));

}  // namespace
}  // namespace velmora
