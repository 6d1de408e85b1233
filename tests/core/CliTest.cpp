// velmora-cli as a user runs it: the built program on real images made by
// xorriso and genisoimage, its output checked against the images' bytes and
// against isoinfo.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "media/ImageTrailer.h"
#include "media/Sector.h"
#include "support/BytePatcher.h"
#include "support/IsoBuilder.h"
#include "support/IsoOracle.h"
#include "support/MultiSessionBuilder.h"
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

CommandResult RunCli(std::vector<std::string> args) {
  args.insert(args.begin(), VELMORA_CLI_PATH);
  return testing::RunCommand(args);
}

using testing::FileBytes;
using testing::Lines;

// A tree with what trips listings up: nesting, a blank and non-ASCII letters in
// names, an empty file, files of several sectors.
const std::vector<FixtureFile> kTree = {
    {.path = "README.TXT", .content = "read me\n"},
    {.path = "empty.dat", .content = ""},
    {.path = "docs/user manual.txt", .patternSize = 5000, .patternSeed = 1},
    {.path = "docs/caf\u00e9/menu.txt", .content = "soup\n"},
    {.path = "docs/caf\u00e9/deeper/still/last.bin", .patternSize = 9000, .patternSeed = 2},
    {.path = "nothing here", .folder = true},
};

// The fixture image, made once for all tests.
class CliTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new testing::TempDir;
    testing::WriteTree(*dir_ / "tree", kTree);
    testing::IsoOptions options;
    options.tool = testing::IsoTool::kXorriso;
    image_ = testing::MakeIso(*dir_ / "tree", *dir_ / "disc.iso", options);
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }

  static const testing::TempDir& dir() { return *dir_; }
  static std::string image() { return image_.string(); }
  static std::uint64_t imageSectors() { return fs::file_size(image_) / kSectorSize; }

  // The lines ls --tsv must print for the entries isoinfo lists, each path under
  // prefix; a folder's size is 0 as the table holds it.
  static std::set<std::string> ExpectedTsv(const std::vector<testing::OracleRecord>& records,
                                           const std::string& prefix) {
    std::set<std::string> lines;
    for (const auto& record : records) {
      lines.insert(prefix + record.path + '\t' + (record.isDirectory ? "d" : "f") + '\t' +
                   std::to_string(record.isDirectory ? 0 : record.size) + '\t' + record.date +
                   '\t' + std::to_string(record.extent));
    }
    return lines;
  }

 private:
  static inline testing::TempDir* dir_ = nullptr;
  static inline fs::path image_;
};

struct SourceCase {
  const char* name;
  std::vector<std::string> before;  // arguments before the command; "IMAGE" is the image
  std::string source;               // "IMAGE" is the image
};

void PrintTo(const SourceCase& c, std::ostream* os) { *os << c.name; }

std::vector<std::string> Expand(std::vector<std::string> args, const std::string& image) {
  for (std::string& arg : args) {
    if (arg == "IMAGE") arg = image;
  }
  return args;
}

const SourceCase kSources[] = {
    {"ImageFile", {}, "IMAGE"},
    {"SelectedDrive", {"--emulated-drive", "IMAGE", "--drive", "0"}, "drive"},
    {"DrivePath", {"--emulated-drive", "IMAGE"}, "emulated:sr0"},
};

class CliSourceTest : public CliTest, public ::testing::WithParamInterface<SourceCase> {
 protected:
  std::vector<std::string> Args(std::vector<std::string> command) const {
    std::vector<std::string> args = GetParam().before;
    args.insert(args.end(), command.begin(), command.end());
    return Expand(args, image());
  }
};

TEST_P(CliSourceTest, ListingAgreesWithIsoinfo) {
  // No --tsv: output that is not a terminal gets TSV anyway.
  const CommandResult result = RunCli(Args({"ls", GetParam().source}));
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const std::vector<std::string> lines = Lines(result.out);
  const std::vector<testing::OracleRecord> records = testing::IsoinfoListing(image(), true);
  EXPECT_EQ(std::set<std::string>(lines.begin(), lines.end()), ExpectedTsv(records, ""));
  EXPECT_EQ(lines.size(), records.size()) << "an entry listed twice";
}

TEST_P(CliSourceTest, JsonHoldsOneObjectPerEntry) {
  const CommandResult result = RunCli(Args({"ls", "--json", GetParam().source}));
  ASSERT_EQ(result.exitCode, 0) << result.err;
  std::string json = result.out;
  while (!json.empty() && json.back() == '\n') json.pop_back();
  ASSERT_FALSE(json.empty());
  EXPECT_EQ(json.front(), '[');
  EXPECT_EQ(json.back(), ']');
  // The fixture's names hold no braces.
  EXPECT_EQ(static_cast<std::size_t>(std::count(json.begin(), json.end(), '{')),
            testing::IsoinfoListing(image(), true).size());
  EXPECT_NE(json.find("{\"path\":\"docs/caf\u00e9/menu.txt\",\"type\":\"f\",\"size\":5,"),
            std::string::npos)
      << json;
}

// The bytes sectors must write for count sectors from first when readable bytes
// of the image can be read: those, and 0xF6 for the rest.
std::string ExpectedSectors(const std::string& image, std::uint64_t first, std::uint64_t count,
                            std::uint64_t readable) {
  const std::string bytes = FileBytes(image);
  std::string expected;
  for (std::uint64_t at = first * kSectorSize; at < (first + count) * kSectorSize; ++at) {
    expected += at < readable ? bytes[at] : '\xF6';
  }
  return expected;
}

TEST_P(CliSourceTest, SectorsWritesTheImageBytes) {
  const CommandResult result = RunCli(Args({"sectors", GetParam().source, "15", "5"}));
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out, ExpectedSectors(image(), 15, 5, fs::file_size(image())));
  EXPECT_EQ(result.err, "");
}

INSTANTIATE_TEST_SUITE_P(Sources, CliSourceTest, ::testing::ValuesIn(kSources),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST_F(CliTest, SectorsStopAtTheEndOfTheMediumAndSaySo) {
  // An image whose last sector is cut short: read as a file, that sector's bytes
  // come out, filled up with 0xF6; the emulated drive ends the disc at the last
  // whole one. A .cd image ends before its trailer block.
  const fs::path cut = dir() / "cut.iso";
  fs::copy_file(image(), cut, fs::copy_options::overwrite_existing);
  const std::string tail = testing::PatternBytes(100, 3);
  std::ofstream(cut, std::ios::binary | std::ios::app) << tail;
  const fs::path cd = dir() / "whole.cd";
  fs::copy_file(image(), cd, fs::copy_options::overwrite_existing);
  {
    const std::vector<std::byte> trailer = disc::BuildImageTrailer({});
    std::ofstream(cd, std::ios::binary | std::ios::app)
        .write(reinterpret_cast<const char*>(trailer.data()),
               static_cast<std::streamsize>(trailer.size()));
  }
  const std::uint64_t whole = imageSectors();
  const std::uint64_t size = fs::file_size(cut);
  struct Case {
    const char* name;
    std::vector<std::string> args;
    std::uint64_t first;
    std::uint64_t written;   // sectors written before the end
    std::uint64_t readable;  // bytes of the file that read
    std::uint64_t medium;    // sectors of the medium
    std::size_t messages;
  };
  const Case cases[] = {
      {"ImageFile", {"sectors", cut.string(), std::to_string(whole - 1), "3"}, whole - 1, 2, size,
       whole + 1, 2},
      {"EmulatedDrive",
       {"--emulated-drive", cut.string(), "sectors", "drive", std::to_string(whole - 1), "3"},
       whole - 1, 1, whole * kSectorSize, whole, 1},
      {"CdImageTrailer", {"sectors", cd.string(), std::to_string(whole), "1"}, whole, 0, 0,
       whole, 1},
      {"CdImageLastSector", {"sectors", cd.string(), std::to_string(whole - 2), "5"}, whole - 2, 2,
       whole * kSectorSize, whole, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CommandResult result = RunCli(c.args);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, ExpectedSectors(cut.string(), c.first, c.written, c.readable));
    EXPECT_EQ(Lines(result.err).size(), c.messages) << result.err;
    EXPECT_NE(result.err.find("LBA " + std::to_string(c.first + c.written) +
                              " is past the end of the medium (" + std::to_string(c.medium) +
                              " sectors)"),
              std::string::npos)
        << result.err;
  }
}

// A Joliet name as it is recorded: UTF-16, big-endian.
std::string JolietBytes(std::string_view ascii) {
  std::string bytes;
  for (char c : ascii) bytes += {'\0', c};
  return bytes;
}

// Joliet names where a byte patch put a tab, a line feed and a backslash, which
// no tool writes, next to a quote that xorriso keeps.
TEST_F(CliTest, NamesThatWouldBreakTheFormatAreEscaped) {
  testing::WriteTree(dir() / "odd", {{.path = "tab_name", .content = "1"},
                                     {.path = "new_line", .content = "22"},
                                     {.path = "back_slash", .content = "333"},
                                     {.path = "quo\"te", .content = "4444"}});
  testing::IsoOptions options;
  options.tool = testing::IsoTool::kXorriso;
  const fs::path odd = testing::MakeIso(dir() / "odd", dir() / "odd.iso", options);
  for (const auto& [name, replacement] :
       {std::pair{"tab_name", '\t'}, std::pair{"new_line", '\n'}, std::pair{"back_slash", '\\'}}) {
    const std::size_t at = FileBytes(odd).find(JolietBytes(name));
    ASSERT_NE(at, std::string::npos) << name;
    const std::byte patched[] = {std::byte{0}, static_cast<std::byte>(replacement)};
    testing::WriteBytes(odd, at + 2 * std::string_view(name).find('_'), patched);
  }
  struct Case {
    const char* format;
    std::vector<std::string> lineStarts;  // one line of the output starts with each
  };
  const Case cases[] = {
      {"--tsv", {"back\\\\slash\t", "new\\nline\t", "quo\"te\t", "tab\\tname\t"}},
      {"--json",
       {"{\"path\":\"back\\\\slash\",", "{\"path\":\"new\\nline\",", "{\"path\":\"quo\\\"te\",",
        "{\"path\":\"tab\\tname\","}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    const CommandResult result = RunCli({"ls", c.format, odd.string()});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const std::vector<std::string> lines = Lines(result.out);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& line) { return line != "[" && line != "]"; }),
              4)
        << result.out;
    for (const std::string& lineStart : c.lineStarts) {
      EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                              [&](const std::string& line) { return line.starts_with(lineStart); }),
                1)
          << lineStart << " in\n"
          << result.out;
    }
  }
}

// What a terminal shows of output that script(1) caught: per line, what follows
// the last carriage return, as redrawn progress lines leave it.
std::vector<std::string> ShownLines(const std::string& output) {
  std::vector<std::string> shown;
  for (std::string line : Lines(output)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    shown.push_back(line.substr(line.rfind('\r') == std::string::npos ? 0 : line.rfind('\r') + 1));
  }
  return shown;
}

TEST_F(CliTest, OnATerminalLsDrawsTheTreeAndSectorsRefuses) {
  struct Case {
    const char* command;
    int exitCode;
    std::vector<std::string> shown;
  };
  const Case cases[] = {
      // The count of entries found stays on the screen; then the folders and
      // files in the order the disc records them.
      {"ls",
       0,
       {"10 Entries Found", "README.TXT  8", "docs/", "  caf\u00e9/", "    deeper/", "      still/",
        "        last.bin  9000", "    menu.txt  5", "  user manual.txt  5000", "empty.dat  0",
        "nothing here/"}},
      {"sectors",
       2,
       {"velmora-cli: sectors writes binary data; send standard output to a file or a pipe"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    std::string line =
        std::string("'") + VELMORA_CLI_PATH + "' " + c.command + " '" + image() + "'";
    if (c.command == std::string("sectors")) line += " 0 1";
    // script runs the line on a terminal of its own and passes on its exit code.
    const CommandResult result = testing::RunCommand({"script", "-qec", line, "/dev/null"});
    EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
    EXPECT_EQ(ShownLines(result.out), c.shown) << result.out;
  }
}

TEST_F(CliTest, DrivesListsTheEmulatedDrive) {
  const CommandResult result = RunCli({"--emulated-drive", image(), "drives"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out, "0\temulated:sr0\n");
}

TEST_F(CliTest, WithoutAnOpticalDriveNothingIsListedAndTheExitIsThree) {
  const CommandResult drives = RunCli({"drives"});
  if (drives.exitCode == 0 && drives.out.starts_with("0\t")) {
    GTEST_SKIP() << "this machine has an optical drive";
  }
  EXPECT_EQ(drives.exitCode, 3);
  EXPECT_EQ(drives.out, "");
  EXPECT_EQ(drives.err, "velmora-cli: no optical drive found\n");
  const std::string notFound = text::ToUtf8(text::ErrorMessage(5));
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"ls", "drive"}, {"sectors", "drive", "16", "1"}}) {
    SCOPED_TRACE(args[0]);
    const CommandResult result = RunCli(args);
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find(notFound), std::string::npos) << result.err;
  }
}

TEST_F(CliTest, VersionIsOneLineAndExitZero) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--version"}, {"ls", "--version"}}) {
    const CommandResult result = RunCli(args);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(result.out.starts_with("velmora-cli ")) << result.out;
    EXPECT_EQ(Lines(result.out).size(), 1u) << result.out;
    EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(result.out[12]))) << result.out;
    EXPECT_TRUE(result.out.ends_with(" (GPL-3.0-or-later)\n")) << result.out;
  }
}

TEST_F(CliTest, BadInputIsOneLineAndExitTwo) {
  const fs::path missing = dir() / "no such.iso";
  // Too short to hold a volume; a longer file goes to the recovery scans.
  const fs::path text = dir() / "notes.txt";
  std::ofstream(text) << testing::PatternBytes(10 * kSectorSize, 4);
  struct Case {
    const char* name;
    std::vector<std::string> args;
    std::string says;  // part of the message
  };
  const Case cases[] = {
      {"NoCommand", {}, "no command"},
      {"UnknownCommand", {"eject"}, "unknown command 'eject'"},
      {"UnknownOption", {"ls", image(), "--long"}, "unknown option '--long'"},
      {"SectorsWithoutCount", {"sectors", image(), "16"}, "SOURCE FIRST COUNT"},
      {"FirstNegative", {"sectors", image(), "-1", "2"}, "FIRST must be a logical block address"},
      {"CountNotANumber", {"sectors", image(), "16", "2x"}, "'2x'"},
      {"RangePastLastBlock", {"sectors", image(), "4294967295", "2"}, "past the last"},
      {"TwoFormats", {"ls", "--tsv", image(), "--json"}, "--tsv and --json"},
      {"FormatOutsideLs", {"sectors", image(), "0", "1", "--json"}, "belong to ls"},
      {"OptionWithoutValue", {"ls", image(), "--log"}, "--log needs a value"},
      {"DriveOutOfRange",
       {"--emulated-drive", image(), "--drive", "1", "ls", "drive"},
       "--drive 1"},
      {"MissingImage", {"ls", missing.string()}, missing.string() + " does not exist"},
      {"NotAnImage", {"ls", text.string()}, "not a disc image"},
      {"FolderAsImage", {"sectors", dir().path().string(), "0", "1"}, "Is a directory"},
      {"MissingEmulatedImage", {"--emulated-drive", missing.string(), "drives"}, missing.string()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CommandResult result = RunCli(c.args);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.out, "");
    ASSERT_EQ(Lines(result.err).size(), 1u) << result.err;
    EXPECT_TRUE(result.err.starts_with("velmora-cli: ")) << result.err;
    EXPECT_NE(result.err.find(c.says), std::string::npos) << result.err;
  }
}

TEST_F(CliTest, HelpListsTheCommandsAndTheEscapes) {
  for (const char* flag : {"--help", "-h"}) {
    SCOPED_TRACE(flag);
    // Help wins over whatever else is on the line.
    const CommandResult result = RunCli({"ls", flag, "--bogus"});
    EXPECT_EQ(result.exitCode, 0);
    for (const char* word :
         {"drives", "sectors SOURCE FIRST COUNT", "ls SOURCE", "--emulated-drive", "--drive N",
          "--tsv", "--json", "--log FILE", "\\t, \\n"}) {
      EXPECT_NE(result.out.find(word), std::string::npos) << word;
    }
  }
}

TEST_F(CliTest, DiscWithoutFileSystemExitsThreeWithTheEngineMessage) {
  const fs::path zeros = dir() / "zeros.iso";
  std::ofstream(zeros, std::ios::binary) << std::string(300 * kSectorSize, '\0');
  const CommandResult result = RunCli({"--emulated-drive", zeros.string(), "ls", "drive"});
  EXPECT_EQ(result.exitCode, 3);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "velmora-cli: " + text::ToUtf8(text::ErrorMessage(5)) + "\n");
}

// A name with a line break in it, which a byte patch puts in the Joliet tree.
TEST_F(CliTest, SavedLogKeepsNamesInTheLocaleEncodingAndEveryFieldOnItsLine) {
  const std::string cafe = "Caf\u00e9.txt";
  const std::string cyrillic = "\u041e\u0442\u0447\u0451\u0442.txt";
  testing::WriteTree(dir() / "names", {{.path = cafe, .content = "1"},
                                       {.path = cyrillic, .content = "22"},
                                       {.path = "crXXlf.txt", .content = "333"}});
  testing::IsoOptions options;
  options.tool = testing::IsoTool::kXorriso;
  const fs::path disc = testing::MakeIso(dir() / "names", dir() / "names.iso", options);
  const std::size_t at = FileBytes(disc).find(JolietBytes("crXXlf"));
  ASSERT_NE(at, std::string::npos);
  const std::byte lineBreak[] = {std::byte{0}, std::byte{'\r'}, std::byte{0}, std::byte{'\n'}};
  testing::WriteBytes(disc, at + 4, lineBreak);

  const fs::path log = dir() / "names.log";
  const CommandResult result =
      testing::RunCommand({VELMORA_CLI_PATH, "recover", disc.string(), (dir() / "names out").string(),
                           "--log", log.string()},
                          {"LC_ALL=C.UTF-8"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const std::string report = FileBytes(log);
  EXPECT_NE(report.find(cafe), std::string::npos) << report;
  EXPECT_NE(report.find(cyrillic), std::string::npos) << report;
  EXPECT_NE(report.find("cr\\r\\nlf.txt"), std::string::npos) << report;
  for (std::size_t i = 0; i < report.size(); ++i) {
    if (report[i] == '\n') {
      ASSERT_TRUE(i > 0 && report[i - 1] == '\r') << "bare LF at byte " << i;
    }
    if (report[i] == '\r') {
      ASSERT_TRUE(i + 1 < report.size() && report[i + 1] == '\n') << "bare CR at byte " << i;
    }
  }
}

TEST_F(CliTest, LogIsSavedAsCrLfReport) {
  const fs::path log = dir() / "scan log";
  const fs::path unwritable = dir() / "missing" / "log.txt";
  struct Case {
    const char* name;
    fs::path path;
    int exitCode;
  };
  const Case cases[] = {{"Written", log, 0}, {"FolderMissing", unwritable, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CommandResult result = RunCli({"ls", image(), "--log", c.path.string()});
    EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
    // The listing goes out either way.
    EXPECT_EQ(Lines(result.out).size(), testing::IsoinfoListing(image(), true).size());
    if (c.exitCode != 0) {
      EXPECT_NE(result.err.find(c.path.string() + ": No such file or directory"), std::string::npos)
          << result.err;
      continue;
    }
    const std::string report = FileBytes(c.path);
    EXPECT_TRUE(report.starts_with(std::string(19, '-') +
                                   "Message Log Report of Orvane Velmora CDROM" +
                                   std::string(19, '-') + "\r\n\r\n"))
        << report;
    EXPECT_NE(report.find("Process Completed\r\n"), std::string::npos) << report;
    for (std::size_t at = report.find('\n'); at != std::string::npos;
         at = report.find('\n', at + 1)) {
      ASSERT_TRUE(at > 0 && report[at - 1] == '\r') << "bare LF at byte " << at;
    }
  }
}

TEST_F(CliTest, MultiSessionPathsStartWithTheirSession) {
  testing::WriteTree(dir() / "s1", {{.path = "first/one.txt", .content = "1"}});
  testing::WriteTree(dir() / "s2", {{.path = "second/two.txt", .content = "22"}});
  const testing::MultiSessionDisc disc =
      testing::MakeMultiSessionDisc({dir() / "s1", dir() / "s2"}, dir() / "multi.iso", 20);
  // A .cd image: the disc's blocks and the trailer with its track list.
  disc::ImageTrailer trailer{true, static_cast<std::uint8_t>(disc.tracks.size()), disc.tracks};
  const std::vector<std::byte> block = disc::BuildImageTrailer(trailer);
  const fs::path image = dir() / "multi.cd";
  fs::copy_file(disc.image, image, fs::copy_options::overwrite_existing);
  std::ofstream(image, std::ios::binary | std::ios::app)
      .write(reinterpret_cast<const char*>(block.data()),
             static_cast<std::streamsize>(block.size()));

  // The oracle reads the Joliet tree, whose folders lie apart from the
  // primary tree's that the Rock Ridge names come with.
  const CommandResult result = RunCli({"ls", "--tsv", "--names", "joliet", image.string()});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const std::vector<std::string> lines = Lines(result.out);
  std::set<std::string> expected;
  // A later session repeats the files it imported; a file already listed by an
  // earlier session (same extent, same name) is listed there only.
  std::set<std::pair<std::uint32_t, std::string>> listedBefore;
  for (std::size_t k = 1; k <= disc.tracks.size(); ++k) {
    const std::string node = "Session " + std::to_string(k);
    // Session nodes carry File ID (end of the last track) + k and no time.
    expected.insert(node + "\td\t0\t\t" +
                    std::to_string(disc.tracks.back().end + k));
    const std::uint32_t start = disc.tracks[k - 1].start - kLeadInFrames;
    std::vector<testing::OracleRecord> records = testing::IsoinfoListing(disc.image, true, start);
    std::erase_if(records, [&](const testing::OracleRecord& record) {
      const std::string name = fs::path(record.path).filename().string();
      return !record.isDirectory && listedBefore.contains({record.extent, name});
    });
    for (const auto& record : records) {
      if (!record.isDirectory)
        listedBefore.emplace(record.extent, fs::path(record.path).filename().string());
    }
    expected.merge(ExpectedTsv(records, node + "/"));
  }
  ASSERT_GT(listedBefore.size(), 1u);
  EXPECT_EQ(std::set<std::string>(lines.begin(), lines.end()), expected) << result.out;
}

}  // namespace
}  // namespace velmora
