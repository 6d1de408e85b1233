// Discs written by genisoimage, xorriso and pycdlib with one or two sectors
// that do not read (the sector shim fails them with EIO, as a scratch would):
// what still reads is listed in its right place, what is lost is said in the
// log, and the exit status is never a clean 0.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "support/RunCommand.h"
#include "support/SectorFinder.h"
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
  // recover: every file DEST holds, with its bytes ("-> target" for a link).
  std::map<std::string, std::string> saved = {};
};

fs::path Genisoimage(const fs::path& dir, const std::vector<std::string>& options,
                     const std::vector<testing::FixtureFile>& files) {
  const fs::path tree = dir / "tree";
  testing::WriteTree(tree, files);
  const fs::path image = dir / "disc.iso";
  std::vector<std::string> args = {"genisoimage", "-quiet", "-input-charset", "utf-8"};
  args.insert(args.end(), options.begin(), options.end());
  args.insert(args.end(), {"-o", image.string(), tree.string()});
  testing::RunChecked(args);
  return image;
}

// xorriso with Joliet names beside the ISO 9660 ones, and no Rock Ridge.
fs::path XorrisoJoliet(const fs::path& dir, const std::vector<testing::FixtureFile>& files) {
  const fs::path tree = dir / "tree";
  testing::WriteTree(tree, files);
  const fs::path image = dir / "disc.iso";
  testing::RunChecked({"xorriso", "-no_rc", "-report_about", "SORRY", "-outdev", image.string(),
                       "-rockridge", "off", "-joliet", "on", "-map", tree.string(), "/"});
  return image;
}

// Three folders whose ISO 9660 names come out alike (REPORTS_, REPOR000 ...),
// and two that differ only in case.
const std::vector<testing::FixtureFile> kLookAlikes = {
    {.path = "Reports 2020/Summary 2020.txt", .content = "report 2020"},
    {.path = "Reports 2021/Summary 2021.txt", .content = "report 2021"},
    {.path = "Reports 2022/Summary 2022.txt", .content = "report 2022"},
    {.path = "data/a.txt", .content = "lower"},
    {.path = "DATA/b.txt", .content = "upper"},
};

std::function<std::vector<std::uint32_t>(const fs::path&)> JolietFolder(std::string path) {
  return [path](const fs::path& image) {
    return std::vector<std::uint32_t>{testing::FileExtentLba(image, path, true)};
  };
}

// The extent of the ISO 9660 folder at isoPath ("/A/B"), as pycdlib finds it.
std::function<std::vector<std::uint32_t>(const fs::path&)> IsoFolder(std::string isoPath) {
  return [isoPath](const fs::path& image) {
    return std::vector<std::uint32_t>{Number(AskPycdlib(
        image, "print(iso.get_record(iso_path='" + isoPath + "').extent_location())\n"))};
  };
}

std::vector<testing::FixtureFile> DeepTree() {
  return {{.path = "a/b/c/d/e/f/g/h/i/deep.txt", .content = "deep"},
          {.path = "a/b/c/d/e/f/g/h/h.txt", .content = "h"}};
}

// Files below a top-level folder, one of them a link; a file in the root.
std::vector<testing::FixtureFile> LinkTree(const fs::path& dir) {
  fs::create_directories(dir / "tree" / "docs");
  fs::create_symlink("Read Me.txt", dir / "tree" / "docs" / "link");
  return {{.path = "top.txt", .content = "top"}, {.path = "docs/Read Me.txt", .content = "read me"}};
}

// What recover saves of LinkTree when the root does not read: the top-level
// folder under the name the path table gives it, the link as a link.
std::map<std::string, std::string> LinkTreeSaved() {
  return {{"top.txt", "top"}, {"DOCS/Read Me.txt", "read me"}, {"DOCS/link", "-> Read Me.txt"}};
}

// xorriso with Rock Ridge and Joliet.
fs::path XorrisoRockRidge(const fs::path& dir, const std::vector<testing::FixtureFile>& files) {
  const fs::path tree = dir / "tree";
  testing::WriteTree(tree, files);
  const fs::path image = dir / "disc.iso";
  testing::RunChecked({"xorriso", "-no_rc", "-report_about", "SORRY", "-outdev", image.string(),
                       "-rockridge", "on", "-joliet", "on", "-map", tree.string(), "/"});
  return image;
}

// A folder of 70 files whose Rock Ridge records fill six sectors.
std::string ManyName(int k) {
  return "Quarterly report number " + std::to_string(k + 10) + " for the accounts.txt";
}

std::vector<testing::FixtureFile> ManyFiles() {
  std::vector<testing::FixtureFile> files;
  for (int k = 0; k < 70; ++k) files.push_back({.path = "many/" + ManyName(k), .content = ManyName(k)});
  return files;
}

std::map<std::string, std::string> ManySaved() {
  std::map<std::string, std::string> saved;
  for (int k = 0; k < 70; ++k) saved["many/" + ManyName(k)] = ManyName(k);
  return saved;
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

      // The union of the Joliet and ISO 9660 trees pairs folders by the files
      // they hold: the one Joliet folder that does not read takes the entries
      // of its own ISO 9660 copy, never a look-alike's.
      {.name = "Joliet folder among look-alikes, genisoimage",
       .make = [](const fs::path& dir) { return Genisoimage(dir, {"-J"}, kLookAlikes); },
       .unreadable = JolietFolder("Reports 2020"),
       .command = {"recover"},
       .exitCode = 1,
       .said = "1 folder did not read whole",
       .logged = "Entries taken from the ISO 9660 tree",
       .listed = {},
       .notListed = {},
       .saved = {{"Reports 2020/SUMMARY_.TXT", "report 2020"},
                 {"Reports 2021/Summary 2021.txt", "report 2021"},
                 {"Reports 2022/Summary 2022.txt", "report 2022"},
                 {"data/a.txt", "lower"},
                 {"DATA/b.txt", "upper"}}},
      {.name = "Joliet folder among look-alikes, xorriso",
       .make = [](const fs::path& dir) { return XorrisoJoliet(dir, kLookAlikes); },
       .unreadable = JolietFolder("Reports 2021"),
       .command = {"recover"},
       .exitCode = 1,
       .said = "1 folder did not read whole",
       .logged = "Entries taken from the ISO 9660 tree",
       .listed = {},
       .notListed = {},
       .saved = {{"Reports 2020/Summary 2020.txt", "report 2020"},
                 {"Reports 2021/SUMMARY_2021.TXT", "report 2021"},
                 {"Reports 2022/Summary 2022.txt", "report 2022"},
                 {"data/a.txt", "lower"},
                 {"DATA/b.txt", "upper"}}},
      {.name = "Joliet folder of a pair that differs in case, genisoimage",
       .make = [](const fs::path& dir) { return Genisoimage(dir, {"-J"}, kLookAlikes); },
       .unreadable = JolietFolder("data"),
       .command = {"recover"},
       .exitCode = 1,
       .said = "1 folder did not read whole",
       .logged = "Entries taken from the ISO 9660 tree",
       .listed = {},
       .notListed = {},
       .saved = {{"Reports 2020/Summary 2020.txt", "report 2020"},
                 {"Reports 2021/Summary 2021.txt", "report 2021"},
                 {"Reports 2022/Summary 2022.txt", "report 2022"},
                 {"data/A.TXT", "lower"},
                 {"DATA/b.txt", "upper"}}},
      {.name = "Joliet folder of a pair that differs in case, xorriso",
       .make = [](const fs::path& dir) { return XorrisoJoliet(dir, kLookAlikes); },
       .unreadable = JolietFolder("DATA"),
       .command = {"recover"},
       .exitCode = 1,
       .said = "1 folder did not read whole",
       .logged = "Entries taken from the ISO 9660 tree",
       .listed = {},
       .notListed = {},
       .saved = {{"Reports 2020/Summary 2020.txt", "report 2020"},
                 {"Reports 2021/Summary 2021.txt", "report 2021"},
                 {"Reports 2022/Summary 2022.txt", "report 2022"},
                 {"data/a.txt", "lower"},
                 {"DATA/B.TXT", "upper"}}},
      // Nothing is hidden from the Joliet tree: --all-names adds nothing.
      {.name = "--all-names on the undamaged look-alikes",
       .make = [](const fs::path& dir) { return Genisoimage(dir, {"-J"}, kLookAlikes); },
       .unreadable = [](const fs::path&) { return std::vector<std::uint32_t>{}; },
       .command = {"ls", "--tsv", "--all-names"},
       .exitCode = 0,
       .said = "",
       .logged = "Names shown: Joliet",
       .listed = {"Reports 2020/Summary 2020.txt\t", "DATA/b.txt\t", "data/a.txt\t"},
       .notListed = {"REPOR", "DATA000", "DATA/A.TXT", "Reports 2020/SUMMARY_.TXT"}},
      // A Rock Ridge folder that reads in part takes the rest from its Joliet
      // copy: each file once, no "(1)" copies.
      {.name = "Rock Ridge folder read in part, genisoimage -R -J",
       .make = [](const fs::path& dir) { return Genisoimage(dir, {"-R", "-J"}, ManyFiles()); },
       .unreadable =
           [](const fs::path& image) {
             return std::vector<std::uint32_t>{testing::FileExtentLba(image, "MANY") + 2};
           },
       .command = {"recover"},
       .exitCode = 1,
       .said = "1 folder did not read whole",
       .logged = "Folder read in part",
       .listed = {},
       .notListed = {},
       .saved = ManySaved()},
      // A relocated folder (genisoimage moves h, the eighth level, to
      // rr_moved) is listed in its real place or where it was moved, never
      // both: when the folder holding its CL record does not read it stays
      // in rr_moved, and the Joliet copy of that folder adds nothing of it
      // again; when its own directory does not read, its Joliet copy gives
      // its entries in its real place.
      {.name = "folder holding a relocation record, genisoimage -R -J",
       .make = [](const fs::path& dir) { return Genisoimage(dir, {"-R", "-J"}, DeepTree()); },
       .unreadable = IsoFolder("/A/B/C/D/E/F/G"),
       .command = {"recover"},
       .exitCode = 1,
       .said = "1 folder did not read whole",
       .logged = "Entries taken from the Joliet tree",
       .listed = {},
       .notListed = {},
       .saved = {{"rr_moved/h/i/deep.txt", "deep"}, {"rr_moved/h/h.txt", "h"}}},
      {.name = "relocated folder, genisoimage -R -J",
       .make = [](const fs::path& dir) { return Genisoimage(dir, {"-R", "-J"}, DeepTree()); },
       .unreadable = IsoFolder("/A/B/C/D/E/F/G/H"),
       .command = {"recover"},
       .exitCode = 1,
       .said = "1 folder did not read whole",
       .logged = "Folder could not be read",
       .listed = {},
       .notListed = {},
       .saved = {{"a/b/c/d/e/f/g/h/i/deep.txt", "deep"}, {"a/b/c/d/e/f/g/h/h.txt", "h"}}},
      // The root's "." record carries the SP entry that says a volume has
      // Rock Ridge: when it does not read, a top-level folder's records tell
      // it, and links and names below are read as written.
      {.name = "root of a Rock Ridge disc with folders, genisoimage -R -J",
       .make = [](const fs::path& dir) { return Genisoimage(dir, {"-R", "-J"}, LinkTree(dir)); },
       .unreadable = IsoFolder("/"),
       .command = {"recover"},
       .exitCode = 1,
       .said = "1 folder did not read whole",
       .logged = "Names shown: Rock Ridge",
       .listed = {},
       .notListed = {},
       .saved = LinkTreeSaved()},
      {.name = "root of a Rock Ridge disc with folders, xorriso -R -J",
       .make = [](const fs::path& dir) { return XorrisoRockRidge(dir, LinkTree(dir)); },
       .unreadable = IsoFolder("/"),
       .command = {"recover"},
       .exitCode = 1,
       .said = "1 folder did not read whole",
       .logged = "Names shown: Rock Ridge",
       .listed = {},
       .notListed = {},
       .saved = LinkTreeSaved()},
      // Without a folder below the root nothing tells: said, and exit 1.
      {.name = "root of a disc without folders, genisoimage -R -J",
       .make =
           [](const fs::path& dir) {
             return Genisoimage(dir, {"-R", "-J"}, {{.path = "Read Me.txt", .content = "r"}});
           },
       .unreadable = IsoFolder("/"),
       .command = {"ls", "--tsv"},
       .exitCode = 1,
       .said = "the Rock Ridge names, links and modes could not be read",
       .logged = "The root folder did not read: Rock Ridge names",
       .listed = {"Read Me.txt\tf\t1\t"},
       .notListed = {}},
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
  const fs::path dest = dir / "out";
  std::vector<std::string> args = {VELMORA_CLI_PATH};
  args.insert(args.end(), c.command.begin(), c.command.end());
  args.push_back(image.string());
  if (c.command[0] == "recover") args.push_back(dest.string());
  args.insert(args.end(), {"--log", log.string()});
  const CommandResult run = testing::RunCommand(args, bad.Environment());
  EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
  EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
  EXPECT_NE(testing::FileBytes(log).find(c.logged), std::string::npos) << testing::FileBytes(log);
  if (!c.unreadable(image).empty()) {
    EXPECT_FALSE(bad.Tries().empty()) << "the unreadable sectors were never read";
  }
  // The scan's own end row: with errors, and no green tick, exactly when
  // something of the tree was lost (what the exit status says too).
  const std::string logText = testing::FileBytes(log);
  const std::size_t scanEnd = logText.find("Process Completed");
  ASSERT_NE(scanEnd, std::string::npos) << logText;
  EXPECT_EQ(logText.compare(scanEnd, 29, "Process Completed with Errors") == 0, c.exitCode == 1)
      << logText;
  if (c.command[0] == "recover") {
    std::map<std::string, std::string> saved;
    for (const auto& file : fs::recursive_directory_iterator(dest)) {
      // Lexically: a link is named, never followed.
      const std::string path = file.path().lexically_relative(dest).string();
      if (file.is_symlink()) {
        saved[path] = "-> " + fs::read_symlink(file.path()).string();
      } else if (file.is_regular_file()) {
        saved[path] = testing::FileBytes(file.path());
      }
    }
    EXPECT_EQ(saved, c.saved) << run.err;
  }
  const std::vector<std::string> lines = testing::Lines(run.out);
  const auto holds = [&](const std::string& start) {
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& line) { return line.starts_with(start); });
  };
  for (const std::string& line : c.listed) EXPECT_TRUE(holds(line)) << line << "\n" << run.out;
  for (const std::string& line : c.notListed) EXPECT_FALSE(holds(line)) << line << "\n" << run.out;
}

// Each case is named by its description, letters and digits kept, so that a
// failure says which disc it was.
INSTANTIATE_TEST_SUITE_P(Discs, UnreadSectors, ::testing::Range<std::size_t>(0, Cases().size()),
                         [](const ::testing::TestParamInfo<std::size_t>& testCase) {
                           std::string name;
                           for (const char c : std::string(Cases()[testCase.param].name)) {
                             name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           }
                           return name;
                         });

}  // namespace
}  // namespace velmora
