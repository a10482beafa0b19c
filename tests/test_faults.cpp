// Faults of the program's surroundings: a settings folder that cannot be made, a store that cannot
// be written, a picture that cannot be saved, a browser that cannot be started. The program must
// say what went wrong where the user asked for something, keep running, and lose nothing saved.

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "FileSizeLimit.h"
#include "MainWindowHarness.h"
#include "catalogue/frmCWsoftware.h"

namespace {

QByteArray contentsOf(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

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
    writeFile(plainFile, "not a folder");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(plainFile + "/config"));
    frmMain& w = h.start();
    QVERIFY(w.blnSpiralDrawn);
    QCOMPARE(quit(w), 0);
    QVERIFY(h.desktop.messages.empty());
    QCOMPARE(contentsOf(plainFile), QByteArray("not a folder"));
  }

  void storeThatCannotBeWrittenStaysAsItWas() {
    MainWindowHarness h;
    h.writeStoreLines({"1", "1", "0", "5,3,2,0", "\"17\"", "1", "0", "1", "1"});
    const QByteArray before = h.storeBytes();
    frmMain& w = h.start();
    w.cboBoxSize->setCurrentIndex(7);  // something to save
    {
      const FileSizeLimit fullDisk(8);
      QCOMPARE(quit(w), 0);
    }
    QCOMPARE(h.storeBytes(), before);
  }

  void pictureSavedIntoAFolderThatCannotBeWritten() {
    MainWindowHarness h;
    h.start();
    QTemporaryDir base;
    const QString plainFile = base.filePath("plain file");  // where the program wants a folder
    writeFile(plainFile, "not a folder");
    const RecordingDesktop::Message told = saveAs(h, plainFile + "/spiral.png");
    QCOMPARE(told.title, QStringLiteral("Save image"));
    QVERIFY(told.text.contains(plainFile + "/spiral.bmp") && !told.text.contains("has been saved"));
    QCOMPARE(contentsOf(plainFile), QByteArray("not a folder"));
  }

  // The user's own files beside the picture survive a disk that fills up while saving; with room
  // again the same request works.
  void pictureSavedOntoAFullDisk() {
    MainWindowHarness h;
    h.start();
    QTemporaryDir folder;
    const QString png = folder.filePath("spiral.png");
    const QString bmp = folder.filePath("spiral.bmp");
    writeFile(png, "the user's old picture");
    writeFile(bmp, "the user's own bitmap");
    {
      const FileSizeLimit fullDisk(4096);  // the bitmap of the picture needs about a megabyte
      QVERIFY(!saveAs(h, png).text.contains("has been saved in the PNG file"));
    }
    QCOMPARE(contentsOf(png), QByteArray("the user's old picture"));
    QCOMPARE(contentsOf(bmp), QByteArray("the user's own bitmap"));
    QVERIFY(saveAs(h, png).text.startsWith("The image has been saved in the PNG file"));
    QCOMPARE(contentsOf(bmp), QByteArray("the user's own bitmap"));
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
