// Saving the picture (bitmap, conversion to PNG, the messages) and the web links.
#include <cstring>

#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

#include "MainWindowHarness.h"
#include "RecordingDesktop.h"
#include "interaction/GraphicsConversion.h"
#include "interaction/ImageSaving.h"
#include "interaction/WebLinks.h"

using platform::Desktop;

namespace {

const QString kSaved = "The image has been saved in the PNG file\r\n";
const QString kSavedInstead = "Save error.  The image has been saved instead in the BMP file\r\n";

// A picture with a few distinct colours, so that a read-back can tell pixels apart.
QImage testPicture() {
  QImage image(37, 29, QImage::Format_RGB32);
  image.fill(Qt::black);
  for (int x = 0; x < image.width(); ++x) image.setPixel(x, x % image.height(), qRgb(0, 0, 255));
  image.setPixel(36, 28, qRgb(255, 255, 255));
  return image;
}

QImage readBack(const QString& path) { return QImage(path).convertToFormat(QImage::Format_RGB32); }

QByteArray contentsOf(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

int32_t failingConverter(const char*, const char*, char* message) {
  std::strcpy(message, "Conversion failed");
  return static_cast<int32_t>(std::strlen(message));
}

// Fails after leaving half a file where the PNG should go.
int32_t partialWritingConverter(const char* source, const char* target, char* message) {
  QFile file(QFile::decodeName(target));
  if (file.open(QIODevice::WriteOnly)) file.write("\x89PNG half");
  return failingConverter(source, target, message);
}

void expectMessage(const RecordingDesktop::Message& message, const QString& title,
                   const QString& text, Desktop::Icon icon) {
  QCOMPARE(message.title, title);
  QCOMPARE(message.text, text);
  QCOMPARE(message.icon, icon);
  QCOMPARE(message.buttons, Desktop::Buttons::Ok);
}

}  // namespace

class TestInteraction : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  RecordingDesktop desktop_;

  QString path(const QString& name) const { return dir_.filePath(name); }
  QStringList filesInDir() const { return QDir(dir_.path()).entryList(QDir::Files, QDir::Name); }

  void save(const QString& name, interaction::GraphicsConverter converter = convert_graphics_file_3) {
    desktop_.saveFileName = name;
    interaction::SaveImage(desktop_, nullptr, testPicture(), converter);
  }

 private slots:
  void init() {
    QDir(dir_.path()).removeRecursively();
    QDir().mkpath(dir_.path());
    desktop_ = RecordingDesktop();
  }

  void savingWritesThePngWithThePicturesPixelsAndRemovesTheBitmap() {
    save(path("spiral.png"));
    QCOMPARE(desktop_.saveDialogs.size(), size_t(1));
    QCOMPARE(desktop_.saveDialogs[0].title, QString("Save image as"));
    QCOMPARE(desktop_.saveDialogs[0].filter, QString("PNG graphics file (*.png)"));
    QCOMPARE(filesInDir(), QStringList{"spiral.png"});
    QCOMPARE(QImageReader(path("spiral.png")).format(), QByteArray("png"));
    QCOMPARE(readBack(path("spiral.png")), testPicture());
    QCOMPARE(desktop_.messages.size(), size_t(1));
    expectMessage(desktop_.messages[0], "Save image", kSaved + path("spiral.png"),
                  Desktop::Icon::Information);

    save(QString());  // cancelled: nothing more is written or said
    QCOMPARE(desktop_.messages.size(), size_t(1));
    QCOMPARE(filesInDir(), QStringList{"spiral.png"});
  }

  void aNameWithoutExtensionIsThePngNameAndItsBitmapGetsBmpAppended() {
    QCOMPARE(interaction::bitmapNameFor(path("spiral")), path("spiral.bmp"));
    QCOMPARE(interaction::bitmapNameFor(path("SPIRAL.PNG")), path("SPIRAL.bmp"));
    save(path("spiral"));
    QCOMPARE(filesInDir(), QStringList{"spiral"});
    QCOMPARE(QImageReader(path("spiral")).format(), QByteArray("png"));
    QCOMPARE(desktop_.messages.back().text, kSaved + path("spiral"));
  }

  void aFailedConversionKeepsTheBitmapAndNamesIt() {
    save(path("spiral.png"), partialWritingConverter);
    QCOMPARE(filesInDir(), QStringList{"spiral.bmp"});  // the half-written PNG is gone
    QCOMPARE(readBack(path("spiral.bmp")), testPicture());
    expectMessage(desktop_.messages.back(), "Save image", kSavedInstead + path("spiral.bmp"),
                  Desktop::Icon::Information);

    writeFile(path("kept.png"), "the user's old picture");  // replacing it failed: it stays
    desktop_.answers = {Desktop::Answer::Yes};
    save(path("kept.png"), failingConverter);
    QCOMPARE(contentsOf(path("kept.png")), QByteArray("the user's old picture"));
  }

  void aBitmapThatCannotBeWrittenIsReportedWithItsName() {
    save(path("no such folder/spiral.png"));
    QCOMPARE(desktop_.messages.size(), size_t(1));
    QCOMPARE(desktop_.messages[0].title, QString("Save image"));
    QVERIFY(desktop_.messages[0].text.contains(path("no such folder/spiral.bmp")));
    QVERIFY(!desktop_.messages[0].text.contains("has been saved"));
  }

  void theUsersOwnBitmapBesideThePngSurvives() {
    writeFile(path("spiral.bmp"), "the user's own bitmap");
    QCOMPARE(interaction::bitmapNameFor(path("spiral.png")), path("spiral (2).bmp"));
    save(path("spiral.png"));
    QCOMPARE(filesInDir(), (QStringList{"spiral.bmp", "spiral.png"}));

    desktop_.answers = {Desktop::Answer::Yes};
    save(path("spiral.png"), failingConverter);
    QCOMPARE(desktop_.messages.back().text, kSavedInstead + path("spiral (2).bmp"));
    QCOMPARE(contentsOf(path("spiral.bmp")), QByteArray("the user's own bitmap"));
    QVERIFY(QFile::exists(path("spiral (2).bmp")));
  }

  void replacingAnExistingPngIsAskedFirst() {
    writeFile(path("spiral.png"), "old picture");
    desktop_.answers = {Desktop::Answer::No};
    save(path("spiral.png"));
    QCOMPARE(desktop_.messages.size(), size_t(1));
    QCOMPARE(desktop_.messages[0].buttons, Desktop::Buttons::YesNo);
    QVERIFY(desktop_.messages[0].text.contains(path("spiral.png")));
    QCOMPARE(contentsOf(path("spiral.png")), QByteArray("old picture"));
    QCOMPARE(filesInDir(), QStringList{"spiral.png"});

    desktop_.answers = {Desktop::Answer::Yes};
    save(path("spiral.png"));
    QCOMPARE(desktop_.messages.back().text, kSaved + path("spiral.png"));
    QCOMPARE(readBack(path("spiral.png")), testPicture());
  }

  void convertingGarbageFailsWithAMessageOfTheReturnedLength() {
    writeFile(path("garbage.bmp"), QByteArray(300, '\x5a'));
    char buffer[400];
    std::memset(buffer, '#', sizeof buffer);
    const int32_t length = convert_graphics_file_3(QFile::encodeName(path("garbage.bmp")).constData(),
                                                   QFile::encodeName(path("out.png")).constData(),
                                                   buffer);
    QVERIFY(length > 0 && length <= interaction::kConversionMessageCapacity);
    QCOMPARE(std::strlen(buffer), size_t(length));
    QVERIFY(QByteArray(buffer) != "No Error");
    QCOMPARE(buffer[interaction::kConversionMessageCapacity + 1], '#');  // nothing beyond the buffer

    QString message;
    QVERIFY(!interaction::ConvertGraphicsFile(path("garbage.bmp"), path("out.png"), true, true,
                                              message));
    QCOMPARE(message, QString::fromLocal8Bit(buffer));
    QCOMPARE(filesInDir(), QStringList{"garbage.bmp"});  // a failed source is never deleted
  }

  void theLinksNameTheMakersPages() {
    QCOMPARE(interaction::OnlineDocumentationToolTip(),
             QString("Click here for the online user manual at "
                     "http://corvanel-works.example/spl/spl.htm."));
    QCOMPARE(interaction::CorvanelWorksToolTip(),
             QString("Click here for the Corvanel Works website at http://corvanel-works.example/."));
    QCOMPARE(interaction::GetFileExtension("C:\\pics.old\\Spiral.PNG", false), QString("PNG"));
    QCOMPARE(interaction::GetFileExtension("C:\\pics.old\\Spiral.PNG", true), QString("png"));
    QCOMPARE(interaction::GetFileExtension("C:\\pics.old\\spiral", true), QString());

    interaction::LaunchWebBrowser(desktop_, nullptr, interaction::kDocumentationAddress);
    QCOMPARE(desktop_.openedUrls, QStringList{"http://corvanel-works.example/spl/spl.htm"});
    QVERIFY(desktop_.messages.empty());  // the browser has started
  }

  void theMainWindowsLinkLabelsOpenTheirPages() {
    MainWindowHarness h;
    frmMain& w = h.start();
    QCOMPARE(w.lblOnlineDocumentation->toolTip(), interaction::OnlineDocumentationToolTip());
    QCOMPARE(w.lblCorvanelWorks->toolTip(), interaction::CorvanelWorksToolTip());
    for (QLabel* label : {w.lblOnlineDocumentation, w.lblCorvanelWorks}) {
      QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::blue));
      QVERIFY(label->font().underline());
      QCOMPARE(label->cursor().shape(), Qt::PointingHandCursor);
    }

    QTest::mouseClick(w.lblOnlineDocumentation, Qt::LeftButton);
    QTest::mouseClick(w.lblCorvanelWorks, Qt::LeftButton);
    QTest::mouseClick(w.lblCorvanelWorks, Qt::RightButton);
    QCOMPARE(h.desktop.openedUrls, (QStringList{"http://corvanel-works.example/spl/spl.htm",
                                                "http://corvanel-works.example/"}));
    QVERIFY(h.desktop.messages.empty());

    h.desktop.openUrlResult = 31;
    QTest::mouseClick(w.lblOnlineDocumentation, Qt::LeftButton);
    QCOMPARE(h.desktop.messages.size(), size_t(1));
    expectMessage(h.desktop.messages[0], "Cannot launch web browser",
                  "Error launching web browser, error code = 31.\r\n\r\nFile extension 'htm' is not "
                  "associated with any application program.",
                  Desktop::Icon::Exclamation);
  }

  void aFailedLaunchIsExplained_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    const QString first = "Error launching web browser, error code = %1.";
    QTest::newRow("no association")
        << 31
        << first.arg(31) + "\r\n\r\nFile extension 'htm' is not associated with any application program.";
    QTest::newRow("access denied") << 5 << first.arg(5);
    QTest::newRow("out of memory") << 8 << first.arg(8) + "\r\n\r\nOut of memory.";
    QTest::newRow("not found") << 2 << first.arg(2) + "\r\n\r\nPlease try once more.";
    QTest::newRow("highest error") << 32 << first.arg(32);
  }

  void aFailedLaunchIsExplained() {
    QFETCH(int, code);
    QFETCH(QString, text);
    desktop_.openUrlResult = code;
    interaction::LaunchWebBrowser(desktop_, nullptr, interaction::kDocumentationAddress);
    QCOMPARE(desktop_.messages.size(), size_t(1));
    expectMessage(desktop_.messages[0], "Cannot launch web browser", text,
                  Desktop::Icon::Exclamation);
  }
};

QTEST_MAIN(TestInteraction)
#include "test_interaction.moc"
