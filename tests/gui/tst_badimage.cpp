#include <QTest>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "FixtureDisc.h"
#include "ScriptedWindowPrompts.h"
#include "app/CMainFrame.h"
#include "app/CommandId.h"
#include "media/ImageTrailer.h"
#include "support/BytePatcher.h"
#include "support/HandDisc.h"

using namespace velmora;
using namespace velmora::gui;
using velmora::testing::FixtureDisc;
using velmora::testing::HandDisc;
using velmora::testing::ScriptedWindowPrompts;

namespace {

namespace fs = std::filesystem;

// Past 4 GiB: a sector whose byte offset does not fit 32 bits.
constexpr std::uint32_t kFarLba = 2'200'000;

HandDisc SmallDisc() {
  HandDisc disc(24);
  disc.WritePrimary(18, 2048);
  disc.WriteDirectory(18, 18,
                      {{.name = "A.TXT;1", .extent = 20, .length = 5},
                       {.name = "DOCS", .folder = true, .extent = 19, .length = 2048}});
  disc.WriteDirectory(19, 18, {{.name = "B.TXT;1", .extent = 21, .length = 3}});
  disc.WriteText(20, "hello");
  disc.WriteText(21, "bee");
  return disc;
}

// The small disc followed by a trailer with tracks; count, when given,
// replaces the record count.
void SaveWithTrailer(const fs::path& path, const std::vector<disc::TrackNode>& tracks,
                     std::optional<std::uint8_t> count = std::nullopt) {
  SmallDisc().Save(path);
  disc::ImageTrailer trailer{true, static_cast<std::uint8_t>(tracks.size()), tracks};
  std::vector<std::byte> block = disc::BuildImageTrailer(trailer);
  if (count) block[disc::kTrailerCountOffset] = std::byte{*count};
  testing::WriteBytes(path, fs::file_size(path), block);
}

}  // namespace

// Open Image on what a user may pick instead of an image: each refused file
// shows one error dialog naming what is wrong and leaves the tree on screen
// as it was; a damaged image opens, and its damage is a row of the log.
class TestBadImage : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanup();
  void openImage_data();
  void openImage();

 private:
  std::unique_ptr<FixtureDisc> disc_;
  std::unique_ptr<platform::emulated::EmulatedMachine> machine_;
  std::unique_ptr<CMainFrame> frame_;
  ScriptedWindowPrompts prompts_;
};

void TestBadImage::initTestCase() {
  disc_ = std::make_unique<FixtureDisc>();
  const fs::path dir = disc_->dir.path();
  fs::create_directory(dir / "folder");
  std::ofstream(dir / "empty.iso");
  std::ofstream(dir / "2047.iso", std::ios::binary) << std::string(2047, 'x');
  std::string text;
  for (int line = 0; text.size() < 100'000; ++line) text += "line " + std::to_string(line) + "\n";
  std::ofstream(dir / "notes.txt", std::ios::binary) << text;
  SaveWithTrailer(dir / "255tracks.cd", {{1, 150, 24}}, 255);
  SaveWithTrailer(dir / "startsfar.cd", {{1, 0xFFFF0000, 0xFFFFFFFF}});
  SaveWithTrailer(dir / "endsfar.cd", {{1, 150, 0xFFFFFF00}});
  SaveWithTrailer(dir / "endsbefore.cd", {{1, 150, 24}, {2, 160, 5}});
  SmallDisc().Save(dir / "cut.iso");
  fs::resize_file(dir / "cut.iso", 19 * 2048 + 100);
  HandDisc far(24);
  far.WritePrimary(18, 2048, kFarLba + 1);
  far.WriteDirectory(18, 18, {{.name = "FAR.TXT;1", .extent = kFarLba, .length = 5}});
  far.Save(dir / "sparse.iso");
  const std::string tail = "tail!";
  testing::WriteBytes(dir / "sparse.iso", std::uint64_t{kFarLba} * 2048,
                      std::as_bytes(std::span(tail.data(), tail.size())));
  SmallDisc().Save(dir / "unreadable.iso");
  fs::permissions(dir / "unreadable.iso", fs::perms::none);
}

void TestBadImage::init() {
  machine_ = disc_->NewMachine();
  frame_ = std::make_unique<CMainFrame>(*machine_);
  prompts_ = ScriptedWindowPrompts{};
  frame_->SetPrompts(&prompts_);
  frame_->show();
  QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
}

void TestBadImage::cleanup() {
  frame_.reset();
  machine_.reset();
}

void TestBadImage::openImage_data() {
  QTest::addColumn<QString>("file");  // in the fixture's folder, or a full path
  QTest::addColumn<int>("error");     // the one dialog's code; 0: the image opens
  QTest::addColumn<QString>("said");  // in the dialog's detail, or in the log
  QTest::addColumn<int>("entries");   // the image's tree, when it opens

  QTest::newRow("missing") << "missing.iso" << 7 << "missing.iso does not exist" << 0;
  QTest::newRow("folder") << "folder" << 7 << "folder: Is a directory" << 0;
  // A file, not a device: its permissions are the advice.
  QTest::newRow("unreadable") << "unreadable.iso" << 7
                              << "unreadable.iso: Permission denied; check the file's permissions"
                              << 0;
  QTest::newRow("empty") << "empty.iso" << 1
                         << "not a disc image (no image trailer and no ISO 9660 volume "
                            "descriptor)"
                         << 0;
  QTest::newRow("2047 bytes") << "2047.iso" << 1
                              << "not a disc image (no image trailer and no ISO 9660 volume "
                                 "descriptor)"
                              << 0;
  QTest::newRow("not ISO") << "notes.txt" << 1
                           << "no image trailer, no volume descriptor, and no directory found"
                           << 0;
  QTest::newRow("255 track records") << "255tracks.cd" << 1 << "the image's track list is damaged"
                                     << 0;
  QTest::newRow("track starts past the image")
      << "startsfar.cd" << 1 << "every session of the image's track list lies past its 24 sectors"
      << 0;
  QTest::newRow("/dev/null") << "/dev/null" << 1
                             << "not a disc image (no image trailer and no ISO 9660 volume "
                                "descriptor)"
                             << 0;
  // Root, Session 1, DOCS, A.TXT, B.TXT: opened, with the damage in the log.
  QTest::newRow("track ends past the image")
      << "endsfar.cd" << 0 << "names sectors past its 24 sectors; 1 session(s) cut to the image"
      << 5;
  // Session 2 starts inside session 1 and holds no volume: Root, the two
  // sessions, DOCS, A.TXT, B.TXT.
  QTest::newRow("track ends before its start")
      << "endsbefore.cd" << 0 << "1 session(s) end before they start" << 6;
  // DOCS is cut short: its B.TXT is lost, and the log names DOCS.
  QTest::newRow("truncated") << "cut.iso" << 0 << "DOCS" << 3;
  QTest::newRow("sparse over 4 GiB") << "sparse.iso" << 0 << "" << 2;
}

void TestBadImage::openImage() {
  QFETCH(QString, file);
  QFETCH(int, error);
  QFETCH(QString, said);
  QFETCH(int, entries);

  frame_->Action(kOpenDrive)->trigger();
  const std::size_t driveEntries = frame_->table().size();
  QVERIFY(frame_->state().treeComplete);
  const std::size_t logRows = frame_->messageLog().rows().size();

  const fs::path path = file.startsWith(QLatin1Char('/'))
                            ? fs::path(file.toStdString())
                            : disc_->dir.path() / file.toStdString();
  if (file == QStringLiteral("unreadable.iso") && std::ifstream(path).is_open()) {
    QSKIP("running with rights that ignore modes");
  }
  prompts_.openFile = QString::fromStdString(path.string());
  frame_->Action(kOpenImage)->trigger();

  QVERIFY(!frame_->state().busy);
  QVERIFY(!frame_->state().scanInProgress);
  QVERIFY(frame_->state().treeComplete);
  if (error != 0) {
    // One dialog, naming what is wrong; the drive's tree stays.
    QCOMPARE(prompts_.errors, std::vector<int>{error});
    QCOMPARE(prompts_.errorDetails.size(), std::size_t{1});
    QVERIFY2(QString::fromStdString(prompts_.errorDetails[0]).contains(said),
             prompts_.errorDetails[0].c_str());
    QCOMPARE(frame_->table().size(), driveEntries);
    QCOMPARE(frame_->messageLog().rows().size(), logRows);
    // The drive is still the source: the next scan reads it whole.
    frame_->Action(kOpenDrive)->trigger();
    QCOMPARE(frame_->table().size(), driveEntries);
    return;
  }
  QVERIFY2(prompts_.errors.empty(), qPrintable(prompts_.asked.join(QLatin1Char(','))));
  QCOMPARE(frame_->table().size(), static_cast<std::size_t>(entries));
  QStringList texts;
  for (std::size_t k = logRows; k < frame_->messageLog().rows().size(); ++k) {
    const log::LogRow& row = frame_->messageLog().rows()[k];
    texts << QString::fromStdU16String(row.text) + QLatin1Char('|') +
                 QString::fromStdU16String(row.status);
  }
  const QString log = texts.join(QLatin1Char('\n'));
  if (said.isEmpty()) {
    QVERIFY2(log.endsWith(QStringLiteral("|Process Completed")), qPrintable(log));
  } else {
    QVERIFY2(log.contains(said), qPrintable(log));
  }
}

QTEST_MAIN(TestBadImage)
#include "tst_badimage.moc"
