// Spiral In and Spiral Out, and Pause, Resume and Stop. The click on a spiral button does not
// return until its animation has ended, so each test runs its steps inside the animation's wait
// loop and drives the clock ticks itself.

#include "MainWindowHarness.h"
#include "Rows.h"

namespace {

constexpr int kFifteenPixelIndex = 4, kOneTickPerSecond = 0, kWhiteScheme = 6;  // list indices

// What the user can see of every control: place, shown or not, and for the shown ones, enabled
// or not. The controls are named by kind and place, since raising and lowering reorders them.
QStringList visibleLayout(const frmMain& w) {
  QStringList layout;
  const QList<const QObject*> containers{&w, w.fraCellObject, w.fraStartNumberFrame, w.fraButtonFrame};
  for (const QWidget* control : w.findChildren<QWidget*>()) {
    if (!containers.contains(control->parent())) continue;
    QString line;
    QDebug(&line) << control->metaObject()->className() << control->geometry() << "shown"
                  << control->isVisible() << "enabled" << (control->isVisible() && control->isEnabled());
    layout << line;
  }
  layout.sort();
  return layout;
}

int stackIndex(const QWidget* control) { return control->parent()->children().indexOf(control); }

// `frames`: the start numbers drawn by five ticks; fewer: the run ends.
struct Steps { const char* name; bool inward, primesOnly; QString start, frames; };

}  // namespace

class TestMotion : public QObject {
  Q_OBJECT

  std::unique_ptr<MainWindowHarness> harness;

  // A fresh window with the spiral drawn from `start`.
  frmMain& startAt(const QString& start) {
    harness = std::make_unique<MainWindowHarness>();
    frmMain& w = harness->start();
    w.txbStartNumber->setText(start);
    QTest::keyClick(w.txbStartNumber, Qt::Key_Return);
    return w;
  }

 private slots:
  void cleanup() { harness.reset(); }

  void stepsGoThroughTheNumbersOrThePrimes_data() {
    addRows<Steps>({
        // 7-pixel cells: 75 x 75 numbers, so Spiral In ends at 2147483646 - 5624. Where each step
        // goes is the tick rule's, pinned by the renderer's animations; here the window's ticks.
        {"in from the largest", true, false, "2147478022", ""},
        {"in to the largest", true, false, "2147478020", "2147478021 2147478022"},
        {"in from a composite, primes", true, true, "24", "29 31 37 41 43"},
        {"out from a composite, primes", false, true, "10", "7 5 3 2"}});
  }
  void stepsGoThroughTheNumbersOrThePrimes() {
    QFETCH(Steps, row);
    frmMain& w = startAt(row.start);
    w.chkCentralNumberPrime->setChecked(row.primesOnly);
    QStringList drawn;
    animate(w, row.inward ? w.cmdSpiralIn : w.cmdSpiralOut, [&] {
      for (int tick = 0; tick < 5 && !w.blnSpiralRunEnded; ++tick) {
        const bool step = redrawn(w, [&] { w.ClkClock_Timer(); });
        QCOMPARE(step, !w.blnSpiralRunEnded);  // one pass per step, none at the end
        if (step) drawn << w.lblStartNumberOutput->text();
      }
    });
    QCOMPARE(drawn.join(' '), row.frames);  // fewer than five frames: a tick ended the run
    QCOMPARE(w.txbStartNumber->text(), drawn.isEmpty() ? row.start : drawn.last());  // the last frame stays
    QVERIFY(harness->desktop.messages.empty());
    QVERIFY(!w.ClkClock->isActive() && w.cmdSpiralIn->isVisible() && !w.cmdStopButton->isVisible());
  }

  void aRefusedStartNumberStartsNoAnimation() {
    frmMain& w = startAt(QStringLiteral("2147483600"));  // 49 numbers fit, 5625 do not
    harness->desktop.messages.clear();
    QTest::mouseClick(w.cmdSpiralIn, Qt::LeftButton);
    QVERIFY(!w.isSpiralling() && !w.ClkClock->isActive() && w.cmdDraw->isVisible());
    QCOMPARE(harness->desktop.messages.size(), size_t(1));  // the size test's own message
  }

  void realClockTicksRunTheAnimationToItsEnd() {
    frmMain& w = startAt(QStringLiteral("3"));
    QTimer::singleShot(5000, &w, [&w] { w.cmdStopButton_Click(); });  // only if the clock never ticks
    QTest::mouseClick(w.cmdSpiralOut, Qt::LeftButton);
    QCOMPARE(w.txbStartNumber->text(), QStringLiteral("1"));
  }

  // With the other-software button (cluster) and with a colour legend (diagonal).
  void layoutComesAndGoes() {
    for (int scheme : {0, 1}) {
      frmMain& w = startAt(QStringLiteral("5"));
      w.cboColorBy->setCurrentIndex(scheme);
      const QStringList before = visibleLayout(w);
      const int frameIndex = stackIndex(w.fraStartNumberFrame);

      animate(w, w.cmdSpiralIn, [&] {
        QVERIFY(w.cmdStopButton->isVisible() && !w.cmdDraw->isVisible() && !w.cboBoxSize->isEnabled());
        QCOMPARE(w.lblSpiralling->text(), QStringLiteral("Spiralling in"));
        QVERIFY(stackIndex(w.fraStartNumberFrame) < stackIndex(w.fraButtonFrame));
        // The button frame in front hides the statistics captions it overlaps.
        const QPoint pause = w.cmdPauseButton->geometry().center() + w.fraButtonFrame->pos();
        QVERIFY(w.fraStartNumberFrame->geometry().contains(pause));
        QCOMPARE(w.childAt(pause), w.cmdPauseButton);
        QVERIFY(w.fraButtonFrame->autoFillBackground() && w.fraStartNumberFrame->autoFillBackground());
        w.ClkClock_Timer();
        QCOMPARE(w.lblStartNumberOutput->text(), QStringLiteral("6"));
      });
      QCOMPARE(visibleLayout(w), before);
      QCOMPARE(stackIndex(w.fraStartNumberFrame), frameIndex);
    }
  }

  // Options wait for the next tick while the animation runs and redraw at once while it is paused.
  void pauseResumeAndStopWithOptionsChanged() {
    frmMain& w = startAt(QStringLiteral("5"));
    w.cboBoxSize->setCurrentIndex(kFifteenPixelIndex);  // grid and numerals apply
    bool drawnAfterStop = true;
    animate(w, w.cmdSpiralIn, [&] {
      QVERIFY(!redrawn(w, [&] {
        QTest::mouseClick(w.chkGrid, Qt::LeftButton);
        QTest::mouseClick(w.chkNumerals, Qt::LeftButton);
      }));
      QVERIFY(redrawn(w, [&] { w.ClkClock_Timer(); }));
      QTest::mouseClick(w.cmdPauseButton, Qt::LeftButton);
      QVERIFY(!redrawn(w, [&] { for (int tick = 0; tick < 3; ++tick) w.ClkClock_Timer(); }));
      QCOMPARE(w.txbStartNumber->text(), QStringLiteral("6"));
      const QImage frozen = w.picture.image().copy();
      w.optSquares->click();
      QVERIFY(w.picture.image() != frozen);  // the same frame, now in squares
      QVERIFY(redrawn(w, [&] { QTest::mouseClick(w.chkGrid, Qt::LeftButton); }));

      w.cboClockTicks->setCurrentIndex(kOneTickPerSecond);
      QCOMPARE(w.ClkClock->interval(), 250);  // not before Resume
      QTest::mouseClick(w.cmdResumeButton, Qt::LeftButton);
      QCOMPARE(w.ClkClock->interval(), 1000);
      w.ClkClock_Timer();
      QCOMPARE(w.txbStartNumber->text(), QStringLiteral("7"));

      QTest::mouseClick(w.cmdPauseButton, Qt::LeftButton);
      // A scheme without a legend while paused: its button lies where the status text is raised.
      w.cboColorBy->setCurrentIndex(kWhiteScheme);
      QVERIFY(w.cmdCWsoftware->isVisible() && w.lblSpiralling->isVisible());
      QVERIFY(w.cmdCWsoftware->geometry().intersects(w.lblSpiralling->geometry()));
      QCOMPARE(w.childAt(w.cmdCWsoftware->geometry().center()), w.cmdCWsoftware);
      QTest::mouseClick(w.cmdStopButton, Qt::LeftButton);
      // A tick that comes in the same batch as the click on Stop.
      drawnAfterStop = redrawn(w, [&] { w.ClkClock_Timer(); });
    });
    QVERIFY(!drawnAfterStop);
    QCOMPARE(w.txbStartNumber->text(), QStringLiteral("7"));
    QVERIFY(!w.blnPaused && !w.isSpiralling() && !w.ClkClock->isActive());
  }

  void closingTheWindowEndsTheAnimation() {
    for (bool paused : {false, true}) {
      frmMain& w = startAt(QStringLiteral("5"));
      const int status = exitStatusAfter([&] {
        animate(w, w.cmdSpiralIn, [&] {
          w.ClkClock_Timer();
          if (paused) QTest::mouseClick(w.cmdPauseButton, Qt::LeftButton);
          w.close();
          QVERIFY(w.blnStopSpiralling && !w.blnPaused);  // ended by the close, not by animate's Stop
        });
      });
      QCOMPARE(status, 0);
      QVERIFY(!w.isVisible() && !w.isSpiralling() && !w.ClkClock->isActive());
      QVERIFY(harness->storeBytes().contains("\r\n\"6\"\r\n"));  // the start number of the last frame
    }
  }
};

QTEST_MAIN(TestMotion)
#include "test_motion.moc"