// Fault campaigns on the emulated drive: a small two-session disc has each of
// its sectors made unreadable in turn, and each process is stopped at each of
// the points where it lets messages through. Every run must end, keep the
// flags consistent, list and write what did read, and account for the rest.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "image/ImageCreator.h"
#include "image/ImageOpener.h"
#include "platform/emulated/EmulatedMachine.h"
#include "recovery/RecoveryEngine.h"
#include "select/RecoveryFilterList.h"
#include "support/BytePatcher.h"
#include "support/EngineScan.h"
#include "support/MultiSessionBuilder.h"
#include "support/TempDir.h"
#include "support/TreeWriter.h"
#include "text/StringTable.h"
#include "text/Utf.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using platform::emulated::EmulatedDisc;
using platform::emulated::EmulatedMachine;
using platform::emulated::FaultKind;
using platform::emulated::FaultMap;
using platform::emulated::RecordedCommand;
using platform::emulated::SectorFault;
using testing::EngineScan;

constexpr std::size_t kBlock = 2048;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The files below dir, "/" between names.
std::set<std::string> FilesBelow(const fs::path& dir) {
  std::set<std::string> files;
  if (!fs::exists(dir)) return files;
  for (auto it = fs::recursive_directory_iterator(dir); it != fs::recursive_directory_iterator();
       ++it) {
    if (it->is_regular_file()) files.insert(it->path().lexically_relative(dir).generic_string());
  }
  return files;
}

// A listing line without its last field, the extent: a folder read from the
// other tree of the session has the same path, size and time at another extent.
std::string WithoutExtent(const std::string& line) { return line.substr(0, line.rfind('\t')); }

std::set<std::string> LinesWithoutExtents(const std::vector<std::string>& listing) {
  std::set<std::string> lines;
  for (const std::string& line : listing) lines.insert(WithoutExtent(line));
  return lines;
}

// One line of a recovery report.
struct ReportLine {
  std::string status;
  std::string ranges;
  std::string saved;
};

// The report's lines by disc path.
std::map<std::string, ReportLine> ReportLines(const fs::path& report) {
  std::map<std::string, ReportLine> lines;
  std::istringstream in(ReadAll(report));
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> fields;
    std::istringstream split(line);
    for (std::string field; std::getline(split, field, '\t');) fields.push_back(field);
    fields.resize(4);
    lines[fields[1]] = {fields[0], fields[2], fields[3]};
  }
  return lines;
}

// Session 1 holds three files in nested folders, session 2 adds two. Names are
// 8.3 capitals, so the Rock Ridge, Joliet and ISO 9660 trees name them alike;
// every file takes two sectors or more, so one bad sector leaves part of it.
class FaultCampaign : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new testing::TempDir;
    testing::WriteTree(*dir_ / "s1",
                       {{.path = "README.TXT", .patternSize = 3000, .patternSeed = 1},
                        {.path = "DOCS/A.BIN", .patternSize = 5000, .patternSeed = 2},
                        {.path = "DOCS/SUB/B.BIN", .patternSize = 4097, .patternSeed = 3}});
    testing::WriteTree(*dir_ / "s2", {{.path = "NEW/C.BIN", .patternSize = 4500, .patternSeed = 4},
                                      {.path = "TOP.BIN", .patternSize = 2049, .patternSeed = 5}});
    disc_ = new testing::MultiSessionDisc(
        testing::MakeMultiSessionDisc({*dir_ / "s1", *dir_ / "s2"}, *dir_ / "disc.img", 16));
    auto engine = Engine({});
    engine->ScanDrive();
    baseline_ = new std::vector<std::string>(engine->ListingTsv());
    // Hundreds of recoveries are written and removed: in memory where the
    // machine offers it, as a disk mounted with discard takes its time.
    std::error_code error;
    const fs::path shm = "/dev/shm";
    scratch_ = new fs::path(fs::is_directory(shm, error) && access(shm.c_str(), W_OK) == 0
                                ? shm / ("velmora-faults-" + std::to_string(getpid()))
                                : *dir_ / "scratch");
    fs::create_directories(*scratch_);
  }
  static void TearDownTestSuite() {
    std::error_code error;
    fs::remove_all(*scratch_, error);
    delete scratch_;
    delete baseline_;
    delete disc_;
    delete dir_;
  }

  // The engine over the emulated drive holding the disc with these faults.
  static std::unique_ptr<EngineScan> Engine(const FaultMap& faults, bool record = false) {
    auto machine = std::make_unique<EmulatedMachine>(1);
    machine->RecordCommands(record);
    machine->InsertDisc(0, EmulatedDisc{.imagePath = disc_->image.string(),
                                        .tracks = disc_->tracks,
                                        .faults = faults});
    return std::make_unique<EngineScan>(std::move(machine));
  }
  static Lba DiscEnd() { return disc_->tracks.back().end; }
  // Sectors between the sessions: not on the disc, read by no one.
  static bool InGap(Lba lba) {
    return lba >= disc_->tracks[0].end && lba < disc::TrackLba(disc_->tracks[1]);
  }
  // The fixture file that "Session k/PATH" of the disc holds.
  static fs::path SourceOf(const std::string& discPath) {
    const std::string path = discPath.substr(discPath.find('/') + 1);
    for (const char* session : {"s1", "s2"}) {
      if (fs::exists(*dir_ / session / path)) return *dir_ / session / path;
    }
    ADD_FAILURE() << "no fixture file for " << discPath;
    return {};
  }
  // Recover All of what engine lists into out, with a report.
  static disc::RecoverySummary RecoverAll(EngineScan& engine, const fs::path& out,
                                          const fs::path& report) {
    disc::RecoveryEngine recovery(engine.reader, *engine.machine, engine.state, engine.host,
                                  engine.scan);
    engine.host.scriptedPrompts.folderAnswer = out.string();
    engine.state.recoverAll = true;
    engine.host.log.Clear();
    return recovery.Run(engine.table, select::RecoveryFilterList(), report.string());
  }

  static void ExpectIdle(const AppState& state) {
    EXPECT_FALSE(state.processRunning);
    EXPECT_FALSE(state.busy);
    EXPECT_FALSE(state.scanInProgress);
    EXPECT_FALSE(state.imageCreationRunning);
    EXPECT_FALSE(state.recoveryRunning);
    EXPECT_FALSE(state.stopRequested);
    EXPECT_EQ(state.stepsAfterStop, 0u);
  }

  static testing::TempDir* dir_;
  static testing::MultiSessionDisc* disc_;
  static std::vector<std::string>* baseline_;
  static fs::path* scratch_;  // the destinations of the recoveries
};

testing::TempDir* FaultCampaign::dir_ = nullptr;
fs::path* FaultCampaign::scratch_ = nullptr;
testing::MultiSessionDisc* FaultCampaign::disc_ = nullptr;
std::vector<std::string>* FaultCampaign::baseline_ = nullptr;

TEST_F(FaultCampaign, BaselineListsBothSessions) {
  EXPECT_EQ(LinesWithoutExtents(*baseline_).size(), 10u);
  for (const char* path : {"Session 1/DOCS/SUB/B.BIN", "Session 2/NEW/C.BIN"}) {
    EXPECT_TRUE(std::any_of(baseline_->begin(), baseline_->end(),
                            [&](const std::string& line) { return line.starts_with(path); }))
        << path;
  }
}

// The two trees of each session (Rock Ridge on ISO 9660, and Joliet) hold the
// same names: one unreadable sector, wherever it lies, costs the listing
// nothing. The scan always ends, and idle.
TEST_F(FaultCampaign, EveryUnreadableSectorInTurnLeavesTheListingWhole) {
  const std::set<std::string> expected = LinesWithoutExtents(*baseline_);
  // The folders below the roots of the shown (Rock Ridge) trees, by extent.
  std::set<Lba> shownFolders;
  for (const std::string& line : *baseline_) {
    if (line.find("\tfolder\t") != std::string::npos)
      shownFolders.insert(static_cast<Lba>(std::stoul(line.substr(line.rfind('\t') + 1))));
  }
  ASSERT_EQ(shownFolders.size(), 5u);
  // The roots of the sessions' ISO 9660 trees, from their primary descriptors
  // (the root's record at byte 156, its extent at 158).
  for (const auto& track : disc_->tracks) {
    const auto descriptor =
        testing::ReadBytes(disc_->image, (disc::TrackLba(track) + 16) * kBlock, kBlock);
    Lba root = 0;
    for (int i = 3; i >= 0; --i) root = (root << 8) | std::to_integer<Lba>(descriptor[158 + i]);
    shownFolders.insert(root);
  }
  ASSERT_EQ(shownFolders.size(), 7u);
  for (Lba lba = 0; lba < DiscEnd(); ++lba) {
    SCOPED_TRACE("sector " + std::to_string(lba));
    auto engine = Engine({{lba, {FaultKind::kUnreadable}}});
    engine->ScanDrive();
    EXPECT_EQ(LinesWithoutExtents(engine->ListingTsv()), expected);
    ExpectIdle(engine->state);
    EXPECT_TRUE(engine->state.treeComplete);
    // A Rock Ridge folder that did not read, a root too, is said to come from
    // the Joliet tree.
    std::size_t fromJoliet = 0;
    for (const log::LogRow& row : engine->host.log.rows()) {
      if (row.status != text::LoadText(text::kFolderFromJoliet)) continue;
      ++fromJoliet;
      EXPECT_TRUE(text::ToUtf8(row.text).ends_with(" " + std::to_string(lba) + ")"))
          << text::ToUtf8(row.text);
    }
    EXPECT_EQ(fromJoliet, shownFolders.contains(lba) ? 1u : 0u);
  }
}

// The image holds an unread block (0xF6) where the bad sector is, one log row
// names it, every other block is the disc's; the image opens and lists what the
// drive listed.
TEST_F(FaultCampaign, EveryUnreadableSectorInTurnIsOneUnreadBlockOfTheImage) {
  const auto original = testing::ReadBytes(disc_->image, 0, DiscEnd() * kBlock);
  const fs::path image = *scratch_ / "copy.cd";
  for (Lba lba = 0; lba < DiscEnd(); ++lba) {
    SCOPED_TRACE("sector " + std::to_string(lba));
    auto engine = Engine({{lba, {FaultKind::kUnreadable}}});
    engine->ScanDrive();
    const std::vector<std::string> listed = engine->ListingTsv();
    engine->host.log.Clear();
    disc::ImageCreator creator(engine->reader, engine->state, engine->table, engine->scan,
                               engine->host);
    const disc::ImageOutcome outcome = creator.CreateImage(image.string());
    ASSERT_EQ(outcome.result, disc::ImageResult::kCompleted);
    EXPECT_EQ(outcome.blocks, DiscEnd());
    ExpectIdle(engine->state);

    // The gap reads as nothing on any disc: its blocks are unread without a row.
    std::vector<std::u16string> rows;
    for (const log::LogRow& row : engine->host.log.rows()) rows.push_back(row.status);
    std::vector<std::u16string> expectedRows{text::LoadText(text::kProcessStarted)};
    if (!InGap(lba)) {
      expectedRows.push_back(text::LoadText(text::kUnableToReadSector) + u" " +
                             text::FromUtf8(std::to_string(lba)));
    }
    expectedRows.push_back(text::LoadText(text::kProcessCompleted));
    EXPECT_EQ(rows, expectedRows);
    EXPECT_EQ(outcome.unreadableSectors, InGap(lba) ? 0u : 1u);

    std::vector<std::byte> expected = original;
    std::fill_n(expected.begin() + lba * kBlock, kBlock, std::byte{0xF6});
    EXPECT_TRUE(testing::ReadBytes(image, 0, DiscEnd() * kBlock) == expected);

    disc::ImageOpener opener(engine->reader, *engine->machine, engine->state, engine->scan,
                             engine->host);
    ASSERT_TRUE(opener.OnOpenImage(image.string()));
    EXPECT_EQ(engine->ListingTsv(), listed);
  }
}

// Recover All writes the files that hold the bad sector with zeros there, and
// names exactly them partial with the sector's bytes; every other file is
// written byte for byte as the fixture holds it.
TEST_F(FaultCampaign, EveryUnreadableSectorInTurnMakesExactlyItsFilesPartial) {
  const fs::path out = *scratch_ / "out";
  const fs::path report = *scratch_ / "report.tsv";
  std::size_t filesCompared = 0;
  for (Lba lba = 0; lba < DiscEnd(); ++lba) {
    SCOPED_TRACE("sector " + std::to_string(lba));
    fs::remove_all(out);
    auto engine = Engine({{lba, {FaultKind::kUnreadable}}});
    engine->ScanDrive();
    const disc::RecoverySummary summary = RecoverAll(*engine, out, report);
    ExpectIdle(engine->state);
    EXPECT_FALSE(summary.aborted);
    EXPECT_EQ(summary.filesFailed, 0u);

    std::set<std::string> listedFiles;
    for (const std::string& line : engine->ListingTsv()) {
      if (line.find("\tfile\t") != std::string::npos) listedFiles.insert(line.substr(0, line.find('\t')));
    }
    EXPECT_EQ(FilesBelow(out), listedFiles);
    const std::map<std::string, ReportLine> lines = ReportLines(report);
    std::uint32_t partial = 0;
    for (std::size_t i = 0; i < engine->table.size(); ++i) {
      const disc::Entry& entry = engine->table[i];
      if (entry.IsFolder()) continue;
      const std::string path = engine->PathOf(i);
      std::string expected = ReadAll(SourceOf(path));
      ASSERT_EQ(expected.size(), entry.size);
      const Lba first = entry.fileId;
      const Lba last = first + static_cast<Lba>((entry.size + kBlock - 1) / kBlock);
      ASSERT_TRUE(lines.contains(path)) << path;
      const ReportLine& line = lines.at(path);
      if (lba >= first && lba < last) {
        ++partial;
        const std::uint64_t from = std::uint64_t{lba - first} * kBlock;
        const std::uint64_t to = std::min<std::uint64_t>(from + kBlock, entry.size);
        std::fill(expected.begin() + static_cast<std::ptrdiff_t>(from),
                  expected.begin() + static_cast<std::ptrdiff_t>(to), '\0');
        EXPECT_EQ(line.status, "partial") << path;
        EXPECT_EQ(line.ranges, std::to_string(from) + "-" + std::to_string(to - 1)) << path;
      } else {
        EXPECT_EQ(line.status, "recovered") << path;
        EXPECT_EQ(line.ranges, "") << path;
      }
      EXPECT_EQ(ReadAll(out / line.saved), expected) << path;
      ++filesCompared;
    }
    EXPECT_EQ(summary.filesPartial, partial);
  }
  RecordProperty("filesCompared", static_cast<int>(filesCompared));
}


// Stop arrives at each point where the scan lets messages through: the scan
// ends with the flags of a finished one, lists only what the disc holds, each
// entry under a folder of the tree, and what it listed can be recovered.
TEST_F(FaultCampaign, StopAtEveryPumpOfTheScanLeavesAUsableTree) {
  std::size_t pumps = 0;
  {
    auto engine = Engine({});
    engine->host.onPump = [&] { ++pumps; };
    engine->ScanDrive();
  }
  ASSERT_GT(pumps, 10u);
  const std::set<std::string> baseline(baseline_->begin(), baseline_->end());
  const fs::path out = *scratch_ / "out";
  for (std::size_t k = 1; k <= pumps; ++k) {
    SCOPED_TRACE("stop at pump " + std::to_string(k));
    auto engine = Engine({});
    std::size_t pump = 0;
    engine->host.onPump = [&] {
      if (++pump == k) disc::ScanProcess::RequestStop(engine->state);
    };
    engine->ScanDrive();
    engine->host.onPump = nullptr;
    ExpectIdle(engine->state);
    EXPECT_TRUE(engine->state.treeComplete);
    EXPECT_FALSE(engine->host.progressShown);

    const std::vector<std::string> listed = engine->ListingTsv();
    for (const std::string& line : listed) {
      EXPECT_TRUE(baseline.contains(line)) << line;
      EXPECT_EQ(line.find('?'), std::string::npos) << "no parent: " << line;
    }
    std::size_t aborted = 0;
    for (const log::LogRow& row : engine->host.log.rows()) {
      if (row.status == text::LoadText(text::kProcessAborted)) ++aborted;
    }
    EXPECT_LE(aborted, 1u);
    if (listed.size() < baseline.size()) {
      EXPECT_EQ(aborted, 1u);
    }

    fs::remove_all(out);
    const disc::RecoverySummary summary = RecoverAll(*engine, out, *scratch_ / "report.tsv");
    EXPECT_FALSE(summary.aborted);
    for (const std::string& file : FilesBelow(out)) {
      EXPECT_EQ(ReadAll(out / file), ReadAll(SourceOf(file))) << file;
    }
  }
  RecordProperty("stopPoints", static_cast<int>(pumps));
}

// Stop arrives at each point where image creation lets messages through: the
// image holds the disc's blocks up to where it stopped, ends in its trailer,
// and opens, listing only what the disc holds.
TEST_F(FaultCampaign, StopAtEveryPumpOfImageCreationLeavesAnImageThatOpens) {
  const fs::path image = *scratch_ / "stopped.cd";
  const auto original = testing::ReadBytes(disc_->image, 0, DiscEnd() * kBlock);
  const std::set<std::string> baseline(baseline_->begin(), baseline_->end());
  std::set<std::string> baselineFolders;
  for (const std::string& line : *baseline_) {
    if (line.find("\tfolder\t") != std::string::npos)
      baselineFolders.insert(line.substr(0, line.find('\t')));
  }
  auto create = [&](EngineScan& engine) {
    disc::ImageCreator creator(engine.reader, engine.state, engine.table, engine.scan,
                               engine.host);
    return creator.CreateImage(image.string());
  };
  std::size_t pumps = 0;
  {
    auto engine = Engine({});
    engine->ScanDrive();
    engine->host.onPump = [&] { ++pumps; };
    ASSERT_EQ(create(*engine).result, disc::ImageResult::kCompleted);
  }
  ASSERT_GE(pumps, DiscEnd());
  for (std::size_t k = 1; k <= pumps; ++k) {
    SCOPED_TRACE("stop at pump " + std::to_string(k));
    auto engine = Engine({});
    engine->ScanDrive();
    engine->host.log.Clear();
    std::size_t pump = 0;
    engine->host.onPump = [&] {
      if (++pump == k) disc::ScanProcess::RequestStop(engine->state);
    };
    const disc::ImageOutcome outcome = create(*engine);
    engine->host.onPump = nullptr;
    ExpectIdle(engine->state);
    ASSERT_TRUE(outcome.result == disc::ImageResult::kAborted ||
                outcome.result == disc::ImageResult::kCompleted);
    if (outcome.result == disc::ImageResult::kCompleted) {
      EXPECT_EQ(outcome.blocks, DiscEnd());
    }
    EXPECT_LE(outcome.blocks, DiscEnd());
    ASSERT_EQ(fs::file_size(image), (std::uint64_t{outcome.blocks} + 1) * kBlock);
    EXPECT_TRUE(testing::ReadBytes(image, 0, outcome.blocks * kBlock) ==
                std::vector<std::byte>(original.begin(),
                                       original.begin() + static_cast<std::ptrdiff_t>(
                                                              outcome.blocks * kBlock)));
    const auto& rows = engine->host.log.rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows.back().status, text::LoadText(outcome.result == disc::ImageResult::kAborted
                                                     ? text::kProcessAborted
                                                     : text::kProcessCompleted));

    // A folder whose directory lies past the copy is listed without its time.
    disc::ImageOpener opener(engine->reader, *engine->machine, engine->state, engine->scan,
                             engine->host);
    ASSERT_TRUE(opener.OpenImage(image.string()));
    engine->state.readingImage = true;
    engine->scan.Scan();
    ExpectIdle(engine->state);
    for (const std::string& line : engine->ListingTsv()) {
      if (line.find("\tfolder\t") != std::string::npos) {
        EXPECT_TRUE(baselineFolders.contains(line.substr(0, line.find('\t')))) << line;
      } else {
        EXPECT_TRUE(baseline.contains(line)) << line;
      }
    }
  }
  RecordProperty("stopPoints", static_cast<int>(pumps));
}

// Stop arrives at each point where Recover All lets messages through: every
// file it left has its log row and its report line; a whole one holds the
// disc's bytes, a stopped one the first of them.
TEST_F(FaultCampaign, StopAtEveryPumpOfARecoveryLeavesNoFileWithoutItsRow) {
  const fs::path out = *scratch_ / "out";
  const fs::path report = *scratch_ / "report.tsv";
  std::size_t pumps = 0;
  {
    auto engine = Engine({});
    engine->ScanDrive();
    engine->host.onPump = [&] { ++pumps; };
    fs::remove_all(out);
    RecoverAll(*engine, out, report);
  }
  ASSERT_GT(pumps, 5u);
  for (std::size_t k = 1; k <= pumps; ++k) {
    SCOPED_TRACE("stop at pump " + std::to_string(k));
    auto engine = Engine({});
    engine->ScanDrive();
    std::size_t pump = 0;
    engine->host.onPump = [&] {
      if (++pump == k) disc::ScanProcess::RequestStop(engine->state);
    };
    fs::remove_all(out);
    const disc::RecoverySummary summary = RecoverAll(*engine, out, report);
    engine->host.onPump = nullptr;
    ExpectIdle(engine->state);
    const auto& rows = engine->host.log.rows();
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.back().status, text::LoadText(summary.aborted ? text::kProcessAborted
                                                                 : text::kProcessCompleted));
    std::map<std::string, std::u16string> fileRows;
    for (const log::LogRow& row : rows) fileRows[text::ToUtf8(row.text)] = row.status;
    const std::map<std::string, ReportLine> lines = ReportLines(report);
    for (const std::string& file : FilesBelow(out)) {
      ASSERT_TRUE(lines.contains(file)) << file;
      const std::string saved = ReadAll(out / file);
      const std::string source = ReadAll(SourceOf(file));
      if (lines.at(file).status == "stopped") {
        EXPECT_EQ(fileRows[file], text::LoadText(text::kFileRecoveredPartially)) << file;
        EXPECT_EQ(saved, source.substr(0, saved.size())) << file;
      } else {
        EXPECT_EQ(lines.at(file).status, "recovered") << file;
        EXPECT_EQ(fileRows[file], text::LoadText(text::kFileRecovered)) << file;
        EXPECT_EQ(saved, source) << file;
      }
    }
    // Every file the report names is there; no other lines.
    for (const auto& [path, line] : lines) EXPECT_TRUE(fs::is_regular_file(out / line.saved)) << path;
  }
  RecordProperty("stopPoints", static_cast<int>(pumps));
}


// The sectors a command asked the drive for: a cooked read's blocks, a READ
// CD's LBA and count (big-endian at bytes 2 and 6); none for other commands.
std::pair<Lba, Lba> SectorsAskedFor(const RecordedCommand& command) {
  if (command.kind == RecordedCommand::Kind::kCookedRead) {
    if (command.length == 0) return {0, 0};
    return {static_cast<Lba>(command.offset / kBlock),
            static_cast<Lba>((command.offset + command.length - 1) / kBlock + 1)};
  }
  constexpr std::uint8_t kReadCd = 0xBE;
  if (command.kind != RecordedCommand::Kind::kCdb || command.cdb.size() < 12 ||
      command.cdb[0] != kReadCd) {
    return {0, 0};
  }
  const Lba lba = Lba{command.cdb[2]} << 24 | Lba{command.cdb[3]} << 16 |
                  Lba{command.cdb[4]} << 8 | Lba{command.cdb[5]};
  const Lba count = Lba{command.cdb[6]} << 16 | Lba{command.cdb[7]} << 8 | Lba{command.cdb[8]};
  return {lba, lba + count};
}

enum class Process { kScan, kImage, kRecovery };

// The drive misbehaves over a stretch of sectors while a process runs: the
// process lets messages through at least every batch of sectors it asks for
// (however slowly they come), and a Stop given once it met the stretch ends it
// within a few more commands.
TEST_F(FaultCampaign, DriveFaultsKeepEachProcessPumpingAndStoppable) {
  using namespace std::chrono_literals;
  struct Case {
    const char* name;
    SectorFault fault;
    bool firstSectorOnly;  // the fault sits on the stretch's first sector alone
  };
  const Case cases[] = {
      {"shortReads", {FaultKind::kShortRead, 100}, false},
      {"checkCondition", {FaultKind::kCheckCondition}, false},
      {"driveGone", {FaultKind::kDriveGone}, true},
      {"slowSectors", {FaultKind::kSlow, 0, 2ms}, false},
      // A pump comes right after the sector, never during its read.
      {"oneVerySlowSector", {FaultKind::kSlow, 0, 150ms}, true},
  };
  // A READ CD batch of image creation, a run of the file copier, with room:
  // the sectors asked for between two pumps.
  constexpr Lba kMostSectorsBetweenPumps = 2 * 64;
  // Commands after a Stop was given until the process returned.
  constexpr std::size_t kMostCommandsAfterStop = 8;

  // Session 1 from its descriptors on, for the scan and the image; the files'
  // sectors for a recovery (the scan before it does not read them).
  std::vector<Lba> sessionStretch;
  for (Lba lba = 16; lba < disc_->tracks[0].end; ++lba) sessionStretch.push_back(lba);
  std::vector<Lba> fileStretch;
  {
    auto engine = Engine({});
    engine->ScanDrive();
    for (std::size_t i = 0; i < engine->table.size(); ++i) {
      const disc::Entry& entry = engine->table[i];
      if (entry.IsFolder()) continue;
      for (Lba lba = entry.fileId; lba < entry.fileId + (entry.size + kBlock - 1) / kBlock; ++lba)
        fileStretch.push_back(lba);
    }
    std::sort(fileStretch.begin(), fileStretch.end());
  }
  std::size_t runs = 0;
  for (const Case& c : cases) {
    for (Process process : {Process::kScan, Process::kImage, Process::kRecovery}) {
      const std::vector<Lba>& stretch =
          process == Process::kRecovery ? fileStretch : sessionStretch;
      FaultMap faults;
      for (Lba lba : stretch) {
        faults[lba] = c.fault;
        if (c.firstSectorOnly) break;
      }
      const auto touchesStretch = [&](const RecordedCommand& command) {
        const auto [from, to] = SectorsAskedFor(command);
        return std::any_of(stretch.begin(), stretch.end(),
                           [&](Lba lba) { return lba >= from && lba < to; });
      };
      for (bool stop : {false, true}) {
        SCOPED_TRACE(std::string(c.name) + " process " + std::to_string(static_cast<int>(process)) +
                     (stop ? " stopped" : ""));
        ++runs;
        auto engine = Engine(faults, true);
        auto& drive = static_cast<EmulatedMachine&>(*engine->machine);
        if (process != Process::kScan) engine->ScanDrive();
        drive.ClearCommands();
        engine->host.log.Clear();

        std::size_t seen = 0;  // commands looked at by the pumps so far
        Lba mostSectors = 0;
        bool met = false;
        std::optional<std::size_t> commandsAtStop;
        const auto pump = [&] {
          Lba sectors = 0;
          for (; seen < drive.commands().size(); ++seen) {
            const RecordedCommand& command = drive.commands()[seen];
            const auto [from, to] = SectorsAskedFor(command);
            sectors += to - from;
            met = met || touchesStretch(command);
          }
          mostSectors = std::max(mostSectors, sectors);
        };
        engine->host.onPump = [&] {
          pump();
          if (stop && met && !commandsAtStop) {
            commandsAtStop = drive.commands().size();
            disc::ScanProcess::RequestStop(engine->state);
          }
        };
        bool aborted = false;
        bool failedAtOnce = false;
        const fs::path out = *scratch_ / "out";
        fs::remove_all(out);
        switch (process) {
          case Process::kScan:
            engine->ScanDrive();
            for (const log::LogRow& row : engine->host.log.rows())
              aborted = aborted || row.status == text::LoadText(text::kProcessAborted);
            break;
          case Process::kImage: {
            disc::ImageCreator creator(engine->reader, engine->state, engine->table, engine->scan,
                                       engine->host);
            const fs::path image = *scratch_ / "drive.cd";
            fs::remove(image);
            const disc::ImageOutcome outcome = creator.CreateImage(image.string());
            // A drive that left at the first descriptor leaves no disc to copy:
            // the image fails at once, with or without a Stop, and no file is left.
            if (c.fault.kind == FaultKind::kDriveGone) {
              EXPECT_EQ(outcome.result, disc::ImageResult::kFailed);
              EXPECT_FALSE(fs::exists(image));
              failedAtOnce = true;
              break;
            }
            aborted = outcome.result == disc::ImageResult::kAborted;
            break;
          }
          case Process::kRecovery:
            aborted = RecoverAll(*engine, out, *scratch_ / "report.tsv").aborted;
            break;
        }
        engine->host.onPump = nullptr;
        pump();
        // A drive known to be gone is not read at all.
        EXPECT_TRUE(met || failedAtOnce) << "the process never read the stretch";
        EXPECT_LE(mostSectors, kMostSectorsBetweenPumps);
        ExpectIdle(engine->state);
        if (stop) {
          EXPECT_TRUE(aborted || failedAtOnce);
          if (!failedAtOnce) {
            ASSERT_TRUE(commandsAtStop);
            EXPECT_LE(drive.commands().size() - *commandsAtStop, kMostCommandsAfterStop);
          }
        }
      }
    }
  }
  RecordProperty("runs", static_cast<int>(runs));
}

}  // namespace
}  // namespace velmora
