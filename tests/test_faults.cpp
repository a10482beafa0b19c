// Faults of the program's surroundings: a settings folder that cannot be made, a store that cannot
// be written, a picture that cannot be saved, a browser that cannot be started. The program must
// say what went wrong where the user asked for something, keep running, and lose nothing saved.

#include <csignal>

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <sys/resource.h>

#include "MainWindowHarness.h"
#include "catalogue/frmCWsoftware.h"

using platform::Desktop;

namespace {

// Within its scope no file may grow beyond `bytes`, as on a disk that is full. Writes past the
// limit fail instead of ending the process.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved_;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, oldHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  void (*oldHandler_)(int) = nullptr;
};

QByteArray contentsOf(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

// Quits the program as the user does and returns its exit status.
int quit(frmMain& w) {
  closeWhenShown<frmCWsoftware>([](frmCWsoftware&) {});
  return exitStatusAfter([&w] { w.cmdQuit->click(); });
}

// Saves the picture through a right click and the Save As dialog, answering `answers` in turn.
void saveAs(MainWindowHarness& h, const QString& name, std::deque<Desktop::Answer> answers) {
  h.desktop.saveFileName = name;
  h.desktop.answers = answers;
  h.window().picSpiral_MouseUp(Qt::RightButton, 10, 10);
}

}  // namespace

class TestFaults : public QObject {
  Q_OBJECT

 private slots:
  // Even root cannot make a folder below a plain file.
  void settingsFolderCannotBeMade() {
    MainWindowHarness h;
    QTemporaryDir base;
    writeFile(base.filePath("plain file"), "not a folder");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(base.filePath("plain file/config")));
    frmMain& w = h.start();
    QVERIFY(h.desktop.messages.empty());
    QCOMPARE(w.cboBoxSize->currentIndex(), 3);  // the defaults
    QCOMPARE(w.txbStartNumber->text(), QStringLiteral("1"));
    QVERIFY(w.blnSpiralDrawn);
    QCOMPARE(quit(w), 0);
    QVERIFY(h.desktop.messages.empty());
    QCOMPARE(contentsOf(base.filePath("plain file")), QByteArray("not a folder"));
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
    const QDir folder = QFileInfo(h.storePath()).dir();
    QCOMPARE(folder.entryList(QDir::Files), QStringList{"spl.usr"});  // no stray temporary file
  }

  void pictureSavedIntoAFolderThatCannotBeWritten() {
    MainWindowHarness h;
    h.start();
    QTemporaryDir base;
    writeFile(base.filePath("plain file"), "not a folder");
    saveAs(h, base.filePath("plain file/spiral.png"), {Desktop::Answer::Yes});
    QCOMPARE(h.desktop.messages.size(), size_t(2));  // the question, then what went wrong
    const RecordingDesktop::Message& told = h.desktop.messages.back();
    QCOMPARE(told.title, QStringLiteral("Save image"));
    QVERIFY(told.text.contains(base.filePath("plain file/spiral.bmp")));
    QVERIFY(!told.text.contains("has been saved"));
    QCOMPARE(contentsOf(base.filePath("plain file")), QByteArray("not a folder"));
  }

  // The user's own files beside the picture survive a disk that fills up while saving.
  void pictureSavedOntoAFullDisk() {
    MainWindowHarness h;
    h.start();
    QTemporaryDir folder;
    writeFile(folder.filePath("spiral.png"), "the user's old picture");
    writeFile(folder.filePath("spiral.bmp"), "the user's own bitmap");
    {
      const FileSizeLimit fullDisk(4096);  // the bitmap of the picture needs about a megabyte
      saveAs(h, folder.filePath("spiral.png"), {Desktop::Answer::Yes, Desktop::Answer::Yes});
    }
    const RecordingDesktop::Message& told = h.desktop.messages.back();
    QCOMPARE(told.title, QStringLiteral("Save image"));
    QVERIFY(!told.text.contains("has been saved in the PNG file"));
    QCOMPARE(contentsOf(folder.filePath("spiral.png")), QByteArray("the user's old picture"));
    QCOMPARE(contentsOf(folder.filePath("spiral.bmp")), QByteArray("the user's own bitmap"));

    // With room again the same request works, and still leaves the user's bitmap alone.
    saveAs(h, folder.filePath("spiral.png"), {Desktop::Answer::Yes, Desktop::Answer::Yes});
    QVERIFY(h.desktop.messages.back().text.startsWith("The image has been saved in the PNG file"));
    QCOMPARE(QImage(folder.filePath("spiral.png")).convertToFormat(QImage::Format_RGB32),
             h.window().picture.image());
    QCOMPARE(contentsOf(folder.filePath("spiral.bmp")), QByteArray("the user's own bitmap"));
  }

  void browserThatCannotBeStarted() {
    MainWindowHarness h;
    frmMain& w = h.start();
    h.desktop.openUrlResult = 31;
    w.lblOnlineDocumentation_Click();
    QCOMPARE(h.desktop.messages.size(), size_t(1));
    QCOMPARE(h.desktop.messages[0].title, QStringLiteral("Cannot launch web browser"));
    QCOMPARE(h.desktop.messages[0].icon, Desktop::Icon::Exclamation);
    // The window goes on working: it draws and reports numbers.
    const int passes = w.drawPassCount();
    w.txbStartNumber->setText("11");
    w.cmdDraw->click();
    QCOMPARE(w.drawPassCount(), passes + 1);
    w.picSpiral_MouseUp(Qt::LeftButton, w.intCenterX, w.intCenterY);
    QCOMPARE(h.desktop.messages.back().title, QStringLiteral("11"));
  }
};

QTEST_MAIN(TestFaults)
#include "test_faults.moc"
