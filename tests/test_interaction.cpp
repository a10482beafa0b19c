// What the user does with the picture and the pages: clicks on the picture of the main window (the
// number a left click reports, the inspector's tooltip and the rays it outlines, Ctrl+C, the right
// click's offer to save),
// saving the picture (bitmap, conversion to PNG, the messages), the web links, the other-software
// window (the scrolling list, the clicks that open pages and their messages), and the real
// desktop's message box, answered from inside its modal loop. Which cell a pixel belongs to is the
// geometry's rule, tested there; here the window's use of it.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "MainWindowHarness.h"
#include "PictureImage.h"
#include "Rows.h"
#include "TrialDivision.h"
#include "ShortDisk.h"
#include "SpiralView.h"
#include "GraphicsConversion.h"
#include "ImageSaving.h"
#include "NumberInspector.h"
#include "WebLinks.h"
#include "WordTable.h"

using platform::Desktop;

namespace {

// List indices of the box sizes and number classes used here.
constexpr int kThreePixels = 1, kSevenPixels = 3, kFifteenPixels = 4, kPrimes = 0, kAllNumbers = 4;

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

// The inspector's tooltip: its first two lines tell the number and its ring, one line follows for
// each ray through the cell.
QString numberLines(const QString& tip) { return tip.section(u'\n', 0, 1); }

// A language for the words and a desktop locale for the numbers' form.
void speak(int language) {
  language::intLanguage = language;
  QLocale::setDefault(language == language::kGerman ? QLocale(QLocale::German, QLocale::Germany)
                                                     : QLocale(QLocale::English, QLocale::UnitedStates));
}

// A ray's facts as the inspector's line states them: a ray of `cells` cells along `direction`,
// its numbers 4k^2 + bk + c.
struct RayLine { const char* name; int language; spiral::Compass direction; int64_t b, c, primes, cells; double expected, constant; QString line; };

struct Saving {
  const char* name; QString fileName; bool conversionFails; QString usersFile; QStringList filesLeft; QString pictureIn, told;
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
  // The tooltip shown when the pointer rests on the picture pixel (x, y); empty when none shows.
  QString tipAfterRestOn(int x, int y) {
    const QPoint at(x + SpiralView::kBorder, y + SpiralView::kBorder);
    QHelpEvent rest(QEvent::ToolTip, at, harness->window().picSpiral->mapToGlobal(at));
    QApplication::sendEvent(harness->window().picSpiral, &rest);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
  }

  // What the user learns of the picture pixel (x, y): the titles a click there brings up, then the
  // number's lines of the tooltip after the pointer's rest there.
  QString toldAt(int x, int y) {
    return titlesAfter(x, y, Qt::LeftButton, true).join("; ") + " | " + numberLines(tipAfterRestOn(x, y));
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

  // A click reports the number of the cell drawn there, black or not, and the inspector's tooltip
  // comes from the same cell. Points beside the drawn cells report nothing.
  void theCellsReportTheirNumbersAndPointsBesideThemNothing() {
    frmMain& w = drawn(kAllNumbers, true, "1");
    const int x = w.lastPass.geometry.centerX, y = w.lastPass.geometry.centerY, s = w.intBoxSize();
    const std::tuple<int, int, const char*> cells[] = {
        {x + s, y, "2 | 2: prime\nRing 2"}, {x + s, y - s, "3 | 3: prime\nRing 2"}, {x, y - s, "4 | 4 = 2^2\nRing 2"},
        {x + s, y + s, "9 | 9 = 3^2\nRing 2"}, {x, y, "1 | 1\nRing 1"}};
    for (const auto& [px, py, told] : cells) QCOMPARE(toldAt(px, py), QString(told));
    language::intLanguage = language::kGerman;
    QCOMPARE(numberLines(w.numberTipAt(x + s, y)), QString("2: Primzahl\nRing 2"));
    language::intLanguage = language::kEnglish;
    w.cboColorBy->setCurrentIndex(w.cboColorBy->findText("Veltra color"));  // 1 is a black square there
    QVERIFY(!w.picture.isMarked(x, y));
    QCOMPARE(titlesAfter(x, y), QStringList{"1"});

    w.txbStartNumber->setText("1000");  // edited, not drawn
    QCOMPARE(titlesAfter(x + s, y), QStringList{"2"});
    // Refused for its end number: the picture of 1 stays, and so do its numbers.
    w.txbStartNumber->setText("2147480000");
    QTest::keyClick(w.txbStartNumber, Qt::Key_Return);
    QVERIFY(w.blnEndNumberTooLarge);
    QCOMPARE(w.lngStartNumber(), qint64(2147480000));  // the refused request's, as the pass left it
    QCOMPARE(toldAt(x + s, y), QString("2 | 2: prime\nRing 2"));
    w.txbStartNumber->setText("1000");
    w.cmdDraw->click();
    QCOMPARE(toldAt(x, y), QString("1,000 | 1,000 = 2^3 \u00D7 5^3\nRing 1"));
    QCOMPARE(toldAt(x + s, y), QString("1,001 | 1,001 = 7 \u00D7 11 \u00D7 13\nRing 2"));
    w.txbStartNumber->setText("2147478022");  // the last number drawn is the largest there is
    w.cmdDraw->click();
    QCOMPARE(toldAt(x + 37 * s, y + 37 * s),
             QString("2,147,483,646 | 2,147,483,646 = 2 \u00D7 3^2 \u00D7 7 \u00D7 11 \u00D7 31 \u00D7 151 \u00D7 331\nRing 38"));

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
    QCOMPARE(toldAt(x + s, y), QString(" | "));  // 6 is not prime
    QCOMPARE(toldAt(x, y), QString("5 | 5: prime\nRing 1"));
    QVERIFY(!w.picture.isMarked(x + 3, y - 3));
    QCOMPARE(titlesAfter(x + 3, y - 3), QStringList());
    drawn(kPrimes, true, "5");  // as squares, 6 is background all the same
    QCOMPARE(titlesAfter(x + s, y), QStringList());
  }

  // A ray's line: its direction and quadratic, then its primes, cells, expected primes and A, in the
  // language's words and the locale's form of numbers. A term of 0 is left out, a 1 before k too.
  // (The English lines of Euler's ray and of a -k the tooltip's test below reads.)
  void aRayIsToldInOneLine_data() {
    using spiral::Compass;
    constexpr int en = language::kEnglish, de = language::kGerman;
    addRows<RayLine>({
        {"Euler's in German", de, Compass::NE, -2, 41, 18, 18, 22.51, 6.6395,
         "NO 4k\u00B2 \u2212 2k + 41: 18 Primzahlen in 18 Zellen, erwartet 22,5 (A = 6,64)"},
        {"no k, one prime", en, Compass::NW, 0, 7, 1, 3, 0.94, 0.5, "NW 4k\u00B2 + 7: 1 prime in 3 cells, expected 0.9 (A = 0.50)"},
        {"one prime in German", de, Compass::SE, 4, 3, 1, 3, 1.25, 1.5,
         "SO 4k\u00B2 + 4k + 3: 1 Primzahl in 3 Zellen, erwartet 1,3 (A = 1,50)"},
        {"+k, no constant", en, Compass::W, 1, 0, 0, 5, 0, 0, "W 4k\u00B2 + k: 0 primes in 5 cells, expected 0.0 (A = 0.00)"},
        {"grouped", en, Compass::E, -3, 2147210118, 1234, 261600, 1234.56, 3.2151,
         "E 4k\u00B2 \u2212 3k + 2,147,210,118: 1,234 primes in 261,600 cells, expected 1,234.6 (A = 3.22)"},
        {"negative constant, German", de, Compass::E, 3, -1234567, 2, 3, 0.5, 1.0,
         "O 4k\u00B2 + 3k \u2212 1.234.567: 2 Primzahlen in 3 Zellen, erwartet 0,5 (A = 1,00)"},
    });
  }
  void aRayIsToldInOneLine() {
    QFETCH(RayLine, row);
    const spiral::RayFacts facts{.ray = {.direction = row.direction, .first = {}, .kFrom = 5, .kTo = 5 + row.cells - 1, .indices = {}},
                                 .numbers = {row.b, row.c}, .primes = row.primes, .shown = {},
                                 .hlConstant = row.constant, .expectedPrimes = row.expected};
    speak(row.language);
    const QString line = interaction::describeRay(facts);
    speak(language::kEnglish);
    QCOMPARE(line, row.line);
  }

  // Resting on the centre of a spiral from 41 (35 cells a side, rings 0 to 17), the tooltip names
  // the eight rays from the centre outward, their primes counted here by trial division (how a line
  // reads in each language is describeRay's, tested above). While the tooltip shows, the rays
  // through the cell are outlined over the picture; the picture itself, and with it the saved file
  // and Ctrl+C's image, never sees them. The outlines go with the tooltip when the pointer leaves
  // the cell or the picture, and at once when a new picture is drawn.
  void theTooltipNamesAndOutlinesTheRaysThroughTheCell() {
    frmMain& w = drawn(kAllNumbers, true, "41", kFifteenPixels);
    const spiral::Geometry& g = w.lastPass.geometry;
    QCOMPARE(g.cellsPerSide, 35);
    const QImage picture = spiral::imageOf(w.picture).convertToFormat(QImage::Format_RGB32);
    const auto outlined = [&](const QImage& view, int row, int column) {
      const spiral::Pixel centre = g.centreOf(row, column);
      return view.pixel(centre.x + SpiralView::kBorder, centre.y + SpiralView::kBorder) == SpiralView::kOutlineColor;
    };
    // The cells one to 17 steps out from the centre in each direction that are outlined, and
    // every outlined pixel of the view.
    const auto outlinedCells = [&] {
      const QImage view = w.picSpiral->grab().toImage();
      int cells = 0;
      for (int k = 1; k <= 17; ++k)
        for (int row : {-k, 0, k})
          for (int column : {-k, 0, k}) cells += (row != 0 || column != 0) && outlined(view, row, column);
      return cells;
    };
    const auto outlinedPixels = [&] {
      const QImage view = w.picSpiral->grab().toImage().convertToFormat(QImage::Format_RGB32);
      int pixels = 0;
      for (int y = 0; y < view.height(); ++y)
        for (int x = 0; x < view.width(); ++x) pixels += view.pixel(x, y) == SpiralView::kOutlineColor;
      return pixels;
    };
    QCOMPARE(outlinedPixels(), 0);
    const QPoint centre(g.centerX + SpiralView::kBorder, g.centerY + SpiralView::kBorder);
    QTest::mouseMove(w.picSpiral, centre);  // and rests there
    QTRY_VERIFY(QToolTip::isVisible());
    const std::pair<const char*, int64_t> rays[] = {{"N 4k\u00B2 \u2212 k", -1}, {"NE 4k\u00B2 \u2212 2k", -2},
                                                    {"E 4k\u00B2 \u2212 3k", -3}, {"SE 4k\u00B2 + 4k", 4},
                                                    {"S 4k\u00B2 + 3k", 3}, {"SW 4k\u00B2 + 2k", 2},
                                                    {"W 4k\u00B2 + k", 1}, {"NW 4k\u00B2", 0}};
    const QStringList lines = QToolTip::text().split(u'\n');
    QCOMPARE(lines.size(), 2 + 8 + 1);
    QCOMPARE(lines[0], QString("41: prime"));
    QCOMPARE(lines.last(), QString("Ctrl+E: explore from here"));  // the key to roam beyond the picture
    for (size_t i = 0; i < std::size(rays); ++i) {
      int primes = 0;
      for (int64_t k = 0; k <= 17; ++k) primes += isPrimeByTrialDivision(4 * k * k + rays[i].second * k + 41);
      const QString head = QString(rays[i].first) + QString(" + 41: %1 primes in 18 cells, expected ").arg(primes);
      QVERIFY2(lines[2 + int(i)].startsWith(head), qPrintable(lines[2 + int(i)]));
    }
    QCOMPARE(outlinedCells(), 8 * 17);
    QTest::qWait(300);  // the outlines stay as long as the tooltip: still there after the copy and the save below
    QVERIFY(!outlined(w.picSpiral->grab().toImage(), 1, 2));  // on no ray of the centre

    w.copySelectionOrPicture();
    QCOMPARE(QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), picture);
    QTemporaryDir folder;
    harness->desktop.answers = {Desktop::Answer::Yes};
    harness->desktop.saveFileName = folder.filePath("hovered.png");
    QCOMPARE(titlesAfter(g.centerX, g.centerY, Qt::RightButton), (QStringList{"Save image?", "Save image"}));
    QCOMPARE(QImage(harness->desktop.saveFileName).convertToFormat(QImage::Format_RGB32), picture);
    QCOMPARE(spiral::imageOf(w.picture).convertToFormat(QImage::Format_RGB32), picture);
    QVERIFY(QToolTip::isVisible());
    QCOMPARE(outlinedCells(), 8 * 17);

    // On to the next cell: the tooltip and the outlines follow it.
    QTest::mouseMove(w.picSpiral, centre + QPoint(g.boxSize, 0));
    QTRY_VERIFY(QToolTip::text().startsWith("42 = 2 \u00D7 3 \u00D7 7"));
    QTRY_VERIFY(!outlined(w.picSpiral->grab().toImage(), -5, -5));
    QVERIFY(outlined(w.picSpiral->grab().toImage(), 0, 5));
    QTest::mouseMove(w.cmdDraw);  // the pointer leaves the picture
    QTRY_COMPARE(outlinedPixels(), 0);
    QVERIFY(!QToolTip::isVisible());

    // A cell off the diagonals and axes lies on the three rays that lead outward from it.
    QCOMPARE(tipAfterRestOn(g.centerX + 5 * g.boxSize, g.centerY - 2 * g.boxSize).count(u'\n'), 1 + 3 + 1);
    QVERIFY(outlinedPixels() > 0);
    w.cmdDraw->click();
    QCOMPARE(outlinedPixels(), 0);
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

  // The main window's links open their pages. A failed launch tells the shell's error code, and the
  // hint the message adds for it; a page of the other-software window has a hint of its own.
  void aFailedLaunchIsExplained() {
    MainWindowHarness h;
    frmMain& w = h.start();
    QTest::mouseClick(w.lblOnlineDocumentation, Qt::LeftButton);
    QTest::mouseClick(w.lblCorvanelWorks, Qt::LeftButton);
    QCOMPARE(h.desktop.openedUrls, (QStringList{"http://corvanel-works.example/spl/spl.htm", "http://corvanel-works.example/"}));
    QVERIFY(h.desktop.messages.empty());
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
