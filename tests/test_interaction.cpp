// What the user does with the picture and the pages: clicks on the picture of the main window (the
// number a left click reports, the inspector's tooltip, Ctrl+C, the right click's offer to save),
// saving the picture (bitmap, conversion to PNG, the messages), the web links, the other-software
// window (the scrolling list, the clicks that open pages and their messages), and the real
// desktop's message box, answered from inside its modal loop. Which cell a pixel belongs to is the
// geometry's rule, tested there; here the window's use of it.
#include <algorithm>
#include <cstring>
#include <limits>

#include "MainWindowHarness.h"
#include "PictureImage.h"
#include "Rows.h"
#include "ShortDisk.h"
#include "app/SpiralView.h"
#include "interaction/GraphicsConversion.h"
#include "interaction/ImageSaving.h"
#include "interaction/WebLinks.h"
#include "texts/WordTable.h"

using platform::Desktop;

namespace {

// List indices of the box sizes and number classes used here.
constexpr int kThreePixels = 1, kSevenPixels = 3, kPrimes = 0, kAllNumbers = 4;

const QString kSaved = "The image has been saved in the PNG file\r\n";
const QString kSavedInstead = "Save error.  The image has been saved instead in the BMP file\r\n";
const QString kNotWritten = "Save error.  The image could not be written to the file\r\n";
const QByteArray kUsersBytes = "the user's own file";

// The system's words for `error`, as a message ends with them.
QString reason(int error) { return systemReason(error) + u'.'; }

// A picture of noise: a read-back tells its pixels apart, and even its PNG file takes several pages.
QImage testPicture() {
  QImage image(64, 64, QImage::Format_RGB32);
  QRandomGenerator noise(9);
  for (int i = 0; i < 64 * 64; ++i) image.setPixel(i % 64, i / 64, noise.generate() | 0xFF000000u);
  return image;
}

// Fails after leaving half a file where the PNG should go.
int32_t failingConverter(const char*, const char* target, char* message) {
  QFile file(QFile::decodeName(target));
  if (file.open(QIODevice::WriteOnly)) file.write("\x89PNG half");
  return static_cast<int32_t>(std::strlen(std::strcpy(message, "Conversion failed")));
}

struct Saving {
  const char* name;
  QString fileName;
  bool conversionFails;
  QString usersFile;
  QStringList filesLeft;
  QString pictureIn, told;
};

struct Shortage { const char* name; ShortDisk::Kind kind; bool replacing; };  // replacing the user's file

struct CatalogueWindow {
  CatalogueWindow() : window(desktop) { mainWindow.show(); }

  // Opens the window modally, runs `whileShown` inside, then presses Close.
  void open(const std::function<void()>& whileShown) {
    closeWhenShown<frmCWsoftware>([&](frmCWsoftware&) { whileShown(); });
    window.showModal(&mainWindow);
  }

  QScrollBar* scrollBar() const { return window.findChild<QScrollBar*>("VScroll"); }
  QLabel* title(int row) const { return window.findChild<QLabel*>(QString("lblTitle%1").arg(row)); }
  QLabel* description(int row) const { return window.findChild<QLabel*>(QString("lblDescription%1").arg(row)); }
  bool titleIsRed(int row) const { return title(row)->palette().color(QPalette::WindowText) == Qt::red; }
  static void click(QLabel* label) { QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(2, 2)); }

  RecordingDesktop desktop;
  QWidget mainWindow;
  frmCWsoftware window;
};

}  // namespace

class TestInteraction : public QObject {
  Q_OBJECT

  std::unique_ptr<MainWindowHarness> harness;

  // A fresh window with a spiral of 7-pixel cells (or another list index) drawn from `start`.
  frmMain& drawn(int showIndex, bool squares, const QString& start, int boxSizeIndex = kSevenPixels) {
    harness = std::make_unique<MainWindowHarness>();
    frmMain& w = harness->start();
    w.txbStartNumber->setText(start);
    (squares ? w.optSquares : w.optCircles)->setChecked(true);
    w.cboShow->setCurrentIndex(showIndex);
    w.cboBoxSize->setCurrentIndex(boxSizeIndex);
    w.cmdDraw->click();
    return w;
  }

  // The titles of the messages that a release of `button` at (x, y) in picture pixels brings up:
  // a real click of the mouse, or for points the mouse cannot be sent to, a direct call.
  QStringList titlesAfter(double x, double y, Qt::MouseButton button = Qt::LeftButton, bool byMouse = false) {
    return titlesAfter([&] {
      if (byMouse) {
        const QPoint p(static_cast<int>(x) + SpiralView::kBorder, static_cast<int>(y) + SpiralView::kBorder);
        QTest::mouseClick(harness->window().picSpiral, button, {}, p);
      } else {
        harness->window().picSpiral_MouseUp(button, x, y);
      }
    });
  }
  QStringList titlesAfterCtrlS() { return titlesAfter([&] { press(harness->window(), Qt::Key_S, Qt::ControlModifier); }); }
  QStringList titlesAfter(const std::function<void()>& action) {
    const size_t before = harness->desktop.messages.size();
    action();
    QStringList titles;
    for (size_t i = before; i < harness->desktop.messages.size(); ++i) titles << harness->desktop.messages[i].title;
    return titles;
  }

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
  void cleanup() { harness.reset(); }

  // A click reports the number of the cell drawn there, and the inspector's tooltip comes from the
  // same cell. Points beside the drawn cells report nothing.
  void theCellsReportTheirNumbersAndPointsBesideThemNothing() {
    frmMain& w = drawn(kAllNumbers, true, "1");
    const int x = w.lastPass.geometry.centerX, y = w.lastPass.geometry.centerY, s = w.intBoxSize();
    const std::tuple<int, int, const char*, const char*> cells[] = {
        {x + s, y, "2", "2: prime\nRing 2"}, {x + s, y - s, "3", "3: prime\nRing 2"}, {x, y - s, "4", "4 = 2^2\nRing 2"},
        {x + s, y + s, "9", "9 = 3^2\nRing 2"}, {x, y, "1", "1\nRing 1"}};
    for (const auto& [px, py, title, tip] : cells) {
      QCOMPARE(titlesAfter(px, py, Qt::LeftButton, true), QStringList{title});
      QCOMPARE(w.numberTipAt(px, py), QString(tip));
    }
    language::intLanguage = language::kGerman;
    QCOMPARE(w.numberTipAt(x + s, y), QString("2: Primzahl\nRing 2"));
    language::intLanguage = language::kEnglish;

    w.txbStartNumber->setText("1000");  // edited, not drawn
    QCOMPARE(titlesAfter(x + s, y), QStringList{"2"});
    // Refused for its end number: the picture of 1 stays, and so do its numbers.
    w.txbStartNumber->setText("2147480000");
    QTest::keyClick(w.txbStartNumber, Qt::Key_Return);
    QCOMPARE(harness->desktop.messages.back().text, QString("End number would be greater than 2^31 - 2 = 2147483646."));
    QVERIFY(w.blnEndNumberTooLarge);
    QCOMPARE(w.lngStartNumber(), qint64(2147480000));  // the refused request's, as the pass left it
    QCOMPARE(titlesAfter(x + s, y, Qt::LeftButton, true), QStringList{"2"});
    QCOMPARE(w.numberTipAt(x + s, y), QString("2: prime\nRing 2"));
    w.txbStartNumber->setText("1000");
    w.cmdDraw->click();
    QCOMPARE(titlesAfter(x, y), QStringList{"1,000"});
    QCOMPARE(titlesAfter(x + s, y), QStringList{"1,001"});
    QCOMPARE(w.numberTipAt(x + s, y), QString("1,001 = 7 \u00D7 11 \u00D7 13\nRing 2"));
    w.txbStartNumber->setText("2147478022");  // the last number drawn is the largest there is
    w.cmdDraw->click();
    QCOMPARE(titlesAfter(x + 37 * s, y + 37 * s), QStringList{"2,147,483,646"});
    QCOMPARE(w.numberTipAt(x + 37 * s, y + 37 * s),
             QString("2,147,483,646 = 2 \u00D7 3^2 \u00D7 7 \u00D7 11 \u00D7 31 \u00D7 151 \u00D7 331\nRing 38"));

    const double far = 1e15, infinity = std::numeric_limits<double>::infinity();
    for (QPointF p : {QPointF(-3, 261), QPointF(523, 261), QPointF(far, far), QPointF(-far, 261),
                      QPointF(infinity, 0)})
      QCOMPARE(titlesAfter(p.x(), p.y()), QStringList());
    drawn(kAllNumbers, true, "1", kThreePixels);  // 174 cells a side: one ring is incomplete
    QCOMPARE(titlesAfter(1, 1), QStringList());   // its empty upper left corner
  }

  // Only shown numbers report: over the widget, after the pointer's rest, and by a click, in circles
  // and in squares; the corner of the centre's circle, around the prime 5, is background.
  void numbersNotShownReportNothing() {
    frmMain& w = drawn(kPrimes, false, "5");
    const int x = w.lastPass.geometry.centerX, y = w.lastPass.geometry.centerY, s = w.intBoxSize();
    const auto tipOver = [&](int px, int py) {
      const QPoint at(px + SpiralView::kBorder, py + SpiralView::kBorder);
      QHelpEvent rest(QEvent::ToolTip, at, w.picSpiral->mapToGlobal(at));
      QApplication::sendEvent(w.picSpiral, &rest);
      return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    QCOMPARE(tipOver(x + s, y), QString());  // 6 is not prime
    QCOMPARE(titlesAfter(x + s, y, Qt::LeftButton, true), QStringList());
    QCOMPARE(tipOver(x, y), QString("5: prime\nRing 1"));
    QCOMPARE(titlesAfter(x, y, Qt::LeftButton, true), QStringList{"5"});
    QVERIFY(!w.picture.isMarked(x + 3, y - 3));
    QCOMPARE(titlesAfter(x + 3, y - 3), QStringList());
    drawn(kPrimes, true, "5");  // as squares, 6 is background all the same
    QCOMPARE(titlesAfter(x + s, y), QStringList());
  }

  void aClickBeforeTheFirstSpiralReportsNothing() {
    MainWindowHarness h;
    frmMain w(h.desktop);  // no start-up: no cells yet
    language::BuildWordTable();
    w.FillColorAndShowLists();
    w.cboShow->setCurrentIndex(kAllNumbers);
    w.optSquares->setChecked(true);
    w.picSpiral_MouseUp(Qt::LeftButton, 261, 261);
    QVERIFY(h.desktop.messages.empty());
  }

  // Ctrl+C copies the selected start-number text, or else exactly the picture's pixels.
  void ctrlCCopiesTheSelectionOrThePicture() {
    frmMain& w = drawn(kPrimes, false, "1234");
    w.txbStartNumber->setSelection(1, 2);
    QTest::keyClick(w.txbStartNumber, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QString("23"));
    w.txbStartNumber->deselect();
    QTest::keyClick(w.txbStartNumber, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
             spiral::imageOf(w.picture).convertToFormat(QImage::Format_RGB32));
  }

  // The right click and Ctrl+S ask whether to save, except while an animation runs; paused, they ask.
  void theRightButtonOffersToSaveUnlessAnAnimationRuns() {
    frmMain& w = drawn(kPrimes, true, "1");  // primes: the spiral buttons are offered
    QTemporaryDir folder;
    animate(w, w.cmdSpiralIn, [&] {
      w.ClkClock_Timer();
      QCOMPARE(titlesAfter(10, 10, Qt::RightButton, true), QStringList());
      QCOMPARE(titlesAfterCtrlS(), QStringList());
      QTest::mouseClick(w.cmdPauseButton, Qt::LeftButton);
      QCOMPARE(titlesAfter(10, 10, Qt::RightButton, true), QStringList{"Save image?"});
      QCOMPARE(titlesAfterCtrlS(), QStringList{"Save image?"});
      QCOMPARE(harness->desktop.saveDialogsShown, 0);  // No
      harness->desktop.answers = {platform::Desktop::Answer::Yes};
      harness->desktop.saveFileName = folder.filePath("spiral.png");
      QCOMPARE(titlesAfter(10, 10, Qt::RightButton, true), (QStringList{"Save image?", "Save image"}));
      QCOMPARE(QImage(harness->desktop.saveFileName).convertToFormat(QImage::Format_RGB32), spiral::imageOf(w.picture));
    });
    QCOMPARE(titlesAfter(10, 10, Qt::RightButton, true), QStringList{"Save image?"});  // the run over
    // Ctrl+S typed in the start-number box: the same question, and on Yes the Save As dialog.
    QCOMPARE(w.focusWidget(), w.txbStartNumber);
    QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
    const int dialogsBefore = harness->desktop.saveDialogsShown;
    harness->desktop.answers = {platform::Desktop::Answer::Yes};
    harness->desktop.saveFileName.clear();  // Cancel
    QCOMPARE(titlesAfterCtrlS(), QStringList{"Save image?"});
    QCOMPARE(harness->desktop.messages.back().text, QString("Do you wish to save this image?"));
    QCOMPARE(harness->desktop.saveDialogsShown, dialogsBefore + 1);
  }

  // File names are relative to an empty folder; "%1" in the message stands for that folder. The
  // user's file, when there is one, lies there before saving and must come out unchanged;
  // `pictureIn` is the file that must hold the picture (none when nothing was written).
  void saving_data() {
    const QString longest(255, u'a');  // the bitmap's name is cut short to fit beside it
    addRows<Saving>({
        {"png", "spiral.png", false, "", {"spiral.png"}, "spiral.png", kSaved + "%1/spiral.png"},
        {"no extension", "spiral", false, "", {"spiral"}, "spiral", kSaved + "%1/spiral"},
        {"conversion fails", "spiral", true, "", {"spiral.bmp"}, "spiral.bmp", kSavedInstead + "%1/spiral.bmp"},
        {"user's bitmap beside", "spiral.png", true, "spiral.bmp", {"spiral (2).bmp", "spiral.bmp"},
         "spiral (2).bmp", kSavedInstead + "%1/spiral (2).bmp"},
        {"png exists", "spiral.png", false, "spiral.png", {"spiral.png"}, "",
         "%1/spiral.png already exists.\r\nDo you want to replace it?"},
        {"unwritable folder", "no such folder/spiral.png", false, "", {}, "",
         kNotWritten + "%1/no such folder/spiral.bmp\r\n\r\n" + reason(ENOENT)},
        {"name of a folder", ".", false, "", {}, "", kNotWritten + "%1/.\r\n\r\n" + reason(EISDIR)},
        {"longest name", longest, false, "", {longest}, longest, kSaved + "%1/" + longest}});
  }
  void saving() {
    QFETCH(Saving, row);
    QTemporaryDir dir;
    if (!row.usersFile.isEmpty()) QVERIFY(writeFile(dir.filePath(row.usersFile), kUsersBytes));
    RecordingDesktop desktop;  // answers No to every question
    desktop.saveFileName = dir.filePath(row.fileName);
    interaction::SaveImage(desktop, nullptr, testPicture(),
                           row.conversionFails ? failingConverter : convert_graphics_file_3);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files, QDir::Name), row.filesLeft);
    if (!row.usersFile.isEmpty()) QCOMPARE(contentsOf(dir.filePath(row.usersFile)), kUsersBytes);
    if (!row.pictureIn.isEmpty()) {
      QCOMPARE(QImageReader(dir.filePath(row.pictureIn)).format(), QByteArray(row.conversionFails ? "bmp" : "png"));
      QCOMPARE(QImage(dir.filePath(row.pictureIn)).convertToFormat(QImage::Format_RGB32), testPicture());
    }
    QCOMPARE(desktop.messages.size(), size_t(1));
    QCOMPARE(desktop.messages[0].title, QString("Save image"));
    QCOMPARE(desktop.messages[0].text, row.told.arg(dir.path()));
    QCOMPARE(desktop.messages[0].buttons, row.told.endsWith('?') ? Desktop::Buttons::YesNo : Desktop::Buttons::Ok);
  }

  void fullDiskNeverCostsTheUsersFile_data() {
    addRows<Shortage>({{"small tmpfs, replacing", ShortDisk::Kind::FreeSpace, true},
                       {"small tmpfs, new name", ShortDisk::Kind::FreeSpace, false},
                       {"file-size limit, replacing", ShortDisk::Kind::FileSizeLimit, true}});
  }
  // The disk runs out while the picture is saved, with ever more room: first nothing fits (the
  // bitmap fails and is gone), then the bitmap but not the PNG file (the picture is told to be in
  // the bitmap), then both. The user's older PNG file stays as it was until a new one is whole,
  // and no part of a file is left behind.
  void fullDiskNeverCostsTheUsersFile() {
    QFETCH(Shortage, row);
    const bool replacing = row.replacing;
    const int error = row.kind == ShortDisk::Kind::FreeSpace ? ENOSPC : EFBIG;
    ShortDisk disk(row.kind, 256 * 1024);
    if (!disk.available()) QSKIP("no tmpfs can be mounted here");
    const QImage picture = testPicture();
    const QString png = disk.filePath("pic.png"), bmp = disk.filePath("pic.bmp");
    enum Outcome { Nothing, Bitmap, Png };
    const QString told[] = {kNotWritten + bmp + "\r\n\r\n" + reason(error), kSavedInstead + bmp, kSaved + png};
    const QStringList named[] = {{"pic.png"}, {"pic.bmp", "pic.png"}, {"pic.png"}};
    int outcome = Nothing;
    for (qint64 room = 0; outcome != Png && room < 64 * ShortDisk::kPage; room += ShortDisk::kPage) {
      QFile::remove(bmp);
      QFile::remove(png);
      if (replacing) QVERIFY(writeFile(png, kUsersBytes));
      RecordingDesktop desktop;
      desktop.saveFileName = png;
      desktop.answers = {Desktop::Answer::Yes};
      QVERIFY(disk.runWith(room, [&] { interaction::SaveImage(desktop, nullptr, picture); }));
      const int before = outcome;
      outcome = int(std::find(std::begin(told), std::end(told), desktop.messages.back().text) - told);
      QVERIFY2(outcome <= Png && outcome >= before, qPrintable(desktop.messages.back().text));
      QStringList expected = named[outcome];
      if (!replacing && outcome != Png) expected.removeOne("pic.png");
      QCOMPARE(disk.names(), expected);
      if (outcome == Bitmap) QCOMPARE(QImage(bmp), picture);
      if (outcome == Png) QCOMPARE(QImage(png).convertToFormat(QImage::Format_RGB32), picture);
      if (outcome != Png && replacing) QCOMPARE(contentsOf(png), kUsersBytes);
    }
    QCOMPARE(outcome, int(Png));
  }

  void convertingGarbageFailsWithAMessageOfTheReturnedLength() {
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("garbage.bmp"), QByteArray(300, '\x5a')));
    QByteArray buffer(400, '#');
    const QByteArray source = QFile::encodeName(dir.filePath("garbage.bmp"));
    const QByteArray target = QFile::encodeName(dir.filePath("out.png"));
    const int32_t length = convert_graphics_file_3(source.constData(), target.constData(), buffer.data());
    QVERIFY(length > 0 && length <= interaction::kConversionMessageCapacity);
    QCOMPARE(std::strlen(buffer.constData()), size_t(length));
    QVERIFY(QByteArray(buffer.constData()) != interaction::kConversionSucceeded);
    QCOMPARE(buffer[interaction::kConversionMessageCapacity + 1], '#');  // nothing past the end
  }

  void theMainWindowsLinkLabelsOpenTheirPages() {
    MainWindowHarness h;
    frmMain& w = h.start();
    QTest::mouseClick(w.lblOnlineDocumentation, Qt::LeftButton);
    QTest::mouseClick(w.lblCorvanelWorks, Qt::LeftButton);
    QCOMPARE(h.desktop.openedUrls, (QStringList{"http://corvanel-works.example/spl/spl.htm",
                                                "http://corvanel-works.example/"}));
    QVERIFY(h.desktop.messages.empty());  // a failed launch is explained as below
  }

  // The shell's error code, and the hint the message adds for it; a page of the other-software
  // window has a hint of its own.
  void aFailedLaunchIsExplained() {
    const std::pair<int, QString> codes[] = {
        {31, "\r\n\r\nFile extension 'htm' is not associated with any application program."},
        {32, ""}, {8, "\r\n\r\nOut of memory."}, {2, "\r\n\r\nPlease try once more."}};
    for (const auto& [code, hint] : codes) {
      RecordingDesktop desktop;
      desktop.openUrlResult = code;
      interaction::LaunchWebBrowser(desktop, nullptr, interaction::kDocumentationAddress);
      QCOMPARE(desktop.messages.size(), size_t(1));
      QCOMPARE(desktop.messages[0].title, QString("Cannot launch web browser"));
      QCOMPARE(desktop.messages[0].text, QString("Error launching web browser, error code = %1.").arg(code) + hint);
      QCOMPARE(desktop.messages[0].icon, Desktop::Icon::Exclamation);
    }
    CatalogueWindow catalogue;
    catalogue.desktop.openUrlResult = 31;
    catalogue.window.RequestWebPage("http://corvanel-works.example/spl/spl.htm");
    QCOMPARE(catalogue.desktop.messages.size(), size_t(1));
    QCOMPARE(catalogue.desktop.messages[0].text,
             QString("Error launching web browser, error code = 31.\r\n\r\nThe web page file type "
                     "htm is not associated with any browser program."));
  }

  // Fifteen programs, three at a time: at the end of the scroll bar the rows hold the last three,
  // and the row below them is empty and ignores clicks. A clicked title opens its page and turns
  // red; the label stays red while the list scrolls, and the window opens again as it was left.
  void theListScrollsAndKeepsItsPlaceAndItsClickedTitle() {
    CatalogueWindow w;
    QString firstTitle;
    w.open([&] {
      QCOMPARE(w.scrollBar()->maximum(), 12);
      // The wheel turned down over a description scrolls the list.
      QWheelEvent notch(QPointF(5, 5), w.description(1)->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                        Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
      QApplication::sendEvent(w.description(1), &notch);
      QVERIFY(w.scrollBar()->value() > 0);
      QSet<QString> titles;
      for (int value = 0; value <= 12; ++value) {
        w.scrollBar()->setValue(value);
        titles << w.title(0)->text();
      }
      titles << w.title(1)->text() << w.title(2)->text();
      titles.remove(QString());
      QCOMPARE(titles.size(), 15);
      QVERIFY(w.title(3)->text().isEmpty());
      CatalogueWindow::click(w.title(3));
      CatalogueWindow::click(w.description(3));
      QVERIFY(w.desktop.openedUrls.isEmpty());
      w.scrollBar()->setValue(4);
      CatalogueWindow::click(w.title(1));
      QCOMPARE(w.desktop.openedUrls, QStringList{w.description(1)->text().section("\r\n", 1)});
      QVERIFY(w.titleIsRed(1) && !w.titleIsRed(0));
      w.scrollBar()->setValue(9);
      QVERIFY(w.titleIsRed(1));
      firstTitle = w.title(0)->text();
    });
    w.open([&] {
      QCOMPARE(w.scrollBar()->value(), 9);
      QCOMPARE(w.title(0)->text(), firstTitle);
      QVERIFY(w.titleIsRed(1));
    });
  }

  // The click report says everything in the title: the box is wide enough to show it.
  void aBoxWithoutTextShowsItsWholeTitleAndGivesTheAnswer() {
    int boxWidth = 0, titleWidth = 0;
    QTimer::singleShot(0, qApp, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      QVERIFY(box);
      boxWidth = box->width();
      titleWidth = box->fontMetrics().horizontalAdvance(box->windowTitle());
      box->button(QMessageBox::Yes)->click();
    });
    platform::QtDesktop desktop;
    QCOMPARE(desktop.showMessage(nullptr, "2,147,483,646", QString(), Desktop::Buttons::YesNo, Desktop::Icon::None),
             Desktop::Answer::Yes);
    QVERIFY(boxWidth > titleWidth + 100);
  }
};

QTEST_MAIN(TestInteraction)
#include "test_interaction.moc"
