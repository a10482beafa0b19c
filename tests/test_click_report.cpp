// Clicks on the picture of the main window: the number a left click reports, and the right click's
// offer to save the picture.
#include <limits>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "Geometry.h"
#include "MainWindowHarness.h"
#include "app/SpiralView.h"
#include "language/WordTable.h"
#include "numlib.h"

using platform::Desktop;

namespace {

// List indices of the box sizes and number classes used here.
constexpr int kOnePixel = 0;
constexpr int kThreePixels = 1;
constexpr int kSevenPixels = 3;
constexpr int kSeventyFivePixels = 7;
constexpr int kPrimes = 0;
constexpr int kAllNumbers = 4;

// Draws a spiral of cells of the given list index, class and shape from `start`.
void draw(frmMain& w, int boxSizeIndex, int showIndex, bool squares, const QString& start) {
  w.txbStartNumber->setText(start);
  (squares ? w.optSquares : w.optCircles)->setChecked(true);
  w.cboShow->setCurrentIndex(showIndex);
  w.cboBoxSize->setCurrentIndex(boxSizeIndex);
  w.cmdDraw->click();
  QVERIFY(w.blnSpiralDrawn);
}

// The titles of the messages that a release of `button` at (x, y) in picture pixels brings up,
// called directly, as for points the mouse cannot be sent to.
QStringList titlesAfter(MainWindowHarness& h, Qt::MouseButton button, double x, double y) {
  const size_t before = h.desktop.messages.size();
  h.window().picSpiral_MouseUp(button, x, y);
  QStringList titles;
  for (size_t i = before; i < h.desktop.messages.size(); ++i) titles << h.desktop.messages[i].title;
  return titles;
}

// The same for a real click of the mouse on the picture at picture pixel `p`.
QStringList titlesAfterClick(MainWindowHarness& h, Qt::MouseButton button, QPoint p) {
  const size_t before = h.desktop.messages.size();
  const QPoint border(SpiralView::kBorder, SpiralView::kBorder);
  QTest::mouseClick(h.window().picSpiral, button, {}, p + border);
  QStringList titles;
  for (size_t i = before; i < h.desktop.messages.size(); ++i) titles << h.desktop.messages[i].title;
  return titles;
}

QStringList reportOf(int64_t number) { return {QLocale().toString(static_cast<qlonglong>(number))}; }

// Clicks the centre of every cell, in the order in which the forward walk drew the numbers, and
// compares what each reports with `expected` of the number drawn there. Returns the first cell
// that reports otherwise, empty when every cell reports as expected.
QString firstWrongReport(MainWindowHarness& h, const std::function<QStringList(int64_t)>& expected) {
  const frmMain& w = h.window();
  spiral::SpiralWalk walk;
  for (int64_t i = 0; i < w.lngNumberOfNumbers; ++i) {
    if (i > 0) walk.advance(i);
    const double x = w.intCenterX + w.intBoxSize * walk.column();
    const double y = w.intCenterY + w.intBoxSize * walk.row();
    const QStringList titles = titlesAfter(h, Qt::LeftButton, x, y);
    const int64_t number = w.lngStartNumber + i;
    if (titles != expected(number)) return QString("%1 reports \"%2\"").arg(number).arg(titles.join(','));
  }
  return QString();
}

}  // namespace

class TestClickReport : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

  void theCellsAroundTheCentreReportTheirNumbers() {
    MainWindowHarness h;
    frmMain& w = h.start();
    draw(w, kSevenPixels, kAllNumbers, true, "1");
    const QPoint centre(w.intCenterX, w.intCenterY);
    const int s = w.intBoxSize;
    QCOMPARE(titlesAfterClick(h, Qt::LeftButton, centre), QStringList{"1"});
    QCOMPARE(titlesAfterClick(h, Qt::LeftButton, centre + QPoint(s, 0)), QStringList{"2"});
    QCOMPARE(titlesAfterClick(h, Qt::LeftButton, centre + QPoint(s, -s)), QStringList{"3"});
    QCOMPARE(titlesAfterClick(h, Qt::LeftButton, centre + QPoint(0, -s)), QStringList{"4"});
    QCOMPARE(titlesAfterClick(h, Qt::LeftButton, centre + QPoint(s, s)), QStringList{"9"});
    const RecordingDesktop::Message& report = h.desktop.messages.back();
    QVERIFY(report.text.isEmpty());
    QCOMPARE(report.buttons, Desktop::Buttons::Ok);
    QCOMPARE(report.icon, Desktop::Icon::None);

    draw(w, kSevenPixels, kAllNumbers, true, "1000");
    QCOMPARE(titlesAfterClick(h, Qt::LeftButton, centre), QStringList{"1,000"});
    QCOMPARE(titlesAfterClick(h, Qt::LeftButton, centre + QPoint(s, 0)), QStringList{"1,001"});
    draw(w, kSevenPixels, kAllNumbers, true, "2147478022");  // the end number is the largest
    QCOMPARE(titlesAfterClick(h, Qt::LeftButton, centre + QPoint(37 * s, 37 * s)),
             QStringList{"2,147,483,646"});

    // One-pixel cells: the border of the picture does not shift the cells.
    draw(w, kOnePixel, kAllNumbers, true, "1");
    QCOMPARE(titlesAfterClick(h, Qt::LeftButton, centre), QStringList{"1"});
    QCOMPARE(titlesAfterClick(h, Qt::LeftButton, centre + QPoint(1, 0)), QStringList{"2"});
    QCOMPARE(titlesAfterClick(h, Qt::LeftButton, centre + QPoint(-1, 1)), QStringList{"7"});
  }

  // The walk that drew the spiral puts index i at the cell (a, b); the click at that cell's centre
  // must report start + i, for odd and even numbers of cells per side.
  void everyDrawnCellReportsTheNumberDrawnThere_data() {
    QTest::addColumn<int>("boxSizeIndex");
    QTest::newRow("75 pixels, 7 x 7") << kSeventyFivePixels;
    QTest::newRow("7 pixels, 75 x 75") << kSevenPixels;
    QTest::newRow("3 pixels, 174 x 174") << kThreePixels;
  }

  void everyDrawnCellReportsTheNumberDrawnThere() {
    QFETCH(int, boxSizeIndex);
    MainWindowHarness h;
    frmMain& w = h.start();
    draw(w, boxSizeIndex, kAllNumbers, true, "5");
    QCOMPARE(firstWrongReport(h, [](int64_t number) { return reportOf(number); }), QString());
  }

  void onlyShownNumbersReport() {
    MainWindowHarness h;
    frmMain& w = h.start();
    draw(w, kSevenPixels, kPrimes, false, "1");
    QCOMPARE(firstWrongReport(h,
                              [](int64_t number) {
                                const auto n = static_cast<int32_t>(number);
                                return is_prime(n, n) ? reportOf(number) : QStringList();
                              }),
             QString());
    // The corner of the circle of 2 is background.
    const QPoint corner(w.intCenterX + 7 + 3, w.intCenterY - 3);
    QVERIFY(!w.picture.isMarked(corner.x(), corner.y()));
    QCOMPARE(titlesAfterClick(h, Qt::LeftButton, corner), QStringList());
    QCOMPARE(titlesAfterClick(h, Qt::LeftButton, corner - QPoint(3, -3)), QStringList{"2"});
  }

  // Every pixel of a square cell belongs to that cell, its edges included.
  void theEdgePixelsOfACellReportItsNumber() {
    MainWindowHarness h;
    frmMain& w = h.start();
    draw(w, kSevenPixels, kAllNumbers, true, "1");
    const int x = w.intCenterX, y = w.intCenterY;  // the centre cell spans x - 3 ... x + 3
    for (QPoint edge : {QPoint(x - 3, y - 3), QPoint(x + 3, y + 3), QPoint(x - 3, y + 3)}) {
      QCOMPARE(titlesAfter(h, Qt::LeftButton, edge.x(), edge.y()), QStringList{"1"});
    }
    QCOMPARE(titlesAfter(h, Qt::LeftButton, x + 4, y), QStringList{"2"});      // the left edge of 2
    QCOMPARE(titlesAfter(h, Qt::LeftButton, x - 4, y - 4), QStringList{"5"});  // the corner of 5
  }

  void theReportBelongsToTheSpiralOnTheScreen() {
    MainWindowHarness h;
    frmMain& w = h.start();
    draw(w, kSevenPixels, kAllNumbers, true, "1");
    w.txbStartNumber->setText("500");  // edited, not drawn
    QCOMPARE(titlesAfter(h, Qt::LeftButton, w.intCenterX, w.intCenterY), QStringList{"1"});
    w.cmdDraw->click();
    QCOMPARE(titlesAfter(h, Qt::LeftButton, w.intCenterX, w.intCenterY), QStringList{"500"});
  }

  void pointsBesideTheDrawnCellsReportNothing() {
    MainWindowHarness h;
    frmMain& w = h.start();
    draw(w, kThreePixels, kAllNumbers, true, "1");  // 174 cells a side: one ring is incomplete
    const QStringList nothing;
    QCOMPARE(titlesAfter(h, Qt::LeftButton, 1, 1), nothing);                    // its empty upper left corner
    QCOMPARE(titlesAfter(h, Qt::LeftButton, 1, 300), nothing);                  // its empty left side
    QCOMPARE(titlesAfter(h, Qt::LeftButton, 300, 522), nothing);                // the strip below the cells
    QCOMPARE(titlesAfter(h, Qt::LeftButton, 522, 0), reportOf(30103));          // its upper right corner
    QCOMPARE(titlesAfter(h, Qt::LeftButton, 300, 520), QStringList{"29,856"});  // above the strip
    // The leftmost column of cells spans pixels 2 to 4; halves go to the even neighbour, so 0.5
    // is pixel 0 of the empty left side and 1.5 is pixel 2 of that column.
    QCOMPARE(titlesAfter(h, Qt::LeftButton, 0.5, 300), nothing);
    QCOMPARE(titlesAfter(h, Qt::LeftButton, 1.5, 300).size(), 1);

    // A drag that ends beside the picture: no cell, however far away.
    draw(w, kSevenPixels, kAllNumbers, true, "1");
    const double far = 1e15;
    for (QPointF p :
         {QPointF(-3, 261), QPointF(261, -3), QPointF(523, 261), QPointF(261, 523), QPointF(far, far),
          QPointF(-far, 261), QPointF(std::numeric_limits<double>::infinity(), 0)}) {
      QCOMPARE(titlesAfter(h, Qt::LeftButton, p.x(), p.y()), nothing);
    }
    QCOMPARE(titlesAfter(h, Qt::LeftButton, -0.5, 261).size(), 1);  // rounds to pixel 0
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

  void theRightButtonOffersToSaveUnlessAnAnimationRuns() {
    MainWindowHarness h;
    frmMain& w = h.start();
    const QPoint centre(w.intCenterX, w.intCenterY);
    QCOMPARE(titlesAfterClick(h, Qt::RightButton, centre), QStringList{"Save image?"});
    QCOMPARE(h.desktop.messages.back().text, QString("Do you wish to save this image?"));
    QCOMPARE(h.desktop.messages.back().buttons, Desktop::Buttons::YesNo);
    QVERIFY(h.desktop.saveDialogs.empty());  // No

    w.blnSpirallingIn = true;
    w.cmdResumeButton->setEnabled(false);  // running
    QCOMPARE(titlesAfterClick(h, Qt::RightButton, centre), QStringList());
    QCOMPARE(titlesAfterClick(h, Qt::LeftButton, centre + QPoint(7, 0)), QStringList{"2"});
    QCOMPARE(titlesAfterClick(h, Qt::MiddleButton, centre + QPoint(7, 0)), QStringList());
    w.cmdResumeButton->setEnabled(true);  // paused
    QCOMPARE(titlesAfterClick(h, Qt::RightButton, centre), QStringList{"Save image?"});
  }

  void yesSavesThePictureAsPng() {
    MainWindowHarness h;
    frmMain& w = h.start();
    QTemporaryDir folder;
    const QString file = folder.filePath("spiral.png");
    h.desktop.answers = {Desktop::Answer::Yes};
    h.desktop.saveFileName = file;
    QCOMPARE(titlesAfterClick(h, Qt::RightButton, QPoint(10, 10)),
             (QStringList{"Save image?", "Save image"}));
    QCOMPARE(h.desktop.messages.back().text, "The image has been saved in the PNG file\r\n" + file);
    QCOMPARE(QImage(file).convertToFormat(QImage::Format_RGB32), w.picture.image());
  }
};

QTEST_MAIN(TestClickReport)
#include "test_click_report.moc"
