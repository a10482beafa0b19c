// Clicks on the picture of the main window: the number a left click reports, and the right click's
// offer to save the picture.
#include <limits>
#include <memory>

#include <QtTest>
#include <QtWidgets>

#include "Geometry.h"
#include "MainWindowHarness.h"
#include "app/SpiralView.h"
#include "texts/WordTable.h"
#include "numlib.h"

namespace {

// List indices of the box sizes and number classes used here.
constexpr int kThreePixels = 1;
constexpr int kSevenPixels = 3;
constexpr int kSeventyFivePixels = 7;
constexpr int kPrimes = 0;
constexpr int kAllNumbers = 4;

}  // namespace

class TestClickReport : public QObject {
  Q_OBJECT

  std::unique_ptr<MainWindowHarness> harness;

  // A fresh window with a spiral of cells of the given list index and class drawn from `start`.
  frmMain& drawn(int boxSizeIndex, int showIndex, bool squares, const QString& start) {
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
  QStringList titlesAfter(double x, double y, Qt::MouseButton button = Qt::LeftButton,
                          bool byMouse = false) {
    const size_t before = harness->desktop.messages.size();
    if (byMouse) {
      const QPoint p(static_cast<int>(x) + SpiralView::kBorder, static_cast<int>(y) + SpiralView::kBorder);
      QTest::mouseClick(harness->window().picSpiral, button, {}, p);
    } else {
      harness->window().picSpiral_MouseUp(button, x, y);
    }
    QStringList titles;
    const auto& messages = harness->desktop.messages;
    for (size_t i = before; i < messages.size(); ++i) titles << messages[i].title;
    return titles;
  }

  QStringList clickAt(int x, int y, Qt::MouseButton button = Qt::LeftButton) {
    return titlesAfter(x, y, button, true);
  }

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
  void cleanup() { harness.reset(); }

  void theCellsAroundTheCentreReportTheirNumbers() {
    frmMain& w = drawn(kSevenPixels, kAllNumbers, true, "1");
    const spiral::Geometry& g = w.lastPass.geometry;
    const int x = g.centerX, y = g.centerY, s = g.boxSize;
    QCOMPARE(clickAt(x + s, y), QStringList{"2"});
    QCOMPARE(clickAt(x + s, y - s), QStringList{"3"});
    QCOMPARE(clickAt(x, y - s), QStringList{"4"});
    QCOMPARE(clickAt(x + s, y + s), QStringList{"9"});
    // The edge pixels of the centre cell, x - 3 ... x + 3, belong to it.
    QCOMPARE(clickAt(x - 3, y - 3), QStringList{"1"});
    QCOMPARE(clickAt(x + 3, y + 3), QStringList{"1"});
    QCOMPARE(clickAt(x + 4, y), QStringList{"2"});

    w.txbStartNumber->setText("1000");  // edited, not drawn
    QCOMPARE(titlesAfter(x + s, y), QStringList{"2"});
    w.cmdDraw->click();
    QCOMPARE(titlesAfter(x, y), QStringList{"1,000"});
    QCOMPARE(titlesAfter(x + s, y), QStringList{"1,001"});
    w.txbStartNumber->setText("2147478022");  // the last number drawn is the largest there is
    w.cmdDraw->click();
    QCOMPARE(titlesAfter(x + 37 * s, y + 37 * s), QStringList{"2,147,483,646"});
  }

  // The inspector's tooltip comes from the same cell as the click's report.
  void theInspectorTellsWhatAShownCellHolds() {
    frmMain& w = drawn(kSevenPixels, kAllNumbers, true, "1");
    const int x = w.lastPass.geometry.centerX, y = w.lastPass.geometry.centerY, s = w.intBoxSize();
    QCOMPARE(w.numberTipAt(x, y), QString("1\nRing 1"));
    QCOMPARE(w.numberTipAt(x + s, y), QString("2: prime\nRing 2"));
    QCOMPARE(w.numberTipAt(x + s, y + s), QString("9 = 3^2\nRing 2"));
    language::intLanguage = language::kGerman;
    QCOMPARE(w.numberTipAt(x + s, y), QString("2: Primzahl\nRing 2"));
    language::intLanguage = language::kEnglish;
    w.txbStartNumber->setText("1000");
    w.cmdDraw->click();
    QCOMPARE(w.numberTipAt(x + s, y), QString("1,001 = 7 \u00D7 11 \u00D7 13\nRing 2"));
    w.txbStartNumber->setText("2147478022");
    w.cmdDraw->click();
    QCOMPARE(w.numberTipAt(x + 37 * s, y + 37 * s),
             QString("2,147,483,646 = 2 \u00D7 3^2 \u00D7 7 \u00D7 11 \u00D7 31 \u00D7 151 \u00D7 331\nRing 38"));

    // Over the widget, after the pointer's rest; nothing over a number not shown.
    drawn(kSevenPixels, kPrimes, false, "1");
    const auto tipOver = [&](int px, int py) {
      const QPoint at(px + SpiralView::kBorder, py + SpiralView::kBorder);
      QHelpEvent rest(QEvent::ToolTip, at, harness->window().picSpiral->mapToGlobal(at));
      QApplication::sendEvent(harness->window().picSpiral, &rest);
      return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    QCOMPARE(tipOver(x, y), QString());  // 1 is not prime
    QCOMPARE(tipOver(x + s, y), QString("2: prime\nRing 2"));
  }

  // Ctrl+C copies the selected start-number text, or else exactly the picture's pixels.
  void ctrlCCopiesTheSelectionOrThePicture() {
    frmMain& w = drawn(kSevenPixels, kPrimes, false, "1234");
    w.txbStartNumber->setSelection(1, 2);
    QTest::keyClick(w.txbStartNumber, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QString("23"));
    w.txbStartNumber->deselect();
    QTest::keyClick(w.txbStartNumber, Qt::Key_C, Qt::ControlModifier);
    const QImage copied = QApplication::clipboard()->image();
    QCOMPARE(copied.convertToFormat(QImage::Format_RGB32), w.picture.image().convertToFormat(QImage::Format_RGB32));
  }

  // The walk that drew the spiral puts index i at a cell; the click at that cell's centre must
  // report start + i if that number is shown, and nothing otherwise.
  void everyDrawnCellReportsTheNumberDrawnThere_data() {
    QTest::addColumn<int>("boxSizeIndex");
    QTest::addColumn<bool>("primesAsCircles");
    QTest::newRow("75 pixels, 7 x 7") << kSeventyFivePixels << false;
    QTest::newRow("7 pixels, 75 x 75") << kSevenPixels << false;
    QTest::newRow("3 pixels, 174 x 174") << kThreePixels << false;
    QTest::newRow("primes as circles") << kSevenPixels << true;
  }

  void everyDrawnCellReportsTheNumberDrawnThere() {
    QFETCH(int, boxSizeIndex);
    QFETCH(bool, primesAsCircles);
    frmMain& w = drawn(boxSizeIndex, primesAsCircles ? kPrimes : kAllNumbers, !primesAsCircles, "5");
    const spiral::Geometry& g = w.lastPass.geometry;
    spiral::SpiralWalk walk;
    for (int64_t i = 0; i < g.numberOfNumbers; ++i) {
      if (i > 0) walk.advance(i);
      const auto number = static_cast<int32_t>(w.lastPass.startNumber + i);
      const bool shown = !primesAsCircles || is_prime(number, number);
      const QStringList expected = shown ? QStringList{QLocale().toString(number)} : QStringList();
      const spiral::Pixel centre = g.centreOf(walk.row(), walk.column());
      const QStringList titles = titlesAfter(centre.x, centre.y);
      if (titles != expected) QFAIL(qPrintable(QString::number(number) + " reports " + titles.join(',')));
    }
    if (primesAsCircles) {  // the corner of the centre's circle, around the prime 5, is background
      const int x = g.centerX + 3, y = g.centerY - 3;
      QVERIFY(!w.picture.isMarked(x, y));
      QCOMPARE(titlesAfter(x, y), QStringList());
    }
  }

  void pointsBesideTheDrawnCellsReportNothing() {
    drawn(kThreePixels, kAllNumbers, true, "1");  // 174 cells a side: one ring is incomplete
    QCOMPARE(titlesAfter(1, 1), QStringList());   // its empty upper left corner

    drawn(kSevenPixels, kAllNumbers, true, "1");
    const double far = 1e15, infinity = std::numeric_limits<double>::infinity();
    for (QPointF p : {QPointF(-3, 261), QPointF(523, 261), QPointF(far, far), QPointF(-far, 261),
                      QPointF(infinity, 0)}) {
      QCOMPARE(titlesAfter(p.x(), p.y()), QStringList());
    }
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
    frmMain& w = drawn(kSevenPixels, kAllNumbers, true, "1");
    w.blnSpirallingIn = true;
    w.cmdResumeButton->setEnabled(false);  // running
    QCOMPARE(clickAt(10, 10, Qt::RightButton), QStringList());
    w.cmdResumeButton->setEnabled(true);  // paused
    QCOMPARE(clickAt(10, 10, Qt::RightButton), QStringList{"Save image?"});
    QVERIFY(harness->desktop.saveDialogs.empty());  // No

    QTemporaryDir folder;
    harness->desktop.answers = {platform::Desktop::Answer::Yes};
    harness->desktop.saveFileName = folder.filePath("spiral.png");
    QCOMPARE(clickAt(10, 10, Qt::RightButton), (QStringList{"Save image?", "Save image"}));
    QCOMPARE(QImage(harness->desktop.saveFileName).convertToFormat(QImage::Format_RGB32), w.picture.image());
  }
};

QTEST_MAIN(TestClickReport)
#include "test_click_report.moc"
