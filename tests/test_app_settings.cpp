// The settings store file: how it is read and written, and that writing it is all or nothing; and
// faults of the program's surroundings, a settings folder that cannot be made and the leftovers of
// a crash, in which the program must keep running and lose nothing saved.

#include "MainWindowHarness.h"
#include "ShortDisk.h"
#include "app/SettingsStore.h"

using app::StoredSettings;

// Settings that differ from the defaults everywhere, with a comma inside the quoted start text.
const StoredSettings kUnusual{.version = 1, .language = 1, .shape = 0, .boxSizeIndex = 5, .colorByIndex = 3,
                              .showIndex = 2, .clockTicksIndex = 4, .startNumberText = "1,2", .grid = 1,
                              .numerals = 0, .centralNumberPrime = 1, .calculateLongest = 1};

class TestAppSettings : public QObject {
  Q_OBJECT

 private slots:
  // Values may also share a line, separated by commas; text after the last value is ignored.
  void writtenStoreReadsBackAndValuesMaySpread() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("spl.usr"));
    QVERIFY(app::writeSettingsFile(path, kUnusual));
    QCOMPARE(app::readSettingsFile(path), std::optional(kUnusual));
    QCOMPARE(app::parseSettings(" 1, 1\n0\r\n5\r\n3 , 2\r\n4,\"1,2\" , 1,0\n1\r1\r\nmore"),
             std::optional(kUnusual));
  }

  void fullDiskKeepsThePreviousStore_data() {
    QTest::addColumn<int>("kind");
    QTest::newRow("small tmpfs") << int(ShortDisk::Kind::FreeSpace);
    QTest::newRow("file-size limit") << int(ShortDisk::Kind::FileSizeLimit);
  }
  // With ever more room, a write either fails and leaves the previous store as it was, or
  // replaces it whole; nothing else is left beside it.
  void fullDiskKeepsThePreviousStore() {
    QFETCH(int, kind);
    ShortDisk disk(ShortDisk::Kind(kind), 64 * 1024);
    if (!disk.available()) QSKIP("no tmpfs can be mounted here");
    const QString path = disk.filePath(QStringLiteral("spl.usr"));
    const qint64 size = app::formatSettings(StoredSettings{}).size();
    bool written = false;
    for (qint64 room : {qint64(0), size - 1, size, ShortDisk::kPage}) {
      QVERIFY(app::writeSettingsFile(path, kUnusual));
      const bool before = written;
      QVERIFY(disk.runWith(room, [&] { written = app::writeSettingsFile(path, StoredSettings{}); }));
      QVERIFY(written >= before && (room > 0 || !written));
      QCOMPARE(app::readSettingsFile(path), written ? StoredSettings{} : kUnusual);
      QCOMPARE(disk.names(), QStringList{QStringLiteral("spl.usr")});
    }
    QVERIFY(written);
  }

  void dataFolderIsMadeUnderTheConfigFolder() {
    QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome.filePath(QStringLiteral("not/yet"))));
    const QString path = app::GetDataFilePath(QStringLiteral("spl.usr"), QStringLiteral("Corvanel Works"));
    QCOMPARE(path, configHome.filePath(QStringLiteral("not/yet/Corvanel Works/spl.usr")));
    QVERIFY(QFileInfo(QFileInfo(path).path()).isDir());
  }

  // Even root cannot make a folder below a plain file.
  void settingsFolderCannotBeMade() {
    MainWindowHarness h;
    QTemporaryDir base;
    const QString plainFile = base.filePath("plain file");  // where the program wants a folder
    QVERIFY(writeFile(plainFile, "not a folder"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(plainFile + "/config"));
    frmMain& w = h.start();
    QVERIFY(w.blnSpiralDrawn);
    QCOMPARE(exitStatusAfter([&] { w.cmdQuit->click(); }), 0);
    QVERIFY(h.desktop.messages.empty());
    QCOMPARE(contentsOf(plainFile), QByteArray("not a folder"));
  }

  // A crash while the store was written may have left a temporary copy beside it, under this
  // version's name for one or an earlier version's; start-up removes those and nothing else.
  void leftoversOfACrashAreRemovedAtStart() {
    MainWindowHarness h;
    QVERIFY(h.writeStore(storeOf(defaultStoreLines())));
    const QDir folder = QFileInfo(h.storePath()).dir();
    const QStringList kept{"notes.txt", "spl.usr", "spl.usr.copy", "spl.usr.old"};
    for (const QString& name : kept + QStringList{".spirelle-x7Yq2Z.tmp", "spl.usr.Ab3xYz"}) {
      if (name != "spl.usr") QVERIFY(writeFile(folder.filePath(name), "a leftover?"));
    }
    h.start();
    QCOMPARE(folder.entryList(QDir::Files | QDir::Hidden), kept);
  }
};

QTEST_MAIN(TestAppSettings)
#include "test_app_settings.moc"
