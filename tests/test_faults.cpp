// Faults of the program's surroundings: a settings folder that cannot be made and the leftovers
// of a crash. The program must keep running and lose nothing saved.

#include "MainWindowHarness.h"

class TestFaults : public QObject {
  Q_OBJECT

 private slots:
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

QTEST_MAIN(TestFaults)
#include "test_faults.moc"
