// Discs made to make a reader hang, eat memory or fill the disk: each is small,
// made byte by byte (no mastering tool writes these shapes), and every command
// on it must end within a generous bound, list what the disc really holds and
// write no more than the medium holds.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "entries/EntryTable.h"
#include "media/ImageTrailer.h"
#include "recovery/RecoveryEngine.h"
#include "select/RecoveryFilterList.h"
#include "support/EngineScan.h"
#include "support/HandDisc.h"
#include "support/RunCommand.h"
#include "support/TempDir.h"
#include "support/TextFiles.h"
#include "text/StringTable.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::CommandResult;
using testing::HandDisc;
using testing::HandRecord;

using testing::Lines;

std::string FileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Far above what any of these discs needs once its work is bounded; a command
// still running then is killed and the test fails.
constexpr const char* kBoundSeconds = "240";
constexpr int kTimedOut = 124;  // timeout(1)'s status for a command it ended

// The sanitizers' allocator keeps freed blocks per size class and adds its
// shadow: a memory bound measures the program only in a build without them.
#ifdef __SANITIZE_ADDRESS__
constexpr bool kMemoryMeasured = false;
#else
constexpr bool kMemoryMeasured = true;
#endif

// With maxMemoryMib, the program's largest resident set must stay below it
// too, as GNU time measures it (a process spawned from the test would count
// the test's own memory from before its exec).
CommandResult RunBounded(std::vector<std::string> args, std::optional<long> maxMemoryMib = {}) {
  args.insert(args.begin(), {"timeout", "-k", "10", kBoundSeconds, VELMORA_CLI_PATH});
  testing::TempDir measured;
  const fs::path peak = measured / "peak";
  if (!kMemoryMeasured) maxMemoryMib.reset();
  if (maxMemoryMib) args.insert(args.begin(), {"/usr/bin/time", "-f", "%M", "-o", peak.string()});
  CommandResult result = testing::RunCommand(args);
  EXPECT_NE(result.exitCode, kTimedOut) << "did not end within " << kBoundSeconds << " s";
  EXPECT_NE(result.exitCode, 128 + 9) << "killed after the bound";
  if (maxMemoryMib) {
    // GNU time says "Command exited with non-zero status N" first then.
    const std::vector<std::string> lines = Lines(FileBytes(peak));
    const long peakKib = lines.empty() ? -1 : std::stol(lines.back());
    EXPECT_GE(peakKib, 0) << "GNU time measured nothing";
    EXPECT_LE(peakKib, *maxMemoryMib * 1024) << "held more than " << *maxMemoryMib << " MiB";
  }
  return result;
}

std::string Repeat(const std::string& part, std::size_t times, const std::string& separator) {
  std::string out;
  for (std::size_t i = 0; i < times; ++i) out += (i ? separator : "") + part;
  return out;
}

// Removes dir holding a chain of folders "D" deeper than a path may be long
// (std::filesystem gives up at PATH_MAX, rm takes quadratic time): the chain
// is peeled from the top, each folder moved up before its parent goes.
void RemoveChain(const fs::path& dir) {
  fs::path top = dir / "D";
  for (int k = 0; fs::exists(top / "D"); ++k) {
    const fs::path next = dir / ("peel" + std::to_string(k % 2));
    fs::rename(top / "D", next);
    fs::remove_all(top);
    top = next;
  }
  fs::remove_all(dir);
}

class HostileDisc : public ::testing::Test {
 protected:
  testing::TempDir dir;
};

// A chain of 10,000 nested folders, a file at the bottom: listing and recovery
// build each path and each folder handle once, not again from the root.
TEST_F(HostileDisc, ChainOfTenThousandFoldersListsAndRecovers) {
  constexpr std::uint32_t kDepth = 10000;
  constexpr std::uint32_t kRoot = 18;
  const std::uint32_t fileLba = kRoot + kDepth + 1;
  HandDisc disc(fileLba + 1);
  disc.WritePrimary(kRoot, 2048);
  for (std::uint32_t k = 0; k <= kDepth; ++k) {
    const std::uint32_t at = kRoot + k;
    std::vector<HandRecord> records;
    if (k < kDepth) {
      records.push_back({.name = "D", .folder = true, .extent = at + 1, .length = 2048});
    } else {
      records.push_back({.name = "BOTTOM.TXT;1", .extent = fileLba, .length = 6});
    }
    disc.WriteDirectory(at, k == 0 ? at : at - 1, records);
  }
  disc.WriteText(fileLba, "bottom");
  const fs::path image = dir / "chain.iso";
  disc.Save(image);

  const CommandResult listing = RunBounded({"ls", "--tsv", image.string()});
  ASSERT_EQ(listing.exitCode, 0) << listing.err;
  const std::vector<std::string> lines = Lines(listing.out);
  ASSERT_EQ(lines.size(), kDepth + 1);
  const std::string deepest = Repeat("D", kDepth, "/");
  EXPECT_TRUE(lines[kDepth - 1].starts_with(deepest + "\td\t")) << lines[kDepth - 1].substr(0, 80);
  EXPECT_TRUE(lines[kDepth].starts_with(deepest + "/BOTTOM.TXT\tf\t6\t"));

  // Removing 10,000 folders costs tens of seconds on a disk mounted with
  // discard; memory takes them at once, where the machine offers it.
  std::error_code error;
  const fs::path shm = "/dev/shm";
  const fs::path dest = fs::is_directory(shm, error) && access(shm.c_str(), W_OK) == 0
                            ? shm / ("velmora-chain-" + std::to_string(getpid()))
                            : dir / "out";
  const CommandResult rescue = RunBounded(
      {"recover", image.string(), dest.string(), "--report", (dir / "report").string()});
  EXPECT_EQ(rescue.exitCode, 0) << rescue.err;
  EXPECT_NE(rescue.err.find("1 file recovered, 0 partly, 0 failed, 0 filtered out; 10000 folders "
                            "created"),
            std::string::npos)
      << rescue.err;
  EXPECT_NE(FileBytes(dir / "report")
                .find("recovered\t" + deepest + "/BOTTOM.TXT\t\t" + deepest + "/BOTTOM.TXT\n"),
            std::string::npos);
  EXPECT_TRUE(fs::is_directory(dest / "D" / "D" / "D"));
  RemoveChain(dest);
}

// A chain 6,000 folders deep with a file in each: every file's row in the
// report and the log names its whole path (200 MB of text), and the recovery
// writes each row as it comes, holding no more than one path at a time.
TEST_F(HostileDisc, ChainWithAFileInEveryFolderReportsInBoundedMemory) {
  constexpr std::uint32_t kDepth = 6000;
  constexpr std::uint32_t kRoot = 18;
  const std::uint32_t fileLba = kRoot + kDepth + 1;
  HandDisc disc(fileLba + 1);
  disc.WritePrimary(kRoot, 2048);
  for (std::uint32_t k = 0; k <= kDepth; ++k) {
    const std::uint32_t at = kRoot + k;
    std::vector<HandRecord> records;
    if (k < kDepth)
      records.push_back({.name = "D", .folder = true, .extent = at + 1, .length = 2048});
    records.push_back({.name = "F.TXT;1", .extent = fileLba, .length = 4});
    disc.WriteDirectory(at, k == 0 ? at : at - 1, records);
  }
  disc.WriteText(fileLba, "file");
  const fs::path image = dir / "chain.iso";
  disc.Save(image);

  std::error_code error;
  const fs::path shm = "/dev/shm";
  const fs::path dest = fs::is_directory(shm, error) && access(shm.c_str(), W_OK) == 0
                            ? shm / ("velmora-files-" + std::to_string(getpid()))
                            : dir / "out";
  const fs::path report = dir / "report";
  const fs::path log = dir / "log";
  // Kept as strings, the paths took 430 MiB here (3.5 GiB at 20,000 deep).
  const CommandResult rescue = RunBounded({"recover", image.string(), dest.string(), "--report",
                                           report.string(), "--log", log.string()},
                                          150);
  EXPECT_EQ(rescue.exitCode, 0) << rescue.err;
  const std::string deepest = Repeat("D", kDepth, "/");
  std::ifstream reportFile(report, std::ios::binary);
  std::size_t rows = 0;
  std::string last;
  std::string summary;
  for (std::string line; std::getline(reportFile, line);) {
    if (line.starts_with("# ")) {
      summary = line;
    } else if (line.starts_with("recovered\t")) {
      ++rows;
      last = std::move(line);
    }
  }
  EXPECT_EQ(rows, kDepth + 1);
  EXPECT_EQ(last, "recovered\t" + deepest + "/F.TXT\t\t" + deepest + "/F.TXT");
  EXPECT_TRUE(summary.starts_with("# 6001 recovered, 0 partial, 0 failed")) << summary;
  std::ifstream logFile(log, std::ios::binary);
  logFile.seekg(-64 * 1024, std::ios::end);
  const std::string logEnd{std::istreambuf_iterator<char>(logFile), {}};
  EXPECT_NE(logEnd.find(std::string(20, ' ') + deepest + "/F.TXT\r\n"), std::string::npos);
  EXPECT_TRUE(logEnd.ends_with("Process Completed\r\n")) << logEnd.substr(logEnd.size() - 200);
  EXPECT_EQ(FileBytes(dest / "D" / "D" / "F.TXT"), "file");
  RemoveChain(dest);
}

// Stop is heard while the folders are made, not only between files.
TEST_F(HostileDisc, StopIsHeardWhileFoldersAreMade) {
  constexpr std::uint32_t kFolders = 300;
  constexpr std::uint32_t kRoot = 18;
  HandDisc disc(kRoot + kFolders + 1);
  std::vector<HandRecord> top;
  for (std::uint32_t k = 0; k < kFolders; ++k) {
    top.push_back({.name = "F" + std::to_string(k), .folder = true, .extent = kRoot + 1 + k,
                   .length = 2048});
  }
  const std::uint32_t rootBytes = HandDisc::DirectoryBytes(top);
  ASSERT_EQ(rootBytes, 2048u * 6);
  // The root takes six sectors; the folders follow it.
  for (HandRecord& record : top) record.extent += 5;
  disc.WritePrimary(kRoot, rootBytes);
  disc.WriteDirectory(kRoot, kRoot, top);
  for (const HandRecord& record : top) disc.WriteDirectory(record.extent, kRoot, {});
  const fs::path image = dir / "folders.iso";
  disc.Save(image);

  testing::EngineScan scan(platform::CreateHostMachine());
  scan.ScanImage(image.string());
  ASSERT_EQ(scan.table.size(), kFolders + 1);
  disc::RecoveryEngine engine(scan.reader, *scan.machine, scan.state, scan.host, scan.scan);
  std::size_t pumps = 0;
  scan.host.onPump = [&] {
    if (++pumps == 100) disc::ScanProcess::RequestStop(scan.state);
  };
  scan.host.scriptedPrompts.folderAnswer = (dir / "out").string();
  scan.state.recoverAll = true;
  const disc::RecoverySummary summary = engine.Run(scan.table, select::RecoveryFilterList());
  EXPECT_TRUE(summary.aborted);
  EXPECT_GT(summary.foldersCreated, 0u);
  EXPECT_LT(summary.foldersCreated, kFolders);
  EXPECT_EQ(scan.host.log.rows().back().status, text::LoadText(text::kProcessAborted));
}

// Every folder's length claims the rest of the disc, so each would list the
// folders after it again: each sector is listed once, under its own folder.
TEST_F(HostileDisc, OverlappingFoldersAreListedOnce) {
  constexpr std::uint32_t kFolders = 800;
  constexpr std::uint32_t kRoot = 18;
  const std::uint32_t dataLba = kRoot + kFolders + 1;
  HandDisc disc(dataLba + 1);
  const auto rest = [&](std::uint32_t lba) { return (disc.sectors() - lba) * 2048; };
  disc.WritePrimary(kRoot, rest(kRoot));
  for (std::uint32_t k = 0; k <= kFolders; ++k) {
    const std::uint32_t at = kRoot + k;
    std::vector<HandRecord> records;
    if (k < kFolders) {
      records.push_back({.name = "D", .folder = true, .extent = at + 1, .length = rest(at + 1)});
    }
    records.push_back({.name = "F" + std::to_string(k) + ".TXT;1", .extent = dataLba, .length = 4});
    disc.WriteDirectory(at, k == 0 ? at : at - 1, records, rest(at));
  }
  disc.WriteText(dataLba, "data");
  const fs::path image = dir / "overlap.iso";
  disc.Save(image);

  const CommandResult listing = RunBounded({"ls", "--tsv", image.string()});
  ASSERT_EQ(listing.exitCode, 0) << listing.err;
  const std::vector<std::string> lines = Lines(listing.out);
  ASSERT_EQ(lines.size(), 2 * kFolders + 1);
  std::string folder;
  for (std::uint32_t k = 0; k <= kFolders; ++k) {
    const std::string file = (folder.empty() ? "" : folder + "/") + "F" + std::to_string(k) + ".TXT";
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [&](const std::string& line) { return line.starts_with(file + "\t"); }),
              1)
        << file;
    folder += folder.empty() ? "D" : "/D";
  }
}

// 12,000 files of one name in one folder: each gets the next number at once,
// past "A (9999)" too, and a second run with --resume finds each where the
// first left it.
TEST_F(HostileDisc, TwelveThousandEqualNamesEachGetTheirNumber) {
  constexpr std::uint32_t kFiles = 12000;
  constexpr std::uint32_t kRoot = 18;
  std::vector<HandRecord> records(kFiles, HandRecord{.name = "A;1", .length = 1});
  const std::uint32_t rootSectors = HandDisc::DirectoryBytes(records) / 2048;
  const std::uint32_t dataLba = kRoot + rootSectors;
  for (HandRecord& record : records) record.extent = dataLba;
  HandDisc disc(dataLba + 1);
  disc.WritePrimary(kRoot, rootSectors * 2048);
  disc.WriteDirectory(kRoot, kRoot, records);
  disc.WriteText(dataLba, "a");
  const fs::path image = dir / "names.iso";
  disc.Save(image);

  const fs::path dest = dir / "out";
  const CommandResult rescue = RunBounded({"recover", image.string(), dest.string()});
  EXPECT_EQ(rescue.exitCode, 0) << rescue.err;
  std::size_t files = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(dest)) {
    ++files;
    EXPECT_EQ(FileBytes(entry.path()), "a");
  }
  EXPECT_EQ(files, kFiles);
  EXPECT_TRUE(fs::exists(dest / "A"));
  EXPECT_TRUE(fs::exists(dest / "A (1)"));
  EXPECT_TRUE(fs::exists(dest / "A (10000)"));
  EXPECT_TRUE(fs::exists(dest / ("A (" + std::to_string(kFiles - 1) + ")")));
  EXPECT_EQ(rescue.err.find("unknown error"), std::string::npos) << rescue.err;

  const CommandResult resumed = RunBounded({"recover", "--resume", image.string(), dest.string()});
  EXPECT_EQ(resumed.exitCode, 0) << resumed.err;
  EXPECT_NE(resumed.err.find("0 files recovered, 0 partly, 0 failed, 0 filtered out, " +
                             std::to_string(kFiles) + " already there"),
            std::string::npos)
      << resumed.err;
}

// Records that claim 4 GiB at a readable extent of a 40-sector disc: what lies
// past the medium is unreadable, zeros at the file's size, and never written:
// the files hold no more blocks than the medium gave them.
TEST_F(HostileDisc, FileClaimingMoreThanTheMediumIsPartialAndKeptToTheMedium) {
  constexpr std::uint32_t kRoot = 18;
  constexpr std::uint32_t kExtent = 20;
  constexpr std::uint32_t kSectors = 40;
  constexpr std::uint32_t kClaims = 40;
  std::vector<HandRecord> records;
  for (std::uint32_t k = 0; k < kClaims; ++k) {
    records.push_back({.name = "BIG" + std::to_string(k) + ".BIN;1", .extent = kExtent,
                       .length = 0xFFFFFFFF});
  }
  records.push_back({.name = "PAST.BIN;1", .extent = kSectors + 5, .length = 4096});
  ASSERT_EQ(HandDisc::DirectoryBytes(records), 2048u);
  HandDisc disc(kSectors);
  disc.WritePrimary(kRoot, 2048);
  disc.WriteDirectory(kRoot, kRoot, records);
  disc.WriteText(kExtent, "start of the data");
  const fs::path image = dir / "claims.iso";
  disc.Save(image);

  const fs::path dest = dir / "out";
  const fs::path report = dir / "report";
  const CommandResult rescue =
      RunBounded({"recover", image.string(), dest.string(), "--report", report.string()});
  EXPECT_EQ(rescue.exitCode, 1) << rescue.err;
  const std::uint64_t onMedium = (kSectors - kExtent) * 2048;
  const std::string reportText = FileBytes(report);
  for (std::uint32_t k = 0; k < kClaims; ++k) {
    const std::string name = "BIG" + std::to_string(k) + ".BIN";
    SCOPED_TRACE(name);
    ASSERT_TRUE(fs::exists(dest / name));
    EXPECT_EQ(fs::file_size(dest / name), 0xFFFFFFFFu);
    struct stat facts {};
    ASSERT_EQ(stat((dest / name).c_str(), &facts), 0);
    EXPECT_LE(std::uint64_t(facts.st_blocks) * 512, onMedium + 64 * 1024);
    std::ifstream saved(dest / name, std::ios::binary);
    std::string start(onMedium + 4096, '\1');
    saved.read(start.data(), static_cast<std::streamsize>(start.size()));
    EXPECT_EQ(start.substr(0, 17), "start of the data");
    EXPECT_EQ(start.substr(onMedium), std::string(4096, '\0'));
    EXPECT_NE(reportText.find("partial\t" + name + "\t" + std::to_string(onMedium) + "-4294967294\t" +
                              name + "\n"),
              std::string::npos)
        << reportText;
  }
  // Nothing of it lies on the medium: nothing is kept.
  EXPECT_FALSE(fs::exists(dest / "PAST.BIN"));
  EXPECT_NE(reportText.find("failed\tPAST.BIN\t0-4095\t\n"), std::string::npos) << reportText;
}

// A .cd image (the small disc followed by its trailer) with the given track list.
fs::path ImageWithTracks(const fs::path& at, const HandDisc& disc,
                         const std::vector<disc::TrackNode>& tracks) {
  disc.Save(at);
  disc::ImageTrailer trailer;
  trailer.multiTrack = !tracks.empty();
  trailer.lastTrack = static_cast<std::uint8_t>(tracks.size());
  trailer.tracks = tracks;
  const std::vector<std::byte> block = disc::BuildImageTrailer(trailer);
  std::ofstream out(at, std::ios::binary | std::ios::app);
  out.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(block.size()));
  return at;
}

HandDisc SmallDisc() {
  HandDisc disc(24);
  disc.WritePrimary(18, 2048);
  disc.WriteDirectory(18, 18, {{.name = "A.TXT;1", .extent = 20, .length = 5}});
  disc.WriteText(20, "hello");
  return disc;
}

// Track starts and ends near 2^32 frames: what lies past the image is cut off,
// said, and costs nothing; a track list that names nothing inside the image is
// refused.
TEST_F(HostileDisc, TrackListPastTheImageIsCutAndSaid) {
  const HandDisc disc = SmallDisc();
  const fs::path cut = ImageWithTracks(dir / "cut.cd", disc,
                                       {{1, 150, 0xFFFFFF00}, {2, 0xFFFFFFF0, 0xFFFFFFFF}});
  const CommandResult listing = RunBounded({"ls", "--tsv", cut.string()});
  EXPECT_EQ(listing.exitCode, 1) << listing.err;
  EXPECT_NE(listing.out.find("Session 1/A.TXT\tf\t5\t"), std::string::npos) << listing.out;
  EXPECT_NE(listing.err.find("names sectors past its 24 sectors; 2 session(s) cut to the image"),
            std::string::npos)
      << listing.err;

  const fs::path copy = dir / "copy.cd";
  const CommandResult image = RunBounded({"image", cut.string(), copy.string()});
  EXPECT_EQ(image.exitCode, 1) << image.err;
  ASSERT_TRUE(fs::exists(copy));
  EXPECT_EQ(fs::file_size(copy), fs::file_size(cut));

  // In the emulated drive the cut track list is said as the file's is.
  const CommandResult emulated =
      RunBounded({"ls", "--tsv", "drive", "--emulated-drive", cut.string()});
  EXPECT_EQ(emulated.exitCode, 1) << emulated.err;
  EXPECT_NE(emulated.err.find("names sectors past its 24 sectors; 2 session(s) cut to the image"),
            std::string::npos)
      << emulated.err;
  EXPECT_NE(emulated.out.find("A.TXT\tf\t5\t"), std::string::npos) << emulated.out;

  const fs::path past = ImageWithTracks(dir / "past.cd", disc, {{1, 0xFFFF0000, 0xFFFFFFFF}});
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"ls", past.string()},
        std::vector<std::string>{"ls", "drive", "--emulated-drive", past.string()}}) {
    const CommandResult refused = RunBounded(args);
    EXPECT_EQ(refused.exitCode, 2) << refused.err;
    EXPECT_NE(refused.err.find("every session of the image's track list lies past its 24 sectors"),
              std::string::npos)
        << refused.err;
  }
}

// A .cd that holds its trailer and nothing else is no disc; a trailer whose
// signature is damaged loses the track list, which is said.
TEST_F(HostileDisc, TrailerAloneIsRefusedAndADamagedSignatureIsSaid) {
  const fs::path alone = ImageWithTracks(dir / "alone.cd", HandDisc(0), {});
  ASSERT_EQ(fs::file_size(alone), 2048u);
  for (const char* command : {"ls", "image"}) {
    SCOPED_TRACE(command);
    std::vector<std::string> args = {command, alone.string()};
    if (std::string(command) == "image") args.push_back((dir / "copy").string());
    const CommandResult refused = RunBounded(args);
    EXPECT_EQ(refused.exitCode, 2) << refused.err;
    EXPECT_NE(refused.err.find("the image holds no sector, only its track list"), std::string::npos)
        << refused.err;
  }
  EXPECT_FALSE(fs::exists(dir / "copy.cd"));

  const fs::path damaged = ImageWithTracks(dir / "damaged.cd", SmallDisc(), {{1, 150, 24}});
  {
    std::fstream patch(damaged, std::ios::binary | std::ios::in | std::ios::out);
    patch.seekp(24 * 2048 + 3);
    patch.put('X');
  }
  const fs::path log = dir / "damaged.log";
  const CommandResult listing = RunBounded({"ls", "--tsv", damaged.string(), "--log", log.string()});
  EXPECT_EQ(listing.exitCode, 1) << listing.err;
  EXPECT_NE(listing.out.find("A.TXT\tf\t5\t"), std::string::npos) << listing.out;
  const std::string said = "the image's last block is not a whole track list (damaged or cut)";
  EXPECT_NE(listing.err.find(said), std::string::npos) << listing.err;
  EXPECT_NE(FileBytes(log).find(said), std::string::npos);
}

// 224 sessions one frame apart, all showing one folder of 10,000 files that lie
// before them: each later session asks once per file whether an earlier one
// listed it.
TEST_F(HostileDisc, ManySessionsOverOneLargeFolderListEachFileOnce) {
  constexpr std::uint32_t kFiles = 10000;
  constexpr std::uint32_t kTracks = disc::kTrailerMaxRecords;
  constexpr std::uint32_t kRoot = 300;
  std::vector<HandRecord> records;
  for (std::uint32_t k = 0; k < kFiles; ++k) {
    records.push_back({.name = "F" + std::to_string(k) + ".TXT;1", .extent = 0, .length = 0});
  }
  const std::uint32_t rootBytes = HandDisc::DirectoryBytes(records);
  HandDisc disc(kRoot + rootBytes / 2048);
  disc.WritePrimary(kRoot, rootBytes);
  const std::vector<std::byte> descriptor(disc.bytes().begin() + 16 * 2048,
                                          disc.bytes().begin() + 17 * 2048);
  for (std::uint32_t s = 17; s < 16 + kTracks; ++s) disc.WriteAt(std::uint64_t{s} * 2048, descriptor);
  disc.WriteDirectory(kRoot, kRoot, records);
  std::vector<disc::TrackNode> tracks;
  for (std::uint32_t k = 0; k < kTracks; ++k) {
    tracks.push_back({static_cast<std::uint8_t>(k + 1), 150 + k, disc.sectors()});
  }
  const fs::path image = ImageWithTracks(dir / "sessions.cd", disc, tracks);

  const CommandResult listing = RunBounded({"ls", "--tsv", image.string()});
  EXPECT_EQ(listing.exitCode, 0) << listing.err;
  const std::vector<std::string> lines = Lines(listing.out);
  EXPECT_EQ(lines.size(), kFiles + kTracks);
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [](const std::string& line) { return line.starts_with("Session 1/F"); }),
            kFiles);
}

// Character devices that read for ever are no disc.
TEST_F(HostileDisc, EndlessDevicesAreRefused) {
  for (const char* device : {"/dev/zero", "/dev/urandom"}) {
    SCOPED_TRACE(device);
    const CommandResult refused = RunBounded({"ls", device});
    EXPECT_EQ(refused.exitCode, 2) << refused.err;
    EXPECT_NE(refused.err.find(std::string(device) + ": not an optical drive or a disc image"),
              std::string::npos)
        << refused.err;
  }
}

// A volume that claims 20 sectors on a medium of 193: the image holds all 193.
// One that claims more than the medium holds ends early and says so.
TEST_F(HostileDisc, ImageCopiesToTheMediumsEndNotToTheClaimedSize) {
  struct Case {
    std::uint32_t claimed;
    int exitCode;
    const char* said;
  };
  for (const Case& c : {Case{20, 0, "193 sectors copied"},
                        Case{500, 1, "the medium ended after 193 sectors of the 500 its volume claims"}}) {
    SCOPED_TRACE(c.claimed);
    HandDisc disc(193);
    disc.WritePrimary(18, 2048, c.claimed);
    disc.WriteDirectory(18, 18, {{.name = "LATE.TXT;1", .extent = 150, .length = 4}});
    disc.WriteText(150, "late");
    disc.WriteText(192, "last");
    const fs::path source = dir / ("claims" + std::to_string(c.claimed) + ".iso");
    disc.Save(source);
    const fs::path copy = dir / ("copy" + std::to_string(c.claimed) + ".cd");
    const CommandResult image = RunBounded({"image", source.string(), copy.string()});
    EXPECT_EQ(image.exitCode, c.exitCode) << image.err;
    EXPECT_NE(image.err.find(c.said), std::string::npos) << image.err;
    ASSERT_EQ(fs::file_size(copy), 194u * 2048);
    EXPECT_EQ(FileBytes(copy).substr(0, 193 * 2048), FileBytes(source));
  }
}

// A name holding "/" or NUL never reads as another path.
TEST_F(HostileDisc, NamesWithSlashOrNulAreEscaped) {
  HandDisc disc(24);
  disc.WritePrimary(18, 2048);
  disc.WriteDirectory(18, 18,
                      {{.name = "DIR", .folder = true, .extent = 19, .length = 2048},
                       {.name = "DIR/A.TXT;1", .extent = 20, .length = 1},
                       {.name = std::string("N\0L.TXT;1", 9), .extent = 20, .length = 1}});
  disc.WriteDirectory(19, 18, {{.name = "A.TXT;1", .extent = 20, .length = 1}});
  disc.WriteText(20, "x");
  const fs::path image = dir / "names.iso";
  disc.Save(image);

  const CommandResult listing = RunBounded({"ls", "--tsv", image.string()});
  ASSERT_EQ(listing.exitCode, 0) << listing.err;
  std::vector<std::string> paths;
  for (const std::string& line : Lines(listing.out)) paths.push_back(line.substr(0, line.find('\t')));
  std::sort(paths.begin(), paths.end());
  EXPECT_EQ(paths, (std::vector<std::string>{"DIR", "DIR/A.TXT", "DIR\\/A.TXT", "N\\x00L.TXT"}));

  const fs::path report = dir / "report";
  const CommandResult rescue =
      RunBounded({"recover", image.string(), (dir / "out").string(), "--report", report.string()});
  EXPECT_EQ(rescue.exitCode, 0) << rescue.err;
  const std::string text = FileBytes(report);
  EXPECT_NE(text.find("recovered\tDIR\\/A.TXT\t\t"), std::string::npos) << text;
  EXPECT_NE(text.find("recovered\tN\\x00L.TXT\t\t"), std::string::npos) << text;
  EXPECT_NE(text.find("recovered\tDIR/A.TXT\t\tDIR/A.TXT\n"), std::string::npos) << text;
}

// SIGTERM stops as Ctrl-C does: the image keeps its track list and opens, the
// recovery writes its log and its report.
TEST_F(HostileDisc, SigtermStopsCleanlyAsCtrlCDoes) {
  constexpr std::uint32_t kLong = 300'000'000;
  HandDisc disc(24);
  disc.WritePrimary(18, 2048);
  disc.WriteDirectory(18, 18, {{.name = "LONG.BIN;1", .extent = 20, .length = kLong}});
  const fs::path source = dir / "long.iso";
  disc.Save(source);
  fs::resize_file(source, 20 * 2048 + std::uint64_t{kLong});  // sparse: reads as zeros

  // The disc is read through the emulated drive, which holds the program from
  // 10 MB on: 15000 sectors served 20 ms late each. The signal goes out once
  // the output holds 4 MB, so the program is always still at work then, however
  // slowly this test runs; it stops within one read of the held sectors.
  const fs::path faults = dir / "hold.faults";
  {
    std::ofstream out(faults);
    for (std::uint32_t lba = 5120; lba < 5120 + 15000; ++lba) out << lba << " slow 20\n";
  }
  const std::vector<std::string> drive = {"--emulated-drive", source.string(),
                                          "--emulated-faults", faults.string()};
  struct Case {
    const char* name;
    std::vector<std::string> args;
    fs::path watched;  // SIGTERM goes out once this file holds 4 MB
  };
  const Case cases[] = {
      {"Image", {"image", "drive", (dir / "partial").string()}, dir / "partial.cd"},
      {"Recover",
       {"recover", "drive", (dir / "dest").string(), "--report", (dir / "report").string()},
       dir / "dest" / "LONG.BIN"},
  };
  const std::string script =
      "watched=$1; shift; \"$@\" & pid=$!; "
      "while kill -0 $pid 2>/dev/null && "
      "[ \"$(stat -c %s \"$watched\" 2>/dev/null || echo 0)\" -lt 4194304 ]; do sleep 0.01; done; "
      "kill -TERM $pid; wait $pid";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path log = dir / (std::string(c.name) + ".log");
    std::vector<std::string> argv = {"timeout", "-k", "10", kBoundSeconds, "sh", "-c", script, "sh",
                                     c.watched.string(), VELMORA_CLI_PATH};
    argv.insert(argv.end(), drive.begin(), drive.end());
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    argv.insert(argv.end(), {"--log", log.string()});
    const CommandResult result = testing::RunCommand(argv);
    // 130 is the program's own status for a stop; killed by the signal, the
    // shell would report 143.
    EXPECT_EQ(result.exitCode, 130) << result.err;
    EXPECT_NE(FileBytes(log).find("Process Aborted\r\n"), std::string::npos);
    EXPECT_NE(result.err.find("velmora-cli: stopped; "), std::string::npos) << result.err;
  }
  const fs::path partial = dir / "partial.cd";
  const std::uint64_t size = fs::file_size(partial);
  ASSERT_EQ(size % 2048, 0u);
  EXPECT_LT(size, fs::file_size(source));
  const CommandResult reopened = RunBounded({"ls", "--tsv", partial.string()});
  EXPECT_EQ(reopened.exitCode, 0) << reopened.err;
  EXPECT_NE(reopened.out.find("LONG.BIN\tf\t" + std::to_string(kLong)), std::string::npos);
  EXPECT_NE(FileBytes(dir / "report").find("stopped\tLONG.BIN\t"), std::string::npos)
      << FileBytes(dir / "report");
}

}  // namespace
}  // namespace velmora
