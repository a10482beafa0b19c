// Saving the picture (bitmap, conversion to PNG, the messages) and the web links.
#include <cstring>

#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <QtTest>

#include "RecordingDesktop.h"
#include "interaction/GraphicsConversion.h"
#include "interaction/ImageSaving.h"
#include "interaction/WebLinks.h"

using platform::Desktop;

namespace {

// A picture with a few distinct colours, so that a read-back can tell pixels apart.
QImage testPicture() {
  QImage image(37, 29, QImage::Format_RGB32);
  image.fill(Qt::black);
  for (int x = 0; x < image.width(); ++x) image.setPixel(x, x % image.height(), qRgb(0, 0, 255));
  for (int y = 0; y < image.height(); ++y) image.setPixel(3, y, qRgb(255, 255, 0));
  image.setPixel(36, 28, qRgb(255, 255, 255));
  return image;
}

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
int32_t partialWritingConverter(const char*, const char* target, char* message) {
  QFile file(QFile::decodeName(target));
  if (file.open(QIODevice::WriteOnly)) file.write("\x89PNG half");
  std::strcpy(message, "Disk full");
  return static_cast<int32_t>(std::strlen(message));
}

}  // namespace

class TestInteraction : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  QString path(const QString& name) const { return dir_.filePath(name); }
  QStringList filesInDir() const { return QDir(dir_.path()).entryList(QDir::Files, QDir::Name); }

  void save(RecordingDesktop& desktop, const QString& name,
            interaction::GraphicsConverter converter = convert_graphics_file_3) {
    desktop.saveFileName = name;
    interaction::SaveImage(desktop, nullptr, testPicture(), converter);
  }

 private slots:
  void init() {
    QDir(dir_.path()).removeRecursively();
    QDir().mkpath(dir_.path());
  }

  // ---- saving ----

  void savingWritesThePngWithThePicturesPixelsAndRemovesTheBitmap() {
    RecordingDesktop desktop;
    save(desktop, path("spiral.png"));

    QCOMPARE(desktop.saveDialogs.size(), size_t(1));
    QCOMPARE(desktop.saveDialogs[0].title, QString("Save image as"));
    QCOMPARE(desktop.saveDialogs[0].filter, QString("PNG graphics file (*.png)"));
    QCOMPARE(filesInDir(), QStringList{"spiral.png"});
    QImageReader reader(path("spiral.png"));
    QCOMPARE(reader.format(), QByteArray("png"));
    QCOMPARE(reader.read().convertToFormat(QImage::Format_RGB32), testPicture());

    QCOMPARE(desktop.messages.size(), size_t(1));
    QCOMPARE(desktop.messages[0].title, QString("Save image"));
    QCOMPARE(desktop.messages[0].text,
             "The image has been saved in the PNG file\r\n" + path("spiral.png"));
    QCOMPARE(desktop.messages[0].icon, Desktop::Icon::Information);
    QCOMPARE(desktop.messages[0].buttons, Desktop::Buttons::Ok);
  }

  void cancellingTheDialogSavesNothingAndSaysNothing() {
    RecordingDesktop desktop;
    save(desktop, QString());
    QVERIFY(desktop.messages.empty());
    QVERIFY(filesInDir().isEmpty());
  }

  void aNameWithoutExtensionIsThePngNameAndItsBitmapGetsBmpAppended() {
    RecordingDesktop desktop;
    QCOMPARE(interaction::bitmapNameFor(path("spiral")), path("spiral.bmp"));
    QCOMPARE(interaction::bitmapNameFor(path("SPIRAL.PNG")), path("SPIRAL.bmp"));

    save(desktop, path("spiral"));
    QCOMPARE(filesInDir(), QStringList{"spiral"});
    QCOMPARE(QImageReader(path("spiral")).format(), QByteArray("png"));
    QCOMPARE(desktop.messages.back().text,
             "The image has been saved in the PNG file\r\n" + path("spiral"));
  }

  void aFailedConversionKeepsTheBitmapAndNamesIt() {
    RecordingDesktop desktop;
    save(desktop, path("spiral.png"), failingConverter);

    QCOMPARE(filesInDir(), QStringList{"spiral.bmp"});
    QCOMPARE(QImage(path("spiral.bmp")).convertToFormat(QImage::Format_RGB32), testPicture());
    QCOMPARE(desktop.messages.size(), size_t(1));
    QCOMPARE(desktop.messages[0].title, QString("Save image"));
    QCOMPARE(desktop.messages[0].text,
             "Save error.  The image has been saved instead in the BMP file\r\n" +
                 path("spiral.bmp"));
    QCOMPARE(desktop.messages[0].icon, Desktop::Icon::Information);
  }

  void aFailedConversionRemovesItsPartialPngButNeverTheUsersOldOne() {
    RecordingDesktop desktop;
    save(desktop, path("new.png"), partialWritingConverter);
    QCOMPARE(filesInDir(), QStringList{"new.bmp"});

    writeFile(path("kept.png"), "the user's old picture");
    desktop.answers = {Desktop::Answer::Yes};
    save(desktop, path("kept.png"), failingConverter);
    QCOMPARE(contentsOf(path("kept.png")), QByteArray("the user's old picture"));
  }

  void aBitmapThatCannotBeWrittenIsReportedWithItsName() {
    RecordingDesktop desktop;
    const QString png = path("no such folder/spiral.png");
    save(desktop, png);

    QCOMPARE(desktop.messages.size(), size_t(1));
    QCOMPARE(desktop.messages[0].title, QString("Save image"));
    QVERIFY2(desktop.messages[0].text.contains(path("no such folder/spiral.bmp")),
             qPrintable(desktop.messages[0].text));
    QVERIFY(!desktop.messages[0].text.contains("has been saved"));
    QVERIFY(filesInDir().isEmpty());
  }

  void theUsersOwnBitmapBesideThePngSurvives() {
    RecordingDesktop desktop;
    writeFile(path("spiral.bmp"), "the user's own bitmap");
    QCOMPARE(interaction::bitmapNameFor(path("spiral.png")), path("spiral (2).bmp"));

    save(desktop, path("spiral.png"));
    QCOMPARE(filesInDir(), (QStringList{"spiral.bmp", "spiral.png"}));
    QCOMPARE(contentsOf(path("spiral.bmp")), QByteArray("the user's own bitmap"));

    save(desktop, path("other.png"), failingConverter);  // no clash: other.bmp is free
    desktop.answers = {Desktop::Answer::Yes};
    save(desktop, path("spiral.png"), failingConverter);
    QCOMPARE(desktop.messages.back().text,
             "Save error.  The image has been saved instead in the BMP file\r\n" +
                 path("spiral (2).bmp"));
    QCOMPARE(contentsOf(path("spiral.bmp")), QByteArray("the user's own bitmap"));
    QVERIFY(QFile::exists(path("spiral (2).bmp")));
  }

  void replacingAnExistingPngIsAskedFirst() {
    RecordingDesktop desktop;
    writeFile(path("spiral.png"), "old picture");

    desktop.answers = {Desktop::Answer::No};
    save(desktop, path("spiral.png"));
    QCOMPARE(desktop.messages.size(), size_t(1));
    QCOMPARE(desktop.messages[0].buttons, Desktop::Buttons::YesNo);
    QVERIFY(desktop.messages[0].text.contains(path("spiral.png")));
    QCOMPARE(contentsOf(path("spiral.png")), QByteArray("old picture"));
    QCOMPARE(filesInDir(), QStringList{"spiral.png"});

    desktop.answers = {Desktop::Answer::Yes};
    save(desktop, path("spiral.png"));
    QCOMPARE(desktop.messages.size(), size_t(3));
    QCOMPARE(desktop.messages[2].text,
             "The image has been saved in the PNG file\r\n" + path("spiral.png"));
    QCOMPARE(QImage(path("spiral.png")).convertToFormat(QImage::Format_RGB32), testPicture());
  }

  void convertingGarbageFailsWithAMessageOfTheReturnedLength() {
    writeFile(path("garbage.bmp"), QByteArray(300, '\x5a'));
    char buffer[400];
    std::memset(buffer, '#', sizeof buffer);
    const int32_t length = convert_graphics_file_3(QFile::encodeName(path("garbage.bmp")).constData(),
                                                   QFile::encodeName(path("out.png")).constData(),
                                                   buffer);
    QVERIFY(length > 0);
    QVERIFY(length <= interaction::kConversionMessageCapacity);
    QCOMPARE(std::strlen(buffer), size_t(length));
    QVERIFY(QByteArray(buffer) != "No Error");
    QCOMPARE(buffer[interaction::kConversionMessageCapacity + 1], '#');  // nothing beyond the buffer
    QVERIFY(!QFile::exists(path("out.png")));

    QString message;
    QVERIFY(!interaction::ConvertGraphicsFile(path("garbage.bmp"), path("out.png"), true, true,
                                              message));
    QCOMPARE(message, QString::fromLocal8Bit(buffer));
    QVERIFY(QFile::exists(path("garbage.bmp")));  // a failed source is never deleted
  }

  void convertingAMissingFileFails() {
    QString message;
    QVERIFY(!interaction::ConvertGraphicsFile(path("missing.bmp"), path("out.png"), true, true,
                                              message));
    QVERIFY(!message.isEmpty());
    QVERIFY(message != "No Error");
    QVERIFY(!QFile::exists(path("out.png")));
  }

  // ---- web links ----

  void theAddressesLieOnTheMakersSite() {
    QCOMPARE(interaction::kDocumentationAddress,
             QString("http://corvanel-works.example/spl/spl.htm"));
    QCOMPARE(interaction::kHomePageAddress, QString("http://corvanel-works.example/"));
    QCOMPARE(interaction::OnlineDocumentationToolTip(),
             QString("Click here for the online user manual at "
                     "http://corvanel-works.example/spl/spl.htm."));
    QCOMPARE(interaction::CorvanelWorksToolTip(),
             QString("Click here for the Corvanel Works website at "
                     "http://corvanel-works.example/."));
  }

  void theExtensionFollowsTheLastDotOfTheLastName() {
    QCOMPARE(interaction::GetFileExtension("C:\\pics.old\\Spiral.PNG", false), QString("PNG"));
    QCOMPARE(interaction::GetFileExtension("C:\\pics.old\\Spiral.PNG", true), QString("png"));
    QCOMPARE(interaction::GetFileExtension("C:\\pics.old\\spiral", true), QString());
    QCOMPARE(interaction::GetFileExtension("archive.tar.gz", true), QString("gz"));
    QCOMPARE(interaction::GetFileExtension(interaction::kDocumentationAddress, true),
             QString("htm"));
  }

  void aStartedBrowserSaysNothing() {
    RecordingDesktop desktop;
    interaction::LaunchWebBrowser(desktop, nullptr, interaction::kDocumentationAddress);
    QCOMPARE(desktop.openedUrls, QStringList{interaction::kDocumentationAddress});
    QVERIFY(desktop.messages.empty());
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
    QTest::newRow("zero") << 0 << first.arg(0);
    QTest::newRow("highest error") << 32 << first.arg(32);
  }

  void aFailedLaunchIsExplained() {
    QFETCH(int, code);
    QFETCH(QString, text);
    RecordingDesktop desktop;
    desktop.openUrlResult = code;
    interaction::LaunchWebBrowser(desktop, nullptr, interaction::kDocumentationAddress);
    QCOMPARE(desktop.messages.size(), size_t(1));
    QCOMPARE(desktop.messages[0].title, QString("Cannot launch web browser"));
    QCOMPARE(desktop.messages[0].text, text);
    QCOMPARE(desktop.messages[0].icon, Desktop::Icon::Exclamation);
    QCOMPARE(desktop.messages[0].buttons, Desktop::Buttons::Ok);
  }
};

QTEST_MAIN(TestInteraction)
#include "test_interaction.moc"
