// Marks and their totals after the table shown is replaced: a file whose
// extent is 0 across a mask and its removal.

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "BrowseFixture.h"
#include "browse/Totals.h"
#include "select/CFileMaskDialog.h"
#include "support/HandDisc.h"
#include "support/SectorFinder.h"

using namespace velmora;
using velmora::testing::BrowseFixture;

namespace {

namespace fs = std::filesystem;

// Root: A.TXT, ZERO.TXT (empty, extent 0, as some writers record an empty
// file), DOCS/ B.TXT. Written record by record: no tool writes extent 0.
platform::emulated::EmulatedDisc ExtentZeroDisc(const testing::TempDir& dir) {
  testing::HandDisc disc(24);
  disc.WritePrimary(18, 2048);
  disc.WriteDirectory(18, 18,
                      {{.name = "A.TXT;1", .extent = 20, .length = 5},
                       {.name = "DOCS", .folder = true, .extent = 19, .length = 2048},
                       {.name = "ZERO.TXT;1", .extent = 0, .length = 0}});
  disc.WriteDirectory(19, 18, {{.name = "B.TXT;1", .extent = 21, .length = 3}});
  disc.WriteText(20, "hello");
  disc.WriteText(21, "bee");
  const fs::path image = dir / "zero.iso";
  disc.Save(image);
  std::string reason;
  auto emulated = platform::emulated::EmulatedDisc::FromImage(image.string(), reason);
  if (!emulated) throw std::runtime_error(reason);
  return *emulated;
}

// Runs answer on the next modal dialog of type T once it is on screen.
template <typename T>
void WhenModal(std::function<void(T*)> answer) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, answer] {
    T* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
    if (!dialog) return;
    timer->stop();
    timer->deleteLater();
    answer(dialog);
  });
  timer->start();
}

void ClickOk(QDialog* dialog) {
  for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
    if (button->text() == QStringLiteral("OK")) {
      QTest::mouseClick(button, Qt::LeftButton);
      return;
    }
  }
  QFAIL("no OK button");
}

}  // namespace

class TestScanMarks : public QObject {
  Q_OBJECT

 private slots:
  void markOnAFileAtExtentZeroSurvivesMaskAndUnmask();
};

// Whether anything is marked is known by the entries' places, never by their
// File ID: an empty file may have extent 0, as Root's File ID is.
void TestScanMarks::markOnAFileAtExtentZeroSurvivesMaskAndUnmask() {
  testing::TempDir discDir;
  BrowseFixture fixture(ExtentZeroDisc(discDir));
  fixture.Scan();
  QCOMPARE(fixture.table()[fixture.Entry(u"ZERO.TXT")].fileId, 0u);
  fixture.ClickRowBox(u"ZERO.TXT");
  QCOMPARE(fixture.RowBox(u"ZERO.TXT"), Qt::Checked);
  QVERIFY(fixture.frame->Action(gui::kRecoverSelected)->isEnabled());

  for (int command : {gui::kFileMask, gui::kFileUnmask}) {
    WhenModal<gui::CFileMaskDialog>([](gui::CFileMaskDialog* dialog) { ClickOk(dialog); });
    fixture.frame->Action(command)->trigger();
    QCOMPARE(fixture.table()[fixture.Entry(u"ZERO.TXT")].checkState, disc::kMarked);
    QVERIFY(fixture.frame->state().anyEntryMarked);
    QVERIFY2(fixture.frame->Action(gui::kRecoverSelected)->isEnabled(),
             command == gui::kFileMask ? "masked" : "unmasked");
    QVERIFY(fixture.frame->ToolbarAction(gui::kRecoverSelected)->isEnabled());
    QCOMPARE(fixture.MarkedPane(),
             QString::fromStdU16String(browse::FormatTotals({0, 1, 0}, true)));
  }
}

QTEST_MAIN(TestScanMarks)
#include "tst_scanmarks.moc"
