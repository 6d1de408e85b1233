#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <iterator>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "disc/CCDReader.h"
#include "iso9660/RecoveryScan.h"
#include "iso9660/ScanSink.h"
#include "iso9660/VolumeReader.h"
#include "platform/emulated/EmulatedMachine.h"
#include "support/BytePatcher.h"
#include "support/EngineScan.h"
#include "support/IsoBuilder.h"
#include "support/SectorFinder.h"
#include "support/TempDir.h"
#include "support/TreeWriter.h"

namespace velmora::disc {
namespace {

namespace fs = std::filesystem;
namespace fixture = velmora::testing;
using fixture::FixtureFile;
using fixture::IsoOptions;
using fixture::IsoTool;
using platform::emulated::EmulatedDisc;
using platform::emulated::EmulatedMachine;
using platform::emulated::FaultKind;
using platform::emulated::FaultMap;
using platform::emulated::RecordedCommand;

constexpr std::size_t kFirstEntry = 68;  // after the "." and ".." records

// ---- Reading and damaging fixture images -------------------------------------

std::uint32_t U32Le(const std::vector<std::byte>& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(bytes[at + i]) << (8 * i);
  return value;
}

std::uint32_t U32Be(const std::vector<std::byte>& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i)
    value = (value << 8) | static_cast<std::uint32_t>(bytes[at + i]);
  return value;
}

void PatchU32Le(const fs::path& image, std::uint64_t offset, std::uint32_t value) {
  std::vector<std::byte> bytes(4);
  for (std::size_t i = 0; i < 4; ++i) bytes[i] = static_cast<std::byte>(value >> (8 * i));
  fixture::WriteBytes(image, offset, bytes);
}

void PatchByte(const fs::path& image, std::uint64_t offset, std::uint8_t value) {
  const std::byte bytes[] = {static_cast<std::byte>(value)};
  fixture::WriteBytes(image, offset, bytes);
}

Lba SectorsIn(const fs::path& image) {
  return static_cast<Lba>(fs::file_size(image) / fixture::kSectorSize);
}

// Where a descriptor puts its tree (ECMA-119 8.4: root record at 156, path
// tables at 132-151).
struct TreeInfo {
  Lba root = 0;
  Lba typeL = 0;
  Lba typeM = 0;
  std::uint32_t pathTableSectors = 0;
};

TreeInfo TreeOf(const fs::path& image, std::uint8_t descriptorType) {
  std::optional<std::uint32_t> lba = fixture::FindDescriptor(image, descriptorType);
  if (!lba) throw std::runtime_error("no descriptor of type " + std::to_string(descriptorType));
  const std::vector<std::byte> sector = fixture::ReadSector(image, *lba);
  return {U32Le(sector, 158), U32Le(sector, 140), U32Be(sector, 148),
          (U32Le(sector, 132) + kSectorSize - 1) / kSectorSize};
}

// Zeroes every volume descriptor of the descriptor area, a copy kept by the
// writer included: the disc then has to be read without them.
void WipeDescriptors(const fs::path& image) {
  constexpr std::string_view kStandardId = "CD001";
  for (Lba s = 16; s < std::min<Lba>(116, SectorsIn(image)); ++s) {
    const std::vector<std::byte> sector = fixture::ReadSector(image, s);
    if (std::string_view(reinterpret_cast<const char*>(sector.data()) + 1, 5) == kStandardId) {
      fixture::FillSectors(image, s, 1, std::byte{0});
    }
  }
}

// Zeroes every directory, found by its "." record, for its whole length.
void WipeDirectories(const fs::path& image) {
  for (Lba s = 16; s < SectorsIn(image); ++s) {
    const std::vector<std::byte> sector = fixture::ReadSector(image, s);
    bool self = sector[0] == std::byte{34} && U32Le(sector, 2) == s && sector[32] == std::byte{1} &&
                sector[33] == std::byte{0};
    if (self)
      fixture::FillSectors(image, s, (U32Le(sector, 10) + kSectorSize - 1) / kSectorSize,
                           std::byte{0});
  }
}

fs::path BuildDisc(const fixture::TempDir& dir, const std::vector<FixtureFile>& tree,
                   const IsoOptions& options) {
  fixture::WriteTree(dir / "tree", tree);
  return fixture::MakeIso(dir / "tree", dir / "disc.iso", options);
}

IsoOptions Options(IsoTool tool, bool joliet) {
  IsoOptions options;
  options.tool = tool;
  options.joliet = joliet;
  return options;
}

// The first sector of every read the drive was asked for.
std::vector<Lba> SectorsRead(const std::vector<RecordedCommand>& commands) {
  std::vector<Lba> sectors;
  for (const RecordedCommand& command : commands) {
    if (command.kind == RecordedCommand::Kind::kCookedRead) {
      sectors.push_back(static_cast<Lba>(command.offset / kSectorSize));
    }
  }
  return sectors;
}

std::size_t ReadsOf(const std::vector<RecordedCommand>& commands, Lba lba) {
  const std::vector<Lba> sectors = SectorsRead(commands);
  return static_cast<std::size_t>(std::count(sectors.begin(), sectors.end(), lba));
}

Lba LastSectorRead(const std::vector<RecordedCommand>& commands) {
  const std::vector<Lba> sectors = SectorsRead(commands);
  return sectors.empty() ? 0 : *std::max_element(sectors.begin(), sectors.end());
}

// ---- Running the engine ---------------------------------------------------------

EmulatedDisc DiscOf(const fs::path& image, FaultMap faults) {
  EmulatedDisc disc;
  disc.imagePath = image.string();
  disc.faults = std::move(faults);
  return disc;
}

struct DriveScan {
  std::vector<std::string> paths;  // sorted, names below Root joined by "/"
  std::vector<RecordedCommand> commands;
};

// Open Drive with the image as the disc in an emulated drive.
DriveScan ScanInDrive(const fs::path& image, FaultMap faults = {}) {
  auto machine = std::make_unique<EmulatedMachine>(1);
  EmulatedMachine& drive = *machine;
  drive.InsertDisc(0, DiscOf(image, std::move(faults)));
  fixture::EngineScan engine(std::move(machine));
  engine.ScanDrive();
  DriveScan scan;
  for (const std::string& line : engine.ListingTsv())
    scan.paths.push_back(line.substr(0, line.find('\t')));
  scan.commands = drive.commands();
  return scan;
}

// The scan that drives a volume reader, reduced to what these tests look at.
class RecordingSink : public ScanSink {
 public:
  std::vector<WorkRecord> records;
  bool stop = false;

  void AcceptRecord(const WorkRecord& record, bool) override { records.push_back(record); }
  bool StopRequested() override { return stop; }
  void AddLogEntry(std::u16string_view, std::u16string_view, std::u16string_view,
                   log::LogIcon) override {}
  void MarkLogHasEntries() override {}
  bool ListedInEarlierSession(const disc::WorkRecord&) override { return false; }
};

// The recovery scans run on their own over the disc in an emulated drive. The
// volume reader is given no session: it reads from LBA 0 with the disc's end
// unknown, so the scans end where the drive stops delivering.
struct DirectScan {
  explicit DirectScan(const fs::path& image, FaultMap faults = {}) {
    machine.InsertDisc(0, DiscOf(image, std::move(faults)));
    reader.OpenDevicePath(machine.OpticalDrives().front());
    machine.ClearCommands();
  }
  const DirectoryCandidate* CandidateAt(Lba lba) const {
    for (const DirectoryCandidate& c : scan.candidates()) {
      if (c.firstSector == lba) return &c;
    }
    return nullptr;
  }

  EmulatedMachine machine{1};
  CCDReader reader{machine};
  RecordingSink sink;
  VolumeReader volume{reader, sink};
  RecoveryScan scan{volume, reader};
};

// ---- Trees ----------------------------------------------------------------------

std::vector<FixtureFile> NamesTree() {
  return {{.path = "top.txt", .content = "top"},
          {.path = "docs/readme.txt", .content = "read me"},
          {.path = "docs/deep/note.txt", .content = "note"},
          {.path = "\u00DCn\u00EFcode/caf\u00E9.txt", .content = "accents"},
          {.path = "\u041F\u0430\u043F\u043A\u0430/\u0444\u0430\u0439\u043B.txt",
           .content = "cyrillic"}};
}

std::vector<std::string> JolietPaths() {
  return {"docs",
          "docs/deep",
          "docs/deep/note.txt",
          "docs/readme.txt",
          "top.txt",
          "\u00DCn\u00EFcode",
          "\u00DCn\u00EFcode/caf\u00E9.txt",
          "\u041F\u0430\u043F\u043A\u0430",
          "\u041F\u0430\u043F\u043A\u0430/\u0444\u0430\u0439\u043B.txt"};
}

// The root's only entry is a folder whose 16-bit name has no byte outside
// printable ASCII in its first character.
std::vector<FixtureFile> CjkTree() {
  return {{.path = "\u4E2D\u6587/a.txt", .content = "a"},
          {.path = "\u4E2D\u6587/b.txt", .content = "b"}};
}

std::vector<FixtureFile> AsciiTree() {
  return {{.path = "top.txt", .content = "top"},
          {.path = "docs/readme.txt", .content = "read me"},
          {.path = "docs/deep/note.txt", .content = "note"}};
}

// Every file and folder recorded at 00:30.
std::vector<FixtureFile> HalfPastMidnightTree() {
  using namespace std::chrono;
  const sys_seconds halfPastMidnight = sys_days{2023y / June / 15} + 30min;
  std::vector<FixtureFile> tree = NamesTree();
  for (FixtureFile& file : tree) file.mtime = halfPastMidnight;
  for (const char* folder :
       {"docs", "docs/deep", "\u00DCn\u00EFcode", "\u041F\u0430\u043F\u043A\u0430"}) {
    tree.push_back({.path = folder, .mtime = halfPastMidnight, .folder = true});
  }
  return tree;
}

// Fifty folders: the Joliet root takes two sectors.
std::vector<FixtureFile> FiftyFoldersTree() {
  std::vector<FixtureFile> tree;
  for (int i = 0; i < 50; ++i) {
    tree.push_back(
        {.path = "folder" + std::string(i < 10 ? "0" : "") + std::to_string(i) + "/f.txt",
         .content = "f"});
  }
  return tree;
}

std::vector<std::string> FiftyFoldersPaths() {
  std::vector<std::string> paths;
  for (const FixtureFile& file : FiftyFoldersTree()) {
    paths.push_back(file.path.substr(0, file.path.find('/')));
    paths.push_back(file.path);
  }
  return paths;
}

// The ASCII tree and fifty files beside it: the root takes two sectors.
std::vector<FixtureFile> FiftyFilesTree() {
  std::vector<FixtureFile> tree = AsciiTree();
  for (int i = 0; i < 50; ++i) {
    tree.push_back({.path = "file" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".txt",
                    .content = "f"});
  }
  return tree;
}

// The paths of tree as an 8-bit tree of genisoimage's names lists them: upper
// case, and each folder on the way.
std::vector<std::string> EightBitPaths(const std::vector<FixtureFile>& tree) {
  std::set<std::string> paths;
  for (const FixtureFile& file : tree) {
    std::string path = file.path;
    std::transform(path.begin(), path.end(), path.begin(),
                   [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); });
    for (std::size_t slash = path.find('/'); slash != std::string::npos; slash = path.find('/', slash + 1)) {
      paths.insert(path.substr(0, slash));
    }
    paths.insert(path);
  }
  return {paths.begin(), paths.end()};
}

// paths without the root's files that sort after last: genisoimage records a
// directory in name order, and the root's second sector (the one lost) holds
// the files after last.
std::vector<std::string> RootFilesUpTo(std::vector<std::string> paths, const std::string& last) {
  std::erase_if(paths, [&](const std::string& path) {
    const bool rootFile = path.find('/') == std::string::npos && path.find('.') != std::string::npos;
    return rootFile && path > last;
  });
  return paths;
}

// ---- The whole pass, through Open Drive -----------------------------------------

enum class Damage {
  kDescriptors,                // zeroed
  kDescriptorsAndDirectories,  // every directory zeroed as well
  kSectorsBeforeJolietRoot,    // descriptors zeroed, sectors 16 to the Joliet root unreadable
  kSecondRootSector,           // descriptors zeroed, the second sector of the root unreadable
                               // (the Joliet root's when there is one)
};

FaultMap Apply(const fs::path& image, Damage damage) {
  FaultMap faults;
  if (damage == Damage::kSectorsBeforeJolietRoot || damage == Damage::kSecondRootSector) {
    const bool joliet =
        fixture::FindDescriptor(image, fixture::kSupplementaryDescriptor).has_value();
    const Lba root =
        TreeOf(image, joliet ? fixture::kSupplementaryDescriptor : fixture::kPrimaryDescriptor)
            .root;
    const Lba first = damage == Damage::kSectorsBeforeJolietRoot ? 16 : root + 1;
    const Lba end = damage == Damage::kSectorsBeforeJolietRoot ? root : root + 2;
    for (Lba s = first; s < end; ++s) faults[s] = {};
  }
  if (damage == Damage::kDescriptorsAndDirectories) WipeDirectories(image);
  WipeDescriptors(image);
  return faults;
}

TEST(RecoveryScanTest, DiscWithoutDescriptorsListsTheTreeTheScansFind) {
  struct Case {
    const char* name;
    std::vector<FixtureFile> tree;
    IsoOptions options;
    Damage damage;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"Joliet tree found by the directory scan, genisoimage", NamesTree(),
       Options(IsoTool::kGenisoimage, true), Damage::kDescriptors, JolietPaths()},
      {"Joliet tree found by the directory scan, xorriso", NamesTree(),
       Options(IsoTool::kXorriso, true), Damage::kDescriptors, JolietPaths()},
      {"Joliet tree whose first name is CJK",
       CjkTree(),
       Options(IsoTool::kGenisoimage, true),
       Damage::kDescriptors,
       {"\u4E2D\u6587", "\u4E2D\u6587/a.txt", "\u4E2D\u6587/b.txt"}},
      {"8-bit tree of a disc without Joliet",
       AsciiTree(),
       Options(IsoTool::kGenisoimage, false),
       Damage::kDescriptors,
       {"DOCS", "DOCS/DEEP", "DOCS/DEEP/NOTE.TXT", "DOCS/README.TXT", "TOP.TXT"}},
      {"records at 00:30 are records", HalfPastMidnightTree(), Options(IsoTool::kGenisoimage, true),
       Damage::kDescriptors, JolietPaths()},
      {"unreadable sectors before the Joliet root are passed over", NamesTree(),
       Options(IsoTool::kGenisoimage, true), Damage::kSectorsBeforeJolietRoot, JolietPaths()},
      {"no directory left: the Joliet path table names the top-level folders",
       NamesTree(),
       Options(IsoTool::kGenisoimage, true),
       Damage::kDescriptorsAndDirectories,
       {"docs", "\u00DCn\u00EFcode", "\u041F\u0430\u043F\u043A\u0430"}},
      {"root cut short: the path table gives the folders of its lost sector", FiftyFoldersTree(),
       Options(IsoTool::kGenisoimage, true), Damage::kSecondRootSector, FiftyFoldersPaths()},
      {"8-bit root cut short: what it holds, and the path table its folders",
       FiftyFilesTree(),
       Options(IsoTool::kGenisoimage, false),
       Damage::kSecondRootSector,
       RootFilesUpTo(EightBitPaths(FiftyFilesTree()), "FILE41.TXT")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fixture::TempDir dir;
    const fs::path image = BuildDisc(dir, c.tree, c.options);
    FaultMap faults = Apply(image, c.damage);
    std::vector<std::string> expected = c.expected;
    std::sort(expected.begin(), expected.end());
    const std::vector<std::string> paths = ScanInDrive(image, std::move(faults)).paths;
    std::vector<std::string> missing, extra;
    std::set_difference(expected.begin(), expected.end(), paths.begin(), paths.end(),
                        std::back_inserter(missing));
    std::set_difference(paths.begin(), paths.end(), expected.begin(), expected.end(),
                        std::back_inserter(extra));
    EXPECT_TRUE(missing.empty() && extra.empty())
        << "missing: " << ::testing::PrintToString(missing)
        << "\nextra: " << ::testing::PrintToString(extra);
  }
}

TEST(RecoveryScanTest, ScansReadUpToTheEndOfTheDiscPastALongUnreadableStretch) {
  fixture::TempDir dir;
  const fs::path image = BuildDisc(
      dir, {{.path = "top.txt", .content = "top"}, {.path = "big.bin", .patternSize = 1u << 20}},
      Options(IsoTool::kGenisoimage, false));
  const Lba big = fixture::FileExtentLba(image, "BIG.BIN");
  WipeDescriptors(image);
  FaultMap faults;
  for (Lba s = big; s < big + (1u << 20) / kSectorSize; ++s) faults[s] = {};
  const Lba end = SectorsIn(image);

  DriveScan scan = ScanInDrive(image, std::move(faults));

  EXPECT_EQ(scan.paths, (std::vector<std::string>{"BIG.BIN", "TOP.TXT"}));
  EXPECT_EQ(LastSectorRead(scan.commands), end - 1)
      << "the last sector read is not the disc's last";
}

TEST(RecoveryScanTest, StopRequestEndsThePassBeforeAnyRead) {
  fixture::TempDir dir;
  DirectScan direct(BuildDisc(dir, NamesTree(), Options(IsoTool::kGenisoimage, true)));
  direct.sink.stop = true;

  direct.scan.RecoverVolume();

  EXPECT_TRUE(direct.scan.candidates().empty());
  EXPECT_TRUE(direct.volume.pathTableSources().empty());
  EXPECT_TRUE(direct.sink.records.empty());
  EXPECT_TRUE(direct.machine.commands().empty());
}

// ---- The directory scan ---------------------------------------------------------

// What lies after the first sector of the root.
enum class After {
  kNothing,
  kMoreRecords,    // a file whose record did not fit: the root's second sector
  kNextDirectory,  // the first entry is a folder: its directory follows the root
};

// Files whose Joliet records fill the root's first sector up to tail bytes
// before its end (a Joliet record is 33 bytes and the name in 16 bits, padded
// to an even length).
std::vector<FixtureFile> RootFilledUpTo(std::size_t tail, After after) {
  const std::size_t room = kSectorSize - kFirstEntry - tail;
  std::vector<std::size_t> sizes(room / 100, 100);
  if (room % 100 >= 40) {
    sizes.push_back(room % 100);
  } else {
    sizes.front() += room % 100;
  }
  std::vector<FixtureFile> tree;
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    std::string name = "a" + std::string(i < 10 ? "0" : "") + std::to_string(i);
    name.resize((sizes[i] - 34) / 2, 'x');
    tree.push_back({.path = i == 0 && after == After::kNextDirectory ? name + "/f" : name});
  }
  if (after == After::kMoreRecords) tree.push_back({.path = std::string(40, 'z')});
  return tree;
}

// Where the records of a directory's first sector end, following their lengths.
std::size_t RecordsEnd(const fs::path& image, Lba directory) {
  const std::vector<std::byte> sector = fixture::ReadSector(image, directory);
  std::size_t pos = 0;
  while (pos < sector.size() && sector[pos] != std::byte{0})
    pos += static_cast<std::size_t>(sector[pos]);
  return pos;
}

TEST(RecoveryScanTest, DirectoryEndsWhereItsRecordsSayAndNoSooner) {
  struct Case {
    const char* name;
    std::size_t tail;
    After after;
    std::optional<FaultKind> faultOnFirst;
    std::optional<FaultKind> faultOnSecond;
    bool found;
    std::uint32_t sectorCount;
    bool ended;
  };
  const Case cases[] = {
      {"zero length 100 bytes before the end", 100, After::kNothing, {}, {}, true, 1, true},
      {"zero length 62 bytes before the end", 62, After::kNothing, {}, {}, true, 1, true},
      {"zero length 60 bytes before the end", 60, After::kNothing, {}, {}, true, 1, true},
      {"zero length 58 bytes before the end goes on into the next sector",
       58,
       After::kMoreRecords,
       {},
       {},
       true,
       2,
       true},
      {"the next sector after a zero length 58 bytes before the end holds no records",
       58,
       After::kNothing,
       {},
       {},
       true,
       1,
       true},
      {"the next sector after a zero length 58 bytes before the end starts a directory",
       58,
       After::kNextDirectory,
       {},
       {},
       true,
       1,
       true},
      {"last record ending at the sector's end goes on",
       0,
       After::kMoreRecords,
       {},
       {},
       true,
       2,
       true},
      {"next sector unreadable",
       0,
       After::kMoreRecords,
       {},
       FaultKind::kUnreadable,
       true,
       1,
       false},
      {"first sector read short", 100, After::kNothing, FaultKind::kShortRead, {}, true, 1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fixture::TempDir dir;
    // xorriso: genisoimage never lets a Joliet record end at the sector's last byte.
    const fs::path image =
        BuildDisc(dir, RootFilledUpTo(c.tail, c.after), Options(IsoTool::kXorriso, true));
    const Lba root = TreeOf(image, fixture::kSupplementaryDescriptor).root;
    ASSERT_EQ(RecordsEnd(image, root), kSectorSize - c.tail) << "fixture";
    if (c.after == After::kNextDirectory) {
      ASSERT_EQ(U32Le(fixture::ReadSector(image, root + 1), 2), root + 1) << "fixture";
    }
    if (c.after == After::kNothing && c.tail < 60) {
      ASSERT_NE(fixture::ReadSector(image, root + 1)[0], std::byte{0})
          << "fixture: no zero tail after the root";
    }
    FaultMap faults;
    if (c.faultOnFirst) faults[root] = {.kind = *c.faultOnFirst, .shortBytes = kSectorSize / 2};
    if (c.faultOnSecond) faults[root + 1] = {.kind = *c.faultOnSecond};
    DirectScan direct(image, faults);

    direct.scan.ScanForDirectories(16);

    const DirectoryCandidate* candidate = direct.CandidateAt(root);
    ASSERT_EQ(candidate != nullptr, c.found);
    EXPECT_EQ(direct.scan.shortDirectoryReads(), c.faultOnFirst ? 1 : 0);
    if (!candidate) continue;
    EXPECT_EQ(candidate->sectorCount, c.sectorCount);
    EXPECT_EQ(candidate->ended, c.ended);
    EXPECT_EQ(candidate->encoding, NameEncoding::kSixteenBit);
    // A whole Joliet directory ends the scan; one cut short does not.
    EXPECT_EQ(LastSectorRead(direct.machine.commands()) >= root + 2, !c.ended);
  }
}

TEST(RecoveryScanTest, SectorsShapedLikeADirectoryStartArePassedOverUnlessTheirRecordsAreSound) {
  // A text whose lines of 34 characters open with '"' (34): its sector has 34
  // at bytes 0, 34 and 68, as a directory's first sector has.
  std::string quoted;
  while (quoted.size() < kSectorSize) {
    std::string line = "\"Come in,\" she said, quite calmly.";
    line.resize(34, ' ');
    quoted += line;
  }
  // A disc image stored as a file: its directories are whole, but lie
  // elsewhere than their "." records say.
  fixture::TempDir innerDir;
  const fs::path inner = BuildDisc(innerDir, AsciiTree(), Options(IsoTool::kGenisoimage, false));
  const Lba innerRoot = TreeOf(inner, fixture::kPrimaryDescriptor).root;
  const std::vector<std::byte> innerBytes = fixture::ReadBytes(inner, 0, fs::file_size(inner));
  const std::string stored(reinterpret_cast<const char*>(innerBytes.data()), innerBytes.size());

  enum class Target { kTextFile, kStoredImageRoot, kRoot };
  struct Patch {
    std::size_t offset;  // within the sector
    std::uint8_t value;
  };
  struct Case {
    const char* name;
    Target target;
    bool ownLba;  // bytes 2-5 patched to the sector's own LBA
    std::vector<Patch> patches;
    bool found;
  };
  constexpr std::size_t kMonth = kFirstEntry + 19, kDay = kFirstEntry + 20,
                        kHour = kFirstEntry + 21;
  const Case cases[] = {
      {"text starting with a quote", Target::kTextFile, false, {}, false},
      {"text naming its own sector", Target::kTextFile, true, {}, false},
      {"directory of a stored disc image", Target::kStoredImageRoot, false, {}, false},
      {"first entry in month 13", Target::kRoot, false, {{kMonth, 13}}, false},
      {"first entry on day 0", Target::kRoot, false, {{kDay, 0}}, false},
      {"first entry on day 32", Target::kRoot, false, {{kDay, 32}}, false},
      {"first entry at hour 24", Target::kRoot, false, {{kHour, 24}}, false},
      {"first entry at hour 0", Target::kRoot, false, {{kHour, 0}}, true},
      {"first entry at 23 h on 31 December",
       Target::kRoot,
       false,
       {{kMonth, 12}, {kDay, 31}, {kHour, 23}},
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fixture::TempDir dir;
    const fs::path image = BuildDisc(dir,
                                     {{.path = "quote.txt", .content = quoted},
                                      {.path = "stored.iso", .content = stored},
                                      {.path = "docs/a.txt"}},
                                     Options(IsoTool::kGenisoimage, false));
    Lba lba = TreeOf(image, fixture::kPrimaryDescriptor).root;
    if (c.target == Target::kTextFile) lba = fixture::FileExtentLba(image, "QUOTE.TXT");
    if (c.target == Target::kStoredImageRoot)
      lba = fixture::FileExtentLba(image, "STORED.ISO") + innerRoot;
    const std::uint64_t sectorStart = std::uint64_t{lba} * kSectorSize;
    if (c.ownLba) PatchU32Le(image, sectorStart + 2, lba);
    for (const Patch& patch : c.patches) PatchByte(image, sectorStart + patch.offset, patch.value);
    DirectScan direct(image);

    direct.scan.ScanForDirectories(16);

    EXPECT_GE(ReadsOf(direct.machine.commands(), lba), 1u) << "the sector was not examined";
    EXPECT_EQ(direct.CandidateAt(lba) != nullptr, c.found);
  }
}

// ---- The path-table scan --------------------------------------------------------

TEST(RecoveryScanTest, PathTablesAreFoundWholeAndEachSectorIsExaminedOnce) {
  // Fifty folders with long names: each Joliet table takes three sectors.
  std::vector<FixtureFile> tree;
  for (int i = 0; i < 50; ++i) {
    tree.push_back(
        {.path = "a folder with a long name, number " + std::to_string(100 + i), .folder = true});
  }
  for (IsoTool tool : {IsoTool::kGenisoimage, IsoTool::kXorriso}) {
    SCOPED_TRACE(tool == IsoTool::kXorriso ? "xorriso" : "genisoimage");
    fixture::TempDir dir;
    const fs::path image = BuildDisc(dir, tree, Options(tool, true));
    const TreeInfo iso = TreeOf(image, fixture::kPrimaryDescriptor);
    const TreeInfo joliet = TreeOf(image, fixture::kSupplementaryDescriptor);
    ASSERT_EQ(joliet.pathTableSectors, 3u) << "fixture";
    DirectScan direct(image);

    direct.scan.ScanForPathTables();

    const auto& sources = direct.volume.pathTableSources();
    std::vector<PathTableSource> expected = {
        {iso.typeL, iso.pathTableSectors, PathTableOrder::kTypeL, NameEncoding::kEightBit},
        {iso.typeM, iso.pathTableSectors, PathTableOrder::kTypeM, NameEncoding::kEightBit},
        {joliet.typeL, 3, PathTableOrder::kTypeL, NameEncoding::kSixteenBit},
        {joliet.typeM, 3, PathTableOrder::kTypeM, NameEncoding::kSixteenBit}};
    std::sort(expected.begin(), expected.end(),
              [](const auto& a, const auto& b) { return a.lba < b.lba; });
    ASSERT_EQ(sources.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(sources[i].lba, expected[i].lba);
      EXPECT_EQ(sources[i].sectorCount, expected[i].sectorCount);
      EXPECT_EQ(sources[i].order, expected[i].order);
      EXPECT_EQ(sources[i].encoding, expected[i].encoding);
    }
    EXPECT_EQ(direct.volume.sixteenBitPathTables, 2);
    for (Lba s = joliet.typeL; s < joliet.typeL + 3; ++s)
      EXPECT_EQ(ReadsOf(direct.machine.commands(), s), 1u);
  }
}

TEST(RecoveryScanTest, PathTableThatDoesNotHoldTogetherIsPassedOver) {
  // The root's record takes 10 bytes, a one-letter folder's 10, a three-letter
  // folder's 12 in the ISO 9660 table and 14 in the Joliet one.
  struct Case {
    const char* name;
    std::vector<const char*> folders;
    bool padPatched;  // the byte after "A" in the ISO 9660 type L table, 0 as written
    std::size_t eightBit;
    std::size_t sixteenBit;
  };
  const Case cases[] = {
      {"ends at byte 40", {"A", "B", "C"}, false, 0, 0},
      {"ends at byte 50", {"A", "B", "C", "D"}, false, 0, 0},
      {"ends at byte 52 and at byte 54", {"A", "B", "C", "DDD"}, false, 2, 2},
      {"odd identifier without its zero padding", {"A", "B", "C", "DDD"}, true, 1, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<FixtureFile> tree;
    for (const char* folder : c.folders) tree.push_back({.path = folder, .folder = true});
    fixture::TempDir dir;
    const fs::path image = BuildDisc(dir, tree, Options(IsoTool::kGenisoimage, true));
    if (c.padPatched) {
      PatchByte(image,
                std::uint64_t{TreeOf(image, fixture::kPrimaryDescriptor).typeL} * kSectorSize + 19,
                'X');
    }
    DirectScan direct(image);

    direct.scan.ScanForPathTables();

    const auto& sources = direct.volume.pathTableSources();
    const auto sixteenBit =
        static_cast<std::size_t>(std::count_if(sources.begin(), sources.end(), [](const auto& t) {
          return t.encoding == NameEncoding::kSixteenBit;
        }));
    EXPECT_EQ(sources.size() - sixteenBit, c.eightBit);
    EXPECT_EQ(sixteenBit, c.sixteenBit);
    EXPECT_EQ(direct.volume.sixteenBitPathTables, c.sixteenBit);
  }
}

}  // namespace
}  // namespace velmora::disc
