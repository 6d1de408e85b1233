// The rule that a later session does not list again what an earlier one
// listed: it holds whatever the track list says of the sessions' ranges, and
// it compares what the entry is (its extent, name, size and link target), so
// that what a later session changed in place is listed in that session.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "media/ImageTrailer.h"
#include "support/HandDisc.h"
#include "support/IsoOracle.h"
#include "support/MultiSessionBuilder.h"
#include "support/RunCommand.h"
#include "support/TempDir.h"
#include "support/TextFiles.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::CommandResult;
using testing::HandDisc;
using testing::HandRecord;
using testing::TempDir;

CommandResult RunCli(std::vector<std::string> args) {
  args.insert(args.begin(), VELMORA_CLI_PATH);
  return testing::RunCommand(args);
}

std::size_t CountStarting(const std::vector<std::string>& lines, const std::string& start) {
  return static_cast<std::size_t>(std::count_if(
      lines.begin(), lines.end(), [&](const std::string& line) { return line.starts_with(start); }));
}

// genisoimage -M keeps a link's extent when a later session points it
// elsewhere: only its SL entry changes. Session 2 lists the link with its new
// target (as isoinfo -T reads that session), and nothing else again.
TEST(EarlierSessionTest, LinkPointedElsewhereByALaterSessionIsListedThere) {
  TempDir dir;
  fs::create_directories(dir / "s1");
  fs::create_directories(dir / "s2");
  std::ofstream(dir / "s1" / "a.txt") << "aaa";
  std::ofstream(dir / "s1" / "b.txt") << "bbb";
  fs::create_symlink("a.txt", dir / "s1" / "link");
  fs::create_symlink("b.txt", dir / "s2" / "link");
  const testing::MultiSessionDisc disc =
      testing::MakeMultiSessionDisc({dir / "s1", dir / "s2"}, dir / "disc.iso", 100);
  ASSERT_EQ(disc.tracks.size(), 2u);
  const std::uint32_t second = disc.tracks[1].start - testing::kPregapFrames;
  const CommandResult peer =
      testing::RunChecked({"isoinfo", "-R", "-l", "-T", std::to_string(second), "-i", disc.image.string()});
  ASSERT_NE(peer.out.find("link -> b.txt"), std::string::npos) << peer.out;

  const CommandResult ls = RunCli({"ls", "--tsv", disc.image.string()});
  ASSERT_EQ(ls.exitCode, 0) << ls.err;
  const std::vector<std::string> lines = testing::Lines(ls.out);
  EXPECT_EQ(CountStarting(lines, "Session 1/link\tl\t"), 1u) << ls.out;
  EXPECT_EQ(CountStarting(lines, "Session 2/link\tl\t"), 1u) << ls.out;
  const auto target = [&](const std::string& start) {
    const auto line = std::find_if(lines.begin(), lines.end(),
                                   [&](const std::string& l) { return l.starts_with(start); });
    return line == lines.end() ? std::string() : line->substr(line->rfind('\t') + 1);
  };
  EXPECT_EQ(target("Session 1/link\t"), "a.txt");
  EXPECT_EQ(target("Session 2/link\t"), "b.txt");
  // The files session 2 took over from session 1 stay under session 1.
  EXPECT_EQ(CountStarting(lines, "Session 2/a.txt"), 0u) << ls.out;
  EXPECT_EQ(CountStarting(lines, "Session 2/b.txt"), 0u) << ls.out;
}

fs::path ImageWithTracks(const fs::path& at, const HandDisc& disc,
                         const std::vector<disc::TrackNode>& tracks) {
  disc.Save(at);
  disc::ImageTrailer trailer;
  trailer.multiTrack = true;
  trailer.lastTrack = static_cast<std::uint8_t>(tracks.size());
  trailer.tracks = tracks;
  const std::vector<std::byte> block = disc::BuildImageTrailer(trailer);
  std::ofstream out(at, std::ios::binary | std::ios::app);
  out.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(block.size()));
  return at;
}

// A track list whose 224 tracks each start one block after the one before and
// all run to the disc's end: every session shows the same folder, whose files
// lie past every track's start. Each file is listed once, under session 1, and
// the log says that the tracks overlap.
TEST(EarlierSessionTest, OverlappingTracksListEachFileOnceAndAreSaid) {
  constexpr std::uint32_t kFiles = 300;
  constexpr std::uint32_t kTracks = disc::kTrailerMaxRecords;
  constexpr std::uint32_t kRoot = 300;
  std::vector<HandRecord> records;
  const std::uint32_t rootSectors = HandDisc::DirectoryBytes(std::vector<HandRecord>(
                                        kFiles, HandRecord{.name = "F000.TXT;1"})) / 2048;
  for (std::uint32_t k = 0; k < kFiles; ++k) {
    const std::string digits = std::to_string(1000 + k).substr(1);
    records.push_back({.name = "F" + digits + ".TXT;1", .extent = kRoot + rootSectors + k, .length = 4});
  }
  HandDisc disc(kRoot + rootSectors + kFiles);
  disc.WritePrimary(kRoot, rootSectors * 2048);
  const std::vector<std::byte> descriptor(disc.bytes().begin() + 16 * 2048,
                                          disc.bytes().begin() + 17 * 2048);
  for (std::uint32_t s = 17; s < 16 + kTracks; ++s) disc.WriteAt(std::uint64_t{s} * 2048, descriptor);
  disc.WriteDirectory(kRoot, kRoot, records);
  for (std::uint32_t k = 0; k < kFiles; ++k) disc.WriteText(kRoot + rootSectors + k, "data");
  std::vector<disc::TrackNode> tracks;
  for (std::uint32_t k = 0; k < kTracks; ++k) {
    tracks.push_back({static_cast<std::uint8_t>(k + 1), testing::kPregapFrames + k, disc.sectors()});
  }
  TempDir dir;
  const fs::path image = ImageWithTracks(dir / "overlap.cd", disc, tracks);
  const fs::path log = dir / "log.txt";

  const CommandResult ls = RunCli({"ls", "--tsv", image.string(), "--log", log.string()});
  EXPECT_EQ(ls.exitCode, 0) << ls.err;
  const std::vector<std::string> lines = testing::Lines(ls.out);
  EXPECT_EQ(lines.size(), kFiles + kTracks);
  EXPECT_EQ(CountStarting(lines, "Session 1/F"), kFiles);
  EXPECT_NE(testing::FileBytes(log).find("The sessions of the track list overlap"), std::string::npos)
      << testing::FileBytes(log);

  const CommandResult recover = RunCli({"recover", image.string(), (dir / "out").string()});
  EXPECT_EQ(recover.exitCode, 0) << recover.err;
  EXPECT_NE(recover.err.find(std::to_string(kFiles) + " files recovered"), std::string::npos) << recover.err;
}

}  // namespace
}  // namespace velmora
