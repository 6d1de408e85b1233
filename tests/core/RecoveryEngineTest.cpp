#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "image/ImageOpener.h"
#include "recovery/ForwardingSink.h"
#include "recovery/RecoveryEngine.h"
#include "recovery/SafeName.h"
#include "platform/FileSink.h"
#include "platform/Machine.h"
#include "platform/emulated/EmulatedMachine.h"
#include "select/RecoveryFilterList.h"
#include "support/BytePatcher.h"
#include "support/EngineScan.h"
#include "support/IsoBuilder.h"
#include "support/IsoOracle.h"
#include "support/MultiSessionBuilder.h"
#include "support/SectorFinder.h"
#include "support/TempDir.h"
#include "support/TreeWriter.h"
#include "text/StringTable.h"
#include "text/Utf.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using platform::emulated::FaultKind;
using testing::FixtureFile;
using testing::TempDir;

fs::path Utf8Path(const std::string& utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Every path below dir, "/" between names: folders end in "/", links in "@".
// Links are listed, never followed.
std::set<std::string> TreeOf(const fs::path& dir) {
  std::set<std::string> paths;
  for (auto it = fs::recursive_directory_iterator(dir); it != fs::recursive_directory_iterator();
       ++it) {
    const std::string relative = it->path().lexically_relative(dir).generic_string();
    const fs::file_status status = it->symlink_status();
    paths.insert(relative + (fs::is_symlink(status) ? "@" : fs::is_directory(status) ? "/" : ""));
  }
  return paths;
}

std::chrono::sys_seconds ModifiedAt(const fs::path& path) {
  return std::chrono::floor<std::chrono::seconds>(
      std::chrono::file_clock::to_sys(fs::last_write_time(path)));
}

// One engine as a program assembles it: a scan of the machine's disc or an
// image, the filter list, and the recovery over both.
struct Rescue {
  explicit Rescue(std::unique_ptr<platform::Machine> machine)
      : scan(std::move(machine)),
        engine(scan.reader, *scan.machine, scan.state, scan.host, scan.scan) {}

  disc::RecoverySummary Run(const fs::path& destination,
                            const std::optional<fs::path>& report = std::nullopt) {
    scan.host.scriptedPrompts.folderAnswer = destination.string();
    scan.host.log.Clear();  // the scan's rows
    return engine.Run(scan.table, filters,
                      report ? std::optional<std::string>(report->string()) : std::nullopt);
  }
  std::size_t IndexOf(const std::string& path) const {
    for (std::size_t i = 0; i < scan.table.size(); ++i) {
      if (scan.PathOf(i) == path) return i;
    }
    ADD_FAILURE() << "no entry " << path;
    return 0;
  }
  // The Text column of the rows with that status.
  std::vector<std::string> RowsWith(std::uint16_t status) const {
    std::vector<std::string> texts;
    for (const log::LogRow& row : scan.host.log.rows()) {
      if (row.status == text::LoadText(status)) texts.push_back(text::ToUtf8(row.text));
    }
    return texts;
  }

  testing::EngineScan scan;
  select::RecoveryFilterList filters;
  disc::RecoveryEngine engine;
};

void ExpectIdle(const AppState& state) {
  EXPECT_FALSE(state.recoveryRunning);
  EXPECT_FALSE(state.processRunning);
  EXPECT_FALSE(state.busy);
  EXPECT_FALSE(state.stopRequested);
  EXPECT_TRUE(state.logHasEntries);
}

std::chrono::sys_seconds Day(int day) {
  return std::chrono::sys_days{std::chrono::year{2019} / 3 / day} + 10h + 20min + 30s;
}

// Nested folders, an empty file and an empty folder, files over several
// sectors and over 1 MB ending inside a sector, names in three scripts.
std::vector<FixtureFile> PhotoTree() {
  return {
      {.path = "readme.txt", .content = "hello\n", .mtime = Day(1)},
      {.path = "empty.dat", .content = "", .mtime = Day(2)},
      {.path = "Docs/report 2019.pdf", .patternSize = 5000, .patternSeed = 1, .mtime = Day(3)},
      {.path = "Docs/Deep/er/still/note.txt", .content = "deep", .mtime = Day(4)},
      {.path = "Photos/Holiday/IMG_0001.JPG",
       .patternSize = 1048583,
       .patternSeed = 2,
       .mtime = Day(5)},
      {.path = "Photos/Holiday/IMG_0002.JPG",
       .patternSize = 4096,
       .patternSeed = 3,
       .mtime = Day(6)},
      {.path = "\u00DCbung/\u65E5\u672C\u8A9E\u306E\u30D5\u30A1\u30A4\u30EB.txt",
       .content = "cjk",
       .mtime = Day(7)},
      {.path = "\u041F\u0443\u0441\u0442\u0430\u044F \u043F\u0430\u043F\u043A\u0430",
       .mtime = Day(8),
       .folder = true},
      {.path = "Docs/Deep/er/still", .mtime = Day(9), .folder = true},
      {.path = "Docs/Deep/er", .mtime = Day(10), .folder = true},
      {.path = "Docs/Deep", .mtime = Day(11), .folder = true},
      {.path = "Docs", .mtime = Day(12), .folder = true},
      {.path = "Photos/Holiday", .mtime = Day(13), .folder = true},
      {.path = "Photos", .mtime = Day(14), .folder = true},
      {.path = "\u00DCbung", .mtime = Day(15), .folder = true},
  };
}

TEST(RecoveryEngineTest, RecoverAllGivesWhatSevenZipExtractsWithTheRecordedTimes) {
  TempDir dir;
  const std::vector<FixtureFile> tree = PhotoTree();
  testing::WriteTree(dir / "src", tree);
  testing::IsoOptions options;
  options.tool = testing::IsoTool::kXorriso;
  const fs::path image = testing::MakeIso(dir / "src", dir / "disc.iso", options);
  testing::SevenZipExtract(image, dir / "7z");

  Rescue rescue(platform::CreateHostMachine());
  rescue.scan.ScanImage(image.string());
  rescue.scan.state.recoverAll = true;
  const disc::RecoverySummary summary = rescue.Run(dir / "out");

  ASSERT_EQ(TreeOf(dir / "out"), TreeOf(dir / "7z"));
  for (const std::string& path : TreeOf(dir / "7z")) {
    if (path.ends_with("/")) continue;
    SCOPED_TRACE(path);
    EXPECT_EQ(ReadAll(dir / "out" / Utf8Path(path)), ReadAll(dir / "7z" / Utf8Path(path)));
  }
  for (const FixtureFile& file : tree) {
    SCOPED_TRACE(file.path);
    EXPECT_EQ(ModifiedAt(dir / "out" / Utf8Path(file.path)), *file.mtime);
  }
  EXPECT_EQ(summary.filesRecovered, 7u);
  EXPECT_EQ(summary.filesPartial + summary.filesFailed + summary.namesChanged, 0u);
  EXPECT_EQ(summary.foldersCreated, 8u);
  EXPECT_EQ(rescue.scan.host.scriptedPrompts.asked, std::vector<std::string>{"ChooseFolder"});
  EXPECT_EQ(rescue.RowsWith(text::kFileRecovered).size(), 7u);
  const auto& rows = rescue.scan.host.log.rows();
  ASSERT_GE(rows.size(), 3u);
  EXPECT_EQ(rows.front().activity, text::LoadText(text::kSavingFilesProcess));
  EXPECT_EQ(text::ToUtf8(rows.front().text), (dir / "out").string());
  EXPECT_EQ(rows.front().status, text::LoadText(text::kProcessStarted));
  EXPECT_EQ(rows[rows.size() - 2].text, u"7 files saved in 8 folders");
  EXPECT_EQ(rows.back().status, text::LoadText(text::kProcessCompleted));
  EXPECT_EQ(rows.back().icon, log::LogIcon::kCompleted);
  EXPECT_EQ(rescue.scan.host.progressTexts.back(), u"7 Files Recovered");
  ExpectIdle(rescue.scan.state);
}

TEST(RecoveryEngineTest, EachSessionGoesToItsOwnFolderThroughTheDiscReader) {
  TempDir dir;
  testing::WriteTree(dir / "s1", {{.path = "OLD.TXT", .content = "old"},
                                  {.path = "DOCS/ONE.TXT", .content = "one"}});
  testing::WriteTree(dir / "s2", {{.path = "OLD.TXT", .content = "old"},
                                  {.path = "DOCS/ONE.TXT", .content = "one"},
                                  {.path = "DOCS/TWO.TXT", .content = "two"}});
  const testing::MultiSessionDisc disc =
      testing::MakeCdMultiSessionDisc({dir / "s1", dir / "s2"}, dir / "disc.img");
  auto machine = std::make_unique<platform::emulated::EmulatedMachine>(1);
  platform::emulated::EmulatedDisc emulated;
  emulated.imagePath = disc.image.string();
  emulated.tracks = disc.tracks;
  machine->InsertDisc(0, emulated);
  Rescue rescue(std::move(machine));
  rescue.scan.ScanDrive();
  ASSERT_EQ(rescue.scan.reader.ChooseReader(), disc::Reader::kDisc);
  rescue.scan.state.recoverAll = true;
  const disc::RecoverySummary summary = rescue.Run(dir / "out");

  // Session 2 lists its own DOCS folder, which holds only the file it added.
  EXPECT_EQ(TreeOf(dir / "out"),
            (std::set<std::string>{"Session 1/", "Session 1/DOCS/", "Session 1/DOCS/ONE.TXT",
                                   "Session 1/OLD.TXT", "Session 2/", "Session 2/DOCS/",
                                   "Session 2/DOCS/TWO.TXT"}));
  EXPECT_EQ(ReadAll(dir / "out/Session 1/DOCS/ONE.TXT"), "one");
  EXPECT_EQ(ReadAll(dir / "out/Session 1/OLD.TXT"), "old");
  EXPECT_EQ(ReadAll(dir / "out/Session 2/DOCS/TWO.TXT"), "two");
  EXPECT_EQ(summary.filesRecovered, 3u);
  EXPECT_EQ(summary.foldersCreated, 4u);
}

TEST(RecoveryEngineTest, ShortSectorReadThroughTheDiscReaderMakesThePartPartial) {
  TempDir dir;
  testing::WriteTree(dir / "s1", {{.path = "OLD.TXT", .content = "old"}});
  testing::WriteTree(dir / "s2", {{.path = "BIG.BIN", .patternSize = 10'000, .patternSeed = 4}});
  const testing::MultiSessionDisc disc =
      testing::MakeCdMultiSessionDisc({dir / "s1", dir / "s2"}, dir / "disc.img");
  platform::emulated::EmulatedDisc emulated;
  emulated.imagePath = disc.image.string();
  emulated.tracks = disc.tracks;
  auto machine = std::make_unique<platform::emulated::EmulatedMachine>(1);
  auto& drive = *machine;
  drive.InsertDisc(0, emulated);
  Rescue rescue(std::move(machine));
  rescue.scan.ScanDrive();
  const std::uint32_t extent = rescue.scan.table[rescue.IndexOf("Session 2/BIG.BIN")].fileId;
  // The file's second sector sends 100 of its bytes.
  emulated.faults[extent + 1] = {FaultKind::kShortRead, 100};
  drive.InsertDisc(0, emulated);
  rescue.scan.ScanDrive();
  ASSERT_EQ(rescue.scan.reader.ChooseReader(), disc::Reader::kDisc);
  rescue.scan.state.recoverAll = true;
  const disc::RecoverySummary summary = rescue.Run(dir / "out");

  std::string expected = testing::PatternBytes(10'000, 4);
  std::fill(expected.begin() + 2048 + 100, expected.begin() + 4096, '\0');
  EXPECT_EQ(ReadAll(dir / "out/Session 2/BIG.BIN"), expected);
  EXPECT_EQ(rescue.RowsWith(text::kFileRecoveredPartially),
            std::vector<std::string>{"Session 2/BIG.BIN"});
  EXPECT_EQ(summary.filesPartial, 1u);
  EXPECT_EQ(summary.filesRecovered, 1u);
}

// The drive holds one disc, an image file another with the same layout: reading
// the wrong medium gives the other disc's bytes under the tree's names.
TEST(RecoveryEngineTest, RecoveryReadsTheMediumTheTreeCameFrom) {
  TempDir dir;
  testing::WriteTree(dir / "drive", {{.path = "FILE.BIN", .patternSize = 5000, .patternSeed = 1}});
  testing::WriteTree(dir / "image", {{.path = "FILE.BIN", .patternSize = 5000, .patternSeed = 2}});
  const fs::path driveDisc = testing::MakeIso(dir / "drive", dir / "drive.iso");
  const fs::path imageDisc = testing::MakeIso(dir / "image", dir / "image.iso");
  ASSERT_EQ(testing::FileExtentLba(driveDisc, "FILE.BIN"), testing::FileExtentLba(imageDisc, "FILE.BIN"));
  const fs::path notAnImage = dir / "notes.txt";
  std::ofstream(notAnImage) << testing::PatternBytes(40 * 2048, 3);
  enum class Then { kCancelInsert, kOpenAFileThatIsNoImage };
  struct Case {
    const char* name;
    bool treeFromImage;
    Then then;
  };
  for (const Case& c : {Case{"imageThenCancelledInsert", true, Then::kCancelInsert},
                        Case{"imageThenFailedOpenImage", true, Then::kOpenAFileThatIsNoImage},
                        Case{"driveThenFailedOpenImage", false, Then::kOpenAFileThatIsNoImage}}) {
    SCOPED_TRACE(c.name);
    auto machine = std::make_unique<platform::emulated::EmulatedMachine>(1);
    machine->InsertDisc(0, {.imagePath = driveDisc.string()});
    Rescue rescue(std::move(machine));
    testing::EngineScan& engine = rescue.scan;
    disc::ImageOpener opener(engine.reader, *engine.machine, engine.state, engine.scan, engine.host);
    engine.ScanDrive();
    if (c.treeFromImage) {
      ASSERT_TRUE(opener.OnOpenImage(imageDisc.string()));
    }
    const auto tree = engine.ListingTsv();
    const bool trayLocked = engine.reader.trayLocked();
    EXPECT_EQ(trayLocked, !c.treeFromImage);
    if (c.then == Then::kCancelInsert) {
      engine.host.scriptedPrompts.insertAnswer = false;
      EXPECT_FALSE(engine.scan.OnOpenDrive());
    } else {
      EXPECT_FALSE(opener.OnOpenImage(notAnImage.string()));
    }
    EXPECT_EQ(engine.ListingTsv(), tree);
    EXPECT_EQ(engine.reader.trayLocked(), trayLocked);
    engine.state.recoverAll = true;
    const fs::path out = dir / c.name;
    rescue.Run(out);
    EXPECT_EQ(ReadAll(out / "FILE.BIN"), testing::PatternBytes(5000, c.treeFromImage ? 2 : 1));
  }
}

// Saving onto the disc being read may overwrite what is to be rescued: the
// user is asked first, and Cancel writes nothing. A destination anywhere else,
// and any destination while an image is read, asks nothing.
TEST(RecoveryEngineTest, AsksBeforeSavingOntoTheDiscBeingReadAndCancelWritesNothing) {
  TempDir dir;
  testing::WriteTree(dir / "src", {{.path = "FILE.BIN", .patternSize = 5000, .patternSeed = 4}});
  const fs::path image = testing::MakeIso(dir / "src", dir / "disc.iso");
  // The system shows the disc's files in this folder, as a mounted disc.
  fs::create_directories(dir / "mnt");
  struct Case {
    const char* name;
    bool fromImage;  // the tree comes from Open Image of the same file
    const char* destination;
    bool asked;
    bool goOn;
  };
  const Case cases[] = {
      {"ontoTheDiscCancelled", false, "mnt/rescued", true, false},
      {"ontoTheDiscGoneOn", false, "mnt/rescued", true, true},
      {"ontoTheDiscItself", false, "mnt", true, false},
      {"besideTheDisc", false, "mnt-other", false, true},
      {"besideTheImageFile", false, "out", false, true},
      {"imageWhateverTheFolder", true, "mnt/from-image", false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto machine = std::make_unique<platform::emulated::EmulatedMachine>(1);
    machine->InsertDisc(0, {.imagePath = image.string(), .mountedAt = (dir / "mnt").string()});
    Rescue rescue(std::move(machine));
    rescue.scan.ScanDrive();
    if (c.fromImage) {
      disc::ImageOpener opener(rescue.scan.reader, *rescue.scan.machine, rescue.scan.state,
                               rescue.scan.scan, rescue.scan.host);
      ASSERT_TRUE(opener.OnOpenImage(image.string()));
    }
    rescue.scan.state.recoverAll = true;
    rescue.scan.host.scriptedPrompts.sameMediumAnswer = c.goOn;
    const std::set<std::string> before = TreeOf(dir.path());
    const disc::RecoverySummary summary = rescue.Run(dir / c.destination);
    const std::vector<int> notices = rescue.scan.host.scriptedPrompts.notices;
    EXPECT_EQ(notices, c.asked ? std::vector<int>{0} : std::vector<int>{});
    EXPECT_EQ(summary.started, c.goOn);
    if (c.goOn) {
      EXPECT_EQ(ReadAll(dir / c.destination / "FILE.BIN"), testing::PatternBytes(5000, 4));
      EXPECT_EQ(summary.filesRecovered, 1u);
    } else {
      // Nothing made, nothing logged, the state as before.
      EXPECT_EQ(TreeOf(dir.path()), before);
      EXPECT_TRUE(rescue.scan.host.log.rows().empty());
      ExpectIdle(rescue.scan.state);
    }
    fs::remove_all(dir / "mnt/rescued");
    fs::remove_all(dir / "mnt/from-image");
  }
}

TEST(SafeNameTest, NamesTheDestinationCannotHoldAreMadeSafe) {
  std::u16string longName;
  for (int i = 0; i < 100; ++i) longName += u"\u65E5";  // 3 bytes each in UTF-8
  const std::string longStem = text::ToUtf8(longName.substr(0, 83));
  struct Case {
    std::u16string disc;
    std::string safe;
    bool changed;
  };
  const std::vector<Case> cases = {
      {u"IMG_0001.JPG", "IMG_0001.JPG", false},
      {u"\u65E5\u672C.txt", "\u65E5\u672C.txt", false},
      {u"a/b", "a_b", true},
      {u".", "_.", true},
      {u"..", "_..", true},
      {u"...", "...", false},
      {u"", "unnamed", true},
      {std::u16string(u"nul\0in", 6), "nul_in", true},
      {u"tab\there\u0085", "tab_here_", true},
      {u"lone \xD800", "lone \uFFFD", true},
      {u"pair \U0001F600", "pair \U0001F600", false},
      {longName + u".jpg", longStem + ".jpg", true},  // shortened within 255 bytes
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.safe);
    const disc::SafeName safe = disc::MakeSafeName(c.disc);
    EXPECT_EQ(safe.name, c.safe);
    EXPECT_EQ(safe.changed, c.changed);
  }
  EXPECT_EQ(disc::NumberedName("photo.jpg", 2), "photo (2).jpg");
  EXPECT_EQ(disc::NumberedName(".profile", 1), ".profile (1)");
  EXPECT_EQ(disc::NumberedName(longStem + ".jpg", 12),
            text::ToUtf8(longName.substr(0, 82)) + " (12).jpg");  // 246 + 9 bytes
  EXPECT_EQ(disc::PortableName("a:b?c\\d."), "a_b_c_d_");
}

// A disc in the emulated drive whose sectors are damaged in places.
class DamagedDrive : public ::testing::Test {
 protected:
  static constexpr std::uint32_t kBigSize = 300 * 2048 + 100;  // 5 runs and a bit

  void SetUp() override {
    // Recorded long before any recovery writes a file.
    testing::WriteTree(dir / "src", {{.path = "BIG.BIN",
                                      .patternSize = kBigSize,
                                      .patternSeed = 7,
                                      .mtime = Day(1)},
                                     {.path = "DEAD.BIN",
                                      .patternSize = 4000,
                                      .patternSeed = 8,
                                      .mtime = Day(2)},
                                     {.path = "DOCS/OK.TXT", .content = "fine", .mtime = Day(3)}});
    testing::IsoOptions options;
    options.joliet = false;
    image = testing::MakeIso(dir / "src", dir / "disc.iso", options);
    big = testing::FileExtentLba(image, "BIG.BIN");
    dead = testing::FileExtentLba(image, "DEAD.BIN");
  }

  // Scans the disc with these faults in the emulated drive.
  std::unique_ptr<Rescue> ScanWith(const platform::emulated::FaultMap& faults) {
    auto machine = std::make_unique<platform::emulated::EmulatedMachine>(1);
    std::string reason;
    std::optional<platform::emulated::EmulatedDisc> disc =
        platform::emulated::EmulatedDisc::FromImage(image.string(), reason);
    disc->faults = faults;
    machine->InsertDisc(0, *disc);
    auto rescue = std::make_unique<Rescue>(std::move(machine));
    rescue->scan.ScanDrive();
    rescue->scan.state.recoverAll = true;
    return rescue;
  }

  // The report's ranges of the line for path, as "first-last,...".
  std::string ReportedRanges(const std::string& status, const std::string& path) {
    std::istringstream lines(ReadAll(dir / "report.tsv"));
    for (std::string line; std::getline(lines, line);) {
      if (line.starts_with(status + "\t" + path + "\t")) {
        const std::string rest = line.substr(status.size() + path.size() + 2);
        return rest.substr(0, rest.find('\t'));
      }
    }
    ADD_FAILURE() << "no line " << status << " " << path << " in\n" << ReadAll(dir / "report.tsv");
    return {};
  }

  TempDir dir;
  fs::path image;
  std::uint32_t big = 0;
  std::uint32_t dead = 0;
};

TEST_F(DamagedDrive, UnreadableSectorsBecomeZerosAndAreReportedAsByteRanges) {
  const platform::emulated::FaultMap faults = {
      {big + 3, {FaultKind::kUnreadable}},      {big + 4, {FaultKind::kCheckCondition}},
      {big + 70, {FaultKind::kShortRead, 100}},  // its first 100 bytes still arrive
      {big + 300, {FaultKind::kUnreadable}},     // the last, 100 bytes of it in the file
      {dead, {FaultKind::kUnreadable}},         {dead + 1, {FaultKind::kUnreadable}},
  };
  std::unique_ptr<Rescue> rescue = ScanWith(faults);
  const disc::RecoverySummary summary = rescue->Run(dir / "out", dir / "report.tsv");

  std::string expected = testing::PatternBytes(kBigSize, 7);
  for (auto [first, last] :
       {std::pair{3 * 2048, 5 * 2048 - 1}, std::pair{70 * 2048 + 100, 71 * 2048 - 1},
        std::pair{300 * 2048, 300 * 2048 + 99}}) {
    std::fill(expected.begin() + first, expected.begin() + last + 1, '\0');
  }
  EXPECT_EQ(ReadAll(dir / "out/BIG.BIN"), expected);
  EXPECT_EQ(ReportedRanges("partial", "BIG.BIN"), "6144-10239,143460-145407,614400-614499");
  // Not one byte of DEAD.BIN read: no file of zeros is left to be taken for data.
  EXPECT_EQ(TreeOf(dir / "out"), (std::set<std::string>{"BIG.BIN", "DOCS/", "DOCS/OK.TXT"}));
  EXPECT_EQ(ReportedRanges("failed", "DEAD.BIN"), "0-3999");
  EXPECT_EQ(ReportedRanges("recovered", "DOCS/OK.TXT"), "");
  EXPECT_EQ(ReadAll(dir / "out/DOCS/OK.TXT"), "fine");

  EXPECT_EQ(rescue->RowsWith(text::kFileRecoveredPartially), std::vector<std::string>{"BIG.BIN"});
  EXPECT_EQ(rescue->RowsWith(text::kFileRecoveryFailure), std::vector<std::string>{"DEAD.BIN"});
  EXPECT_EQ(rescue->RowsWith(text::kFileRecovered), std::vector<std::string>{"DOCS/OK.TXT"});
  EXPECT_EQ(summary.filesRecovered, 1u);
  EXPECT_EQ(summary.filesPartial, 1u);
  EXPECT_EQ(summary.filesFailed, 1u);
  EXPECT_TRUE(summary.reportWritten);
  // The partial file's row is followed by the bytes that are zeros in it, and
  // the recovery ends on the counts of what did not come out whole, never on
  // the green tick alone.
  const auto& rows = rescue->scan.host.log.rows();
  const auto partial = std::find_if(rows.begin(), rows.end(), [](const log::LogRow& row) {
    return row.status == text::LoadText(text::kFileRecoveredPartially);
  });
  ASSERT_NE(partial, rows.end());
  ASSERT_NE(partial + 1, rows.end());
  EXPECT_EQ((partial + 1)->text,
            u"Bytes not read (zeros in the file): 6144-10239, 143460-145407, 614400-614499");
  EXPECT_EQ((partial + 1)->icon, log::LogIcon::kFailure);
  ASSERT_GE(rows.size(), 4u);
  const std::vector<std::u16string> closing = {rows[rows.size() - 4].text,
                                               rows[rows.size() - 3].text,
                                               rows[rows.size() - 2].text};
  EXPECT_EQ(closing, (std::vector<std::u16string>{u"2 files saved in 1 folder",
                                                  u"Files read only in part (the bytes not read "
                                                  u"are zeros): 1",
                                                  u"Files not recovered: 1"}));
  EXPECT_EQ(rows.back().status, u"Process Completed with Errors");
  EXPECT_EQ(rows.back().icon, log::LogIcon::kFailure);
  // The image behind the emulated disc lies on the destination's file system,
  // but the disc is not mounted there: nothing to warn of.
  EXPECT_TRUE(rescue->scan.host.scriptedPrompts.notices.empty());
  EXPECT_TRUE(rescue->scan.host.scriptedPrompts.errors.empty());
}

// The host hears of the bytes dealt with as the copy goes, within a file of
// several runs too, up to the sizes of the files taken, read or not; a file
// the filter leaves out counts for nothing.
TEST_F(DamagedDrive, TellsTheBytesDealtWithAsTheCopyGoes) {
  std::unique_ptr<Rescue> rescue = ScanWith({{big + 3, {FaultKind::kUnreadable}},
                                             {dead, {FaultKind::kUnreadable}},
                                             {dead + 1, {FaultKind::kUnreadable}}});
  const std::u16string leftOut[] = {u"OK.TXT"};
  rescue->filters.Apply(leftOut, false, rescue->scan.state);
  rescue->Run(dir / "out");

  const std::uint64_t total = kBigSize + 4000;
  const auto& counted = rescue->scan.host.bytesCounted;
  ASSERT_FALSE(counted.empty());
  EXPECT_EQ(counted.front(), (std::pair<std::uint64_t, std::uint64_t>{0, total}));
  EXPECT_EQ(counted.back(), (std::pair<std::uint64_t, std::uint64_t>{total, total}));
  for (std::size_t i = 1; i < counted.size(); ++i) {
    EXPECT_EQ(counted[i].second, total);
    EXPECT_LE(counted[i - 1].first, counted[i].first) << "at " << i;
  }
  // BIG.BIN comes first: its first run of 128 KiB is told before the file is done.
  EXPECT_NE(std::find_if(counted.begin(), counted.end(),
                         [](const auto& c) { return c.first == 128 * 1024; }),
            counted.end());
  EXPECT_FALSE(fs::exists(dir / "out/DOCS/OK.TXT"));
}

TEST_F(DamagedDrive, StopKeepsTheBytesWrittenOfTheFileBeingCopiedAndStartsNoOther) {
  std::unique_ptr<Rescue> rescue = ScanWith({{big + 3, {FaultKind::kUnreadable}}});
  Rescue& r = *rescue;
  // The user stops once two runs of BIG.BIN are on the destination.
  r.scan.host.onPump = [&] {
    std::error_code error;
    if (fs::file_size(dir / "out/BIG.BIN", error) >= 128 * 1024 && !error) {
      disc::ScanProcess::RequestStop(r.scan.state);
    }
  };
  const disc::RecoverySummary summary = r.Run(dir / "out", dir / "report.tsv");

  // Only what did read before the stop is listed; the file ends where the
  // writing stopped, with nothing made up after it.
  EXPECT_EQ(ReportedRanges("stopped", "BIG.BIN"), "6144-8191");
  const std::string saved = ReadAll(dir / "out/BIG.BIN");
  EXPECT_GE(saved.size(), 128u * 1024);
  EXPECT_LT(saved.size(), kBigSize);
  EXPECT_EQ(saved.size() % 2048, 0u);
  std::string expected = testing::PatternBytes(saved.size(), 7);
  std::fill(expected.begin() + 3 * 2048, expected.begin() + 4 * 2048, '\0');
  EXPECT_EQ(saved, expected);
  // DEAD.BIN and DOCS come after it on the disc.
  EXPECT_EQ(TreeOf(dir / "out"), std::set<std::string>{"BIG.BIN"});
  EXPECT_TRUE(summary.aborted);
  EXPECT_EQ(summary.filesStopped, 1u);
  EXPECT_EQ(summary.filesPartial + summary.filesFailed + summary.filesRecovered, 0u);
  EXPECT_NE(ReadAll(dir / "report.tsv").find("\n# 0 recovered, 0 partial, 0 failed, 1 stopped, "),
            std::string::npos);
  EXPECT_EQ(r.scan.host.log.rows().back().status, text::LoadText(text::kProcessAborted));
  ExpectIdle(r.scan.state);
}

TEST_F(DamagedDrive, ResumeKeepsWholeFilesAndWritesUnfinishedOnesAgainInPlace) {
  using FaultMap = platform::emulated::FaultMap;
  const std::string pattern = testing::PatternBytes(kBigSize, 7);
  struct Case {
    const char* name;
    FaultMap first;                         // the faults of the earlier run
    std::function<void(const fs::path&)> between;  // what became of its files
    FaultMap second;                        // the faults of the resumed run
    std::set<std::string> lines;            // the resumed run's report lines
    std::string big;                        // BIG.BIN after it
    std::set<std::string> tree;
  };
  const Case cases[] = {
      // Sector 3 of BIG.BIN reads now, sector 10 no longer: it keeps what the
      // first run read there, and is named partial for this run's failure.
      {"PartialKeepsWhatReadBefore",
       {{big + 3, {FaultKind::kUnreadable}},
        {dead, {FaultKind::kUnreadable}},
        {dead + 1, {FaultKind::kUnreadable}}},
       [](const fs::path&) {},
       {{big + 10, {FaultKind::kUnreadable}}},
       {"partial\tBIG.BIN\t20480-22527\tBIG.BIN", "recovered\tDEAD.BIN\t\tDEAD.BIN",
        "already there\tDOCS/OK.TXT\t\tDOCS/OK.TXT"},
       pattern,
       {"BIG.BIN", "DEAD.BIN", "DOCS/", "DOCS/OK.TXT"}},
      // BIG.BIN cut where a stop leaves it; DEAD.BIN replaced by a file of
      // the user's, which is kept, the disc's going beside it.
      {"StoppedWrittenAgainUsersFileKept",
       {},
       [](const fs::path& out) {
         fs::resize_file(out / "BIG.BIN", 5 * 2048);
         fs::remove(out / "DEAD.BIN");
         std::ofstream(out / "DEAD.BIN") << "mine";
       },
       {},
       {"recovered\tBIG.BIN\t\tBIG.BIN", "recovered\tDEAD.BIN\t\tDEAD (1).BIN",
        "already there\tDOCS/OK.TXT\t\tDOCS/OK.TXT"},
       pattern,
       {"BIG.BIN", "DEAD.BIN", "DEAD (1).BIN", "DOCS/", "DOCS/OK.TXT"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path out = dir / c.name;
    ScanWith(c.first)->Run(out);
    const auto okTime = ModifiedAt(out / "DOCS/OK.TXT");
    c.between(out);

    std::unique_ptr<Rescue> rescue = ScanWith(c.second);
    rescue->scan.host.scriptedPrompts.folderAnswer = out.string();
    rescue->scan.host.log.Clear();
    platform::DestinationResult opened = platform::OpenDestination(out.string());
    ASSERT_TRUE(opened.folder);
    disc::RecoveryTarget target;
    target.path = out.string();
    target.folder = std::move(opened.folder);
    target.report = platform::OpenReportFile((dir / "report.tsv").string()).file;
    target.resume = true;
    const disc::RecoverySummary summary =
        rescue->engine.Recover(rescue->scan.table, rescue->filters, std::move(target));

    std::set<std::string> lines;
    std::istringstream report(ReadAll(dir / "report.tsv"));
    for (std::string line; std::getline(report, line);) {
      if (!line.starts_with("#")) lines.insert(line);
    }
    EXPECT_EQ(lines, c.lines);
    EXPECT_TRUE(ReadAll(out / "BIG.BIN") == c.big) << "BIG.BIN differs";
    EXPECT_EQ(TreeOf(out), c.tree);
    EXPECT_EQ(summary.filesAlreadyThere, 1u);
    EXPECT_EQ(ModifiedAt(out / "DOCS/OK.TXT"), okTime);
    if (fs::exists(out / "DEAD (1).BIN")) {
      EXPECT_EQ(ReadAll(out / "DEAD.BIN"), "mine");
    }
    EXPECT_TRUE(ReadAll(out / (c.tree.contains("DEAD (1).BIN") ? "DEAD (1).BIN" : "DEAD.BIN")) ==
                testing::PatternBytes(4000, 8));
  }
}

// A small disc with files of a few kinds in nested folders and an empty folder.
class SmallDisc : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::WriteTree(dir / "src", {{.path = "TOP.TXT", .content = "top"},
                                     {.path = "DOCS/A.TXT", .content = "a"},
                                     {.path = "DOCS/B.DOC", .content = "b"},
                                     {.path = "DOCS/SUB/C.TXT", .content = "c"},
                                     {.path = "PICS/2019/IMG_0001.JPG", .content = "1"},
                                     {.path = "PICS/2019/IMG_0012.JPG", .content = "12"},
                                     {.path = "PICS/2019/IMG_001.JPG", .content = "01"},
                                     {.path = "PICS/OTHER.JPG", .content = "other"},
                                     {.path = "EMPTYDIR", .folder = true}});
    image = testing::MakeIso(dir / "src", dir / "disc.iso");
    rescue.scan.ScanImage(image.string());
  }

  TempDir dir;
  fs::path image;
  Rescue rescue{platform::CreateHostMachine()};
};

const std::set<std::string> kAllFolders = {"DOCS/", "DOCS/SUB/", "EMPTYDIR/", "PICS/",
                                           "PICS/2019/"};

std::set<std::string> AllFoldersAnd(std::initializer_list<std::string> files) {
  std::set<std::string> paths = kAllFolders;
  paths.insert(files.begin(), files.end());
  return paths;
}

struct SelectionCase {
  const char* name;
  bool recoverAll = true;
  std::vector<std::string> marked;        // check state 1
  std::vector<std::string> partlyMarked;  // check state 2
  std::vector<std::u16string> filter;     // applied when not empty
  bool include = true;
  std::set<std::string> expected;
};

void PrintTo(const SelectionCase& c, std::ostream* out) { *out << c.name; }

class Selection : public SmallDisc, public ::testing::WithParamInterface<SelectionCase> {};

TEST_P(Selection, RecoversTheChosenFilesWithTheFoldersOnTheirWay) {
  const SelectionCase& c = GetParam();
  AppState& state = rescue.scan.state;
  state.recoverAll = c.recoverAll;
  for (const std::string& path : c.marked)
    rescue.scan.table.at(rescue.IndexOf(path)).checkState = disc::kMarked;
  for (const std::string& path : c.partlyMarked) {
    rescue.scan.table.at(rescue.IndexOf(path)).checkState = disc::kPartlyMarked;
  }
  if (!c.filter.empty()) rescue.filters.Apply(c.filter, c.include, state);
  const disc::RecoverySummary summary = rescue.Run(dir / "out");
  EXPECT_EQ(TreeOf(dir / "out"), c.expected);
  std::set<std::string> files;
  std::copy_if(c.expected.begin(), c.expected.end(), std::inserter(files, files.end()),
               [](const std::string& p) { return !p.ends_with("/"); });
  const std::vector<std::string> rows = rescue.RowsWith(text::kFileRecovered);
  EXPECT_EQ(std::set<std::string>(rows.begin(), rows.end()), files);
  EXPECT_EQ(rows.size(), files.size());
  EXPECT_EQ(summary.filesRecovered, files.size());
  if (c.recoverAll) {
    EXPECT_EQ(summary.filesFilteredOut, 8u - files.size());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Recovery, Selection,
    ::testing::Values(
        SelectionCase{.name = "IncludeAnExtension",
                      .filter = {u"txt"},
                      .expected = AllFoldersAnd({"TOP.TXT", "DOCS/A.TXT", "DOCS/SUB/C.TXT"})},
        SelectionCase{.name = "ExcludeTwoTexts",
                      .filter = {u".TXT", u"*.jpg"},
                      .include = false,
                      .expected = AllFoldersAnd({"DOCS/B.DOC"})},
        SelectionCase{
            .name = "IncludeAWildcard",
            .filter = {u"IMG_00??.JPG"},
            .expected = AllFoldersAnd({"PICS/2019/IMG_0001.JPG", "PICS/2019/IMG_0012.JPG"})},
        SelectionCase{
            .name = "IncludeTwoLinesOfOneText",
            .filter = {u" doc\n\n jpg "},
            .expected = AllFoldersAnd({"DOCS/B.DOC", "PICS/OTHER.JPG", "PICS/2019/IMG_0001.JPG",
                                       "PICS/2019/IMG_0012.JPG", "PICS/2019/IMG_001.JPG"})},
        SelectionCase{
            .name = "MarkedFolderAndOneFileElsewhere",
            .recoverAll = false,
            .marked = {"DOCS", "DOCS/A.TXT", "DOCS/B.DOC", "DOCS/SUB", "DOCS/SUB/C.TXT",
                       "PICS/2019/IMG_0012.JPG"},
            .partlyMarked = {"PICS", "PICS/2019"},
            .expected = {"DOCS/", "DOCS/A.TXT", "DOCS/B.DOC", "DOCS/SUB/", "DOCS/SUB/C.TXT",
                         "PICS/", "PICS/2019/", "PICS/2019/IMG_0012.JPG"}},
        SelectionCase{.name = "MarkedEmptyFolderOnly",
                      .recoverAll = false,
                      .marked = {"EMPTYDIR"},
                      .expected = {"EMPTYDIR/"}}),
    [](const ::testing::TestParamInfo<SelectionCase>& param) {
      return std::string(param.param.name);
    });

TEST_F(SmallDisc, DestinationThatCannotBeOpenedShowsErrorTenOnceWithTheReason) {
  // Nothing can be created below a regular file, not even by root.
  testing::WriteTree(dir.path(), {{.path = "file.txt", .content = "x"}});
  rescue.scan.state.recoverAll = true;
  const disc::RecoverySummary summary = rescue.Run(dir / "file.txt/sub", dir / "report.tsv");

  EXPECT_EQ(rescue.scan.host.scriptedPrompts.errors, std::vector<int>{10});
  EXPECT_TRUE(summary.destinationFailed);
  EXPECT_NE(summary.destinationReason.find("Not a directory"), std::string::npos)
      << summary.destinationReason;
  EXPECT_TRUE(rescue.RowsWith(text::kFileRecovered).empty());
  EXPECT_TRUE(rescue.RowsWith(text::kFileRecoveryFailure).empty());  // one row says why instead
  EXPECT_EQ(summary.filesRecovered + summary.foldersCreated, 0u);
  EXPECT_EQ(rescue.scan.host.log.rows().back().status, text::LoadText(text::kProcessAborted));
  ExpectIdle(rescue.scan.state);
}

// How a destination fails: a write beyond budget bytes fails with budgetError
// (a disk that fills up), and creating a file or folder named in refused (or
// any, when refused is empty) fails with createError.
struct DestinationFaults {
  std::uint64_t budget = UINT64_MAX;
  int budgetError = ENOSPC;
  int createError = 0;
  std::vector<std::string> refused;

  platform::SinkError Error(int error) const {
    return {error, std::system_category().message(error)};
  }
  bool Refuses(const std::string& name) const {
    return createError != 0 && (refused.empty() || std::ranges::find(refused, name) != refused.end());
  }
};

class FaultyFile final : public disc::ForwardingSink {
 public:
  FaultyFile(std::unique_ptr<platform::FileSink> real, DestinationFaults& faults)
      : ForwardingSink(*real), real_(std::move(real)), faults_(faults) {}
  bool Append(std::span<const std::byte> bytes, platform::SinkError& error) override {
    const std::uint64_t fits = std::min<std::uint64_t>(bytes.size(), faults_.budget);
    faults_.budget -= fits;
    if (!real_->Append(bytes.first(fits), error)) return false;
    if (fits == bytes.size()) return true;
    error = faults_.Error(faults_.budgetError);
    return false;
  }

 private:
  std::unique_ptr<platform::FileSink> real_;
  DestinationFaults& faults_;
};

// A real destination folder seen through DestinationFaults.
class FaultyFolder final : public platform::FolderSink {
 public:
  FaultyFolder(std::unique_ptr<platform::FolderSink> real, DestinationFaults& faults)
      : real_(std::move(real)), faults_(faults) {}
  platform::FolderResult MakeFolder(const std::string& name) override {
    if (faults_.Refuses(name)) return {nullptr, platform::SinkStatus::kFailed, Fail()};
    platform::FolderResult result = real_->MakeFolder(name);
    if (result.folder) result.folder = Wrap(std::move(result.folder));
    return result;
  }
  std::unique_ptr<platform::FolderSink> OpenFolder(const std::string& name,
                                                   platform::SinkError& error) override {
    std::unique_ptr<platform::FolderSink> folder = real_->OpenFolder(name, error);
    return folder ? Wrap(std::move(folder)) : nullptr;
  }
  platform::FileResult CreateFile(const std::string& name) override {
    if (faults_.Refuses(name)) return {nullptr, platform::SinkStatus::kFailed, Fail()};
    platform::FileResult result = real_->CreateFile(name);
    if (result.file) result.file = std::make_unique<FaultyFile>(std::move(result.file), faults_);
    return result;
  }
  std::unique_ptr<platform::FoundFile> OpenEarlier(const std::string& name,
                                                   platform::SinkError& error) override {
    return real_->OpenEarlier(name, error);
  }
  bool ReplaceFile(const std::string& from, const std::string& to,
                   const platform::FileIdentity& expected, platform::SinkError& error) override {
    return real_->ReplaceFile(from, to, expected, error);
  }
  std::optional<platform::FileFacts> Inspect(const std::string& name) override {
    return real_->Inspect(name);
  }
  bool RemoveFile(const std::string& name, platform::SinkError& error) override {
    return real_->RemoveFile(name, error);
  }
  platform::SinkStatus MakeLink(const std::string& name, const std::string& target,
                                platform::SinkError& error) override {
    if (faults_.Refuses(name)) {
      error = Fail();
      return platform::SinkStatus::kFailed;
    }
    return real_->MakeLink(name, target, error);
  }
  std::optional<std::string> ReadLink(const std::string& name) override {
    return real_->ReadLink(name);
  }
  bool SetLinkModified(const std::string& name, std::int64_t seconds,
                       platform::SinkError& error) override {
    return real_->SetLinkModified(name, seconds, error);
  }
  bool SetModified(std::int64_t seconds, platform::SinkError& error) override {
    return real_->SetModified(seconds, error);
  }
  bool SetPermissions(std::uint32_t bits, platform::SinkError& error) override {
    return real_->SetPermissions(bits, error);
  }

 private:
  platform::SinkError Fail() const { return faults_.Error(faults_.createError); }
  std::unique_ptr<platform::FolderSink> Wrap(std::unique_ptr<platform::FolderSink> folder) {
    return std::make_unique<FaultyFolder>(std::move(folder), faults_);
  }
  std::unique_ptr<platform::FolderSink> real_;
  DestinationFaults& faults_;
};

struct WriteFaultCase {
  const char* name;
  DestinationFaults faults;
  // The one message of error 10: "cannot VERB OUT/path: reason".
  std::string says;
  bool stops;  // the reason fails every later write: the recovery ends there
  std::uint32_t recovered;
  std::uint32_t failed;
};

void PrintTo(const WriteFaultCase& c, std::ostream* out) { *out << c.name; }

class WriteFaults : public SmallDisc, public ::testing::WithParamInterface<WriteFaultCase> {};

TEST_P(WriteFaults, NameThePathAndReasonAndStopWhenEveryWriteWouldFail) {
  const WriteFaultCase& c = GetParam();
  fs::create_directory(dir / "out");
  DestinationFaults faults = c.faults;
  platform::DestinationResult opened = platform::OpenDestination((dir / "out").string());
  ASSERT_TRUE(opened.folder) << opened.error.reason;
  disc::RecoveryTarget target;
  target.path = (dir / "out").string();
  target.folder = std::make_unique<FaultyFolder>(std::move(opened.folder), faults);
  rescue.scan.state.recoverAll = true;
  rescue.scan.host.log.Clear();
  const disc::RecoverySummary summary =
      rescue.engine.Recover(rescue.scan.table, rescue.filters, std::move(target));

  std::string says = c.says;
  says.replace(says.find("OUT"), 3, (dir / "out").string());
  EXPECT_EQ(rescue.scan.host.scriptedPrompts.errorDetails, std::vector<std::string>{says});
  EXPECT_EQ(rescue.scan.host.scriptedPrompts.errors, std::vector<int>{10});
  EXPECT_EQ(summary.writeStopped, c.stops);
  EXPECT_EQ(summary.writeStopReason, c.stops ? says : "");
  EXPECT_EQ(summary.filesRecovered, c.recovered);
  EXPECT_EQ(summary.filesFailed, c.failed);
  // Whatever is at the destination is whole: a file that failed is not left.
  std::size_t files = 0;
  for (const std::string& path : TreeOf(dir / "out")) {
    if (path.ends_with("/")) continue;
    ++files;
    EXPECT_EQ(ReadAll(dir / "out" / path), ReadAll(dir / "src" / path)) << path;
  }
  EXPECT_EQ(files, c.recovered);
  EXPECT_NE(std::find(rescue.RowsWith(text::kFileRecoveryFailure).begin(),
                      rescue.RowsWith(text::kFileRecoveryFailure).end(), says),
            rescue.RowsWith(text::kFileRecoveryFailure).end());
  // A file not written is no green tick.
  EXPECT_EQ(rescue.scan.host.log.rows().back().status,
            text::LoadText(c.stops       ? text::kProcessAborted
                           : c.failed > 0 ? text::kProcessCompletedWithErrors
                                          : text::kProcessCompleted));
  ExpectIdle(rescue.scan.state);
}

// The disc's order: DOCS, EMPTYDIR, PICS, TOP.TXT ("top"), then DOCS/A.TXT
// ("a"), DOCS/B.DOC, ...
INSTANTIATE_TEST_SUITE_P(
    Recovery, WriteFaults,
    ::testing::Values(
        WriteFaultCase{"FullAfterTwoFiles",
                       {.budget = 4},
                       "cannot write OUT/DOCS/B.DOC: No space left on device", true, 2, 1},
        WriteFaultCase{"QuotaSpent",
                       {.budget = 4, .budgetError = EDQUOT},
                       "cannot write OUT/DOCS/B.DOC: Disk quota exceeded", true, 2, 1},
        WriteFaultCase{"ReadOnly",
                       {.createError = EROFS},
                       "cannot create OUT/DOCS: Read-only file system", true, 0, 0},
        // One name refused: said with its path, and the others go on.
        WriteFaultCase{"OneFileRefused",
                       {.createError = EACCES, .refused = {"B.DOC"}},
                       "cannot create OUT/DOCS/B.DOC: Permission denied", false, 7, 1}),
    [](const ::testing::TestParamInfo<WriteFaultCase>& param) {
      return std::string(param.param.name);
    });

TEST_F(SmallDisc, ReportThatCannotBeWrittenSaysWhy) {
  DestinationFaults faults{.budget = 0};
  disc::RecoveryTarget target;
  target.path = (dir / "out").string();
  platform::DestinationResult opened = platform::OpenDestination(target.path);
  target.folder = std::move(opened.folder);
  target.missingName = opened.missingName;
  target.report = std::make_unique<FaultyFile>(
      platform::OpenReportFile((dir / "report.tsv").string()).file, faults);
  rescue.scan.state.recoverAll = true;
  const disc::RecoverySummary summary =
      rescue.engine.Recover(rescue.scan.table, rescue.filters, std::move(target));
  EXPECT_EQ(summary.filesRecovered, 8u);
  EXPECT_FALSE(summary.reportWritten);
  EXPECT_EQ(summary.reportError, "No space left on device");
  EXPECT_EQ(TreeOf(dir / "out").size(), 13u);  // 8 files, 5 folders
}

TEST_F(SmallDisc, NoFolderChosenEndsQuietly) {
  rescue.scan.state.recoverAll = true;
  rescue.scan.host.log.Clear();
  const disc::RecoverySummary summary =
      rescue.engine.Run(rescue.scan.table, rescue.filters, std::nullopt);
  EXPECT_FALSE(summary.started);
  EXPECT_TRUE(rescue.scan.host.log.rows().empty());
  EXPECT_EQ(rescue.scan.host.scriptedPrompts.asked, std::vector<std::string>{"ChooseFolder"});
}

// Offset in the image of the directory record with that identifier in the
// directory at extent.
std::uint64_t RecordOffset(const fs::path& image, std::uint32_t extent,
                           const std::string& identifier) {
  const std::vector<std::byte> sector = testing::ReadSector(image, extent);
  for (std::size_t at = 0; at + 33 < sector.size() && sector[at] != std::byte{0};
       at += static_cast<std::size_t>(sector[at])) {
    const auto length = static_cast<std::size_t>(sector[at + 32]);
    if (std::string(reinterpret_cast<const char*>(sector.data()) + at + 33, length) == identifier) {
      return std::uint64_t{extent} * testing::kSectorSize + at;
    }
  }
  ADD_FAILURE() << identifier << " not found";
  return 0;
}

void PatchIdentifier(const fs::path& image, std::uint32_t extent, const std::string& from,
                     const std::string& to) {
  ASSERT_EQ(from.size(), to.size());
  std::vector<std::byte> bytes(to.size());
  std::transform(to.begin(), to.end(), bytes.begin(),
                 [](char c) { return static_cast<std::byte>(c); });
  testing::WriteBytes(image, RecordOffset(image, extent, from) + 33, bytes);
}

// Points the record named identifier in the directory at directory to extent
// (both halves of the both-endian field).
void PatchExtent(const fs::path& image, std::uint32_t directory, const std::string& identifier,
                 std::uint32_t extent) {
  std::vector<std::byte> bytes(8);
  for (std::size_t i = 0; i < 4; ++i) {
    bytes[i] = bytes[7 - i] = static_cast<std::byte>(extent >> (8 * i));
  }
  testing::WriteBytes(image, RecordOffset(image, directory, identifier) + 2, bytes);
}

TEST(RecoveryEngineTest, CraftedDirectoryStaysInsideOverwritesNothingAndFollowsNoLink) {
  TempDir dir;
  testing::WriteTree(dir / "src", {{.path = "XX/IN1.TXT", .content = "one"},
                                   {.path = "Y/IN2.TXT", .content = "two"},
                                   {.path = "A_B", .content = "genuine"},
                                   {.path = "A_C", .content = "slash"},
                                   {.path = "TOP.TXT", .content = "from the disc"},
                                   {.path = "DOCS/D.TXT", .content = "doc"},
                                   {.path = "SUB/S.TXT", .content = "sub"},
                                   {.path = "SUC", .folder = true}});
  testing::IsoOptions options;
  options.joliet = false;
  const fs::path image = testing::MakeIso(dir / "src", dir / "disc.iso", options);
  const std::uint32_t root = testing::IsoinfoRootExtent(image, false);
  const std::uint32_t sub = testing::FileExtentLba(image, "SUB");
  PatchIdentifier(image, root, "XX", "..");
  PatchIdentifier(image, root, "Y", ".");
  // "A/B.;1" is the name "A/B", saved as "A_B", which is taken
  PatchIdentifier(image, root, "A_C.;1", "A/B.;1");
  // SUB listed twice: SUC becomes a second record of SUB's directory.
  PatchExtent(image, root, "SUC", sub);
  PatchIdentifier(image, root, "SUC", "SUB");
  // The destination holds a file of the same name and a link where DOCS goes.
  testing::WriteTree(dir / "out", {{.path = "TOP.TXT", .content = "mine"}});
  fs::create_directory(dir / "elsewhere");
  fs::create_directory_symlink(dir / "elsewhere", dir / "out/DOCS");

  Rescue rescue(platform::CreateHostMachine());
  rescue.scan.ScanImage(image.string());
  ASSERT_EQ(rescue.scan.ListingTsv().size(), 12u)
      << ::testing::PrintToString(rescue.scan.ListingTsv());
  rescue.scan.state.recoverAll = true;
  const disc::RecoverySummary summary = rescue.Run(dir / "out");

  EXPECT_EQ(TreeOf(dir / "out"),
            (std::set<std::string>{"_../", "_../IN1.TXT", "_./", "_./IN2.TXT", "A_B", "A_B (1)",
                                   "TOP.TXT", "TOP (1).TXT", "DOCS@", "DOCS (1)/", "DOCS (1)/D.TXT",
                                   "SUB/", "SUB/S.TXT"}));
  std::set<std::string> besideTheDestination;
  for (const fs::directory_entry& entry : fs::directory_iterator(dir.path())) {
    besideTheDestination.insert(entry.path().filename().string());
  }
  EXPECT_EQ(besideTheDestination, (std::set<std::string>{"src", "disc.iso", "elsewhere", "out"}));
  EXPECT_TRUE(fs::is_empty(dir / "elsewhere"));
  EXPECT_EQ(ReadAll(dir / "out/TOP.TXT"), "mine");
  EXPECT_EQ(ReadAll(dir / "out/TOP (1).TXT"), "from the disc");
  EXPECT_EQ(ReadAll(dir / "out/A_B"), "genuine");
  EXPECT_EQ(ReadAll(dir / "out/A_B (1)"), "slash");
  EXPECT_EQ(summary.namesChanged, 5u);
  // Every changed name is in the log, the disc's beside the saved one.
  const std::vector<std::string> recovered = rescue.RowsWith(text::kFileRecovered);
  for (const char* row :
       {"../IN1.TXT -> _../IN1.TXT", "./IN2.TXT -> _./IN2.TXT", "A/B -> A_B (1)",
        "TOP.TXT -> TOP (1).TXT", "DOCS/D.TXT -> DOCS (1)/D.TXT", "A_B", "SUB/S.TXT"}) {
    EXPECT_NE(std::find(recovered.begin(), recovered.end(), row), recovered.end()) << row;
  }
  std::vector<std::string> texts;
  for (const log::LogRow& row : rescue.scan.host.log.rows()) {
    texts.push_back(text::ToUtf8(row.text));
  }
  for (const char* row : {".. -> _..", ". -> _.", "DOCS -> DOCS (1)"}) {
    EXPECT_NE(std::find(texts.begin(), texts.end(), row), texts.end()) << row;
  }
}

}  // namespace
}  // namespace velmora
