// Clicks on the picture of the main window: the number a left click reports, the inspector's
// tooltip, Ctrl+C, and the right click's offer to save the picture. Which cell a pixel belongs to
// is the geometry's rule, tested there; here the window's use of it.
#include <limits>

#include "MainWindowHarness.h"
#include "app/SpiralView.h"
#include "texts/WordTable.h"

// List indices of the box sizes and number classes used here.
constexpr int kThreePixels = 1, kSevenPixels = 3, kPrimes = 0, kAllNumbers = 4;

class TestClickReport : public QObject {
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
    const size_t before = harness->desktop.messages.size();
    if (byMouse) {
      const QPoint p(static_cast<int>(x) + SpiralView::kBorder, static_cast<int>(y) + SpiralView::kBorder);
      QTest::mouseClick(harness->window().picSpiral, button, {}, p);
    } else {
      harness->window().picSpiral_MouseUp(button, x, y);
    }
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

  // Only shown numbers report: over the widget, after the pointer's rest, and by a click; the
  // corner of the centre's circle, around the prime 5, is background.
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
             w.picture.image().convertToFormat(QImage::Format_RGB32));
  }

  // The right click asks whether to save, except while an animation runs; paused, it asks.
  void theRightButtonOffersToSaveUnlessAnAnimationRuns() {
    frmMain& w = drawn(kPrimes, true, "1");  // primes: the spiral buttons are offered
    QTemporaryDir folder;
    animate(w, w.cmdSpiralIn, [&] {
      w.ClkClock_Timer();
      QCOMPARE(titlesAfter(10, 10, Qt::RightButton, true), QStringList());
      QTest::mouseClick(w.cmdPauseButton, Qt::LeftButton);
      QCOMPARE(titlesAfter(10, 10, Qt::RightButton, true), QStringList{"Save image?"});
      QCOMPARE(harness->desktop.saveDialogsShown, 0);  // No
      harness->desktop.answers = {platform::Desktop::Answer::Yes};
      harness->desktop.saveFileName = folder.filePath("spiral.png");
      QCOMPARE(titlesAfter(10, 10, Qt::RightButton, true), (QStringList{"Save image?", "Save image"}));
      QCOMPARE(QImage(harness->desktop.saveFileName).convertToFormat(QImage::Format_RGB32), w.picture.image());
    });
    QCOMPARE(titlesAfter(10, 10, Qt::RightButton, true), QStringList{"Save image?"});  // the run over
  }
};

QTEST_MAIN(TestClickReport)
#include "test_click_report.moc"
