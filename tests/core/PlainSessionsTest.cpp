// Images written in several sessions without a track list (genisoimage -C/-M
// sessions laid one after another, xorriso appending to a file): every session
// is found from the file itself and shown as on a multi-session CD.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "image/SessionSearch.h"
#include "media/Sector.h"
#include "platform/emulated/EmulatedMachine.h"
#include "support/BytePatcher.h"
#include "support/EngineScan.h"
#include "support/IsoBuilder.h"
#include "support/IsoOracle.h"
#include "support/MultiSessionBuilder.h"
#include "support/RunCommand.h"
#include "support/SectorFinder.h"
#include "support/TempDir.h"
#include "support/TextFiles.h"
#include "support/TreeWriter.h"
#include "support/UnreadableSectors.h"
#include "text/StringTable.h"
#include "text/Utf.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::EngineScan;
using testing::TempDir;

constexpr std::uint32_t kPvdVolumeSpaceSize = 80;  // both-endian, ECMA-119 8.4.8

testing::CommandResult RunCli(std::vector<std::string> args) {
  args.insert(args.begin(), VELMORA_CLI_PATH);
  return testing::RunCommand(args);
}

std::string FileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::unique_ptr<EngineScan> ScanImage(const fs::path& image) {
  auto engine = std::make_unique<EngineScan>(std::make_unique<platform::emulated::EmulatedMachine>(0));
  engine->ScanImage(image.string());
  return engine;
}

std::vector<std::u16string> LogTexts(const EngineScan& engine) {
  std::vector<std::u16string> texts;
  for (const auto& row : engine.host.log.rows()) texts.push_back(row.text);
  return texts;
}

bool Contains(const std::vector<std::u16string>& texts, const std::u16string& text) {
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

std::u16string SessionsRow(std::uint16_t how, const std::vector<std::uint32_t>& starts) {
  std::u16string row = text::LoadText(how);
  for (std::size_t k = 0; k < starts.size(); ++k) {
    row += text::FromUtf8((k == 0 ? " Session " : ", Session ") + std::to_string(k + 1) + " (") +
           text::LoadText(text::kSector) + text::FromUtf8(" " + std::to_string(starts[k]) + ")");
  }
  return row;
}

// The ls --tsv lines without their date column.
std::set<std::string> UndatedLines(const std::string& out) {
  std::set<std::string> lines;
  std::istringstream in(out);
  for (std::string line; std::getline(in, line);) {
    std::vector<std::string> fields;
    std::istringstream split(line);
    for (std::string field; std::getline(split, field, '\t');) fields.push_back(field);
    if (fields.size() != 5) ADD_FAILURE() << line;
    if (fields.size() == 5) lines.insert(fields[0] + "\t" + fields[1] + "\t" + fields[2] + "\t" + fields[4]);
  }
  return lines;
}

// What ls --tsv --names primary must print of a disc whose sessions start at
// starts, by isoinfo reading each session: a node per session, every folder in
// every session, a file only in the first session that holds it (same extent,
// same name).
std::set<std::string> ExpectedLines(const fs::path& image, const std::vector<std::uint32_t>& starts,
                                    std::uint32_t lastEnd) {
  std::set<std::string> expected;
  std::set<std::pair<std::uint32_t, std::string>> listedBefore;
  for (std::size_t k = 1; k <= starts.size(); ++k) {
    const std::string node = "Session " + std::to_string(k);
    expected.insert(node + "\td\t0\t" + std::to_string(lastEnd + k));
    for (const auto& record : testing::IsoinfoListing(image, false, starts[k - 1])) {
      const std::string name = fs::path(record.path).filename().string();
      if (!record.isDirectory && !listedBefore.emplace(record.extent, name).second) continue;
      expected.insert(node + "/" + record.path + "\t" + (record.isDirectory ? "d" : "f") + "\t" +
                      std::to_string(record.isDirectory ? 0 : record.size) + "\t" +
                      std::to_string(record.extent));
    }
  }
  return expected;
}

struct Built {
  fs::path image;
  std::vector<std::uint32_t> starts;  // where a reader of the image's own kind finds them
  std::uint16_t how = 0;              // the log text that says how they were found
  // File in session 1 whose later sessions no longer hold it (deleted, or replaced).
  std::string earlierPath;
  std::string earlierBytes;
};

const std::string kGoneBytes = testing::PatternBytes(5000, 7);

// genisoimage -C/-M sessions, laid one after another with 20 blocks of 0xF6
// between them: session 2 adds a file and replaces OLD.TXT, session 3 adds one.
Built BuildGenisoimage(const TempDir& dir, std::size_t sessions) {
  testing::WriteTree(dir / "g1", {{.path = "KEEP.TXT", .content = "keep\n"},
                                  {.path = "OLD.TXT", .content = "old\n"},
                                  {.path = "GONE.BIN", .patternSize = 5000, .patternSeed = 7}});
  testing::WriteTree(dir / "g2", {{.path = "ADDED.TXT", .content = "added\n"},
                                  {.path = "OLD.TXT", .content = "replaced\n"}});
  testing::WriteTree(dir / "g3", {{.path = "THIRD.TXT", .content = "third\n"}});
  std::vector<fs::path> trees{dir / "g1", dir / "g2", dir / "g3"};
  trees.resize(sessions);
  const fs::path image = dir / ("genisoimage" + std::to_string(sessions) + ".iso");
  const testing::MultiSessionDisc disc = testing::MakeMultiSessionDisc(trees, image, 20);
  Built built{image, {}, text::kSessionsOneAfterAnother, "Session 1/OLD.TXT", "old\n"};
  for (const auto& track : disc.tracks) built.starts.push_back(track.start - kLeadInFrames);
  return built;
}

// xorriso -dev appends: session 2 adds a file and replaces OLD.TXT, session 3
// deletes GONE.BIN (or session 2 does, when there are two).
Built BuildXorriso(const TempDir& dir, std::size_t sessions) {
  testing::WriteTree(dir / "x1", {{.path = "KEEP.TXT", .content = "keep\n"},
                                  {.path = "OLD.TXT", .content = "old\n"},
                                  {.path = "GONE.BIN", .patternSize = 5000, .patternSeed = 7}});
  testing::WriteTree(dir / "x2", {{.path = "ADDED.TXT", .content = "added\n"},
                                  {.path = "OLD.TXT", .content = "replaced\n"}});
  const fs::path image = dir / ("xorriso" + std::to_string(sessions) + ".iso");
  fs::remove(image);
  testing::AppendXorrisoSession(image, {"-map", (dir / "x1").string(), "/"});
  std::vector<std::string> second{"-map", (dir / "x2").string(), "/"};
  if (sessions == 2) second.insert(second.end(), {"-rm", "/GONE.BIN", "--"});
  testing::AppendXorrisoSession(image, second);
  if (sessions == 3) testing::AppendXorrisoSession(image, {"-rm", "/GONE.BIN", "--"});
  return {image, testing::XorrisoSessionStarts(image), text::kSessionsNewestCopied,
          "Session 1/GONE.BIN", kGoneBytes};
}

TEST(PlainSessionsTest, EverySessionOfAPlainImageIsListedAndItsFilesRecovered) {
  TempDir dir;
  struct Case {
    const char* name;
    Built (*build)(const TempDir&, std::size_t);
    std::size_t sessions;
  };
  for (const Case& c : {Case{"genisoimage2", BuildGenisoimage, 2}, Case{"genisoimage3", BuildGenisoimage, 3},
                        Case{"xorriso2", BuildXorriso, 2}, Case{"xorriso3", BuildXorriso, 3}}) {
    SCOPED_TRACE(c.name);
    const Built built = c.build(dir, c.sessions);
    ASSERT_EQ(built.starts.size(), c.sessions);

    // The sessions start where the writer put them, and end where their own
    // descriptors say (isoinfo -d at each start gives the volume's size).
    auto engine = ScanImage(built.image);
    const auto& tracks = engine->reader.tracks();
    ASSERT_TRUE(engine->reader.multiTrack());
    ASSERT_EQ(tracks.size(), c.sessions);
    for (std::size_t k = 0; k < tracks.size(); ++k) {
      EXPECT_EQ(tracks[k].start - kLeadInFrames, built.starts[k]) << k;
      EXPECT_EQ(tracks[k].end,
                built.starts[k] + testing::IsoinfoVolume(built.image, built.starts[k]).volumeSpaceSize)
          << k;
    }
    EXPECT_TRUE(Contains(LogTexts(*engine), SessionsRow(built.how, built.starts)));

    const testing::CommandResult listing =
        RunCli({"ls", "--tsv", "--names", "primary", built.image.string()});
    ASSERT_EQ(listing.exitCode, 0) << listing.err;
    EXPECT_EQ(UndatedLines(listing.out), ExpectedLines(built.image, built.starts, tracks.back().end))
        << listing.out;

    // What a later session deleted or replaced comes back from session 1.
    const fs::path dest = dir / (std::string(c.name) + "-out");
    const testing::CommandResult recovered = RunCli({"recover", built.image.string(), dest.string()});
    ASSERT_EQ(recovered.exitCode, 0) << recovered.err;
    EXPECT_EQ(FileBytes(dest / built.earlierPath), built.earlierBytes);
    EXPECT_EQ(FileBytes(dest / "Session 2/OLD.TXT"), "replaced\n");
    EXPECT_EQ(FileBytes(dest / "Session 1/KEEP.TXT"), "keep\n");
    EXPECT_FALSE(fs::exists(dest / "Session 2/KEEP.TXT"));
  }
}

// A file as a BlockFile that counts the bytes asked of it.
class CountingFile : public platform::BlockFile {
 public:
  explicit CountingFile(const fs::path& path) : in_(path, std::ios::binary), size_(fs::file_size(path)) {}
  platform::IoResult ReadAt(std::uint64_t offset, std::span<std::byte> buffer) override {
    bytesAsked += buffer.size();
    in_.clear();
    in_.seekg(static_cast<std::streamoff>(offset));
    in_.read(reinterpret_cast<char*>(buffer.data()), static_cast<std::streamsize>(buffer.size()));
    return {true, static_cast<std::size_t>(in_.gcount()), 0, {}};
  }
  std::optional<std::uint64_t> Size() override { return size_; }
  std::uint64_t bytesAsked = 0;

 private:
  std::ifstream in_;
  std::uint64_t size_;
};

TEST(PlainSessionsTest, ASingleSessionImageStaysAsItWasAndIsSearchedCheaply) {
  TempDir dir;
  const std::vector<testing::FixtureFile> files{
      {.path = "KEEP.TXT", .content = "keep\n"},
      {.path = "BIG.BIN", .patternSize = 3'000'000, .patternSeed = 3}};
  testing::WriteTree(dir / "tree", files);
  const fs::path plain = testing::MakeIso(dir / "tree", dir / "plain.iso");
  // xorriso's first session on a fresh file starts at block 32, with its
  // descriptors copied to block 16: still one session.
  const fs::path grown = dir / "grown.iso";
  testing::AppendXorrisoSession(grown, {"-map", (dir / "tree").string(), "/"});
  ASSERT_EQ(testing::XorrisoSessionStarts(grown), std::vector<std::uint32_t>{32});
  for (const fs::path& image : {plain, grown}) {
    SCOPED_TRACE(image.filename().string());
    CountingFile file(image);
    EXPECT_FALSE(disc::FindImageSessions(file));
    // A run of blocks at block 16 and at block 48, then the blocks past the
    // volume (xorriso's padding), each once; of a 3 MB file.
    const std::uint64_t fileBlocks = fs::file_size(image) / kSectorSize;
    const std::uint64_t pastVolume = fileBlocks - testing::IsoinfoVolume(image).volumeSpaceSize;
    EXPECT_LE(file.bytesAsked, (3 * 32 + pastVolume) * kSectorSize);
    EXPECT_GT(fileBlocks, 1400u);
    auto engine = ScanImage(image);
    EXPECT_FALSE(engine->reader.multiTrack());
    EXPECT_FALSE(engine->reader.foundSessions());
    std::vector<std::string> paths;
    for (const auto& line : engine->ListingTsv()) paths.push_back(line.substr(0, line.find('\t')));
    EXPECT_EQ(paths, (std::vector<std::string>{"BIG.BIN", "KEEP.TXT"}));
  }
}

// A descriptor set that lies about its volume is held to the file: a session
// claiming blocks past the image is read as far as the image goes, a set whose
// root lies outside what it claims is no session; both are said.
TEST(PlainSessionsTest, DescriptorsClaimingBlocksPastTheImageAreBoundedAndSaid) {
  TempDir dir;
  testing::WriteTree(dir / "s1", {{.path = "ONE.TXT", .content = "one\n"}});
  testing::WriteTree(dir / "s2", {{.path = "TWO.TXT", .content = "two\n"}});
  const testing::MultiSessionDisc disc =
      testing::MakeMultiSessionDisc({dir / "s1", dir / "s2"}, dir / "two.iso", 20);
  const std::uint32_t secondStart = disc.tracks[1].start - kLeadInFrames;
  const auto fileBlocks = static_cast<std::uint32_t>(fs::file_size(disc.image) / kSectorSize);
  const std::vector<std::byte> huge{std::byte{0xF0}, std::byte{0xFF}, std::byte{0xFF}, std::byte{0x7F},
                                    std::byte{0x7F}, std::byte{0xFF}, std::byte{0xFF}, std::byte{0xF0}};

  // Session 2's descriptors claim two thousand million blocks.
  const fs::path cut = dir / "cut.iso";
  fs::copy_file(disc.image, cut);
  for (std::uint32_t descriptor = secondStart + 16; descriptor < secondStart + 18; ++descriptor) {
    testing::WriteBytes(cut, std::uint64_t{descriptor} * kSectorSize + kPvdVolumeSpaceSize, huge);
  }
  // A copy of session 1's descriptor after the volume, claiming as much: its
  // root lies before it.
  const fs::path fake = dir / "fake.iso";
  testing::WriteTree(dir / "one", {{.path = "ONE.TXT", .content = "one\n"}});
  testing::MakeIso(dir / "one", fake);
  const auto fakeBlocks = static_cast<std::uint32_t>(fs::file_size(fake) / kSectorSize);
  std::vector<std::byte> copy = testing::ReadSector(fake, 16);
  std::copy(huge.begin(), huge.end(), copy.begin() + kPvdVolumeSpaceSize);
  testing::FillSectors(fake, fakeBlocks, 40, std::byte{0});
  testing::WriteBytes(fake, std::uint64_t{fakeBlocks + 16} * kSectorSize, copy);

  struct Case {
    fs::path image;
    std::size_t sessions;
    std::vector<std::string> paths;
    std::u16string said;
    int lsExit;  // a session not read whole is damage; a block that only looks like one is not
  };
  for (const Case& c :
       {Case{cut, 2, {"Session 1/ONE.TXT", "Session 2/TWO.TXT"},
             text::LoadText(text::kSessionCutToImage) + u" Session 2", 1},
        Case{fake, 0, {"ONE.TXT"},
             text::LoadText(text::kDescriptorsNotSession) + u" " + text::LoadText(text::kSector) +
                 text::FromUtf8(" " + std::to_string(fakeBlocks + 16)),
             0}}) {
    SCOPED_TRACE(c.image.filename().string());
    auto engine = ScanImage(c.image);
    EXPECT_EQ(engine->reader.tracks().size(), c.sessions);
    if (c.sessions > 0) {
      EXPECT_EQ(engine->reader.tracks().back().end, fileBlocks);
    }
    std::vector<std::string> paths;
    for (const auto& line : engine->ListingTsv()) paths.push_back(line.substr(0, line.find('\t')));
    EXPECT_EQ(paths, c.paths);
    EXPECT_TRUE(Contains(LogTexts(*engine), c.said));
    EXPECT_TRUE(engine->host.scriptedPrompts.errors.empty());
    const testing::CommandResult listing = RunCli({"ls", "--tsv", c.image.string()});
    EXPECT_EQ(listing.exitCode, c.lsExit) << listing.err;
  }
}

// A later session whose primary descriptor is damaged (zeros, or a block that
// does not read) is found from its Joliet descriptor after it and listed with
// Joliet names; the log names the damaged block and ls exits 1.
TEST(PlainSessionsTest, LaterSessionWithADamagedPrimaryDescriptorIsFoundFromItsJolietOne) {
  TempDir dir;
  const Built built = BuildGenisoimage(dir, 3);
  ASSERT_EQ(built.starts.size(), 3u);
  const std::uint32_t primary = built.starts[1] + 16;
  ASSERT_EQ(testing::FindDescriptor(built.image, testing::kSupplementaryDescriptor, built.starts[1]),
            primary + 1);
  const fs::path zeroed = dir / "zeroed.iso";
  fs::copy_file(built.image, zeroed);
  testing::FillSectors(zeroed, primary, 1, std::byte{0});

  const std::u16string said = text::LoadText(text::kSessionsWithoutPrimary) + u" " +
                              text::LoadText(text::kSector) + text::FromUtf8(" " + std::to_string(primary));
  auto engine = ScanImage(zeroed);
  ASSERT_EQ(engine->reader.tracks().size(), 3u);
  EXPECT_EQ(engine->reader.tracks()[1].start - kLeadInFrames, built.starts[1]);
  EXPECT_TRUE(Contains(LogTexts(*engine), said));

  struct Case {
    const char* name;
    fs::path image;
    std::vector<std::uint32_t> unreadable;
  };
  for (const Case& c : {Case{"zeros", zeroed, {}}, Case{"unreadable", built.image, {primary}}}) {
    SCOPED_TRACE(c.name);
    testing::UnreadableSectors bad(c.image, c.unreadable, dir / (std::string(c.name) + ".tries"));
    const testing::CommandResult listing =
        testing::RunCommand({VELMORA_CLI_PATH, "ls", "--tsv", c.image.string()}, bad.Environment());
    EXPECT_EQ(listing.exitCode, 1) << listing.err;
    std::set<std::string> paths;
    for (const std::string& line : testing::Lines(listing.out)) paths.insert(line.substr(0, line.find('\t')));
    for (const char* path : {"Session 2/ADDED.TXT", "Session 2/OLD.TXT", "Session 3/THIRD.TXT"}) {
      EXPECT_TRUE(paths.contains(path)) << path << "\n" << listing.out;
    }
    const fs::path dest = dir / (std::string(c.name) + "-out");
    const testing::CommandResult recovered = testing::RunCommand(
        {VELMORA_CLI_PATH, "recover", c.image.string(), dest.string()}, bad.Environment());
    EXPECT_EQ(recovered.exitCode, 1) << recovered.err;
    EXPECT_EQ(FileBytes(dest / "Session 2/OLD.TXT"), "replaced\n");
    EXPECT_EQ(FileBytes(dest / "Session 1/OLD.TXT"), "old\n");
  }
}

}  // namespace
}  // namespace velmora
