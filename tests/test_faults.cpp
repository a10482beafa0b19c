// Faults of the program's surroundings: a settings folder that cannot be made, the leftovers of a
// crash, a picture that cannot be saved, a browser that cannot be started. The program must
// say what went wrong where the user asked for something, keep running, and lose nothing saved.

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "FileContents.h"
#include "MainWindowHarness.h"
#include "catalogue/frmCWsoftware.h"

namespace {

int quit(frmMain& w) {
  closeWhenShown<frmCWsoftware>([](frmCWsoftware&) {});
  return exitStatusAfter([&w] { w.cmdQuit->click(); });
}

// Saves the picture through a right click and the Save As dialog, answering Yes to every question,
// and returns the last message shown.
RecordingDesktop::Message saveAs(MainWindowHarness& h, const QString& name) {
  h.desktop.saveFileName = name;
  h.desktop.answers = {platform::Desktop::Answer::Yes, platform::Desktop::Answer::Yes};
  h.window().picSpiral_MouseUp(Qt::RightButton, 10, 10);
  return h.desktop.messages.back();
}

}  // namespace

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
    QCOMPARE(quit(w), 0);
    QVERIFY(h.desktop.messages.empty());
    QCOMPARE(contentsOf(plainFile), QByteArray("not a folder"));
  }

  // A crash while the store was written may have left a temporary copy beside it, under this
  // version's name for one or an earlier version's; start-up removes those and nothing else.
  void leftoversOfACrashAreRemovedAtStart() {
    MainWindowHarness h;
    h.writeStoreLines(defaultStoreLines());
    const QDir folder = QFileInfo(h.storePath()).dir();
    const QStringList kept{"notes.txt", "spl.usr", "spl.usr.copy", "spl.usr.old"};
    for (const QString& name : kept + QStringList{".spirelle-x7Yq2Z.tmp", "spl.usr.Ab3xYz"}) {
      if (name != "spl.usr") QVERIFY(writeFile(folder.filePath(name), "a leftover?"));
    }
    h.start();
    QCOMPARE(folder.entryList(QDir::Files | QDir::Hidden), kept);
  }

  void pictureSavedIntoAFolderThatCannotBeWritten() {
    MainWindowHarness h;
    h.start();
    QTemporaryDir base;
    const QString plainFile = base.filePath("plain file");  // where the program wants a folder
    QVERIFY(writeFile(plainFile, "not a folder"));
    const RecordingDesktop::Message told = saveAs(h, plainFile + "/spiral.png");
    QCOMPARE(told.title, QStringLiteral("Save image"));
    QCOMPARE(told.text, "Save error.  The image could not be written to the file\r\n" + plainFile +
                            "/spiral.png\r\n\r\n" + systemReason(ENOTDIR) + ".");
    QCOMPARE(contentsOf(plainFile), QByteArray("not a folder"));
  }

  void browserThatCannotBeStarted() {
    MainWindowHarness h;
    frmMain& w = h.start();
    h.desktop.openUrlResult = 31;
    w.lblOnlineDocumentation_Click();
    QCOMPARE(h.desktop.messages.size(), size_t(1));
    QCOMPARE(h.desktop.messages[0].title, QStringLiteral("Cannot launch web browser"));
    // The window goes on working: it draws and reports numbers.
    w.txbStartNumber->setText("11");
    w.cmdDraw->click();
    w.picSpiral_MouseUp(Qt::LeftButton, w.lastPass.geometry.centerX, w.lastPass.geometry.centerY);
    QCOMPARE(h.desktop.messages.back().title, QStringLiteral("11"));
  }
};

QTEST_MAIN(TestFaults)
#include "test_faults.moc"
