// velmora-cli image and recover as a user runs them: the built program on
// discs made by xorriso, the images checked against the disc's bytes and the
// rescued files against what 7-Zip extracts from the same disc.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "media/ImageTrailer.h"
#include "support/BytePatcher.h"
#include "support/IsoBuilder.h"
#include "support/IsoOracle.h"
#include "support/RunCommand.h"
#include "support/TempDir.h"
#include "support/TextFiles.h"
#include "support/TreeWriter.h"
#include "text/StringTable.h"
#include "text/Utf.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::CommandResult;
using testing::FixtureFile;
using testing::kSectorSize;

CommandResult RunCli(std::vector<std::string> args) {
  args.insert(args.begin(), VELMORA_CLI_PATH);
  return testing::RunCommand(args);
}

using testing::FileBytes;
using testing::Lines;

// Every folder and file below dir by its path from there, "/" between names; a
// file maps to its bytes, a folder to nothing.
using Tree = std::map<std::string, std::optional<std::string>>;

Tree TreeOf(const fs::path& dir) {
  Tree tree;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(dir)) {
    const std::string path = fs::relative(entry.path(), dir).generic_string();
    tree[path] = entry.is_directory() ? std::nullopt : std::optional(FileBytes(entry.path()));
  }
  return tree;
}

// Paths first, so that a failure names what is missing or extra rather than
// printing whole files; then each file's bytes.
void ExpectSameTree(const Tree& actual, const Tree& expected) {
  std::vector<std::string> actualPaths;
  std::vector<std::string> expectedPaths;
  for (const auto& [path, bytes] : actual) actualPaths.push_back(path);
  for (const auto& [path, bytes] : expected) expectedPaths.push_back(path);
  ASSERT_EQ(actualPaths, expectedPaths);
  for (const auto& [path, bytes] : expected) {
    EXPECT_TRUE(actual.at(path) == bytes) << path << " differs";
  }
}

bool IsTxt(const std::string& path) {
  std::string lower = path;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower.ends_with(".txt");
}

std::string Message(const std::string& text) { return "velmora-cli: " + text + "\n"; }

// Files in several folders and of several sectors, extensions in both cases, an
// empty file and an empty folder.
const std::vector<FixtureFile> kTree = {
    {.path = "README.TXT", .content = "read me\n"},
    {.path = "empty.txt", .content = ""},
    {.path = "DOCS/guide.txt", .patternSize = 5000, .patternSeed = 1},
    {.path = "DOCS/notes.md", .patternSize = 3000, .patternSeed = 2},
    {.path = "DOCS/deep/inner.txt", .content = "inner\n"},
    {.path = "DOCS/deep/data.bin", .patternSize = 9000, .patternSeed = 3},
    {.path = "media/photo.jpg", .patternSize = 20000, .patternSeed = 4},
    {.path = "nothing here", .folder = true},
};

// The fixture disc and 7-Zip's extraction of it, made once for all tests.
class CliImageRecoverTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new testing::TempDir;
    testing::WriteTree(*dir_ / "tree", kTree);
    testing::IsoOptions options;
    options.tool = testing::IsoTool::kXorriso;
    image_ = testing::MakeIso(*dir_ / "tree", *dir_ / "disc.iso", options);
    testing::SevenZipExtract(image_, *dir_ / "extracted");
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }

  static std::string image() { return image_.string(); }
  // The disc as an image copies it: every block the medium holds, the padding
  // xorriso writes past the volume space included.
  static std::string MediumBytes() { return FileBytes(image_); }
  static Tree Extracted() { return TreeOf(*dir_ / "extracted"); }

  // A folder of this test's own, removed with the suite's.
  fs::path Scratch() const {
    const fs::path scratch =
        *dir_ / ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::create_directories(scratch);
    return scratch;
  }

 private:
  static inline testing::TempDir* dir_ = nullptr;
  static inline fs::path image_;
};

TEST_F(CliImageRecoverTest, ImageHoldsEveryBlockThenTheTrailerAndListsAsTheDisc) {
  struct Case {
    const char* name;
    std::vector<std::string> before;  // arguments before the command
    std::string source;
    std::string out;      // OUT as given
    std::string written;  // the file image makes of it
  };
  const fs::path scratch = Scratch();
  const Case cases[] = {
      {"ImageFileOutWithoutExtension", {}, image(), "copy", "copy.cd"},
      {"EmulatedDriveOutEndingInCd",
       {"--emulated-drive", image()},
       "drive",
       "drive.cd",
       "drive.cd"},
  };
  const std::string disc = MediumBytes();
  const std::string listing = RunCli({"ls", image()}).out;
  ASSERT_FALSE(listing.empty());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> args = c.before;
    const fs::path written = scratch / c.written;
    args.insert(args.end(), {"image", c.source, (scratch / c.out).string()});
    const CommandResult result = RunCli(args);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    // No progress line when standard error is not a terminal.
    EXPECT_EQ(result.err, Message(written.string() + ": " +
                                  std::to_string(disc.size() / kSectorSize) + " sectors copied"));
    const std::string copy = FileBytes(written);
    ASSERT_EQ(copy.size(), disc.size() + kSectorSize);
    EXPECT_TRUE(copy.compare(0, disc.size(), disc) == 0) << "a block differs from its sector";
    EXPECT_TRUE(copy.substr(disc.size()).starts_with(disc::kImageSignature));
    const CommandResult reopened = RunCli({"ls", written.string()});
    EXPECT_EQ(reopened.exitCode, 0) << reopened.err;
    EXPECT_EQ(reopened.out, listing);
  }
}

TEST_F(CliImageRecoverTest, ExistingImageIsReplacedOnlyWithOverwrite) {
  struct Case {
    const char* name;
    bool overwrite;
    int exitCode;
  };
  const Case cases[] = {{"Kept", false, 2}, {"Replaced", true, 0}};
  const std::string disc = MediumBytes();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path out = Scratch() / "existing.cd";
    // Longer than the new image, so that a replacement that keeps old bytes past
    // its end shows.
    const std::string before = testing::PatternBytes(disc.size() + 5 * kSectorSize, 7);
    std::ofstream(out, std::ios::binary) << before;
    std::vector<std::string> args = {"image", image(), out.string()};
    if (c.overwrite) args.push_back("--overwrite");
    const CommandResult result = RunCli(args);
    EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
    const std::string after = FileBytes(out);
    if (!c.overwrite) {
      EXPECT_EQ(result.err, Message(out.string() + " exists; use --overwrite to replace it"));
      EXPECT_TRUE(after == before) << "the existing file changed";
      continue;
    }
    ASSERT_EQ(after.size(), disc.size() + kSectorSize);
    EXPECT_TRUE(after.starts_with(disc));
  }
}

TEST_F(CliImageRecoverTest, ImageExitsOneWhenASectorReadsShortOrTheFileCannotBeMade) {
  const fs::path scratch = Scratch();
  // An image file that ends 100 bytes into sector 40, inside the volume: that
  // sector reads short, and the read after it finds the end of the disc.
  constexpr std::uint64_t kCut = 40;
  constexpr std::uint64_t kTail = 100;
  const fs::path cutImage = scratch / "cut.iso";
  fs::copy_file(image(), cutImage);
  fs::resize_file(cutImage, kCut * kSectorSize + kTail);
  const fs::path endedImage = scratch / "ended.iso";
  fs::copy_file(image(), endedImage);
  fs::resize_file(endedImage, kCut * kSectorSize);
  struct Case {
    const char* name;
    std::vector<std::string> args;
    fs::path written;  // the image made, or nothing
    std::string says;
  };
  const Case cases[] = {
      {"SectorReadsShort",
       {"image", cutImage.string(), (scratch / "cut").string()},
       scratch / "cut.cd",
       "0 did not read (0xF6 blocks), 1 read short"},
      {"MediumEndsInsideTheVolume",
       {"image", endedImage.string(), (scratch / "ended").string()},
       {},
       "the medium ended after"},
      {"OutInAMissingFolder",
       {"image", image(), (scratch / "missing" / "disc").string()},
       {},
       (scratch / "missing" / "disc.cd").string() + ": No such file or directory"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CommandResult result = RunCli(c.args);
    EXPECT_EQ(result.exitCode, 1) << result.err;
    EXPECT_NE(result.err.find(c.says), std::string::npos) << result.err;
    if (c.written.empty()) continue;
    // The short sector's block: the bytes that came, then 0xF6.
    const std::string expected = FileBytes(cutImage) + std::string(kSectorSize - kTail, '\xF6');
    const std::string copy = FileBytes(c.written);
    EXPECT_TRUE(copy.starts_with(expected)) << "a block differs";
    ASSERT_EQ(copy.size() % kSectorSize, 0u);
    EXPECT_TRUE(copy.substr(copy.size() - kSectorSize).starts_with(disc::kImageSignature));
  }
}

TEST_F(CliImageRecoverTest, ImageProgressOnATerminalCountsSectorsOfTheTotal) {
  const fs::path out = Scratch() / "progress.cd";
  const std::string sectors = std::to_string(MediumBytes().size() / kSectorSize);
  const std::string line =
      std::string("'") + VELMORA_CLI_PATH + "' image '" + image() + "' '" + out.string() + "'";
  // script runs the line on a terminal of its own and passes on its exit code.
  const CommandResult result = testing::RunCommand({"script", "-qec", line, "/dev/null"});
  EXPECT_EQ(result.exitCode, 0) << result.out;
  // The first step is drawn at once; the line is wiped before the summary.
  EXPECT_NE(result.out.find("\rReading Sector 0  1/" + sectors + " sectors"), std::string::npos)
      << result.out;
  // What the terminal shows of the last line: what follows its last carriage
  // return, the one the terminal puts before the line feed aside.
  std::string last = Lines(result.out).back();
  if (last.ends_with('\r')) last.pop_back();
  last.erase(0, last.rfind('\r') == std::string::npos ? 0 : last.rfind('\r') + 1);
  EXPECT_EQ(last, "velmora-cli: " + out.string() + ": " + sectors + " sectors copied")
      << result.out;
}

struct RecoverCase {
  const char* name;
  std::vector<std::string> options;
  // Whether the recovery saves the folder or file at that path of the disc.
  std::function<bool(const std::string& path, bool folder)> saves;
};

void PrintTo(const RecoverCase& c, std::ostream* os) { *os << c.name; }

bool Below(const std::string& path, const std::string& folder) {
  return path == folder || path.starts_with(folder + "/");
}

const RecoverCase kRecoverCases[] = {
    {"Everything", {}, [](const std::string&, bool) { return true; }},
    {"SubtreeByWildcard",
     {"--select", "DOCS/*"},
     [](const std::string& path, bool) { return Below(path, "DOCS"); }},
    // Letters match in either case; a folder brings what it holds and the
    // folders on its way.
    {"FolderInOtherCase",
     {"--select", "docs/deep"},
     [](const std::string& path, bool) { return path == "DOCS" || Below(path, "DOCS/deep"); }},
    // "*" runs across "/".
    {"SeveralPatterns",
     {"--select", "*.md", "--select", "README.TXT"},
     [](const std::string& path, bool) {
       return path == "DOCS" || path == "DOCS/notes.md" || path == "README.TXT";
     }},
    // Folders are never filtered; every one is made when everything is recovered.
    {"IncludeExtension",
     {"--include", "txt"},
     [](const std::string& path, bool folder) { return folder || IsTxt(path); }},
    {"ExcludeExtensionWithDot",
     {"--exclude", ".txt"},
     [](const std::string& path, bool folder) { return folder || !IsTxt(path); }},
    // A text with a line break holds two terms; the filter applies to the files
    // --select marked.
    {"SelectionThroughFilter",
     {"--select", "DOCS/*", "--include", "*.BIN\nguide.txt"},
     [](const std::string& path, bool folder) {
       return Below(path, "DOCS") &&
              (folder || path.ends_with(".bin") || path.ends_with("guide.txt"));
     }},
};

class RecoverTest : public CliImageRecoverTest,
                    public ::testing::WithParamInterface<RecoverCase> {};

TEST_P(RecoverTest, SavesWhatSevenZipExtractsOfTheChosenEntries) {
  const fs::path dest = Scratch() / "dest";
  std::vector<std::string> args = {"recover", image(), dest.string()};
  args.insert(args.end(), GetParam().options.begin(), GetParam().options.end());
  const CommandResult result = RunCli(args);
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out, "");
  Tree expected;
  for (const auto& [path, bytes] : Extracted()) {
    if (GetParam().saves(path, !bytes)) expected[path] = bytes;
  }
  ASSERT_FALSE(expected.empty());
  ExpectSameTree(TreeOf(dest), expected);
}

INSTANTIATE_TEST_SUITE_P(Choices, RecoverTest, ::testing::ValuesIn(kRecoverCases),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST_F(CliImageRecoverTest, SummaryCountsInWordsAndNamesTheRenamedAsTheReport) {
  const fs::path scratch = Scratch();
  testing::WriteTree(scratch / "one", {{.path = "ONE.TXT", .content = "one\n"},
                                       {.path = "DIR", .folder = true}});
  testing::IsoOptions options;
  options.tool = testing::IsoTool::kXorriso;
  const fs::path one = testing::MakeIso(scratch / "one", scratch / "one.iso", options);
  struct Case {
    const char* name;
    std::string source;
    std::vector<FixtureFile> before;  // what DEST holds before the recovery
    std::string counts;               // the summary with DEST left out
    std::string reportLine;
  };
  const Case cases[] = {
      // ONE.TXT is taken: the disc's file is saved under a number.
      {"OneOfEach",
       one.string(),
       {{.path = "ONE.TXT", .content = "mine"}},
       "1 file recovered, 0 partly, 0 failed, 0 filtered out; 1 folder created in DEST; "
       "1 name changed",
       "# 1 recovered, 0 partial, 0 failed, 0 stopped, 0 already there, 0 filtered out, "
       "1 folders created, 1 names changed"},
      {"Several",
       image(),
       {},
       "7 files recovered, 0 partly, 0 failed, 0 filtered out; 4 folders created in DEST; "
       "0 names changed",
       "# 7 recovered, 0 partial, 0 failed, 0 stopped, 0 already there, 0 filtered out, "
       "4 folders created, 0 names changed"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path dest = scratch / c.name;
    testing::WriteTree(dest, c.before);
    fs::create_directories(dest);
    const fs::path report = scratch / (std::string(c.name) + ".report");
    const CommandResult result =
        RunCli({"recover", c.source, dest.string(), "--report", report.string()});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    std::string counts = c.counts;
    counts.replace(counts.find("DEST"), 4, dest.string());
    EXPECT_EQ(result.err, Message(counts));
    EXPECT_EQ(Lines(FileBytes(report)).back(), c.reportLine);
  }
}

TEST_F(CliImageRecoverTest, SecondRunKeepsWhatIsThereWithResumeAndNumbersWithout) {
  struct Case {
    const char* name;
    std::vector<std::string> options;
    std::string counts;  // the summary with DEST left out
    std::size_t files;   // at DEST after both runs
  };
  const Case cases[] = {
      {"Resume",
       {"--resume"},
       "0 files recovered, 0 partly, 0 failed, 0 filtered out, 7 already there; "
       "0 folders created in DEST; 0 names changed",
       7},
      {"Numbered",
       {},
       "7 files recovered, 0 partly, 0 failed, 0 filtered out; 0 folders created in DEST; "
       "7 names changed",
       14},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path dest = Scratch() / c.name;
    ASSERT_EQ(RunCli({"recover", image(), dest.string()}).exitCode, 0);
    const fs::path report = Scratch() / (std::string(c.name) + ".report");
    std::vector<std::string> args = {"recover", image(), dest.string(), "--report",
                                     report.string()};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const CommandResult result = RunCli(args);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    std::string counts = c.counts;
    counts.replace(counts.find("DEST"), 4, dest.string());
    EXPECT_EQ(result.err, Message(counts));
    Tree files = TreeOf(dest);
    std::erase_if(files, [](const auto& node) { return !node.second; });
    EXPECT_EQ(files.size(), c.files);
    if (c.options.empty()) continue;
    ExpectSameTree(TreeOf(dest), Extracted());
    EXPECT_NE(FileBytes(report).find("already there\tDOCS/deep/data.bin\t\tDOCS/deep/data.bin\n"),
              std::string::npos)
        << FileBytes(report);
  }
}

TEST_F(CliImageRecoverTest, DiscCutShortGivesPartialFilesInTheReportAndExitOne) {
  const std::vector<testing::OracleRecord> records = testing::IsoinfoListing(image(), true);
  // The disc ends one sector into the last file of several sectors: that file
  // keeps its first sector, and every file after it is lost.
  std::uint32_t cutLba = 0;
  for (const testing::OracleRecord& record : records) {
    if (!record.isDirectory && record.size > kSectorSize) {
      cutLba = std::max(cutLba, record.extent + 1);
    }
  }
  const std::uint64_t cut = std::uint64_t{cutLba} * kSectorSize;
  const fs::path cutImage = Scratch() / "cut.iso";
  fs::copy_file(image(), cutImage);
  fs::resize_file(cutImage, cut);

  // The report's line for each file, and what the file must hold.
  std::set<std::string> expectedLines;
  Tree expectedFiles;
  const Tree extracted = Extracted();
  std::size_t partial = 0;
  for (const testing::OracleRecord& record : records) {
    if (record.isDirectory) continue;
    const std::uint64_t start = std::uint64_t{record.extent} * kSectorSize;
    const std::string& bytes = *extracted.at(record.path);
    if (record.size == 0 || start + record.size <= cut) {
      expectedLines.insert("recovered\t" + record.path + "\t\t" + record.path);
      expectedFiles[record.path] = bytes;
    } else if (start >= cut) {
      expectedLines.insert("failed\t" + record.path + "\t0-" + std::to_string(record.size - 1) +
                           "\t");
    } else {
      ++partial;
      expectedLines.insert("partial\t" + record.path + "\t" + std::to_string(cut - start) + "-" +
                           std::to_string(record.size - 1) + "\t" + record.path);
      // What lies past the medium's end did not read: zeros, the file at its size.
      expectedFiles[record.path] =
          bytes.substr(0, cut - start) + std::string(record.size - (cut - start), '\0');
    }
  }
  ASSERT_EQ(partial, 1u);
  ASSERT_LT(expectedFiles.size(), records.size()) << "no file lies past the cut";

  const std::string notice = Message(text::ToUtf8(text::LoadText(text::kSameDriveWarning1))) +
                             Message(text::ToUtf8(text::LoadText(text::kSameDriveWarning2)));
  struct Case {
    const char* name;
    std::vector<std::string> before;
    std::string source;
    bool notice;  // the destination lies on the disc it reads
  };
  const Case cases[] = {
      {"ImageFile", {}, cutImage.string(), false},
      // The file system that holds the image is not the disc being read.
      {"EmulatedDriveOfAFileBesideDest", {"--emulated-drive", cutImage.string()}, "drive", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path dest = Scratch() / c.name;
    const fs::path report = Scratch() / (std::string(c.name) + ".report");
    std::vector<std::string> args = c.before;
    args.insert(args.end(), {"recover", c.source, dest.string(), "--report", report.string()});
    const CommandResult result = RunCli(args);
    EXPECT_EQ(result.exitCode, 1) << result.err;
    EXPECT_EQ(result.err.starts_with(notice), c.notice) << result.err;
    std::vector<std::string> lines = Lines(FileBytes(report));
    std::erase_if(lines, [](const std::string& line) { return line.starts_with("#"); });
    EXPECT_EQ(std::set<std::string>(lines.begin(), lines.end()), expectedLines);
    Tree files = TreeOf(dest);
    std::erase_if(files, [](const auto& node) { return !node.second; });
    ExpectSameTree(files, expectedFiles);
  }
}

TEST_F(CliImageRecoverTest, BadRequestsSayWhyAndExitTwoOrThree) {
  const fs::path scratch = Scratch();
  const fs::path file = scratch / "a file";
  std::ofstream(file) << "x";
  const fs::path zeros = scratch / "zeros.iso";
  std::ofstream(zeros, std::ios::binary) << std::string(300 * kSectorSize, '\0');
  const std::string dest = (scratch / "dest").string();
  const fs::path self = scratch / "self.cd";
  fs::copy_file(image(), self);
  const fs::path dangling = scratch / "dangling";
  fs::create_symlink(scratch / "gone", dangling);
  struct Case {
    const char* name;
    std::vector<std::string> args;
    int exitCode;
    std::string says;  // part of the message
  };
  const Case cases[] = {
      {"IncludeWithExclude",
       {"recover", image(), dest, "--include", "a", "--exclude", "b"},
       2,
       "--include and --exclude exclude each other"},
      {"OverwriteOutsideTheWritingCommands", {"sectors", image(), "0", "1", "--overwrite"}, 2,
       "--overwrite belongs to ls, find, image and recover"},
      {"SelectOutsideRecover", {"image", image(), dest, "--select", "*"}, 2, "--select with --rescue"},
      {"ImageWithoutOut", {"image", image()}, 2, "image needs SOURCE OUT"},
      // Neither would name a file of its own: "dir/" became the hidden dir/.cd.
      {"OutEndsInASlash", {"image", image(), (scratch / "new").string() + "/"}, 2, "is a folder"},
      {"OutIsAFolder", {"image", image(), scratch.string()}, 2, "is a folder"},
      {"EmptyOut", {"image", image(), ""}, 2, "OUT must not be empty"},
      // "self" becomes self.cd, the image in the drive.
      {"OutIsTheDiscBeingRead",
       {"--emulated-drive", self.string(), "image", "drive", (scratch / "self").string(),
        "--overwrite"},
       2,
       self.string() + " is the disc being read"},
      {"DestParentMissing",
       {"recover", image(), (scratch / "no" / "dest").string()},
       2,
       "does not exist"},
      {"DestIsAFile", {"recover", image(), file.string()}, 2, "is not a folder"},
      {"DestIsALinkToNothing",
       {"recover", image(), dangling.string()},
       2,
       dangling.string() + " is not a folder"},
      // Refused before the scan: the disc without a file system would exit 3.
      {"ReportInAMissingFolder",
       {"--emulated-drive", zeros.string(), "recover", "drive", dest, "--report",
        (scratch / "no" / "report").string()},
       2,
       "cannot write the report " + (scratch / "no" / "report").string() +
           ": No such file or directory"},
      {"SelectMatchingNothing",
       {"recover", image(), dest, "--select", "DOCS/*", "--select", "nowhere/*"},
       2,
       "--select 'nowhere/*' matches no entry"},
      {"DiscWithoutFileSystem",
       {"--emulated-drive", zeros.string(), "recover", "drive", dest},
       3,
       text::ToUtf8(text::ErrorMessage(5))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CommandResult result = RunCli(c.args);
    EXPECT_EQ(result.exitCode, c.exitCode);
    EXPECT_EQ(result.out, "");
    ASSERT_EQ(Lines(result.err).size(), 1u) << result.err;
    EXPECT_NE(result.err.find(c.says), std::string::npos) << result.err;
    // Nothing was saved, and DEST was not even made.
    EXPECT_FALSE(fs::exists(dest));
  }
  EXPECT_TRUE(FileBytes(self) == FileBytes(image())) << "the image in the drive changed";
}

// The command that runs a shell script in a mount namespace of its own, where
// it may mount a tmpfs; nothing when this machine allows no such namespace.
std::optional<std::vector<std::string>> PrivateMountShell() {
  for (std::vector<std::string> unshare :
       {std::vector<std::string>{"unshare", "-m"}, std::vector<std::string>{"unshare", "-rm"}}) {
    std::vector<std::string> probe = unshare;
    probe.insert(probe.end(), {"sh", "-c", "mount -t tmpfs tmpfs /mnt"});
    if (testing::RunCommand(probe).exitCode == 0) {
      unshare.insert(unshare.end(), {"sh", "-c"});
      return unshare;
    }
  }
  return std::nullopt;
}

// DEST on a small tmpfs, a real read-only or full destination: the run is
// refused at once, or ends at the first file that does not fit, keeping what
// was written.
TEST_F(CliImageRecoverTest, ReadOnlyOrFullDestSaysSoOnceWithThePath) {
  const std::optional<std::vector<std::string>> shell = PrivateMountShell();
  if (!shell) GTEST_SKIP() << "no mount namespace for a test tmpfs on this machine";
  const fs::path scratch = Scratch();
  const fs::path mount = scratch / "mnt";
  fs::create_directory(mount);
  const fs::path zeros = scratch / "zeros.iso";
  std::ofstream(zeros, std::ios::binary) << std::string(300 * kSectorSize, '\0');
  const std::string dest = (mount / "dest").string();
  const Tree extracted = Extracted();
  struct Case {
    const char* name;
    std::string setup;  // after the tmpfs is mounted on $1
    std::vector<std::string> args;
    int exitCode;
    std::vector<std::string> says;  // the lines on standard error, in order
  };
  const Case cases[] = {
      // Refused before the scan, which would find no file system on this disc.
      {"ReadOnly",
       "mkdir \"$1/dest\" && mount -o remount,ro \"$1\"",
       {"--emulated-drive", zeros.string(), "recover", "drive", dest},
       2,
       {"cannot write to " + dest + ": Read-only file system"}},
      {"ReadOnlyMissingDest",
       "mount -o remount,ro \"$1\"",
       {"--emulated-drive", zeros.string(), "recover", "drive", dest},
       2,
       {"cannot write to " + mount.string() + ": Read-only file system"}},
      // 12 KiB hold README.TXT and empty.txt and two pages of the third file.
      {"Full",
       "mount -o remount,size=12k \"$1\"",
       {"recover", image(), dest},
       1,
       {"cannot write " + dest + "/", ": No space left on device",
        "stopped: " + dest + " takes no more files; the files saved until then stay there"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path kept = scratch / (std::string(c.name) + ".kept");
    // What DEST holds is copied out before the namespace, and its tmpfs, end.
    const std::string script =
        "mount -t tmpfs tmpfs \"$1\" || exit 99; " + c.setup +
        " || exit 98; mp=$1; shift 2; \"$@\"; status=$?; "
        "if [ -d \"$mp/dest\" ]; then cp -a \"$mp/dest\" \"$0\"; fi; exit $status";
    std::vector<std::string> argv = *shell;
    argv.insert(argv.end(), {script, kept.string(), mount.string(), "--", VELMORA_CLI_PATH});
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    const CommandResult result = testing::RunCommand(argv);
    EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
    std::size_t at = 0;
    for (const std::string& part : c.says) {
      at = result.err.find(part, at);
      ASSERT_NE(at, std::string::npos) << part << " not in\n" << result.err;
    }
    if (c.exitCode == 2) {
      EXPECT_EQ(result.err, Message(c.says.front()));
      continue;
    }
    // Said once; what was saved is whole, and something did not fit.
    EXPECT_EQ(result.err.find("No space left on device", at + 1), std::string::npos)
        << result.err;
    Tree saved = TreeOf(kept);
    std::erase_if(saved, [](const auto& node) { return !node.second; });
    ASSERT_FALSE(saved.empty());
    for (const auto& [path, bytes] : saved) {
      ASSERT_TRUE(extracted.contains(path)) << path;
      EXPECT_TRUE(bytes == extracted.at(path)) << path;
    }
    EXPECT_LT(saved.size(), 7u);
  }
}

// A disc whose volume and one file reach far past the blocks xorriso wrote (a
// sparse tail of zeros), so that copying it takes long enough to be stopped;
// next.txt is recorded after it.
fs::path MakeLongDisc(const fs::path& dir, const std::string& fileName, std::uint32_t fileSize) {
  testing::WriteTree(dir / "long",
                     {{.path = fileName, .patternSize = kSectorSize, .patternSeed = 5},
                      {.path = "next.txt", .content = "next\n"}});
  testing::IsoOptions options;
  options.tool = testing::IsoTool::kXorriso;
  const fs::path image = testing::MakeIso(dir / "long", dir / "long.iso", options);
  std::uint32_t extent = 0;
  for (const testing::OracleRecord& record : testing::IsoinfoListing(image, true)) {
    if (record.path == fileName) extent = record.extent;
  }
  const auto bothEndian = [](std::uint32_t value) {
    std::vector<std::byte> bytes(8);
    for (int i = 0; i < 4; ++i) {
      bytes[static_cast<std::size_t>(i)] = static_cast<std::byte>(value >> (8 * i));
      bytes[static_cast<std::size_t>(7 - i)] = static_cast<std::byte>(value >> (8 * i));
    }
    return bytes;
  };
  // The data length of every directory record of the file, in the ISO 9660
  // tree ("NAME;1") and the Joliet tree (UTF-16BE): 10 bytes into the record,
  // whose identifier starts at byte 33.
  std::string joliet;
  for (char c : fileName) joliet += {'\0', c};
  const std::string bytes = FileBytes(image);
  for (const std::string& name : {fileName + ";1", joliet}) {
    for (std::size_t at = bytes.find(name); at != std::string::npos;
         at = bytes.find(name, at + 1)) {
      if (at >= 33 && static_cast<unsigned char>(bytes[at - 1]) == name.size()) {
        testing::WriteBytes(image, at - 33 + 10, bothEndian(fileSize));
      }
    }
  }
  // The volume space size of each volume descriptor (sector 16 on, up to the
  // terminator), 80 bytes in.
  const auto sectors = static_cast<std::uint32_t>(extent + fileSize / kSectorSize + 1);
  for (std::uint64_t lba = 16;
       (lba + 1) * kSectorSize <= bytes.size() && bytes[lba * kSectorSize] != '\xFF'; ++lba) {
    testing::WriteBytes(image, lba * kSectorSize + 80, bothEndian(sectors));
  }
  fs::resize_file(image, std::uint64_t{sectors} * kSectorSize);
  return image;
}

TEST_F(CliImageRecoverTest, LogAndReportNeverReplaceWhatTheRunReadsOrWrites) {
  const fs::path scratch = Scratch();
  const fs::path disc = scratch / "disc.iso";
  fs::copy_file(image(), disc);
  const fs::path dest = scratch / "dest";
  const fs::path notes = scratch / "notes.txt";
  const std::string notesText = "a user's own file\n";
  std::ofstream(notes) << notesText;
  // A log and a report of an earlier run may be replaced.
  const fs::path oldLog = scratch / "old.log";
  const fs::path oldReport = scratch / "old.report";
  ASSERT_EQ(RunCli({"recover", disc.string(), (scratch / "first").string(), "--log",
                    oldLog.string(), "--report", oldReport.string()})
                .exitCode,
            0);
  struct Case {
    const char* name;
    std::vector<std::string> args;
    int exitCode;
    std::string says;  // part of the message; empty for none
  };
  const Case cases[] = {
      {"LogIsTheSource", {"ls", disc.string(), "--log", disc.string()}, 2,
       "is the source being read"},
      {"LogIsTheEmulatedDisc",
       {"--emulated-drive", disc.string(), "ls", "drive", "--log", disc.string()}, 2,
       "is the disc in the emulated drive"},
      {"LogIsTheImageOut",
       {"image", disc.string(), (scratch / "copy").string(), "--log", (scratch / "copy.cd").string()},
       2, "is the image being written"},
      {"ReportInsideDest",
       {"recover", disc.string(), dest.string(), "--report", (dest / "README.TXT").string()}, 2,
       "lies inside " + dest.string()},
      {"LogDeepInsideDest",
       {"recover", disc.string(), dest.string() + "/", "--log", (dest / "x" / ".." / "a.log").string()},
       2, "lies inside"},
      {"LogAndReportOneFile",
       {"recover", disc.string(), dest.string(), "--log", (scratch / "both").string(), "--report",
        (scratch / "both").string()},
       2, "name one file"},
      {"UsersFile", {"ls", disc.string(), "--log", notes.string()}, 2, "use --overwrite"},
      {"EarlierLog", {"ls", disc.string(), "--log", oldLog.string()}, 0, ""},
      {"EarlierReport",
       {"recover", disc.string(), (scratch / "second").string(), "--report", oldReport.string()}, 0,
       ""},
  };
  const std::string discBytes = FileBytes(disc);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CommandResult result = RunCli(c.args);
    EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
    if (c.exitCode == 2) {
      EXPECT_EQ(Lines(result.err).size(), 1u) << result.err;
      EXPECT_NE(result.err.find(c.says), std::string::npos) << result.err;
      EXPECT_EQ(result.out, "");  // refused before any work
    }
  }
  EXPECT_EQ(FileBytes(disc), discBytes);
  EXPECT_FALSE(fs::exists(dest));
  EXPECT_FALSE(fs::exists(scratch / "copy.cd"));
  EXPECT_EQ(FileBytes(notes), notesText);
  EXPECT_TRUE(FileBytes(oldLog).find("Process Completed") != std::string::npos);
  // With --overwrite the user's file is replaced by the log.
  EXPECT_EQ(RunCli({"ls", disc.string(), "--log", notes.string(), "--overwrite"}).exitCode, 0);
  EXPECT_NE(FileBytes(notes), notesText);
}

TEST_F(CliImageRecoverTest, LogNamesTheImageAndDestByTheirFullPath) {
  const fs::path scratch = Scratch();
  // OUT and DEST given relative to the folder the tool runs in.
  const CommandResult result = testing::RunCommand(
      {"sh", "-c",
       "cd \"$1\" && \"$2\" image \"$3\" copy --log image.log && "
       "\"$2\" recover \"$3\" ./out/ --log recover.log",
       "sh", scratch.string(), VELMORA_CLI_PATH, image()});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_NE(FileBytes(scratch / "image.log").find("  " + (scratch / "copy.cd").string() + "\r\n"),
            std::string::npos)
      << FileBytes(scratch / "image.log");
  EXPECT_NE(FileBytes(scratch / "recover.log").find("  " + (scratch / "out").string() + "/\r\n"),
            std::string::npos)
      << FileBytes(scratch / "recover.log");
}

TEST_F(CliImageRecoverTest, CtrlCStopsCleanlyAndKeepsWhatWasCopied) {
  const fs::path scratch = Scratch();
  constexpr std::uint32_t kLongFile = 600'000'000;
  const fs::path disc = MakeLongDisc(scratch, "LONG.BIN", kLongFile);
  const CommandResult listing = RunCli({"ls", disc.string()});
  ASSERT_EQ(listing.exitCode, 0) << listing.err;
  ASSERT_NE(listing.out.find("LONG.BIN\tf\t" + std::to_string(kLongFile)), std::string::npos)
      << listing.out;

  // The disc is read through the emulated drive, which holds the program from
  // 10 MB on: 15000 sectors served 20 ms late each. The signal goes out once
  // the output holds 4 MB, so the program is always still at work then, however
  // slowly this test runs; it stops within one read of the held sectors.
  const fs::path faults = scratch / "hold.faults";
  {
    std::ofstream out(faults);
    for (std::uint32_t lba = 5120; lba < 5120 + 15000; ++lba) out << lba << " slow 20\n";
  }
  const std::vector<std::string> drive = {"--emulated-drive", disc.string(), "--emulated-faults",
                                          faults.string()};
  struct Case {
    const char* name;
    std::vector<std::string> args;
    fs::path watched;  // SIGINT goes out once this file holds 4 MB
  };
  const Case cases[] = {
      {"Image", {"image", "drive", (scratch / "partial").string()}, scratch / "partial.cd"},
      {"Recover",
       {"recover", "drive", (scratch / "dest").string(), "--report",
        (scratch / "report").string()},
       scratch / "dest" / "LONG.BIN"},
  };
  const std::string script =
      "watched=$1; shift; \"$@\" & pid=$!; "
      "while kill -0 $pid 2>/dev/null && "
      "[ \"$(stat -c %s \"$watched\" 2>/dev/null || echo 0)\" -lt 4194304 ]; do sleep 0.01; done; "
      "kill -INT $pid; wait $pid";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path log = scratch / (std::string(c.name) + ".log");
    std::vector<std::string> argv = {
        "sh", "-c", script, "sh", c.watched.string(), VELMORA_CLI_PATH};
    argv.insert(argv.end(), drive.begin(), drive.end());
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    argv.insert(argv.end(), {"--log", log.string()});
    const CommandResult result = testing::RunCommand(argv);
    EXPECT_EQ(result.exitCode, 130) << result.err;
    // A program killed by SIGINT would exit 130 too: the log and the message
    // show that it stopped on its own.
    EXPECT_NE(FileBytes(log).find("Process Aborted\r\n"), std::string::npos);
    EXPECT_NE(result.err.find("velmora-cli: stopped; "), std::string::npos) << result.err;
  }

  // The image ends in its trailer after the blocks copied before the stop.
  const fs::path partial = scratch / "partial.cd";
  const std::uint64_t partialSize = fs::file_size(partial);
  EXPECT_LT(partialSize, fs::file_size(disc));
  ASSERT_EQ(partialSize % kSectorSize, 0u);
  EXPECT_TRUE(
      disc::HasImageSignature(testing::ReadBytes(partial, partialSize - kSectorSize, kSectorSize)));
  const CommandResult reopened = RunCli({"ls", partial.string()});
  EXPECT_EQ(reopened.exitCode, 0) << reopened.err;
  EXPECT_EQ(reopened.out, listing.out);

  // The file being copied holds the bytes written before the stop, no more,
  // is named as stopped, and no file after it was started.
  const std::uint64_t written = fs::file_size(scratch / "dest" / "LONG.BIN");
  EXPECT_GE(written, 4194304u);
  EXPECT_LT(written, kLongFile);
  EXPECT_EQ(TreeOf(scratch / "dest").size(), 1u);
  const std::vector<std::string> report = Lines(FileBytes(scratch / "report"));
  ASSERT_EQ(report.size(), 3u) << FileBytes(scratch / "report");
  EXPECT_EQ(report[1], "stopped\tLONG.BIN\t\tLONG.BIN");
  EXPECT_TRUE(report[2].starts_with("# 0 recovered, 0 partial, 0 failed, 1 stopped, ")) << report[2];
}

}  // namespace
}  // namespace velmora
