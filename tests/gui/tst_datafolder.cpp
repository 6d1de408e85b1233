#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "app/DataFolder.h"

using velmora::gui::DataFolderFor;

// Where the program looks for its translations and help pages: beside itself
// in a build tree, in <prefix>/share/velmora once installed.
class TestDataFolder : public QObject {
  Q_OBJECT

 private slots:
  void findsTheFolderOfEachLayout_data();
  void findsTheFolderOfEachLayout();
};

void TestDataFolder::findsTheFolderOfEachLayout_data() {
  QTest::addColumn<QStringList>("folders");  // made below the temporary root
  QTest::addColumn<QString>("program");      // the program's folder
  QTest::addColumn<QString>("expected");
  QTest::newRow("build tree") << QStringList{"build/src/gui/help/English"}
                              << QString("build/src/gui") << QString("build/src/gui");
  QTest::newRow("installed") << QStringList{"usr/bin", "usr/share/velmora/help/English"}
                             << QString("usr/bin") << QString("usr/share/velmora");
  // A build tree inside an installed prefix still takes its own pages.
  QTest::newRow("build tree below a prefix")
      << QStringList{"p/share/velmora/help", "p/build/help"} << QString("p/build") << QString("p/build");
  QTest::newRow("neither") << QStringList{"opt/bin"} << QString("opt/bin") << QString("opt/bin");
}

void TestDataFolder::findsTheFolderOfEachLayout() {
  QFETCH(QStringList, folders);
  QFETCH(QString, program);
  QFETCH(QString, expected);
  QTemporaryDir root;
  QVERIFY(root.isValid());
  for (const QString& folder : folders) QVERIFY(QDir(root.path()).mkpath(folder));
  QCOMPARE(DataFolderFor(root.filePath(program)), QDir(root.filePath(expected)).absolutePath());
}

QTEST_GUILESS_MAIN(TestDataFolder)
#include "tst_datafolder.moc"
