// The names a listing shows on discs with Rock Ridge: genisoimage -r (no
// Joliet) with deep folders moved to rr_moved, and -r -J; compared with
// bsdtar, which reads Rock Ridge.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "support/BytePatcher.h"
#include "support/RunCommand.h"
#include "support/TempDir.h"
#include "support/TextFiles.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::CommandResult;
using testing::TempDir;

CommandResult RunCli(std::vector<std::string> args) {
  args.insert(args.begin(), VELMORA_CLI_PATH);
  return testing::RunCommand(args);
}

const std::string kUnicodeName = "\xC3\xA9t\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC.txt";
const std::string kLongName =
    "A Mixed Case File Name Longer Than Sixty-Four Characters, Cut By Joliet.Text";

// A tree ten folders deep, long, mixed-case and Unicode names, and a link.
fs::path MakeTree(const TempDir& dir) {
  const fs::path tree = dir / "tree";
  fs::path deep = tree;
  for (int level = 1; level <= 10; ++level) deep /= "Level" + std::to_string(level);
  fs::create_directories(deep);
  std::ofstream(deep / "Bottom.txt") << "deep";
  std::ofstream(tree / kLongName) << "mixed case";
  std::ofstream(tree / kUnicodeName) << "unicode";
  fs::create_symlink("Level1/../" + kLongName, tree / "link");
  return tree;
}

// path -> size of every file, and every folder with size -1, from ls --tsv.
std::map<std::string, long long> Listing(const std::string& tsv) {
  std::map<std::string, long long> entries;
  std::istringstream lines(tsv);
  for (std::string line; std::getline(lines, line);) {
    std::vector<std::string> fields;
    std::istringstream cells(line);
    for (std::string cell; std::getline(cells, cell, '\t');) fields.push_back(cell);
    if (fields.size() < 3) continue;
    entries[fields[0]] = fields[1] == "d" ? -1 : std::stoll(fields[2]);
  }
  return entries;
}

// The same from bsdtar -tv; links are listed with their target cut off and
// size 0, as ls lists them for now.
std::map<std::string, long long> PeerListing(const fs::path& image) {
  const CommandResult peer = testing::RunChecked({"bsdtar", "-tvf", image.string()});
  std::map<std::string, long long> entries;
  std::istringstream lines(peer.out);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream cells(line);
    std::string mode, links, owner, group, month, day, time;
    long long size = 0;
    cells >> mode >> links >> owner >> group >> size >> month >> day >> time;
    std::string path;
    std::getline(cells >> std::ws, path);
    if (mode[0] == 'l') path = path.substr(0, path.find(" -> "));
    if (path == ".") continue;
    entries[path] = mode[0] == 'd' ? -1 : mode[0] == 'l' ? 0 : size;
  }
  return entries;
}

TEST(RockRidgeNamesTest, RockRidgeDiscListsTheNamesBsdtarReadsWithDeepFoldersHome) {
  TempDir dir;
  const fs::path image = dir / "rr.iso";
  testing::RunChecked({"genisoimage", "-quiet", "-r", "-o", image.string(), MakeTree(dir).string()});

  const CommandResult ls = RunCli({"ls", "--tsv", "--log", (dir / "log.txt").string(), image.string()});
  ASSERT_EQ(ls.exitCode, 0) << ls.err;
  const std::map<std::string, long long> ours = Listing(ls.out);
  EXPECT_EQ(ours, PeerListing(image));
  std::string deep;
  for (int level = 1; level <= 10; ++level) deep += "Level" + std::to_string(level) + "/";
  EXPECT_EQ(ours.count(deep + "Bottom.txt"), 1u);
  EXPECT_EQ(ours.count("rr_moved"), 0u);
  std::ifstream log(dir / "log.txt");
  const std::string logText((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
  EXPECT_NE(logText.find("Names shown: Rock Ridge"), std::string::npos);
}

// The extent (fifth field) of path in ls --tsv output; 0 when it is not listed.
std::uint32_t ListedExtent(const std::string& tsv, const std::string& path) {
  std::istringstream lines(tsv);
  for (std::string line; std::getline(lines, line);) {
    std::vector<std::string> fields;
    std::istringstream cells(line);
    for (std::string cell; std::getline(cells, cell, '\t');) fields.push_back(cell);
    if (fields.size() >= 5 && fields[0] == path) return static_cast<std::uint32_t>(std::stoul(fields[4]));
  }
  return 0;
}

TEST(RockRidgeNamesTest, MovedFolderWhosePlaceDoesNotReadStaysWhereItWasMoved) {
  TempDir dir;
  const fs::path image = dir / "rr.iso";
  testing::RunChecked({"genisoimage", "-quiet", "-r", "-o", image.string(), MakeTree(dir).string()});
  const CommandResult whole = RunCli({"ls", "--tsv", image.string()});
  ASSERT_EQ(whole.exitCode, 0) << whole.err;
  std::string holder = "Level1";  // the folder whose records hold the CL of Level8
  for (int level = 2; level <= 7; ++level) holder += "/Level" + std::to_string(level);
  struct Case {
    std::string damaged;  // a folder on the way to the moved one
    std::optional<std::byte> fill;  // its sector filled so; else its CL record led up to Level1
    int exitCode;
  };
  for (const Case& c : {Case{"Level1", std::byte{0xF6}, 1}, Case{holder, std::byte{0}, 1},
                        Case{holder, std::nullopt, 0}}) {
    SCOPED_TRACE(c.damaged);
    const fs::path copy = dir / "damaged.iso";
    fs::copy_file(image, copy, fs::copy_options::overwrite_existing);
    const std::uint32_t extent = ListedExtent(whole.out, c.damaged);
    ASSERT_NE(extent, 0u);
    if (c.fill) {
      testing::FillSectors(copy, extent, 1, *c.fill);
    } else {
      // CL, length 12, version 1, then the extent both-endian.
      std::vector<std::byte> sector = testing::ReadSector(copy, extent);
      const std::string bytes(reinterpret_cast<const char*>(sector.data()), sector.size());
      const std::size_t at = bytes.find(std::string("CL\x0C\x01", 4));
      ASSERT_NE(at, std::string::npos);
      const std::uint32_t up = ListedExtent(whole.out, "Level1");
      for (int i = 0; i < 4; ++i) {
        sector[at + 4 + i] = static_cast<std::byte>(up >> (8 * i));
        sector[at + 11 - i] = static_cast<std::byte>(up >> (8 * i));
      }
      testing::WriteBytes(copy, std::uint64_t{extent} * testing::kSectorSize, sector);
    }
    const fs::path log = dir / "log.txt";
    const CommandResult ls = RunCli({"ls", "--tsv", "--overwrite", "--log", log.string(), copy.string()});
    EXPECT_EQ(ls.exitCode, c.exitCode) << ls.err;
    const std::map<std::string, long long> listing = Listing(ls.out);
    // What the moved folder holds is still listed, under rr_moved.
    EXPECT_EQ(listing.count("rr_moved"), 1u);
    const auto bottom = listing.find("rr_moved/Level8/Level9/Level10/Bottom.txt");
    ASSERT_NE(bottom, listing.end());
    EXPECT_EQ(bottom->second, 4);
    EXPECT_EQ(ListedExtent(ls.out, "rr_moved/Level8"), ListedExtent(whole.out, holder + "/Level8"));
    std::ifstream in(log);
    const std::string logText((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(logText.find("Relocated folder not reached from its real place"), std::string::npos);
    EXPECT_NE(logText.find("rr_moved/Level8"), std::string::npos);
  }
}

// A CL record that leads to no folder is named as what it leads to: a
// volume descriptor, a file's data, or a sector past the disc.
TEST(RockRidgeNamesTest, RelocationRecordLeadingToNoFolderIsNamedAsWhatItLeadsTo) {
  TempDir dir;
  const fs::path image = dir / "rr.iso";
  testing::RunChecked({"genisoimage", "-quiet", "-r", "-o", image.string(), MakeTree(dir).string()});
  const CommandResult whole = RunCli({"ls", "--tsv", image.string()});
  ASSERT_EQ(whole.exitCode, 0) << whole.err;
  std::string holder = "Level1";  // the folder whose records hold the CL of Level8
  for (int level = 2; level <= 7; ++level) holder += "/Level" + std::to_string(level);
  struct Case {
    const char* name;
    std::uint32_t target;
    const char* said;
  };
  const Case cases[] = {
      {"the primary volume descriptor", 16, "Folder record points at a volume descriptor"},
      {"the set terminator", 17, "Folder record points at a volume descriptor"},
      {"a file's data", ListedExtent(whole.out, kLongName), "Folder holds no directory records"},
      {"past the disc", 0x00FFFF00, "Folder lies past the end of the disc"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path copy = dir / "damaged.iso";
    fs::copy_file(image, copy, fs::copy_options::overwrite_existing);
    const std::uint32_t extent = ListedExtent(whole.out, holder);
    std::vector<std::byte> sector = testing::ReadSector(copy, extent);
    const std::string bytes(reinterpret_cast<const char*>(sector.data()), sector.size());
    // CL, length 12, version 1, then the extent both-endian.
    const std::size_t at = bytes.find(std::string("CL\x0C\x01", 4));
    ASSERT_NE(at, std::string::npos);
    for (int i = 0; i < 4; ++i) {
      sector[at + 4 + i] = static_cast<std::byte>(c.target >> (8 * i));
      sector[at + 11 - i] = static_cast<std::byte>(c.target >> (8 * i));
    }
    testing::WriteBytes(copy, std::uint64_t{extent} * testing::kSectorSize, sector);
    const fs::path log = dir / "log.txt";
    const CommandResult ls = RunCli({"ls", "--tsv", "--log", log.string(), copy.string()});
    EXPECT_EQ(ls.exitCode, 1) << ls.err;
    const std::string row = holder + "/Level8 (sector " + std::to_string(c.target) + ")\r\n" +
                            std::string(20, ' ') + c.said;
    EXPECT_NE(testing::FileBytes(log).find(row), std::string::npos) << testing::FileBytes(log);
  }
}

TEST(RockRidgeNamesTest, NamesOptionPicksTheTreeOrRefusesOneTheDiscLacks) {
  TempDir dir;
  const fs::path tree = MakeTree(dir);
  const fs::path rockRidge = dir / "r.iso";
  const fs::path both = dir / "rj.iso";
  testing::RunChecked({"genisoimage", "-quiet", "-r", "-o", rockRidge.string(), tree.string()});
  testing::RunChecked(
      {"genisoimage", "-quiet", "-r", "-J", "-o", both.string(), tree.string()});
  struct Case {
    fs::path image;
    std::string names;
    int exitCode;
    std::string shown;  // a name the listing holds
    std::string absent;  // a name it does not
  };
  const std::vector<Case> cases = {
      {rockRidge, "auto", 0, kLongName, "rr_moved"},
      {rockRidge, "rockridge", 0, kUnicodeName, "RR_MOVED"},
      {rockRidge, "primary", 0, "RR_MOVED", kLongName},
      {rockRidge, "joliet", 2, "", kLongName},
      {both, "auto", 0, kLongName, "rr_moved"},
      {both, "joliet", 0, kUnicodeName, kLongName},
      {both, "primary", 0, "LEVEL1", kUnicodeName},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.image.filename().string() + " --names " + c.names);
    const CommandResult ls = RunCli({"ls", "--tsv", "--names", c.names, c.image.string()});
    EXPECT_EQ(ls.exitCode, c.exitCode) << ls.err;
    const std::map<std::string, long long> listing = Listing(ls.out);
    if (!c.shown.empty()) {
      EXPECT_EQ(listing.count(c.shown), 1u);
    }
    EXPECT_EQ(listing.count(c.absent), 0u);
    if (c.exitCode == 2) {
      EXPECT_NE(ls.err.find("no Joliet names"), std::string::npos) << ls.err;
    }
  }
  const CommandResult bad = RunCli({"ls", "--names", "unix", rockRidge.string()});
  EXPECT_EQ(bad.exitCode, 2);
  EXPECT_NE(bad.err.find("--names takes auto, rockridge, joliet or primary"), std::string::npos);
}

// Names and link targets recorded in an 8-bit character set (a Windows-1251
// and a Latin-1 system's bytes, kept as they are by both writers, as bsdtar
// shows them) are read in the code page of --codepage, as 8-bit ISO names
// are: never one U+FFFD for every byte, never two names made one.
TEST(RockRidgeNamesTest, NamesThatAreNotUtf8AreReadInTheCodePage) {
  TempDir dir;
  const fs::path tree = dir / "tree";
  fs::create_directories(tree);
  const std::string russian = "\xCF\xF0\xE8\xE2\xE5\xF2.txt";  // "Привет.txt" in cp1251
  for (const std::string& name : {russian, std::string("caf\xE9"), std::string("caf\xE8")}) {
    std::ofstream(tree / name) << name;
  }
  fs::create_symlink("caf\xE9", tree / "link");
  struct Writer {
    const char* name;
    fs::path image;
    std::vector<std::string> command;
  };
  const Writer writers[] = {
      {"genisoimage -R", dir / "g.iso",
       {"genisoimage", "-quiet", "-R", "-o", (dir / "g.iso").string(), tree.string()}},
      {"xorriso", dir / "x.iso",
       {"xorriso", "-no_rc", "-report_about", "SORRY", "-outdev", (dir / "x.iso").string(), "-map",
        tree.string(), "/"}},
  };
  struct Case {
    std::vector<std::string> codePage;
    std::vector<std::string> names;  // UTF-8
    std::string target;
  };
  const Case cases[] = {
      {{}, {"\xC3\x8F\xC3\xB0\xC3\xA8\xC3\xA2\xC3\xA5\xC3\xB2.txt", "caf\xC3\xA9", "caf\xC3\xA8"},
       "caf\xC3\xA9"},
      {{"--codepage", "cp1251"},
       {"\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82.txt", "caf\xD0\xB9", "caf\xD0\xB8"},
       "caf\xD0\xB9"},
  };
  for (const Writer& writer : writers) {
    testing::RunChecked(writer.command);
    const fs::path& image = writer.image;
    // The bytes are on the disc as written.
    const CommandResult peer = testing::RunChecked({"bsdtar", "-tf", image.string()});
    EXPECT_NE(peer.out.find("caf\\351"), std::string::npos) << peer.out;
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(writer.name) + (c.codePage.empty() ? "" : " --codepage cp1251"));
      std::vector<std::string> args = {"ls", "--tsv", image.string()};
      args.insert(args.end(), c.codePage.begin(), c.codePage.end());
      const CommandResult ls = RunCli(args);
      ASSERT_EQ(ls.exitCode, 0) << ls.err;
      const std::map<std::string, long long> listing = Listing(ls.out);
      for (const std::string& name : c.names) EXPECT_EQ(listing.count(name), 1u) << name << "\n" << ls.out;
      EXPECT_NE(ls.out.find("link\tl\t0\t"), std::string::npos) << ls.out;
      EXPECT_NE(ls.out.find("\t" + c.target + "\n"), std::string::npos) << ls.out;
    }
  }
}

}  // namespace
}  // namespace velmora
