// The sessions of an image as velmora-cli reads and writes them: a .cd track
// list whose ends are frames as its starts are (written here by a small writer
// of the test's own, not the program's), the end of a later session by its own
// volume size, and an image of a plain image that copies every block.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "support/BytePatcher.h"
#include "support/IsoBuilder.h"
#include "support/MultiSessionBuilder.h"
#include "support/RunCommand.h"
#include "support/TempDir.h"
#include "support/TextFiles.h"
#include "support/TreeWriter.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::CommandResult;
using testing::FileBytes;

constexpr std::uint32_t kBlock = 2048;
constexpr std::uint32_t kFrames = 150;

CommandResult RunCli(std::vector<std::string> args) {
  args.insert(args.begin(), VELMORA_CLI_PATH);
  return testing::RunCommand(args);
}

// (track number, start, end) as a record holds them.
using Record = std::tuple<std::uint8_t, std::uint32_t, std::uint32_t>;

void PutLe32(std::string& block, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) block[at + i] = static_cast<char>(value >> (8 * i));
}

// The trailer block as the format lays it out: the signature, a zero byte,
// the multi-track flag, the record count, 9-byte records, 0xF6 after them.
std::string TrailerBlock(const std::vector<Record>& records) {
  std::string block(kBlock, '\xF6');
  const std::string signature = "12345abbgtpogpkicupog6789";
  block.replace(0, signature.size(), signature);
  block[25] = 0;
  block[26] = 1;
  block[27] = static_cast<char>(records.size());
  for (std::size_t k = 0; k < records.size(); ++k) {
    const std::size_t at = 28 + 9 * k;
    block[at] = static_cast<char>(std::get<0>(records[k]));
    PutLe32(block, at + 1, std::get<1>(records[k]));
    PutLe32(block, at + 5, std::get<2>(records[k]));
  }
  return block;
}

std::vector<Record> RecordsOf(const std::string& image) {
  const std::string block = image.substr(image.size() - kBlock);
  const auto u32 = [&](std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<std::uint8_t>(block[at + i]);
    return value;
  };
  std::vector<Record> records;
  for (std::size_t k = 0; k < static_cast<std::uint8_t>(block[27]); ++k) {
    const std::size_t at = 28 + 9 * k;
    records.emplace_back(static_cast<std::uint8_t>(block[at]), u32(at + 1), u32(at + 5));
  }
  return records;
}

void Write(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

TEST(TrackListTest, EndsInFramesAndTheFormsWrittenBeforeReadAlike) {
  testing::TempDir dir;
  testing::WriteTree(dir / "s1", {{.path = "A.TXT", .content = "first\n"}});
  testing::WriteTree(dir / "s2", {{.path = "B.BIN", .patternSize = 9000, .patternSeed = 5}});
  // Sessions with a gap between them, and sessions one after another.
  const testing::MultiSessionDisc gapped =
      testing::MakeMultiSessionDisc({dir / "s1", dir / "s2"}, dir / "gapped.iso", 300);
  const testing::MultiSessionDisc joined =
      testing::MakeMultiSessionDisc({dir / "s1", dir / "s2"}, dir / "joined.iso", 0);
  const auto sectorsOf = [](const testing::MultiSessionDisc& disc) {
    return static_cast<std::uint32_t>(fs::file_size(disc.image) / kBlock);
  };
  struct Case {
    const char* name;
    const testing::MultiSessionDisc* disc;
    std::uint32_t end1;  // as the record holds it
    std::uint32_t end2;
  };
  const std::uint32_t gappedEnd1 = gapped.tracks[0].end;
  const std::uint32_t joinedEnd1 = joined.tracks[0].end;
  const Case cases[] = {
      {"FramesWithAGap", &gapped, gappedEnd1 + kFrames, sectorsOf(gapped) + kFrames},
      {"FirstEndUnknown", &gapped, 0, sectorsOf(gapped) + kFrames},
      {"FramesOneAfterAnother", &joined, joinedEnd1 + kFrames, sectorsOf(joined) + kFrames},
      // Written before the ends were frames: ends at the next start and the
      // image's end, in LBAs.
      {"LbasOfAnEarlierWriter", &joined, joinedEnd1, sectorsOf(joined)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path image = dir / (std::string(c.name) + ".cd");
    Write(image, FileBytes(c.disc->image) +
                     TrailerBlock({{1, kFrames, c.end1}, {2, c.disc->tracks[1].start, c.end2}}));
    const CommandResult listing = RunCli({"ls", "--tsv", image.string()});
    EXPECT_EQ(listing.exitCode, 0) << listing.err;
    EXPECT_EQ(listing.err, "");
    EXPECT_NE(listing.out.find("Session 1/A.TXT"), std::string::npos);
    EXPECT_NE(listing.out.find("Session 2/B.BIN"), std::string::npos);

    // Imaged through the emulated drive, the copy's records are frames.
    const fs::path copy = dir / (std::string(c.name) + "-copy.cd");
    const CommandResult imaged =
        RunCli({"image", "--emulated-drive", image.string(), "drive", copy.string()});
    EXPECT_EQ(imaged.exitCode, 0) << imaged.err;
    const std::uint32_t volumeEnd1 = c.disc->tracks[0].end;
    EXPECT_EQ(RecordsOf(FileBytes(copy)),
              (std::vector<Record>{{1, kFrames, volumeEnd1 + kFrames},
                                   {2, c.disc->tracks[1].start, sectorsOf(*c.disc) + kFrames}}));
    EXPECT_EQ(RunCli({"ls", "--tsv", copy.string()}).out, listing.out);
  }
}

// genisoimage -C and xorriso count a later session's volume space from its own
// start; a second session larger than its start was once taken to end where
// it starts, and not copied.
TEST(TrackListTest, ALaterSessionEndsWhereItsOwnVolumeSizeSays) {
  testing::TempDir dir;
  testing::WriteTree(dir / "s1", {{.path = "A.TXT", .content = "small\n"}});
  testing::WriteTree(dir / "s2", {{.path = "BIG.BIN", .patternSize = 900000, .patternSeed = 8}});
  const testing::MultiSessionDisc disc =
      testing::MakeMultiSessionDisc({dir / "s1", dir / "s2"}, dir / "two.iso", 0);
  const std::uint32_t start2 = disc.tracks[1].start - kFrames;
  const std::uint32_t sectors = static_cast<std::uint32_t>(fs::file_size(disc.image) / kBlock);
  ASSERT_GT(sectors - start2, start2) << "the second session must be larger than its start";
  // No ends in the track list: the drive and the copy find them by the volumes.
  const fs::path image = dir / "two.cd";
  Write(image, FileBytes(disc.image) +
                   TrailerBlock({{1, kFrames, 0}, {2, disc.tracks[1].start, 0}}));
  const fs::path copy = dir / "copy.cd";
  const CommandResult imaged =
      RunCli({"image", "--emulated-drive", image.string(), "drive", copy.string()});
  EXPECT_EQ(imaged.exitCode, 0) << imaged.err;
  EXPECT_TRUE(FileBytes(copy).starts_with(FileBytes(disc.image))) << "session 2 copied whole";
  const CommandResult listing = RunCli({"ls", "--tsv", copy.string()});
  EXPECT_EQ(listing.exitCode, 0) << listing.err;
  EXPECT_NE(listing.out.find("Session 2/BIG.BIN"), std::string::npos);

  // The other count: a writer that counted the second session from LBA 0.
  // Its start + size runs past the image, its size alone does not: the
  // session is read, not dropped.
  const fs::path absolute = dir / "absolute.iso";
  fs::copy_file(disc.image, absolute);
  std::vector<std::byte> pvd = testing::ReadSector(absolute, start2 + 16);
  const std::uint32_t size = sectors;
  for (int i = 0; i < 4; ++i) {
    pvd[80 + i] = static_cast<std::byte>(size >> (8 * i));
    pvd[87 - i] = static_cast<std::byte>(size >> (8 * i));
  }
  testing::WriteBytes(absolute, std::uint64_t{start2 + 16} * kBlock, pvd);
  const CommandResult plain = RunCli({"ls", "--tsv", absolute.string()});
  EXPECT_EQ(plain.exitCode, 0) << plain.err;
  EXPECT_NE(plain.out.find("Session 2/BIG.BIN"), std::string::npos);
}

// The search for sessions stops at the most a disc holds; a copy of the file
// must not.
TEST(TrackListTest, AnImageOfAPlainImageHoldsEveryBlockOfIt) {
  testing::TempDir dir;
  testing::WriteTree(dir / "tree", {{.path = "F.TXT", .content = "f\n"}});
  const fs::path plain = dir / "many.iso";
  std::string bytes;
  for (int session = 0; session < 105; ++session) {
    const std::uint32_t start = static_cast<std::uint32_t>(bytes.size() / kBlock);
    const fs::path one = dir / "one.iso";
    testing::RunChecked({"genisoimage", "-quiet", "-C", "0," + std::to_string(start), "-o",
                         one.string(), (dir / "tree").string()});
    bytes += FileBytes(one);
  }
  Write(plain, bytes);
  const fs::path copy = dir / "many.cd";
  const CommandResult imaged = RunCli({"image", plain.string(), copy.string()});
  EXPECT_EQ(imaged.exitCode, 1) << imaged.err;  // the sessions past the 99th are said
  const std::string written = FileBytes(copy);
  ASSERT_EQ(written.size(), bytes.size() + kBlock);
  EXPECT_TRUE(written.starts_with(bytes)) << "a block of the file is missing from the copy";
}

// A track list that names a session far past the image: the emulated drive's
// disc says so as the file does, and no clean exit.
TEST(TrackListTest, ADriveWhoseTrackListWasCutSaysSo) {
  testing::TempDir dir;
  testing::WriteTree(dir / "tree", {{.path = "F.TXT", .content = "f\n"}});
  const fs::path iso = testing::MakeIso(dir / "tree", dir / "disc.iso");
  const fs::path image = dir / "far.cd";
  Write(image, FileBytes(iso) + TrailerBlock({{1, kFrames, 0}, {2, 0xFFFF0000, 0xFFFFFFFF}}));
  const CommandResult listing = RunCli({"ls", image.string()});
  EXPECT_EQ(listing.exitCode, 1);
  const std::string said = "session(s) cut to the image";
  EXPECT_NE(listing.err.find(said), std::string::npos) << listing.err;
  const CommandResult imaged = RunCli({"image", "--emulated-drive", image.string(), "drive",
                                       (dir / "copy.cd").string()});
  EXPECT_EQ(imaged.exitCode, 1) << imaged.err;
  EXPECT_NE(imaged.err.find(said), std::string::npos) << imaged.err;
}

}  // namespace
}  // namespace velmora
