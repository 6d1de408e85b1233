// Destinations that hold what a recovery must never write into: what a user
// planted under the disc file's name before `recover --resume` (hard links to
// files elsewhere, a fifo, a link, another user's file, a file of the user's
// own), next to the earlier copies that --resume is there to finish. Real
// files in a temporary folder, discs from genisoimage and xorriso.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "support/IsoBuilder.h"
#include "support/IsoOracle.h"
#include "support/RunCommand.h"
#include "support/TempDir.h"
#include "support/TextFiles.h"
#include "support/TreeWriter.h"
#include "support/UnreadableSectors.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::CommandResult;
using testing::FileBytes;

constexpr std::size_t kBigSize = 300 * 1024;

CommandResult RunCli(std::vector<std::string> args,
                     const std::vector<std::string>& environment = {}) {
  args.insert(args.begin(), VELMORA_CLI_PATH);
  return testing::RunCommand(args, environment);
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// What a name holds, down to the inode: a thing left as it was compares equal.
struct Facts {
  bool present = false;
  ino_t inode = 0;
  mode_t mode = 0;
  uid_t owner = 0;
  nlink_t links = 0;
  std::int64_t modified = 0;
  std::string bytes;  // of a regular file
  bool operator==(const Facts&) const = default;
};

Facts FactsOf(const fs::path& path) {
  struct stat facts {};
  if (lstat(path.c_str(), &facts) != 0) return {};
  return {true,
          facts.st_ino,
          facts.st_mode,
          facts.st_uid,
          facts.st_nlink,
          facts.st_mtim.tv_sec,
          S_ISREG(facts.st_mode) ? FileBytes(path) : std::string()};
}

struct Disc {
  fs::path image;
  std::string big;  // big.bin's bytes
  std::uint32_t bigExtent = 0;
};

Disc MakeDisc(const fs::path& dir, testing::IsoTool tool) {
  const std::string big = testing::PatternBytes(kBigSize, 5);
  // Recorded long before any run: a partial copy keeps the time it is written
  // at, which must not pass for the disc's.
  const auto recorded = std::chrono::sys_days{std::chrono::year{2020} / 1 / 15};
  testing::WriteTree(dir / "tree",
                     {{.path = "big.bin", .content = big, .mtime = recorded},
                      {.path = "DOCS/small.txt", .content = "small", .mtime = recorded}});
  testing::IsoOptions options;
  options.tool = tool;
  options.rockRidge = true;
  const fs::path image = testing::MakeIso(dir / "tree", dir / "disc.iso", options);
  std::uint32_t extent = 0;
  for (const testing::OracleRecord& record : testing::IsoinfoListing(image, true)) {
    if (record.path == "big.bin") extent = record.extent;
  }
  return {image, big, extent};
}

// What DEST holds under the disc file's name before the resumed run.
struct PlantCase {
  const char* name;
  // Plants it at dest/big.bin (outside: a folder beside DEST); returns the
  // path whose file must come out unchanged, or nothing.
  std::function<fs::path(const Disc& disc, const fs::path& dest, const fs::path& outside)> plant;
};

const PlantCase kNotOurs[] = {
    {"HardLinkToAnEmptyFileElsewhere",
     [](const Disc&, const fs::path& dest, const fs::path& outside) {
       WriteFile(outside / "secret", "");
       fs::permissions(outside / "secret", fs::perms::owner_read | fs::perms::owner_write);
       fs::create_hard_link(outside / "secret", dest / "big.bin");
       return outside / "secret";
     }},
    // Its bytes are an earlier copy's; its second link makes it not ours.
    {"HardLinkToACopyElsewhere",
     [](const Disc& disc, const fs::path& dest, const fs::path& outside) {
       WriteFile(outside / "copy", disc.big.substr(0, 128 * 1024));
       fs::create_hard_link(outside / "copy", dest / "big.bin");
       return outside / "copy";
     }},
    // Zeros where an earlier copy would hold what did not read, then other bytes.
    {"UsersFileOfZerosThenOtherBytes",
     [](const Disc&, const fs::path& dest, const fs::path&) {
       WriteFile(dest / "big.bin",
                 std::string(128 * 1024, '\0') + testing::PatternBytes(72 * 1024, 9));
       return dest / "big.bin";
     }},
    {"UsersFileOfZeros",
     [](const Disc&, const fs::path& dest, const fs::path&) {
       WriteFile(dest / "big.bin", std::string(100 * 1024, '\0'));
       return dest / "big.bin";
     }},
    {"Fifo",
     [](const Disc&, const fs::path& dest, const fs::path&) {
       EXPECT_EQ(mkfifo((dest / "big.bin").c_str(), 0600), 0);
       return dest / "big.bin";
     }},
    {"LinkToACopyElsewhere",
     [](const Disc& disc, const fs::path& dest, const fs::path& outside) {
       WriteFile(outside / "copy", disc.big.substr(0, 128 * 1024));
       fs::create_symlink(outside / "copy", dest / "big.bin");
       return outside / "copy";
     }},
    // An earlier copy's bytes, owned by someone else: not what this user's run made.
    {"AnotherUsersCopy",
     [](const Disc& disc, const fs::path& dest, const fs::path&) {
       WriteFile(dest / "big.bin", disc.big.substr(0, 128 * 1024));
       if (geteuid() == 0) {
         EXPECT_EQ(chown((dest / "big.bin").c_str(), 65534, 65534), 0);
       }
       return dest / "big.bin";
     }},
};

class HostileDestination : public ::testing::Test {
 protected:
  testing::TempDir dir;
};

// Whatever stands under the disc file's name and is not provably an earlier
// copy of it is left exactly as it was, however much of it matches; the disc's
// file is saved whole beside it.
TEST_F(HostileDestination, ResumeNeverWritesIntoWhatItDidNotMake) {
  for (const testing::IsoTool tool : {testing::IsoTool::kGenisoimage, testing::IsoTool::kXorriso}) {
    const fs::path writer = dir / (tool == testing::IsoTool::kXorriso ? "xorriso" : "genisoimage");
    fs::create_directories(writer);
    const Disc disc = MakeDisc(writer, tool);
    for (const PlantCase& c : kNotOurs) {
      SCOPED_TRACE(writer.filename().string() + " " + c.name);
      if (std::string(c.name) == "AnotherUsersCopy" && geteuid() != 0) continue;
      const fs::path dest = writer / c.name / "dest";
      const fs::path outside = writer / c.name / "outside";
      fs::create_directories(dest);
      fs::create_directories(outside);
      const fs::path kept = c.plant(disc, dest, outside);
      const Facts before = FactsOf(kept);
      const Facts planted = FactsOf(dest / "big.bin");
      const fs::path report = writer / c.name / "report";

      const CommandResult run = RunCli(
          {"recover", "--resume", disc.image.string(), dest.string(), "--report", report.string()});
      EXPECT_EQ(run.exitCode, 0) << run.err;
      EXPECT_EQ(FactsOf(kept), before);
      EXPECT_EQ(FactsOf(dest / "big.bin"), planted);
      EXPECT_TRUE(FileBytes(dest / "big (1).bin") == disc.big) << "the disc's file differs";
      EXPECT_NE(FileBytes(report).find("recovered\tbig.bin\t\tbig (1).bin\n"), std::string::npos)
          << FileBytes(report);
    }
  }
}

// What an earlier run left (partial with zeros where a sector did not read,
// stopped short, or whole under another time) is finished in its place.
TEST_F(HostileDestination, ResumeFinishesTheCopiesAnEarlierRunLeft) {
  for (const testing::IsoTool tool : {testing::IsoTool::kGenisoimage, testing::IsoTool::kXorriso}) {
    const fs::path writer = dir / (tool == testing::IsoTool::kXorriso ? "xorriso" : "genisoimage");
    fs::create_directories(writer);
    const Disc disc = MakeDisc(writer, tool);
    struct Case {
      const char* name;
      std::function<void(const fs::path& dest)> between;  // what became of the earlier copy
      std::string status;                                 // the resumed run's report word
    };
    const Case cases[] = {
        {"Partial", [](const fs::path&) {}, "recovered"},
        {"Stopped", [](const fs::path& dest) { fs::resize_file(dest / "big.bin", 5 * 2048); },
         "recovered"},
        {"WholeUnderAnotherTime",
         [&](const fs::path& dest) {
           WriteFile(dest / "big.bin", disc.big);
           fs::last_write_time(dest / "big.bin",
                               fs::file_time_type::clock::now() - std::chrono::hours(50));
         },
         "already there"},
    };
    for (const Case& c : cases) {
      SCOPED_TRACE(writer.filename().string() + " " + c.name);
      const fs::path dest = writer / c.name;
      // The first run meets sector 20 of big.bin unreadable, as a scratch leaves it.
      const testing::UnreadableSectors scratch(disc.image, {disc.bigExtent + 20}, writer / "tries");
      const CommandResult first =
          RunCli({"recover", disc.image.string(), dest.string()}, scratch.Environment());
      ASSERT_EQ(first.exitCode, 1) << first.err;
      ASSERT_EQ(FileBytes(dest / "big.bin").substr(20 * 2048, 2048), std::string(2048, '\0'));
      c.between(dest);
      const Facts earlier = FactsOf(dest / "big.bin");

      const fs::path report = writer / (std::string(c.name) + ".report");
      const CommandResult resumed = RunCli(
          {"recover", "--resume", disc.image.string(), dest.string(), "--report", report.string()});
      EXPECT_EQ(resumed.exitCode, 0) << resumed.err;
      EXPECT_TRUE(FileBytes(dest / "big.bin") == disc.big) << "big.bin is not the disc's file";
      EXPECT_FALSE(fs::exists(dest / "big (1).bin"));
      EXPECT_NE(FileBytes(report).find(c.status + "\tbig.bin\t\tbig.bin\n"), std::string::npos)
          << FileBytes(report);
      if (c.status == "already there") {
        EXPECT_EQ(FactsOf(dest / "big.bin"), earlier);
      }
    }
  }
}

// A command still running after this is killed and the test fails: a report
// or log opened to wait for a reader would hang it.
constexpr const char* kBoundSeconds = "60";

CommandResult RunBounded(std::vector<std::string> args) {
  args.insert(args.begin(), {"timeout", "-k", "5", kBoundSeconds, VELMORA_CLI_PATH});
  CommandResult result = testing::RunCommand(args);
  EXPECT_NE(result.exitCode, 124) << "did not end within " << kBoundSeconds << " s";
  return result;
}

// A fifo (with a reader or none), a socket, a device, a folder or a link to
// nowhere named as the log or the report is refused before any work: nothing
// waits for a reader, nothing is made, and the message names what it is.
TEST_F(HostileDestination, LogOrReportThatIsNoFileIsRefusedBeforeAnyWork) {
  const Disc disc = MakeDisc(dir.path(), testing::IsoTool::kGenisoimage);
  struct Case {
    const char* name;
    std::function<fs::path()> make;
    std::string says;
  };
  int reader = -1;
  int listener = -1;
  const Case cases[] = {
      {"FifoWithoutAReader",
       [&] {
         EXPECT_EQ(mkfifo((dir / "lonely").c_str(), 0600), 0);
         return dir / "lonely";
       },
       "a fifo, not a file"},
      {"FifoWithAReader",
       [&] {
         EXPECT_EQ(mkfifo((dir / "read").c_str(), 0600), 0);
         reader = open((dir / "read").c_str(), O_RDONLY | O_NONBLOCK);
         EXPECT_GE(reader, 0);
         return dir / "read";
       },
       "a fifo, not a file"},
      {"Socket",
       [&] {
         listener = socket(AF_UNIX, SOCK_STREAM, 0);
         sockaddr_un address{};
         address.sun_family = AF_UNIX;
         const std::string path = (dir / "socket").string();
         path.copy(address.sun_path, sizeof address.sun_path - 1);
         EXPECT_EQ(bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
         return dir / "socket";
       },
       "a socket, not a file"},
      {"Device", [] { return fs::path("/dev/null"); }, "a device, not a file"},
      {"Folder",
       [&] {
         fs::create_directory(dir / "folder");
         return dir / "folder";
       },
       "a folder, not a file"},
      {"LinkToNowhere",
       [&] {
         fs::create_symlink(dir / "nowhere" / "made.txt", dir / "dangling");
         return dir / "dangling";
       },
       "a link that leads nowhere"},
  };
  for (const Case& c : cases) {
    const fs::path path = c.make();
    for (const char* option : {"--log", "--report"}) {
      for (const char* command : {"ls", "recover"}) {
        if (std::string(option) == "--report" && std::string(command) == "ls") continue;
        SCOPED_TRACE(std::string(c.name) + " " + command + " " + option);
        std::vector<std::string> args = {command, disc.image.string()};
        if (std::string(command) == "recover") args.push_back((dir / "dest").string());
        args.insert(args.end(), {option, path.string()});
        const CommandResult run = RunBounded(args);
        EXPECT_EQ(run.exitCode, 2) << run.err;
        EXPECT_EQ(run.err, "velmora-cli: " + std::string(option) + " " + path.string() + ": " +
                               c.says + "\n");
        EXPECT_EQ(run.out, "");
        EXPECT_FALSE(fs::exists(dir / "dest"));
      }
    }
  }
  EXPECT_FALSE(fs::exists(dir / "nowhere"));
  close(reader);
  close(listener);
}

// The log or the report named as standard output or error, or as the file
// standard output was sent to, goes after what is there: the listing, the
// messages and the report are all kept.
TEST_F(HostileDestination, LogOrReportOnStandardOutputOrErrorKeepsWhatIsThere) {
  const Disc disc = MakeDisc(dir.path(), testing::IsoTool::kXorriso);
  const std::string listing = RunCli({"ls", "--tsv", disc.image.string()}).out;
  ASSERT_FALSE(listing.empty());
  const std::string heading = std::string(19, '-') + "Message Log Report of Orvane Velmora CDROM";
  const auto holdsListingAndLog = [&](const std::string& text) {
    EXPECT_NE(text.find(listing), std::string::npos) << text;
    EXPECT_TRUE(text.starts_with(heading)) << text;
    EXPECT_NE(text.find("Process Completed\r\n"), std::string::npos) << text;
  };
  const fs::path out = dir / "out";
  struct Case {
    const char* name;
    std::string shell;  // run by sh with the program and the image as $1 and $2
  };
  const Case cases[] = {
      {"StdoutToAFile", "\"$1\" ls --tsv \"$2\" --log /dev/stdout > \"$3\""},
      {"TheFileStdoutGoesTo", "\"$1\" ls --tsv \"$2\" --log \"$3\" > \"$3\""},
      {"StdoutToAPipe", "\"$1\" ls --tsv \"$2\" --log /dev/fd/1 | cat > \"$3\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CommandResult run = testing::RunCommand(
        {"sh", "-c", c.shell, "sh", VELMORA_CLI_PATH, disc.image.string(), out.string()});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    holdsListingAndLog(FileBytes(out));
  }

  // The report on standard output, the log on standard error after the
  // messages, which the summary line ends.
  const fs::path err = dir / "err";
  const CommandResult recover = testing::RunCommand(
      {"sh", "-c", "\"$1\" recover \"$2\" \"$3\" --report /dev/stdout --log /dev/stderr 2> \"$4\"",
       "sh", VELMORA_CLI_PATH, disc.image.string(), (dir / "dest").string(), err.string()});
  EXPECT_EQ(recover.exitCode, 0) << FileBytes(err);
  const std::vector<std::string> report = testing::Lines(recover.out);
  ASSERT_EQ(report.size(), 4u) << recover.out;
  EXPECT_EQ(report[1], "recovered\tbig.bin\t\tbig.bin");
  EXPECT_TRUE(report[3].starts_with("# 2 recovered, ")) << report[3];
  const std::string messages = FileBytes(err);
  EXPECT_TRUE(messages.starts_with(heading)) << messages;
  EXPECT_NE(messages.find("Process Completed\r\n"), std::string::npos) << messages;
  EXPECT_TRUE(
      messages.ends_with("velmora-cli: 2 files recovered, 0 partly, 0 failed, 0 filtered "
                         "out; 1 folder created in " +
                         (dir / "dest").string() + "; 0 names changed\n"))
      << messages;
}

}  // namespace
}  // namespace velmora
