// What users point velmora-cli at when it is not a disc: missing files,
// folders, scraps of files, images with lying track lists, devices that are no
// drive, destinations that cannot take files, and discs whose names would
// escape the destination. Each input is said once on standard error with the
// exit status the README gives; nothing crashes, nothing is written outside
// the destination, and no file that was there is changed.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "media/ImageTrailer.h"
#include "support/BytePatcher.h"
#include "support/HandDisc.h"
#include "support/RunCommand.h"
#include "support/TempDir.h"
#include "support/TextFiles.h"
#include "text/StringTable.h"
#include "text/Utf.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::CommandResult;
using testing::HandDisc;
using testing::HandRecord;

constexpr int kTimedOut = 124;  // timeout(1)'s status for a command it ended
// Far beyond what any of these inputs needs.
constexpr const char* kBoundSeconds = "240";
// The file-size limit that stands in for a full destination: A.TXT and
// DOCS/B.TXT fit, BIG.BIN and DOCS/HUGE.BIN do not.
constexpr const char* kSizeLimit = "--fsize=16384";
constexpr std::uint32_t kBigBytes = 16 * 2048;
// Past 4 GiB: a sector whose byte offset does not fit 32 bits.
constexpr std::uint32_t kFarLba = 2'200'000;

std::string FileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::size_t Occurrences(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

using testing::Lines;

// Every path under root with what it holds: a file's bytes (its size and time
// when it is large, as the sparse image is), a folder as nothing.
using Snapshot = std::map<std::string, std::optional<std::string>>;
Snapshot SnapshotOf(const fs::path& root) {
  Snapshot snapshot;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
    const std::string path = fs::relative(entry.path(), root).string();
    if (entry.is_symlink()) {
      snapshot[path] = "link to " + fs::read_symlink(entry.path()).string();
    } else if (!entry.is_regular_file()) {
      snapshot[path] = std::nullopt;
    } else if (entry.file_size() > (1u << 20)) {
      snapshot[path] = std::to_string(entry.file_size()) + " bytes, written " +
                       std::to_string(entry.last_write_time().time_since_epoch().count());
    } else {
      snapshot[path] = FileBytes(entry.path());
    }
  }
  return snapshot;
}

// A small disc of the shapes a recovery meets: a file that is also at DEST,
// a folder, and a file larger than the size limit.
HandDisc GoodDisc() {
  HandDisc disc(38);
  disc.WritePrimary(18, 2048);
  disc.WriteDirectory(18, 18,
                      {{.name = "A.TXT;1", .extent = 20, .length = 5},
                       {.name = "DOCS", .folder = true, .extent = 19, .length = 2048},
                       {.name = "BIG.BIN;1", .extent = 21, .length = kBigBytes}});
  disc.WriteDirectory(19, 18,
                      {{.name = "B.TXT;1", .extent = 37, .length = 3},
                       {.name = "HUGE.BIN;1", .extent = 21, .length = kBigBytes}});
  disc.WriteText(20, "hello");
  for (std::uint32_t lba = 21; lba < 37; ++lba) disc.WriteText(lba, "big sector " + std::to_string(lba));
  disc.WriteText(37, "bee");
  return disc;
}

// The good disc followed by a trailer holding tracks; count, when given,
// replaces the record count the trailer gives.
void SaveWithTrailer(const fs::path& path, const std::vector<disc::TrackNode>& tracks,
                     std::optional<std::uint8_t> count = std::nullopt) {
  GoodDisc().Save(path);
  disc::ImageTrailer trailer{true, static_cast<std::uint8_t>(tracks.size()), tracks};
  std::vector<std::byte> block = disc::BuildImageTrailer(trailer);
  if (count) block[disc::kTrailerCountOffset] = std::byte{*count};
  std::ofstream out(path, std::ios::binary | std::ios::app);
  out.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(block.size()));
}

// The shell words that run a command with DEST mounted read-only; nothing
// when this machine gives no mount namespace.
std::optional<std::vector<std::string>> ReadOnlyWrapper(const fs::path& dest) {
  const std::string script =
      "mount --bind \"$1\" \"$1\" && mount -o remount,bind,ro \"$1\" && shift && exec \"$@\"";
  if (testing::RunCommand({"unshare", "-m", "sh", "-c", script, "sh", dest.string(), "true"})
          .exitCode != 0) {
    return std::nullopt;
  }
  return std::vector<std::string>{"unshare", "-m", "sh", "-c", script, "sh", dest.string()};
}

// The inputs live in one sandbox folder, which the program also runs in:
// whatever it writes lands there and is seen.
class CliBadInput : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new testing::TempDir;
    const fs::path in = sandbox() / "in";
    fs::create_directories(in);
    GoodDisc().Save(in / "good.iso");
    WriteFile(in / "empty.iso", "");
    WriteFile(in / "2047.iso", std::string(2047, 'x'));
    std::string text;
    for (int line = 0; text.size() < 100'000; ++line) text += "line " + std::to_string(line) + "\n";
    WriteFile(in / "notes.txt", text);
    SaveWithTrailer(in / "255tracks.cd", {{1, 150, 38}}, 255);
    SaveWithTrailer(in / "startsfar.cd", {{1, 0xFFFF0000, 0xFFFFFFFF}});
    SaveWithTrailer(in / "endsfar.cd", {{1, 150, 0xFFFFFF00}});
    SaveWithTrailer(in / "endsbefore.cd", {{1, 150, 38}, {2, 170, 10}});
    // Cut inside the folder DOCS: its directory reads short, and every file
    // after it lies past the end.
    GoodDisc().Save(in / "cut.iso");
    fs::resize_file(in / "cut.iso", 19 * 2048 + 100);
    // A file far past 4 GiB on a sparse image.
    HandDisc far(24);
    far.WritePrimary(18, 2048, kFarLba + 1);
    far.WriteDirectory(18, 18, {{.name = "FAR.TXT;1", .extent = kFarLba, .length = 5}});
    far.Save(in / "sparse.iso");
    const std::string tail = "tail!";
    testing::WriteBytes(in / "sparse.iso", std::uint64_t{kFarLba} * 2048,
                        std::as_bytes(std::span(tail.data(), tail.size())));
    fs::resize_file(in / "sparse.iso", (std::uint64_t{kFarLba} + 1) * 2048);
    WriteFile(sandbox() / "a file", "not a folder\n");
    WriteFile(sandbox() / "kept.cd", "an image of the user's\n");
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }

  static fs::path sandbox() { return *dir_ / "sandbox"; }
  static std::string in(const std::string& name) { return (sandbox() / "in" / name).string(); }

  // A fresh DEST holding A.TXT of the user's, which no recovery may change.
  static fs::path FreshDest(const std::string& name) {
    const fs::path dest = sandbox() / ("dest " + name);
    fs::create_directory(dest);
    WriteFile(dest / "A.TXT", "mine\n");
    return dest;
  }

  // Runs velmora-cli in the sandbox, within the bound, after the wrapper's words.
  static CommandResult Run(const std::vector<std::string>& wrapper,
                           const std::vector<std::string>& args) {
    std::vector<std::string> argv = {"timeout", "-k", "10", kBoundSeconds, "sh", "-c",
                                     "cd \"$1\" && shift && exec \"$@\"", "sh",
                                     sandbox().string()};
    argv.insert(argv.end(), wrapper.begin(), wrapper.end());
    argv.push_back(VELMORA_CLI_PATH);
    argv.insert(argv.end(), args.begin(), args.end());
    return testing::RunCommand(argv);
  }

 private:
  static testing::TempDir* dir_;
};

testing::TempDir* CliBadInput::dir_ = nullptr;

// Checks what every row must hold: the program ended by itself, said its
// fragment exactly once and no line twice.
void ExpectSaidOnce(const CommandResult& result, int exitCode, const std::string& said) {
  EXPECT_NE(result.exitCode, kTimedOut) << "did not end within " << kBoundSeconds << " s";
  EXPECT_EQ(result.exitCode, exitCode) << result.err;
  if (said.empty()) {
    EXPECT_EQ(result.err, "");
  } else {
    EXPECT_EQ(Occurrences(result.err, said), 1u) << said << " not once in\n" << result.err;
  }
  const std::vector<std::string> lines = Lines(result.err);
  EXPECT_EQ(std::set<std::string>(lines.begin(), lines.end()).size(), lines.size())
      << "a line said twice:\n" << result.err;
  for (const std::string& line : lines) EXPECT_TRUE(line.starts_with("velmora-cli: ")) << line;
}

// Sources that are no disc, or a damaged one: ls, image and recover each say it.
TEST_F(CliBadInput, SourcesSayWhatIsWrongOnceWithTheirStatus) {
  const std::string notFound = text::ToUtf8(text::ErrorMessage(5));
  struct Case {
    const char* name;
    std::string source;
    int exitCode;
    std::string said;
  };
  std::vector<Case> cases = {
      {"Missing", in("missing.iso"), 2, in("missing.iso") + " does not exist"},
      {"Folder", in(""), 2, ": Is a directory"},
      {"Empty", in("empty.iso"), 2,
       "not a disc image (no image trailer and no ISO 9660 volume descriptor)"},
      {"Bytes2047", in("2047.iso"), 2,
       "not a disc image (no image trailer and no ISO 9660 volume descriptor)"},
      {"NotIso", in("notes.txt"), 3,
       notFound + ": " + in("notes.txt") +
           ": no image trailer, no volume descriptor, and no directory found"},
      {"TrailerOf255Records", in("255tracks.cd"), 2, "the image's track list is damaged"},
      {"TrackStartsFarPastTheImage", in("startsfar.cd"), 2,
       "every session of the image's track list lies past its 38 sectors"},
      {"TrackEndsFarPastTheImage", in("endsfar.cd"), 1,
       "names sectors past its 38 sectors; 1 session(s) cut to the image"},
      {"TrackEndsBeforeItsStart", in("endsbefore.cd"), 1,
       "1 session(s) end before they start, read up to the next session or the image's end"},
      {"Truncated", in("cut.iso"), 1, "1 folder did not read whole; --log FILE names them"},
      {"SparseOver4GiB", in("sparse.iso"), 0, ""},
      {"DevNull", "/dev/null", 2, "/dev/null: not an optical drive or a disc image"},
  };
  if (fs::exists("/dev/tty")) {
    cases.push_back({"Terminal", "/dev/tty", 2, "/dev/tty: not an optical drive or a disc image"});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CommandResult listing = Run({}, {"ls", "--tsv", c.source});
    ExpectSaidOnce(listing, c.exitCode, c.said);
    if (c.exitCode >= 2) {
      EXPECT_EQ(listing.out, "");
    }

    const fs::path dest = FreshDest(c.name);
    const Snapshot before = SnapshotOf(sandbox());
    const CommandResult rescue = Run({}, {"recover", c.source, dest.string()});
    EXPECT_NE(rescue.exitCode, kTimedOut);
    EXPECT_EQ(rescue.exitCode, c.exitCode) << rescue.err;
    if (!c.said.empty()) {
      EXPECT_EQ(Occurrences(rescue.err, c.said), 1u) << rescue.err;
    }
    Snapshot after = SnapshotOf(sandbox());
    // Only DEST gained files; A.TXT in it is the user's still.
    EXPECT_EQ(after.at(fs::relative(dest / "A.TXT", sandbox()).string()), "mine\n");
    std::erase_if(after, [&](const auto& node) {
      return !before.contains(node.first) &&
             node.first.starts_with(fs::relative(dest, sandbox()).string() + "/");
    });
    EXPECT_EQ(after, before);
    fs::remove_all(dest);
  }
  // The image of the sparse disc would be 4 GiB; of the others, what the
  // track list lies about is copied as the image holds it.
  const fs::path copy = sandbox() / "endsbefore copy.cd";
  const CommandResult image = Run({}, {"image", in("endsbefore.cd"), copy.string()});
  ExpectSaidOnce(image, 1, "end before they start");
  EXPECT_EQ(Occurrences(image.err, copy.string() + ": 38 sectors copied"), 1u) << image.err;
  EXPECT_EQ(fs::file_size(copy), 39u * 2048);
  EXPECT_EQ(FileBytes(copy).substr(0, 38 * 2048), FileBytes(in("good.iso")));
  fs::remove(copy);

  // The file past 4 GiB comes out whole.
  const fs::path dest = FreshDest("far");
  ExpectSaidOnce(Run({}, {"recover", in("sparse.iso"), dest.string()}), 0,
                 "1 file recovered, 0 partly, 0 failed");
  EXPECT_EQ(FileBytes(dest / "FAR.TXT"), "tail!");
  fs::remove_all(dest);
}

// Destinations that cannot take the files, and images that cannot be written:
// refused before any work, or ended at the file that does not fit.
TEST_F(CliBadInput, DestinationsThatCannotTakeFilesAreSaidOnce) {
  const std::string good = in("good.iso");
  const std::vector<std::string> full = {"sh", "-c", "trap '' XFSZ; exec prlimit " +
                                                       std::string(kSizeLimit) + " \"$@\"",
                                         "sh"};
  struct Case {
    const char* name;
    std::vector<std::string> wrapper;
    std::vector<std::string> args;  // DEST is appended to recover's
    int exitCode;
    std::string said;
    fs::path written;  // the only path that may change, besides DEST
    std::set<std::string> saved;  // what DEST holds afterwards, A.TXT included
    std::string alsoSaid = {};    // a second failure, said on its own line
  };
  const fs::path readOnlyDest = FreshDest("ReadOnly");
  std::optional<std::vector<std::string>> readOnly = ReadOnlyWrapper(readOnlyDest);
  if (!readOnly && geteuid() != 0) {
    fs::permissions(readOnlyDest, fs::perms::owner_write | fs::perms::group_write |
                                      fs::perms::others_write, fs::perm_options::remove);
    readOnly = std::vector<std::string>{};
  }
  std::vector<Case> cases = {
      {"DestParentMissing",
       {},
       {"recover", good, (sandbox() / "no" / "dest").string()},
       2,
       "the folder " + (sandbox() / "no").string() + " does not exist"},
      {"DestIsAFile", {}, {"recover", good, (sandbox() / "a file").string()}, 2,
       (sandbox() / "a file").string() + " is not a folder"},
      {"DestFull",
       full,
       {"recover", good},
       1,
       "/BIG.BIN: File too large",
       {},
       {"A.TXT", "A (1).TXT", "DOCS", "DOCS/B.TXT"},
       "/DOCS/HUGE.BIN: File too large"},
      {"DestHoldsAName",
       {},
       {"recover", good},
       0,
       "4 files recovered, 0 partly, 0 failed, 0 filtered out; 1 folder created in ",
       {},
       {"A.TXT", "A (1).TXT", "DOCS", "DOCS/B.TXT", "DOCS/HUGE.BIN", "BIG.BIN"}},
      {"ImageOutExists", {}, {"image", good, (sandbox() / "kept.cd").string()}, 2,
       (sandbox() / "kept.cd").string() + " exists; use --overwrite to replace it"},
      {"ImageOutInMissingFolder", {}, {"image", good, (sandbox() / "no" / "disc").string()}, 1,
       "cannot create the image " + (sandbox() / "no" / "disc.cd").string() +
           ": No such file or directory"},
      {"ImageOutIsAFolder", {}, {"image", good, (sandbox() / "in").string()}, 2,
       (sandbox() / "in").string() + " is a folder; OUT names the image file"},
      {"ImageOutFull", full, {"image", good, (sandbox() / "full").string()}, 1,
       "cannot write the image " + (sandbox() / "full.cd").string() + " after ",
       sandbox() / "full.cd"},
  };
  if (readOnly) {
    cases.push_back({"DestReadOnly",
                     *readOnly,
                     {"recover", good},
                     2,
                     "cannot write to " + readOnlyDest.string() + ": Read-only file system",
                     {},
                     {"A.TXT"}});
  } else {
    std::cout << "no read-only destination on this machine: that row is left out\n";
  }
  for (Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::path dest;
    if (!c.saved.empty()) {
      dest = std::string(c.name) == "DestReadOnly" ? readOnlyDest : FreshDest(c.name);
      c.args.push_back(dest.string());
    }
    // An image goes with its map, which says how far the copy got.
    const auto IsWritten = [&](const fs::path& path) {
      return !c.written.empty() && (path == c.written || path == c.written.string() + ".map");
    };
    Snapshot before = SnapshotOf(sandbox());
    const CommandResult result = Run(c.wrapper, c.args);
    ExpectSaidOnce(result, c.exitCode, c.said);
    if (!c.alsoSaid.empty()) {
      EXPECT_EQ(Occurrences(result.err, c.alsoSaid), 1u) << result.err;
    }
    Snapshot after = SnapshotOf(sandbox());
    std::set<std::string> saved;
    std::erase_if(after, [&](const auto& node) {
      const fs::path path = sandbox() / node.first;
      if (!dest.empty() && node.first.starts_with(fs::relative(dest, sandbox()).string() + "/")) {
        saved.insert(fs::relative(path, dest).string());
        return !before.contains(node.first);
      }
      return IsWritten(path);
    });
    std::erase_if(before, [&](const auto& node) { return IsWritten(sandbox() / node.first); });
    EXPECT_EQ(after, before);
    if (!dest.empty()) {
      EXPECT_EQ(saved, c.saved);
      EXPECT_EQ(FileBytes(dest / "A.TXT"), "mine\n");
    }
    if (c.saved.contains("A (1).TXT")) {
      EXPECT_EQ(FileBytes(dest / "A (1).TXT"), "hello");
      EXPECT_EQ(FileBytes(dest / "DOCS" / "B.TXT"), "bee");
    }
  }
}

// Names no file system takes as they are, or that would lead out of DEST: each
// is listed escaped on one line, and saved inside DEST under a safe name;
// names that differ only in case stay two files, and a name already at DEST
// gets a number.
TEST_F(CliBadInput, HostileNamesStayInsideTheDestination) {
  const std::string longName = std::string(200, '\xE9') + ".TXT";  // é in Windows-1252
  std::string longSaved;
  for (int k = 0; k < 125; ++k) longSaved += "\u00e9";
  longSaved += ".TXT";
  struct Case {
    std::string identifier;  // as the disc stores it, without ";1"
    std::string listed;      // the path ls --tsv prints
    std::string saved;       // the name at DEST
  };
  const std::vector<Case> cases = {
      {"A/B.TXT", "A\\/B.TXT", "A_B.TXT"},
      {"../../ESCAPE.TXT", "..\\/..\\/ESCAPE.TXT", ".._.._ESCAPE.TXT"},
      {"/ETC", "\\/ETC", "_ETC"},
      {"..", ".", "_."},
      {std::string("N\0L.TXT", 7), "N\\x00L.TXT", "N_L.TXT"},
      {"C\x01\x1B[31mT.TXT", "C\\x01\\x1B[31mT.TXT", "C__[31mT.TXT"},
      {longName, "\u00e9\u00e9\u00e9", longSaved},
      {"case.txt", "case.txt", "case.txt"},
      {"CASE.TXT", "CASE.TXT", "CASE.TXT"},
      {"A.TXT", "A.TXT", "A (1).TXT"},
      {"SAME", "SAME", "SAME (1)"},
      {"SAME", "SAME", "SAME (2)"},
  };
  // One disc holds every name, each file its own bytes.
  HandDisc disc(20 + static_cast<std::uint32_t>(cases.size()));
  disc.WritePrimary(18, 2048);
  std::vector<HandRecord> records;
  for (std::size_t k = 0; k < cases.size(); ++k) {
    const auto lba = static_cast<std::uint32_t>(20 + k);
    records.push_back({.name = cases[k].identifier + ";1", .extent = lba, .length = 6});
    disc.WriteText(lba, "file" + std::to_string(10 + k));
  }
  disc.WriteDirectory(18, 18, records);
  const fs::path image = sandbox() / "in" / "names.iso";
  disc.Save(image);

  const CommandResult listing = Run({}, {"ls", "--tsv", image.string()});
  ExpectSaidOnce(listing, 0, "");
  const std::vector<std::string> lines = Lines(listing.out);
  ASSERT_EQ(lines.size(), cases.size()) << listing.out;
  for (std::size_t k = 0; k < cases.size(); ++k) {
    SCOPED_TRACE(cases[k].saved);
    EXPECT_TRUE(lines[k].starts_with(cases[k].listed)) << lines[k];
    EXPECT_TRUE(lines[k].ends_with("\t" + std::to_string(20 + k))) << lines[k];
  }

  const fs::path dest = FreshDest("names");
  WriteFile(dest / "SAME", "mine too\n");
  Snapshot before = SnapshotOf(sandbox());
  const CommandResult rescue = Run({}, {"recover", image.string(), dest.string()});
  ExpectSaidOnce(rescue, 0,
                 "12 files recovered, 0 partly, 0 failed, 0 filtered out; 0 folders created in " +
                     dest.string() + "; 10 names changed");
  Snapshot after = SnapshotOf(sandbox());
  std::set<std::string> saved;
  const std::string destName = fs::relative(dest, sandbox()).string() + "/";
  std::erase_if(after, [&](const auto& node) {
    if (!node.first.starts_with(destName) || before.contains(node.first)) return false;
    saved.insert(node.first.substr(destName.size()));
    return true;
  });
  EXPECT_EQ(after, before);
  std::set<std::string> expected;
  for (std::size_t k = 0; k < cases.size(); ++k) {
    SCOPED_TRACE(cases[k].saved);
    expected.insert(cases[k].saved);
    EXPECT_EQ(FileBytes(dest / cases[k].saved), "file" + std::to_string(10 + k));
  }
  EXPECT_EQ(saved, expected);
  EXPECT_EQ(FileBytes(dest / "A.TXT"), "mine\n");
  EXPECT_EQ(FileBytes(dest / "SAME"), "mine too\n");
}

}  // namespace
}  // namespace velmora
