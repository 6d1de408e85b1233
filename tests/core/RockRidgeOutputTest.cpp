// What Rock Ridge adds to the output: links, modes and times in ls --tsv and
// --json, checked against bsdtar and 7-Zip, which read Rock Ridge; recover's
// links, permissions and times against what bsdtar extracts; and discs whose
// links try to lead a recovery's writes out of DEST.
#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

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

using testing::FileBytes;
using testing::Lines;

std::vector<std::string> Fields(const std::string& line, char separator = '\t') {
  std::vector<std::string> fields;
  std::istringstream cells(line);
  for (std::string cell; std::getline(cells, cell, separator);) fields.push_back(cell);
  return fields;
}

// The umask of the programs the test starts, for the length of a scope.
class ScopedUmask {
 public:
  explicit ScopedUmask(mode_t mask) : old_(::umask(mask)) {}
  ~ScopedUmask() { ::umask(old_); }

 private:
  mode_t old_;
};

// 2020-01-02 03:04:05 UTC and 2019-05-06 07:08:09 UTC.
constexpr std::time_t kFileTime = 1577934245;
constexpr std::time_t kLinkTime = 1557126489;

void SetTimeOf(const fs::path& path, std::time_t seconds) {
  const timespec times[2] = {{seconds, 0}, {seconds, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << path;
}

// Files of modes 0600, 0640, 0755 and 04755 (setuid), folders of 0750, 01777
// (sticky) and 0700 (nine levels down, so the writers relocate it), links
// relative, absolute, to a folder, dangling and leading out of the tree, two
// of them with a time of their own.
fs::path MakeTree(const TempDir& dir) {
  const fs::path tree = dir / "tree";
  fs::create_directories(tree / "bin");
  fs::create_directories(tree / "shared");
  const fs::path deep = tree / "deep/2/3/4/5/6/7/8/9";
  fs::create_directories(deep);
  std::ofstream(deep / "bottom.txt") << "deep";
  ::chmod(deep.c_str(), 0700);
  const struct {
    const char* path;
    const char* content;
    mode_t mode;
  } files[] = {
      {"private.txt", "only mine", 0600},
      {"notes.txt", "group reads", 0640},
      {"bin/tool", "#!/bin/sh\necho tool\n", 0755},
      {"bin/run", "#!/bin/sh\necho setuid\n", 04755},
  };
  for (const auto& f : files) {
    std::ofstream(tree / f.path) << f.content;
    ::chmod((tree / f.path).c_str(), f.mode);
  }
  ::chmod((tree / "bin").c_str(), 0750);
  ::chmod((tree / "shared").c_str(), 01777);
  fs::create_symlink("bin/run", tree / "run-link");
  fs::create_symlink("/etc/passwd", tree / "absolute");
  fs::create_symlink("bin", tree / "folder-link");
  fs::create_symlink("nowhere", tree / "shared/dangling");
  fs::create_symlink("../../outside/x", tree / "bin/up");
  SetTimeOf(tree / "private.txt", kFileTime);
  SetTimeOf(tree / "run-link", kLinkTime);
  SetTimeOf(tree / "bin/up", kLinkTime);
  return tree;
}

struct DiscMaker {
  std::string name;
  std::vector<std::string> command;  // the image path and the tree follow
  bool keepsModes;                   // -r makes modes 0444/0555 and drops setuid
};

const std::vector<DiscMaker>& DiscMakers() {
  static const std::vector<DiscMaker> makers = {
      {"genisoimage -R", {"genisoimage", "-quiet", "-R", "-o"}, true},
      {"genisoimage -r", {"genisoimage", "-quiet", "-r", "-o"}, false},
      {"xorriso -R", {"xorriso", "-as", "mkisofs", "-quiet", "-R", "-o"}, true},
  };
  return makers;
}

fs::path MakeDisc(const DiscMaker& maker, const fs::path& tree, const fs::path& image) {
  std::vector<std::string> command = maker.command;
  command.push_back(image.string());
  command.push_back(tree.string());
  // genisoimage records local times: the zone is fixed so TF reads back as set.
  testing::RunChecked(command, {"TZ=UTC0"});
  return image;
}

// What a reader says of one entry: d, f or l, the mode (type and permission
// bits), and a link's target.
struct Seen {
  char type = '?';
  unsigned mode = 0;
  std::string target;
  bool operator==(const Seen&) const = default;
};

void PrintTo(const Seen& s, std::ostream* out) {
  *out << s.type << ' ' << std::oct << s.mode << std::dec << " -> " << s.target;
}

// "-rwsr-xr-x" as mode bits.
unsigned ModeOf(const std::string& text) {
  unsigned mode = text[0] == 'd' ? 0040000 : text[0] == 'l' ? 0120000 : 0100000;
  const unsigned bits[9] = {0400, 0200, 0100, 040, 020, 010, 04, 02, 01};
  for (int i = 0; i < 9; ++i) {
    const char c = text[1 + i];
    if (c != '-' && c != 'S' && c != 'T') mode |= bits[i];
  }
  if (text[3] == 's' || text[3] == 'S') mode |= 04000;
  if (text[6] == 's' || text[6] == 'S') mode |= 02000;
  if (text[9] == 't' || text[9] == 'T') mode |= 01000;
  return mode;
}

std::map<std::string, Seen> BsdtarListing(const fs::path& image) {
  std::map<std::string, Seen> seen;
  for (const std::string& line : Lines(testing::RunChecked({"bsdtar", "-tvf", image.string()}).out)) {
    std::istringstream cells(line);
    std::string mode, links, owner, group, size, month, day, time;
    cells >> mode >> links >> owner >> group >> size >> month >> day >> time;
    std::string path;
    std::getline(cells >> std::ws, path);
    Seen entry{mode[0] == 'd' ? 'd' : mode[0] == 'l' ? 'l' : 'f', ModeOf(mode), ""};
    if (entry.type == 'l') {
      entry.target = path.substr(path.find(" -> ") + 4);
      path = path.substr(0, path.find(" -> "));
    }
    if (path != ".") seen[path] = entry;
  }
  return seen;
}

std::map<std::string, Seen> SevenZipListing(const fs::path& image) {
  std::map<std::string, Seen> seen;
  std::string path;
  Seen entry;
  const auto keep = [&] {
    if (!path.empty()) seen[path] = entry;
    path.clear();
    entry = {};
  };
  bool inEntries = false;
  for (const std::string& line : Lines(testing::RunChecked({"7zz", "l", "-slt", image.string()}).out)) {
    if (line.starts_with("----------")) inEntries = true;
    if (!inEntries) continue;
    if (line.starts_with("Path = ")) {
      keep();
      path = line.substr(7);
    } else if (line.starts_with("Mode = ") && line.size() > 7) {
      entry.mode = ModeOf(line.substr(7));
      entry.type = line[7] == 'd' ? 'd' : line[7] == 'l' ? 'l' : 'f';
    } else if (line.starts_with("Symbolic Link = ")) {
      entry.target = line.substr(16);
    }
  }
  keep();
  return seen;
}

// A field of one line of ls --json, whose objects stand one a line; a string
// field without its quotes. The fixture's names hold no quote or backslash.
std::optional<std::string> JsonField(const std::string& line, const std::string& key) {
  const std::string tag = "\"" + key + "\":";
  std::size_t at = line.find(tag);
  if (at == std::string::npos) return std::nullopt;
  at += tag.size();
  if (line[at] == '"') return line.substr(at + 1, line.find('"', at + 1) - at - 1);
  return line.substr(at, line.find_first_of(",}", at) - at);
}

// ls --tsv and ls --json of one disc, checked against each other.
struct OurListing {
  std::map<std::string, Seen> entries;
  std::map<std::string, std::string> instants;  // path -> instant
};

OurListing ListDisc(const fs::path& image) {
  OurListing ours;
  const CommandResult tsv = RunCli({"ls", "--tsv", image.string()});
  EXPECT_EQ(tsv.exitCode, 0) << tsv.err;
  const CommandResult json = RunCli({"ls", "--json", image.string()});
  EXPECT_EQ(json.exitCode, 0) << json.err;
  std::map<std::string, std::string> tsvTargets;
  for (const std::string& line : Lines(tsv.out)) {
    const std::vector<std::string> fields = Fields(line);
    EXPECT_EQ(fields.size(), fields[1] == "l" ? 6u : 5u) << line;
    tsvTargets[fields[0]] = fields[1] == "l" && fields.size() == 6 ? fields[5] : "";
  }
  for (const std::string& line : Lines(json.out)) {
    if (!line.starts_with("{")) continue;
    const std::string path = *JsonField(line, "path");
    const std::optional<std::string> mode = JsonField(line, "mode");
    Seen entry{JsonField(line, "type")->at(0), 0, JsonField(line, "target").value_or("")};
    EXPECT_TRUE(mode && *mode != "null") << line;
    if (mode && *mode != "null") entry.mode = static_cast<unsigned>(std::stoul(*mode, nullptr, 8));
    EXPECT_EQ(entry.target, tsvTargets[path]) << path;
    ours.entries[path] = entry;
    ours.instants[path] = JsonField(line, "instant").value_or("");
  }
  EXPECT_EQ(ours.entries.size(), tsvTargets.size());
  return ours;
}

TEST(RockRidgeOutputTest, ListingShowsTheLinksAndModesBsdtarAnd7ZipRead) {
  TempDir dir;
  const fs::path tree = MakeTree(dir);
  for (const DiscMaker& maker : DiscMakers()) {
    SCOPED_TRACE(maker.name);
    const fs::path image = MakeDisc(maker, tree, dir / "disc.iso");
    const OurListing ours = ListDisc(image);
    const std::map<std::string, Seen> bsdtar = BsdtarListing(image);
    EXPECT_EQ(ours.entries, bsdtar);
    // 7-Zip does not take relocated folders home: it lists them in rr_moved
    // (genisoimage relocates, xorriso does not). The rest must agree with it.
    const auto without = [](std::map<std::string, Seen> entries, const std::string& prefix) {
      std::erase_if(entries, [&](const auto& entry) { return entry.first.starts_with(prefix); });
      return entries;
    };
    const std::map<std::string, Seen> sevenZipAll = SevenZipListing(image);
    const std::map<std::string, Seen> sevenZip = without(sevenZipAll, "rr_moved");
    const std::map<std::string, Seen> notRelocated =
        sevenZip.size() == sevenZipAll.size() ? ours.entries
                                              : without(ours.entries, "deep/2/3/4/5/6/7/8/");
    EXPECT_EQ(notRelocated, sevenZip);
    std::size_t agreeBsdtar = 0, agreeSevenZip = 0;
    for (const auto& [path, entry] : ours.entries) {
      agreeBsdtar += bsdtar.contains(path) && bsdtar.at(path) == entry;
      agreeSevenZip += sevenZip.contains(path) && sevenZip.at(path) == entry;
    }
    std::cout << "[ peers    ] " << maker.name << ": bsdtar agrees on " << agreeBsdtar << " of "
              << ours.entries.size() << " entries, 7zz on " << agreeSevenZip << " of "
              << notRelocated.size() << '\n';

    // The modes as the disc holds them (setuid included: a listing hides
    // nothing), and the time of a link its own, not its target's.
    ASSERT_TRUE(ours.entries.contains("bin/run"));
    EXPECT_EQ(ours.entries.at("bin/run").mode, maker.keepsModes ? 0104755u : 0100555u);
    EXPECT_EQ(ours.entries.at("private.txt").mode, maker.keepsModes ? 0100600u : 0100444u);
    EXPECT_EQ(ours.entries.at("bin/up"), (Seen{'l', ours.entries.at("bin/up").mode, "../../outside/x"}));
    EXPECT_EQ(ours.instants.at("private.txt"), "2020-01-02T03:04:05+00:00");
    EXPECT_EQ(ours.instants.at("run-link"), "2019-05-06T07:08:09+00:00");
  }
}

// What lstat sees below dir: type, permission bits, a file's bytes or a
// link's target, and the modification time.
struct Found {
  char type = '?';
  unsigned permissions = 0;
  std::string content;
  std::time_t modified = 0;
  bool operator==(const Found&) const = default;
};

void PrintTo(const Found& f, std::ostream* out) {
  *out << f.type << ' ' << std::oct << f.permissions << std::dec << " [" << f.content << "] "
       << f.modified;
}

std::map<std::string, Found> Extracted(const fs::path& dir) {
  std::map<std::string, Found> found;
  // The iterator does not follow links: a link is listed, never entered.
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(dir)) {
    struct stat facts {};
    EXPECT_EQ(::lstat(entry.path().c_str(), &facts), 0);
    Found f;
    f.type = S_ISDIR(facts.st_mode) ? 'd' : S_ISLNK(facts.st_mode) ? 'l' : 'f';
    f.permissions = facts.st_mode & 07777;
    if (f.type == 'f') f.content = FileBytes(entry.path());
    if (f.type == 'l') f.content = fs::read_symlink(entry.path()).string();
    f.modified = facts.st_mtim.tv_sec;
    found[entry.path().lexically_relative(dir).generic_string()] = f;
  }
  return found;
}

TEST(RockRidgeOutputTest, RecoverMakesLinksModesAndTimesAsBsdtarExtractsThem) {
  TempDir dir;
  const fs::path tree = MakeTree(dir);
  fs::create_directory(dir / "outside");
  // A mask that takes something from every mode of the tree.
  const ScopedUmask mask(027);
  for (const DiscMaker& maker : DiscMakers()) {
    SCOPED_TRACE(maker.name);
    const fs::path image = MakeDisc(maker, tree, dir / "disc.iso");
    const fs::path ours = dir / "ours", peer = dir / "peer", report = dir / "report.txt";
    fs::remove_all(ours);
    fs::remove_all(peer);
    fs::create_directory(peer);
    const CommandResult recovered =
        RunCli({"recover", "--report", report.string(), "--log", (dir / "log.txt").string(),
                "--overwrite", image.string(), ours.string()});
    ASSERT_EQ(recovered.exitCode, 0) << recovered.err;
    // As a user, not root, extracts: the umask applies, setuid and the like go.
    testing::RunChecked({"bsdtar", "-xf", image.string(), "-C", peer.string(),
                         "--no-same-permissions", "--no-same-owner"});

    std::map<std::string, Found> expected = Extracted(peer);
    // A folder keeps its owner's read, write and search, so a later --resume
    // can add to it.
    for (auto& [path, f] : expected) {
      if (f.type == 'd') f.permissions |= 0700;
    }
    const std::map<std::string, Found> found = Extracted(ours);
    EXPECT_EQ(found, expected);
    std::size_t agree = 0;
    for (const auto& [path, f] : found) agree += expected.contains(path) && expected.at(path) == f;
    std::cout << "[ peers    ] " << maker.name << ": recover and bsdtar -xf agree on " << agree
              << " of " << expected.size() << " entries\n";
    ASSERT_TRUE(found.contains("bin/run"));
    EXPECT_EQ(found.at("bin/run").permissions, maker.keepsModes ? 0750u : 0550u);
    EXPECT_EQ(found.at("private.txt").permissions, maker.keepsModes ? 0600u : 0440u);
    EXPECT_EQ(found.at("private.txt").modified, kFileTime);
    EXPECT_EQ(found.at("run-link"), (Found{'l', found.at("run-link").permissions, "bin/run", kLinkTime}));
    EXPECT_TRUE(fs::is_empty(dir / "outside"));

    // The report and the log say each link was made, and the summary counts them.
    const std::vector<std::string> lines = Lines(FileBytes(report));
    EXPECT_NE(std::find(lines.begin(), lines.end(), "link\tshared/dangling\t\tshared/dangling"),
              lines.end());
    EXPECT_NE(lines.back().find(", 5 links created"), std::string::npos) << lines.back();
    EXPECT_NE(recovered.err.find("5 files recovered, 0 partly, 0 failed, 0 filtered out, 5 links made"),
              std::string::npos)
        << recovered.err;
    const std::string log = FileBytes(dir / "log.txt");
    std::size_t rows = 0;
    for (std::size_t at = log.find("Symbolic Link Created"); at != std::string::npos;
         at = log.find("Symbolic Link Created", at + 1)) {
      ++rows;
    }
    EXPECT_EQ(rows, 5u);

    // A resumed recovery finds the links there and makes no second ones.
    const CommandResult resumed =
        RunCli({"recover", "--resume", "--report", report.string(), "--overwrite", image.string(),
                ours.string()});
    EXPECT_EQ(resumed.exitCode, 0) << resumed.err;
    EXPECT_EQ(Extracted(ours), found);
    EXPECT_NE(FileBytes(report).find("already there\trun-link\t\trun-link"), std::string::npos);
  }
}

TEST(RockRidgeOutputTest, DiscWithoutRockRidgeRecoversAsBeforeWithDefaultModes) {
  TempDir dir;
  const fs::path tree = MakeTree(dir);
  const fs::path image = dir / "plain.iso";
  // Without -R or -r the links are left out (genisoimage says so) or followed.
  testing::RunChecked({"genisoimage", "-quiet", "-o", image.string(), tree.string()});
  const CommandResult json = RunCli({"ls", "--json", image.string()});
  ASSERT_EQ(json.exitCode, 0) << json.err;
  EXPECT_EQ(json.out.find("\"target\""), std::string::npos);
  EXPECT_EQ(json.out.find("\"mode\":\""), std::string::npos);
  const ScopedUmask mask(027);
  const CommandResult recovered = RunCli({"recover", image.string(), (dir / "out").string()});
  ASSERT_EQ(recovered.exitCode, 0) << recovered.err;
  EXPECT_EQ(recovered.err.find("link"), std::string::npos) << recovered.err;
  for (const auto& [path, f] : Extracted(dir / "out")) {
    SCOPED_TRACE(path);
    EXPECT_NE(f.type, 'l');
    EXPECT_EQ(f.permissions, f.type == 'd' ? 0750u : 0640u);
  }
}

// pycdlib writes what it is told: links named like the folders beside them,
// one before the folder and one after, leading to a folder outside DEST and
// up out of it.
TEST(RockRidgeOutputTest, LinkNamedLikeAFolderNeverLeadsWritesOutOfDest) {
  TempDir dir;
  const fs::path outside = dir / "outside";
  fs::create_directory(outside);
  const fs::path image = dir / "hostile.iso";
  const std::string script =
      "import io, sys, pycdlib\n"
      "iso = pycdlib.PyCdlib()\n"
      "iso.new(interchange_level=3, rock_ridge='1.09')\n"
      "def add(path, name, data):\n"
      "    iso.add_fp(io.BytesIO(data), len(data), path, rr_name=name)\n"
      // Records stand in the order of their ISO 9660 names: A, B, C, D, E.
      "iso.add_symlink('/A.;1', rr_symlink_name='docs', rr_path=sys.argv[2])\n"
      "iso.add_directory('/B', rr_name='docs')\n"
      "add('/B/F.TXT;1', 'f.txt', b'into docs')\n"
      "iso.add_directory('/C', rr_name='out')\n"
      "add('/C/G.TXT;1', 'g.txt', b'into out')\n"
      "iso.add_symlink('/D.;1', rr_symlink_name='out', rr_path='../outside')\n"
      "iso.add_symlink('/E.;1', rr_symlink_name='up', rr_path='..')\n"
      // A NUL would cut the target short where the system takes it.
      "iso.add_symlink('/F.;1', rr_symlink_name='nul', rr_path='a\\x00b/c')\n"
      "iso.write(sys.argv[1])\n";
  testing::RunChecked({"/usr/bin/python3", "-c", script, image.string(), outside.string()});

  const CommandResult tsv = RunCli({"ls", "--tsv", image.string()});
  ASSERT_EQ(tsv.exitCode, 0) << tsv.err;
  std::multimap<std::string, std::string> listed;  // path -> type and target
  for (const std::string& line : Lines(tsv.out)) {
    const std::vector<std::string> fields = Fields(line);
    listed.emplace(fields[0], fields[1] + (fields.size() > 5 ? " " + fields[5] : ""));
  }
  const std::multimap<std::string, std::string> expectedListing = {
      {"docs", "l " + outside.string()}, {"docs", "d"}, {"out", "d"}, {"out", "l ../outside"},
      {"up", "l .."}, {"nul", "l a_b/c"}, {"docs/f.txt", "f"}, {"out/g.txt", "f"}};
  EXPECT_EQ(listed, expectedListing);
  const CommandResult json = RunCli({"ls", "--json", image.string()});
  EXPECT_NE(json.out.find("\"path\":\"nul\",\"type\":\"l\""), std::string::npos) << json.out;

  const fs::path dest = dir / "dest";
  const CommandResult recovered =
      RunCli({"recover", "--report", (dir / "report.txt").string(), image.string(), dest.string()});
  EXPECT_EQ(recovered.exitCode, 0) << recovered.err;
  // The links are links; each folder of a link's name took a number, and its
  // files went there.
  const std::map<std::string, Found> found = Extracted(dest);
  std::map<std::string, std::string> shape;
  for (const auto& [path, f] : found) shape[path] = std::string(1, f.type) + " " + f.content;
  const std::map<std::string, std::string> expectedShape = {
      {"docs", "l " + outside.string()}, {"docs (1)", "d "}, {"docs (1)/f.txt", "f into docs"},
      {"out", "d "},  {"out/g.txt", "f into out"},  {"out (1)", "l ../outside"},
      {"up", "l .."}, {"nul", "l a_b/c"}};
  EXPECT_EQ(shape, expectedShape);
  EXPECT_TRUE(fs::is_empty(outside));
  std::size_t besideDest = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.path())) ++besideDest;
  EXPECT_EQ(besideDest, 4u);  // outside, hostile.iso, report.txt, dest
}

// A recovery refused after the scan (names the disc lacks, a source that does
// not open) leaves no report file behind.
TEST(RockRidgeOutputTest, RefusedRecoveryLeavesNoReportBehind) {
  TempDir dir;
  const fs::path image = dir / "rr.iso";
  fs::create_directory(dir / "tree");
  std::ofstream(dir / "tree" / "a.txt") << "a";
  testing::RunChecked({"genisoimage", "-quiet", "-r", "-o", image.string(), (dir / "tree").string()});
  struct Case {
    const char* name;
    std::vector<std::string> args;  // before SOURCE
    std::string source;
    std::string says;
  };
  const std::vector<Case> cases = {
      {"names the disc lacks", {"--names", "joliet"}, image.string(), "no Joliet names"},
      {"source missing", {}, (dir / "missing.iso").string(), "missing.iso"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path report = dir / "report.txt";
    std::vector<std::string> args = {"recover", "--report", report.string()};
    args.insert(args.end(), c.args.begin(), c.args.end());
    args.push_back(c.source);
    args.push_back((dir / "dest").string());
    const CommandResult refused = RunCli(args);
    EXPECT_NE(refused.exitCode, 0);
    EXPECT_NE(refused.err.find(c.says), std::string::npos) << refused.err;
    EXPECT_FALSE(fs::exists(report));
    EXPECT_FALSE(fs::exists(dir / "dest"));
  }
}

}  // namespace
}  // namespace velmora
