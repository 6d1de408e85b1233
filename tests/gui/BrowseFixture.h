#pragma once

#include <QAbstractItemModelTester>
#include <QLabel>
#include <QTest>
#include <chrono>
#include <memory>
#include <string>

#include "ScriptedWindowPrompts.h"
#include "app/CMainFrame.h"
#include "app/CommandId.h"
#include "browse/BrowseViews.h"
#include "browse/CCDView.h"
#include "browse/CLeftView.h"
#include "browse/FileListModel.h"
#include "browse/FolderTreeModel.h"
#include "platform/emulated/EmulatedMachine.h"
#include "support/IsoBuilder.h"
#include "support/TempDir.h"
#include "support/TreeWriter.h"

namespace velmora::testing {

inline std::chrono::sys_seconds Day(int year, unsigned month, unsigned day) {
  using namespace std::chrono;
  return sys_days{std::chrono::year{year} / std::chrono::month{month} / std::chrono::day{day}};
}

// The window with an xorriso-made disc scanned into it:
//   DOCS/ NEW.TXT (5 bytes, 3 Dec 2001), JAN.TXT (4, 3 Jan 2001), MID.TXT (6, 2000),
//         OLD.TXT (3, 1999), Readme (1, 2005), README (2, 2006),
//         SUB/ (2010) DEEP.TXT (4)
//   EMPTY/   TOP.TXT (3)
// Both models run under QAbstractItemModelTester from before the scan.
struct BrowseFixture {
  BrowseFixture() {
    WriteTree(dir / "tree",
              {{.path = "DOCS/NEW.TXT", .content = "new!!", .mtime = Day(2001, 12, 3)},
               {.path = "DOCS/JAN.TXT", .content = "jan!", .mtime = Day(2001, 1, 3)},
               {.path = "DOCS/MID.TXT", .content = "middle", .mtime = Day(2000, 6, 15)},
               {.path = "DOCS/OLD.TXT", .content = "old", .mtime = Day(1999, 1, 3)},
               {.path = "DOCS/Readme", .content = "r", .mtime = Day(2005, 5, 5)},
               {.path = "DOCS/README", .content = "RR", .mtime = Day(2006, 6, 6)},
               {.path = "DOCS/SUB/DEEP.TXT", .content = "deep", .mtime = Day(2011, 1, 1)},
               {.path = "DOCS/SUB", .mtime = Day(2010, 1, 1), .folder = true},
               {.path = "EMPTY", .mtime = Day(2012, 1, 1), .folder = true},
               {.path = "TOP.TXT", .content = "top", .mtime = Day(2002, 2, 2)}});
    IsoOptions options;
    options.tool = IsoTool::kXorriso;
    const std::string image = MakeIso(dir / "tree", dir / "disc.iso", options).string();
    std::string reason;
    auto disc = platform::emulated::EmulatedDisc::FromImage(image, reason);
    if (!disc) throw std::runtime_error(reason);
    Open(std::move(*disc));
  }
  // The window with disc in its drive instead (not yet scanned).
  explicit BrowseFixture(platform::emulated::EmulatedDisc disc) { Open(std::move(disc)); }

  void Open(platform::emulated::EmulatedDisc disc) {
    machine.InsertDisc(0, std::move(disc));
    frame = std::make_unique<gui::CMainFrame>(machine);
    frame->SetPrompts(&prompts);
    treeTester = std::make_unique<QAbstractItemModelTester>(
        &views().treeModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    listTester = std::make_unique<QAbstractItemModelTester>(
        &views().listModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    frame->show();
  }

  gui::BrowseViews& views() const { return frame->browse(); }
  gui::CLeftView& tree() const { return views().tree(); }
  gui::CCDView& list() const { return views().list(); }
  const disc::EntryTable& table() const { return frame->table(); }

  void Scan() { frame->Action(gui::kOpenDrive)->trigger(); }

  // The entry of the first folder or file with that name.
  std::size_t Entry(const char16_t* name) const {
    for (std::size_t i = 0; i < table().size(); ++i) {
      if (table()[i].name == name) return i;
    }
    return disc::EntryTable::kNone;
  }
  QModelIndex TreeItem(const char16_t* name) const {
    return views().treeModel().IndexOfEntry(Entry(name));
  }
  int Row(const char16_t* name) const { return views().listModel().RowOfEntry(Entry(name)); }
  Qt::CheckState TreeBox(const char16_t* name) const {
    return TreeItem(name).data(Qt::CheckStateRole).value<Qt::CheckState>();
  }
  Qt::CheckState RowBox(const char16_t* name) const {
    return views().listModel().index(Row(name), 0).data(Qt::CheckStateRole).value<Qt::CheckState>();
  }
  QString RowNames() const {
    QStringList names;
    const auto& model = views().listModel();
    for (int row = 0; row < model.rowCount(); ++row) names << model.index(row, 0).data().toString();
    return names.join(QLatin1Char(','));
  }
  void ClickTreeBox(const char16_t* name) {
    QTest::mouseClick(tree().viewport(), Qt::LeftButton, {},
                      tree().BoxRect(TreeItem(name)).center());
  }
  void ClickRowBox(const char16_t* name) {
    QTest::mouseClick(list().currentView()->viewport(), Qt::LeftButton, {},
                      list().RowBoxRect(Row(name)).center());
  }
  QString MarkedPane() const { return frame->StatusPane(2)->text(); }
  QString DiscPane() const { return frame->StatusPane(1)->text(); }

  TempDir dir;
  platform::emulated::EmulatedMachine machine;
  ScriptedWindowPrompts prompts;
  std::unique_ptr<gui::CMainFrame> frame;
  std::unique_ptr<QAbstractItemModelTester> treeTester;
  std::unique_ptr<QAbstractItemModelTester> listTester;
};

}  // namespace velmora::testing
