// The real Linux drive path end to end: velmora-cli with its Linux backend
// (LinuxMachine, LinuxDeviceFile, SgTransport) reads the software optical
// drive, a preloaded library that makes a device node behave as a SCSI optical
// drive, and must give what the same disc gives through --emulated-drive.
// Then the drive misbehaves, one way at a time, under every command.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/IsoBuilder.h"
#include "support/RunCommand.h"
#include "support/SoftwareDrive.h"
#include "support/TempDir.h"
#include "support/TextFiles.h"
#include "support/TreeWriter.h"
#include "text/StringTable.h"
#include "text/Utf.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::CommandResult;
using testing::FileBytes;
using testing::FixtureFile;
using testing::Lines;
using testing::SoftwareDrive;

constexpr std::size_t kBlock = 2048;
const std::string kUnreadBlock(kBlock, '\xF6');

std::string Text(std::uint16_t id) { return text::ToUtf8(text::LoadText(id)); }
std::string ErrorText(text::ErrorCode code) { return text::ToUtf8(text::ErrorMessage(static_cast<int>(code))); }

// A disc as the tests know it: its image file, and where its files and
// folders lie (from the emulated drive's listing).
struct Disc {
  fs::path image;
  std::map<std::string, std::uint32_t> extents;  // path -> extent
  std::map<std::string, std::uint64_t> sizes;    // file path -> size
  std::string Block(std::uint64_t lba) const {
    const std::string bytes = FileBytes(image);
    return bytes.substr(lba * kBlock, kBlock);
  }
};

CommandResult RunCli(std::vector<std::string> args, const std::vector<std::string>& environment = {}) {
  args.insert(args.begin(), VELMORA_CLI_PATH);
  return testing::RunCommand(args, environment);
}

void ReadListing(Disc& disc) {
  const CommandResult listing = RunCli({"ls", "--tsv", "--emulated-drive", disc.image.string(), "drive"});
  if (listing.exitCode != 0) throw std::runtime_error("cannot list " + disc.image.string() + ": " + listing.err);
  for (const std::string& line : Lines(listing.out)) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
    if (fields.size() < 5) continue;
    disc.extents[fields[0]] = static_cast<std::uint32_t>(std::stoul(fields[4]));
    if (fields[1] == "f") disc.sizes[fields[0]] = std::stoull(fields[2]);
  }
}

class LinuxDrive : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    discs_ = std::make_unique<testing::TempDir>();
    // Two sessions laid out as on a CD, by genisoimage, with a track list.
    demo_.image = *discs_ / "demo.cd";
    testing::RunChecked({VELMORA_SOURCE_DIR "/scripts/make-demo-disc", demo_.image.string()});
    ReadListing(demo_);
    // One session by xorriso with Rock Ridge, read as a plain image.
    const std::vector<FixtureFile> tree = {
        {.path = "readme.txt", .content = "A disc read through the real drive path.\n"},
        {.path = "big.bin", .patternSize = 40 * kBlock + 100, .patternSeed = 1},
        {.path = "Deep dir/sub/a long name with spaces.txt", .content = "deep\n"},
        {.path = "Deep dir/sub/later.bin", .patternSize = 9 * kBlock, .patternSeed = 2},
    };
    testing::WriteTree(*discs_ / "rr", tree);
    fs::create_symlink("../big.bin", *discs_ / "rr/Deep dir/link");
    rockRidge_.image = testing::MakeIso(*discs_ / "rr", *discs_ / "rr.iso",
                                        {.tool = testing::IsoTool::kXorriso, .joliet = false, .rockRidge = true});
    ReadListing(rockRidge_);
    // Another disc for a drive whose disc is changed: other bytes everywhere.
    std::vector<FixtureFile> otherTree = tree;
    for (FixtureFile& file : otherTree) file.patternSeed += 10, file.content += "changed\n";
    testing::WriteTree(*discs_ / "other", otherTree);
    other_ = testing::MakeIso(*discs_ / "other", *discs_ / "other.iso",
                              {.tool = testing::IsoTool::kXorriso, .joliet = false, .rockRidge = true});
  }
  static void TearDownTestSuite() { discs_.reset(); }

  CommandResult Run(std::vector<std::string> args) { return RunCli(std::move(args), drive_.Environment()); }

  // What must hold after every command on the software drive.
  void ExpectDriveLeftClean() {
    EXPECT_TRUE(drive_.LeftUnlocked()) << testing::FileBytes(drive_.log());
    EXPECT_EQ(drive_.Count("MALFORMED"), 0u) << testing::FileBytes(drive_.log());
  }

  static inline std::unique_ptr<testing::TempDir> discs_;
  static inline Disc demo_;
  static inline Disc rockRidge_;
  static inline fs::path other_;
  testing::TempDir dir_;
  SoftwareDrive drive_{dir_.path() / "drive"};
};

// Each command on the drive gives exactly what it gives on the same disc in
// the emulated drive: the listing, the sectors, the image's bytes and track
// list, the recovered files and the report; --log names the drive.
TEST_F(LinuxDrive, EveryCommandGivesWhatTheEmulatedDriveGives) {
  for (const Disc* disc : {&demo_, &rockRidge_}) {
    SCOPED_TRACE(disc->image.filename().string());
    drive_.Load(disc->image);
    const std::vector<std::string> emulated = {"--emulated-drive", disc->image.string()};
    const auto both = [&](const std::string& name, std::vector<std::string> args) {
      SCOPED_TRACE(name);
      std::vector<std::string> viaEmulated = args;
      viaEmulated.insert(viaEmulated.end(), emulated.begin(), emulated.end());
      for (std::string& arg : viaEmulated) {
        if (arg.find("%out") != std::string::npos) arg.replace(arg.find("%out"), 4, "emulated");
      }
      for (std::string& arg : args) {
        if (arg.find("%out") != std::string::npos) arg.replace(arg.find("%out"), 4, "real");
      }
      const CommandResult real = Run(args);
      const CommandResult expected = RunCli(viaEmulated);
      EXPECT_EQ(real.exitCode, expected.exitCode) << real.err;
      ExpectDriveLeftClean();
      return std::pair(real, expected);
    };

    const auto [drives, drivesEmulated] = both("drives", {"drives"});
    EXPECT_EQ(drives.out, "0\t" + drive_.device().string() + "\n");
    EXPECT_EQ(drivesEmulated.out, "0\temulated:sr0\n");

    const auto [listing, listingEmulated] = both("ls", {"ls", "--tsv", "drive"});
    EXPECT_EQ(listing.out, listingEmulated.out);

    const auto [sectors, sectorsEmulated] = both("sectors", {"sectors", "drive", "14", "30"});
    EXPECT_EQ(sectors.out, sectorsEmulated.out);
    EXPECT_EQ(sectors.out, FileBytes(disc->image).substr(14 * kBlock, 30 * kBlock));

    const fs::path out = dir_.path();
    both("image", {"image", "drive", (out / "%out.cd").string(), "--log", (out / "%out-image.log").string()});
    EXPECT_EQ(FileBytes(out / "real.cd"), FileBytes(out / "emulated.cd"));
    if (disc == &demo_) {
      EXPECT_EQ(FileBytes(out / "real.cd"), FileBytes(disc->image));
    }

    both("recover", {"recover", "drive", (out / "%out-files").string(), "--report",
                     (out / "%out.report").string(), "--log", (out / "%out.log").string()});
    EXPECT_EQ(FileBytes(out / "real.report"), FileBytes(out / "emulated.report"));
    for (const auto& [path, size] : disc->sizes) {
      const std::string inDest = disc == &demo_ ? path.substr(path.find('/') + 1) : path;
      EXPECT_EQ(FileBytes(out / "real-files" / inDest), FileBytes(out / "emulated-files" / inDest)) << path;
    }
    // The log names the drive as INQUIRY gave it, at the start of the process.
    const std::vector<std::string> log = Lines(FileBytes(out / "real.log"));
    const auto named = std::find_if(log.begin(), log.end(), [](const std::string& line) {
      return line.find(Text(text::kDriveLabel) + " VELMORA SOFTWARE DRIVE, " + Text(text::kFirmwareLabel) +
                       " 1.00") != std::string::npos;
    });
    EXPECT_NE(named, log.end()) << FileBytes(out / "real.log");
    const auto started = std::find_if(log.begin(), log.end(), [](const std::string& line) {
      return line.find(Text(text::kProcessStarted)) != std::string::npos;
    });
    EXPECT_LT(named, started);
    fs::remove_all(out / "real-files");
    fs::remove_all(out / "emulated-files");
    for (const char* name : {"real.cd", "emulated.cd", "real.report", "emulated.report", "real.log",
                             "emulated.log", "real-image.log", "emulated-image.log"}) {
      fs::remove(out / name);
    }
  }
}


// The first path of the listing that ends in name.
std::string PathEnding(const Disc& disc, const std::string& name) {
  for (const auto& [path, extent] : disc.extents) {
    if (path == name || path.ends_with("/" + name)) return path;
  }
  throw std::runtime_error("no " + name + " on " + disc.image.string());
}

// What each command gives on the disc in the emulated drive.
struct Baseline {
  std::string listing;
  std::string image;
  std::map<std::string, std::string> files;  // path in DEST -> bytes
};

// The ranges "first-last,first-last" of a report's partial row for path.
std::string PartialRanges(const std::string& report, const std::string& path) {
  for (const std::string& line : Lines(report)) {
    if (line.starts_with("partial\t" + path + "\t")) {
      const std::size_t from = line.find('\t', 8 + path.size()) + 1;
      return line.substr(8 + path.size() + 1, line.find('\t', from) - (8 + path.size() + 1));
    }
  }
  return "";
}

// Every block either is the disc's block k, or was not read: 0xF6 from some
// byte on. Never a block of another disc.
void ExpectBlocksOfDisc(const std::string& blocks, std::uint64_t first, const std::string& disc,
                        const std::string& what) {
  ASSERT_EQ(blocks.size() % kBlock, 0u) << what;
  for (std::uint64_t k = 0; k < blocks.size() / kBlock; ++k) {
    const std::string block = blocks.substr(k * kBlock, kBlock);
    const std::string original = disc.substr((first + k) * kBlock, kBlock);
    std::size_t same = 0;
    while (same < kBlock && block[same] == original[same]) ++same;
    const bool unreadFromThere =
        std::all_of(block.begin() + static_cast<std::ptrdiff_t>(same), block.end(), [](char c) { return c == '\xF6'; });
    EXPECT_TRUE(unreadFromThere) << what << ": block " << first + k << " is not the disc's";
  }
}

struct Behaviour {
  const char* name;
  bool rockRidge;  // the disc read as a file (cooked); else the two sessions (pass-through)
  // The script's directives for the disc; at: the sector the fault sits on.
  std::function<std::vector<std::string>(const Disc&, std::uint32_t at)> directives;
  // Where the fault sits: a file's path and a block in it, or a folder's path.
  std::string where;
  std::uint32_t block;
  int ls, image, recover, sectors;  // exit statuses
  std::string message;              // said on standard error by each command that meets it
  std::string logged;               // in the --log of image and recover
  std::string partial;              // the report's unreadable bytes of the file at `where`
  bool noDisc = false;
};

// One table of the drive's behaviours under every command: the exit status,
// what is said, what the log holds, and the data: every block and file comes
// from the disc in the drive, exactly, or is marked as not read; never from
// another disc. The tray is unlocked and no command block malformed, however
// the command ends.
TEST_F(LinuxDrive, EachBehaviourUnderEachCommand) {
  using Directives = std::vector<std::string>;
  const auto none = [](const Disc&, std::uint32_t) { return Directives{}; };
  const std::string demoFile = PathEnding(demo_, "Measurements.csv");
  const std::string demoFolder = PathEnding(demo_, "Photos 1999");
  const std::string demoLater = PathEnding(demo_, "Mountains.ppm");
  const std::string changed = ErrorText(text::ErrorCode::kDiscChanged);
  const std::string gone = ErrorText(text::ErrorCode::kDriveGone);
  const std::string noDisc = ErrorText(text::ErrorCode::kNoDisc);
  const std::string mediumError = "Medium error: L-EC uncorrectable error (03/11/05)";
  const auto changeTo = [&](const Disc&, std::uint32_t at) {
    return Directives{"change-disc " + other_.string() + " sector " + std::to_string(at)};
  };
  const auto goneAt = [](const Disc&, std::uint32_t at) { return Directives{"gone sector " + std::to_string(at)}; };
  const auto mediumErrors = [](const Disc&, std::uint32_t at) {
    return Directives{"medium-error " + std::to_string(at) + "-" + std::to_string(at + 1)};
  };
  const auto timeOut = [](const Disc&, std::uint32_t at) { return Directives{"time-out " + std::to_string(at)}; };
  const auto shortSector = [](const Disc&, std::uint32_t at) { return Directives{"short " + std::to_string(at) + " 1000"}; };
  const auto notReady = [](const Disc&, std::uint32_t) { return Directives{"not-ready 3"}; };
  const auto refuseReadCd = [](const Disc&, std::uint32_t) { return Directives{"refuse-read-cd"}; };

  const Behaviour behaviours[] = {
      {"spinning up, files", true, notReady, "big.bin", 0, 0, 0, 0, 0, "", Text(text::kWaitingForDrive)},
      {"spinning up, sessions", false, notReady, demoFile, 0, 0, 0, 0, 0, "", Text(text::kWaitingForDrive)},
      {"no disc", true, none, "big.bin", 0, 3, 3, 3, 3, noDisc, "", "", true},
      {"medium error, files", true, mediumErrors, "big.bin", 3, 0, 1, 1, 1, "", mediumError, "6144-10239"},
      {"medium error, sessions", false, mediumErrors, demoFile, 3, 0, 1, 1, 1, "", mediumError, "6144-10239"},
      {"time-out, files", true, timeOut, "big.bin", 3, 0, 1, 1, 1, "", Text(text::kDriveTimeOut), "6144-8191"},
      {"time-out, sessions", false, timeOut, demoFile, 3, 0, 1, 1, 1, "", Text(text::kDriveTimeOut), "6144-8191"},
      {"short transfer, files", true, shortSector, "big.bin", 3, 0, 1, 1, 1, "", "", "7144-8191"},
      {"short transfer, sessions", false, shortSector, demoFile, 3, 0, 1, 1, 1, "", "", "7144-8191"},
      {"READ CD refused", false, refuseReadCd, demoFile, 0, 0, 0, 0, 0, "", Text(text::kReadCdRefused)},
      {"disc changed, files", true, changeTo, "Deep dir/sub", 0, 1, 1, 1, 1, changed, changed},
      {"disc changed, sessions", false, changeTo, demoFolder, 0, 1, 1, 1, 1, changed, changed},
      {"drive gone, files", true, goneAt, "Deep dir/sub", 0, 1, 1, 1, 1, gone, gone},
      {"drive gone, sessions", false, goneAt, demoFolder, 0, 1, 1, 1, 1, gone, gone},
      {"drive gone while saving, files", true, goneAt, "Deep dir/sub/later.bin", 0, 0, 1, 1, 1, gone, gone},
      {"drive gone while saving, sessions", false, goneAt, demoLater, 0, 0, 1, 1, 1, gone, gone},
  };

  std::map<const Disc*, Baseline> baselines;
  for (const Disc* disc : {&demo_, &rockRidge_}) {
    Baseline& baseline = baselines[disc];
    const std::vector<std::string> emulated = {"--emulated-drive", disc->image.string(), "drive"};
    baseline.listing = RunCli({"ls", "--tsv", emulated[0], emulated[1], emulated[2]}).out;
    const fs::path image = dir_ / "baseline.cd";
    RunCli({"image", emulated[0], emulated[1], emulated[2], image.string()});
    baseline.image = FileBytes(image);
    fs::remove(image);
    RunCli({"recover", emulated[0], emulated[1], emulated[2], (dir_ / "baseline").string()});
    for (const auto& entry : fs::recursive_directory_iterator(dir_ / "baseline")) {
      if (entry.is_regular_file()) baseline.files[fs::relative(entry.path(), dir_ / "baseline").generic_string()] = FileBytes(entry.path());
    }
    fs::remove_all(dir_ / "baseline");
  }

  for (const Behaviour& b : behaviours) {
    SCOPED_TRACE(b.name);
    const Disc& disc = b.rockRidge ? rockRidge_ : demo_;
    const Baseline& baseline = baselines.at(&disc);
    const std::string discBytes = FileBytes(disc.image);
    const std::uint32_t at = disc.extents.at(b.where) + b.block;
    const fs::path work = dir_ / "work";
    fs::remove_all(work);
    fs::create_directories(work);
    const auto load = [&] { drive_.Load(b.noDisc ? fs::path() : disc.image, b.directives(disc, at)); };
    const auto said = [&](const CommandResult& result) {
      if (!b.message.empty()) {
        EXPECT_NE(result.err.find(b.message), std::string::npos) << result.err;
      }
      // No disc is never "corrupted".
      EXPECT_EQ(result.err.find(ErrorText(text::ErrorCode::kCdromNotFound)), std::string::npos) << result.err;
    };

    {
      SCOPED_TRACE("ls");
      load();
      const CommandResult result = Run({"ls", "--tsv", "drive", "--log", (work / "ls.log").string()});
      EXPECT_EQ(result.exitCode, b.ls) << result.err;
      if (b.ls != 0) said(result);
      ExpectDriveLeftClean();
      if (b.ls == 0) {
        EXPECT_EQ(result.out, baseline.listing);
      } else {
        for (const std::string& line : Lines(result.out)) {
          EXPECT_NE(baseline.listing.find(line + "\n"), std::string::npos) << "not on the disc: " << line;
        }
      }
    }
    {
      SCOPED_TRACE("image");
      load();
      const fs::path out = work / "copy.cd";
      const CommandResult result = Run({"image", "drive", out.string(), "--log", (work / "image.log").string()});
      EXPECT_EQ(result.exitCode, b.image) << result.err;
      said(result);
      ExpectDriveLeftClean();
      if (!b.logged.empty()) {
        EXPECT_NE(FileBytes(work / "image.log").find(b.logged), std::string::npos) << FileBytes(work / "image.log");
      }
      if (b.image == 0) {
        EXPECT_EQ(FileBytes(out), baseline.image);
      } else if (fs::exists(out)) {
        // What was copied opens as an image, and holds the disc's blocks only.
        const std::string copy = FileBytes(out);
        ExpectBlocksOfDisc(copy.substr(0, copy.size() - kBlock), 0, discBytes, "image");
        EXPECT_EQ(copy.substr(copy.size() - kBlock, 25), "12345abbgtpogpkicupog6789");
        if (!b.partial.empty()) {
          EXPECT_EQ(copy.substr(std::uint64_t{at} * kBlock, kBlock).back(), '\xF6');
        }
      }
    }
    {
      SCOPED_TRACE("recover");
      load();
      const fs::path dest = work / "files";
      const CommandResult result = Run({"recover", "drive", dest.string(), "--report", (work / "report").string(),
                                        "--log", (work / "recover.log").string()});
      EXPECT_EQ(result.exitCode, b.recover) << result.err;
      said(result);
      ExpectDriveLeftClean();
      if (!b.logged.empty()) {
        EXPECT_NE(FileBytes(work / "recover.log").find(b.logged), std::string::npos) << FileBytes(work / "recover.log");
      }
      const std::string report = FileBytes(work / "report");
      if (!b.partial.empty()) {
        EXPECT_EQ(PartialRanges(report, b.where), b.partial) << report;
      }
      // Each file saved is the disc's, whole or with zeros where it did not read.
      if (fs::exists(dest)) {
        for (const auto& entry : fs::recursive_directory_iterator(dest)) {
          if (!entry.is_regular_file()) continue;
          const std::string path = fs::relative(entry.path(), dest).generic_string();
          ASSERT_TRUE(baseline.files.contains(path)) << "not on the disc: " << path;
          const std::string saved = FileBytes(entry.path());
          const std::string& original = baseline.files.at(path);
          ASSERT_EQ(saved.size(), original.size()) << path;
          for (std::size_t i = 0; i < saved.size(); ++i) {
            if (saved[i] != original[i] && saved[i] != '\0') {
              ADD_FAILURE() << path << " differs from the disc at byte " << i;
              break;
            }
          }
        }
      }
    }
    {
      SCOPED_TRACE("sectors");
      load();
      const std::uint32_t first = b.partial.empty() && b.message.empty() ? 16 : at - 2;
      const CommandResult result = Run({"sectors", "drive", std::to_string(first), "8"});
      EXPECT_EQ(result.exitCode, b.sectors) << result.err;
      said(result);
      ExpectDriveLeftClean();
      ExpectBlocksOfDisc(result.out, first, discBytes, "sectors");
      if (b.sectors == 0) {
        EXPECT_EQ(result.out, discBytes.substr(std::uint64_t{first} * kBlock, 8 * kBlock));
      }
    }
  }
}

// A stop by SIGTERM while the drive holds a command: the tray the process
// locked is unlocked when it ends, and it ends as a stop (130), with what it
// saved kept.
TEST_F(LinuxDrive, SigtermWhileTheDriveHoldsACommandUnlocksTheTray) {
  const std::uint32_t at = rockRidge_.extents.at("big.bin") + 2;
  const fs::path work = dir_.path();
  const std::vector<std::vector<std::string>> commands = {
      {"ls", "--tsv", "drive"},
      {"image", "drive", (work / "copy.cd").string()},
      {"recover", "drive", (work / "files").string(), "--report", (work / "report").string()},
  };
  // The stop is sent once the drive says it holds the command.
  const std::string script =
      "log=$1; shift; \"$@\" >/dev/null & pid=$!; "
      "until grep -q '^held' \"$log\"; do sleep 0.01; done; "
      "kill -TERM $pid; touch \"$log.release\"; wait $pid";
  for (const auto& command : commands) {
    SCOPED_TRACE(command[0]);
    // The scan reads no file data: it is held at a folder.
    const std::uint32_t held = command[0] == "ls" ? rockRidge_.extents.at("Deep dir/sub") : at;
    drive_.Load(rockRidge_.image, {"hold sector " + std::to_string(held)});
    std::vector<std::string> argv = {"timeout", "-k", "10", "60", "sh", "-c", script, "sh",
                                     drive_.log().string(), VELMORA_CLI_PATH};
    argv.insert(argv.end(), command.begin(), command.end());
    const CommandResult result = testing::RunCommand(argv, drive_.Environment());
    EXPECT_EQ(result.exitCode, 130) << result.err;
    ExpectDriveLeftClean();
    EXPECT_EQ(drive_.Count("PREVENT-ALLOW 1"), command[0] == "image" ? 0u : 1u);
  }
  // The image stopped at the held sector ends in its track list, after the
  // disc's blocks before that sector.
  const std::string copy = FileBytes(work / "copy.cd");
  ASSERT_GE(copy.size(), kBlock);
  ExpectBlocksOfDisc(copy.substr(0, copy.size() - kBlock), 0, FileBytes(rockRidge_.image), "image");
  EXPECT_EQ(copy.substr(copy.size() - kBlock, 25), "12345abbgtpogpkicupog6789");
}

// `image --rescue` gets the drive ready as `image` (and a scan) does: a drive
// spinning up is waited for with the wait in the log, an empty drive asks for
// a disc, a drive that is gone says so; the log names the drive; the copy is
// the one `image` makes, and nothing is written when there is nothing to read.
TEST_F(LinuxDrive, RescueImageGetsTheDriveReadyAsImageDoes) {
  struct Case {
    const char* name;
    const Disc* disc;  // nullptr: no disc
    std::vector<std::string> directives;
    int exit;
    std::string said;    // on standard error
    std::string logged;  // in --log
  };
  const std::vector<Case> cases = {
      {"spinning up, sessions", &demo_, {"not-ready 3"}, 0, "", Text(text::kWaitingForDrive)},
      {"spinning up, files", &rockRidge_, {"not-ready 3"}, 0, "", Text(text::kWaitingForDrive)},
      {"no disc", nullptr, {}, 3, ErrorText(text::ErrorCode::kNoDisc), ""},
  };
  const fs::path work = dir_.path();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::map<std::string, CommandResult> results;
    for (const std::string how : {"plain", "rescue"}) {
      drive_.Load(c.disc ? c.disc->image : fs::path(), c.directives);
      std::vector<std::string> args = {"image", "drive", (work / (how + ".cd")).string(), "--log",
                                       (work / (how + ".log")).string()};
      if (how == "rescue") args.push_back("--rescue");
      results[how] = Run(args);
      ExpectDriveLeftClean();
      EXPECT_EQ(results[how].exitCode, c.exit) << how << ": " << results[how].err;
      const std::string log = FileBytes(work / (how + ".log"));
      if (!c.said.empty()) {
        EXPECT_NE(results[how].err.find(c.said), std::string::npos) << how << ": " << results[how].err;
      }
      EXPECT_EQ(results[how].err.find(ErrorText(text::ErrorCode::kCdromNotFound)), std::string::npos)
          << how << ": " << results[how].err;
      if (!c.logged.empty()) {
        EXPECT_NE(log.find(c.logged), std::string::npos) << how << ": " << log;
      }
      if (c.disc) {
        EXPECT_NE(log.find(Text(text::kDriveLabel) + " VELMORA SOFTWARE DRIVE"), std::string::npos) << how << ": " << log;
      }
    }
    if (c.disc) {
      EXPECT_EQ(FileBytes(work / "rescue.cd"), FileBytes(work / "plain.cd"));
    } else {
      EXPECT_FALSE(fs::exists(work / "rescue.cd"));
      EXPECT_FALSE(fs::exists(work / "rescue.cd.map"));
    }
    for (const char* name : {"plain.cd", "plain.log", "rescue.cd", "rescue.cd.map", "rescue.log"}) {
      fs::remove(work / name);
    }
  }
}

// A stop while the drive spins up, before the rescue has begun: it ends as a
// stop (130), says that nothing was copied, and leaves no image or map.
// A Stop while the drive spins up ends an image, plain or rescued, before it
// wrote anything, and says so.
TEST_F(LinuxDrive, ImageStoppedWhileTheDriveSpinsUpWritesNothing) {
  const fs::path out = dir_.path() / "stopped.cd";
  for (const std::vector<std::string>& how :
       {std::vector<std::string>{"--rescue"}, std::vector<std::string>{}}) {
    SCOPED_TRACE(how.empty() ? "image" : "image --rescue");
    drive_.Load(demo_.image, {"not-ready 100000"});
    // The stop is sent once the drive has been looked at a few times: the
    // image is waiting for it then.
    const std::string script =
        "log=$1; shift; \"$@\" & pid=$!; "
        "until [ \"$(grep -c 'TEST-UNIT-READY -> CHECK 02/04/01' \"$log\")\" -ge 4 ]; do sleep 0.01; done; "
        "kill -TERM $pid; wait $pid";
    std::vector<std::string> argv = {"timeout", "-k", "10", "60", "sh", "-c", script, "sh",
                                     drive_.log().string(), VELMORA_CLI_PATH, "image"};
    argv.insert(argv.end(), how.begin(), how.end());
    argv.insert(argv.end(), {"drive", out.string()});
    const CommandResult result = testing::RunCommand(argv, drive_.Environment());
    EXPECT_EQ(result.exitCode, 130) << result.err;
    EXPECT_NE(result.err.find("stopped while the drive became ready; nothing was copied"), std::string::npos)
        << result.err;
    EXPECT_FALSE(fs::exists(out));
    EXPECT_FALSE(fs::exists(out.string() + ".map"));
    ExpectDriveLeftClean();
  }
}
}  // namespace
}  // namespace velmora
