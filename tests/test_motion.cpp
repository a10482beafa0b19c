// Spiral In and Spiral Out, and Pause, Resume and Stop. The click on a spiral button does not
// return until its animation has ended, so each test runs its steps inside the animation's wait
// loop and drives the clock ticks itself.

#include <functional>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>

#include "MainWindowHarness.h"
#include "catalogue/frmCWsoftware.h"
#include "language/WordTable.h"

namespace {

constexpr int kFifteenPixelIndex = 4;
constexpr int kTriangularIndex = 3;
constexpr int kOneTickPerSecond = 0;
constexpr int kTwoTicksPerSecond = 1;
// 7-pixel cells: 75 x 75 numbers, so Spiral In ends at 2147483646 - 5624.
const QString kLargestStart = QStringLiteral("2147478022");
const QString kLargestTriangularStart = QStringLiteral("268429831");  // 268435455 - 5624

void setStart(frmMain& w, const QString& text) {
  w.txbStartNumber->setText(text);
  QTest::keyClick(w.txbStartNumber, Qt::Key_Return);
}

// Clicks `button` and runs `during` inside the animation's wait loop. Afterwards presses Stop,
// unless the run has ended or been stopped already, so that a failed check never leaves it running;
// a run that still does not end is stopped after ten seconds, so that a fault fails, not hangs.
void animate(frmMain& w, QPushButton* button, const std::function<void()>& during) {
  QTimer::singleShot(10000, &w, [&w] {
    if (!w.isSpiralling()) return;
    w.cmdStopButton_Click();
    QFAIL("the animation did not end");
  });
  QTimer::singleShot(0, &w, [&w, during] {
    during();
    if (w.isSpiralling() && !w.blnSpiralRunEnded && !w.blnStopSpiralling) {
      QTest::mouseClick(w.cmdStopButton, Qt::LeftButton);
    }
  });
  QTest::mouseClick(button, Qt::LeftButton);
}

// What the user can see of every control: shown or not, and for the shown ones, enabled or not.
// The controls are named by kind and place, since raising and lowering reorders them.
QStringList visibleLayout(const frmMain& w) {
  QStringList layout;
  const QList<const QObject*> containers{&w, w.fraCellObject, w.fraStartNumberFrame, w.fraButtonFrame};
  for (const QWidget* control : w.findChildren<QWidget*>()) {
    if (!containers.contains(control->parent())) continue;
    const QRect place = control->geometry();
    const bool shown = control->isVisible();
    layout << QStringLiteral("%1 at %2,%3 %4x%5: shown %6, enabled %7")
                  .arg(QLatin1String(control->metaObject()->className()))
                  .arg(place.x()).arg(place.y()).arg(place.width()).arg(place.height())
                  .arg(shown).arg(shown && control->isEnabled());
  }
  layout.sort();
  return layout;
}

int stackIndex(const QWidget* control) { return control->parent()->children().indexOf(control); }

}  // namespace

class TestMotion : public QObject {
  Q_OBJECT

 private slots:
  void runEndsQuietlyAtTheFirstTickAtEitherEnd_data();
  void runEndsQuietlyAtTheFirstTickAtEitherEnd();
  void stepsGoThroughTheNumbersOrThePrimes_data();
  void stepsGoThroughTheNumbersOrThePrimes();
  void realClockTicksRunTheAnimationToItsEnd();
  void refusedStartNumberStartsNoAnimation();
  void animationLayoutComesAndGoes_data();
  void animationLayoutComesAndGoes();
  void pauseFreezesAndResumeTakesTheNewRate();
  void stopWhilePausedEndsWithoutAFurtherStep();
  void optionsRedrawWhilePausedAndWaitWhileRunning();
  void closingTheWindowEndsTheAnimation_data();
  void closingTheWindowEndsTheAnimation();
};

void TestMotion::runEndsQuietlyAtTheFirstTickAtEitherEnd_data() {
  QTest::addColumn<bool>("inward");
  QTest::addColumn<int>("numberClass");
  QTest::addColumn<bool>("primesOnly");
  QTest::addColumn<QString>("start");
  QTest::newRow("in from the largest") << true << 0 << false << kLargestStart;
  QTest::newRow("in from the largest, primes") << true << 0 << true << kLargestStart;
  QTest::newRow("in, primes, the largest next") << true << 0 << true << "2147478021";
  QTest::newRow("in from the largest triangular")
      << true << kTriangularIndex << false << kLargestTriangularStart;
  QTest::newRow("out from 1") << false << 0 << false << "1";
  QTest::newRow("out from 2, primes") << false << 0 << true << "2";
}

void TestMotion::runEndsQuietlyAtTheFirstTickAtEitherEnd() {
  QFETCH(bool, inward);
  QFETCH(int, numberClass);
  QFETCH(bool, primesOnly);
  QFETCH(QString, start);
  MainWindowHarness harness;
  frmMain& w = harness.start();
  w.cboShow->setCurrentIndex(numberClass);
  setStart(w, start);
  w.chkCentralNumberPrime->setChecked(primesOnly);
  const int passes = w.drawPassCount();
  bool endedByTheTick = false;
  int passesAfterTheTick = 0;

  animate(w, inward ? w.cmdSpiralIn : w.cmdSpiralOut, [&] {
    w.ClkClock_Timer();
    endedByTheTick = w.blnSpiralRunEnded;
    passesAfterTheTick = w.drawPassCount();
  });
  QVERIFY(endedByTheTick);
  QCOMPARE(passesAfterTheTick, passes + 1);  // only the click's own pass
  QCOMPARE(w.txbStartNumber->text(), start);
  QVERIFY(harness.desktop.messages.empty());
  QVERIFY(!w.isSpiralling() && !w.blnSpiralRunEnded && !w.ClkClock->isActive());
  QVERIFY(w.cmdSpiralIn->isVisible() && w.cmdDraw->isVisible() && !w.cmdStopButton->isVisible());
}

void TestMotion::stepsGoThroughTheNumbersOrThePrimes_data() {
  QTest::addColumn<bool>("inward");
  QTest::addColumn<bool>("primesOnly");
  QTest::addColumn<QString>("start");
  QTest::addColumn<QStringList>("frames");  // the start numbers drawn by up to four ticks
  QTest::addColumn<bool>("ends");           // the tick after the last frame ends the run
  QTest::newRow("in") << true << false << "5" << QStringList{"6", "7", "8", "9"} << false;
  QTest::newRow("out to 1") << false << false << "3" << QStringList{"2", "1"} << true;
  QTest::newRow("in from a prime") << true << true << "7" << QStringList{"11", "13", "17", "19"} << false;
  QTest::newRow("in from a composite")
      << true << true << "24" << QStringList{"29", "31", "37", "41"} << false;
  QTest::newRow("out from a composite") << false << true << "10" << QStringList{"7", "5", "3", "2"} << true;
  QTest::newRow("out from 3") << false << true << "3" << QStringList{"2"} << true;
  QTest::newRow("in near the largest") << true << false << "2147478020"
                                       << QStringList{"2147478021", "2147478022"} << true;
}

void TestMotion::stepsGoThroughTheNumbersOrThePrimes() {
  QFETCH(bool, inward);
  QFETCH(bool, primesOnly);
  QFETCH(QString, start);
  QFETCH(QStringList, frames);
  QFETCH(bool, ends);
  MainWindowHarness harness;
  frmMain& w = harness.start();
  setStart(w, start);
  w.chkCentralNumberPrime->setChecked(primesOnly);
  const int passes = w.drawPassCount();
  QStringList drawn;
  QStringList shownInOutput;
  bool ended = false;

  animate(w, inward ? w.cmdSpiralIn : w.cmdSpiralOut, [&] {
    for (int tick = 0; tick <= 4 && !w.blnSpiralRunEnded; ++tick) {
      w.ClkClock_Timer();
      if (w.blnSpiralRunEnded) break;
      drawn << w.txbStartNumber->text();
      shownInOutput << w.lblStartNumberOutput->text();
    }
    ended = w.blnSpiralRunEnded;
  });
  QCOMPARE(drawn.mid(0, frames.size()), frames);
  QCOMPARE(shownInOutput, drawn);
  QCOMPARE(ended, ends);
  QCOMPARE(w.drawPassCount(), passes + 1 + drawn.size());  // the click's pass and one per step
  QCOMPARE(w.txbStartNumber->text(), drawn.last());        // the last frame stays
  QVERIFY(harness.desktop.messages.empty());
}

void TestMotion::realClockTicksRunTheAnimationToItsEnd() {
  MainWindowHarness harness;
  frmMain& w = harness.start();
  setStart(w, QStringLiteral("3"));
  const int passes = w.drawPassCount();
  QTimer::singleShot(5000, &w, [&w] { w.cmdStopButton_Click(); });  // only if the clock never ticks
  QTest::mouseClick(w.cmdSpiralOut, Qt::LeftButton);                // four ticks per second
  QCOMPARE(w.txbStartNumber->text(), QStringLiteral("1"));
  QCOMPARE(w.drawPassCount(), passes + 3);
  QVERIFY(!w.ClkClock->isActive() && !w.isSpiralling());
}

void TestMotion::refusedStartNumberStartsNoAnimation() {
  MainWindowHarness harness;
  frmMain& w = harness.start();
  w.txbStartNumber->setText(QStringLiteral("2147478023"));  // one above the largest
  QTest::mouseClick(w.cmdSpiralIn, Qt::LeftButton);
  QCOMPARE(harness.desktop.messages.size(), 1u);
  QCOMPARE(harness.desktop.messages[0].text,
           QStringLiteral("End number would be greater than 2^31 - 2 = 2147483646."));
  QVERIFY(!w.isSpiralling() && !w.ClkClock->isActive() && w.cmdSpiralIn->isVisible());
}

void TestMotion::animationLayoutComesAndGoes_data() {
  QTest::addColumn<int>("scheme");
  QTest::addColumn<int>("language");
  QTest::newRow("cluster, other-software button") << 0 << language::kEnglish;
  QTest::newRow("diagonal, colour legend, German") << 1 << language::kGerman;
}

void TestMotion::animationLayoutComesAndGoes() {
  QFETCH(int, scheme);
  QFETCH(int, language);
  MainWindowHarness harness;
  frmMain& w = harness.start();
  language::intLanguage = language;
  w.cboColorBy->setCurrentIndex(scheme);
  setStart(w, QStringLiteral("5"));
  const QStringList before = visibleLayout(w);
  const int frameIndex = stackIndex(w.fraStartNumberFrame);
  QVERIFY(stackIndex(w.lblStartNumberOutput) < stackIndex(w.txbStartNumber));

  animate(w, w.cmdSpiralIn, [&] {
    QVERIFY(w.cmdStopButton->isVisible() && w.cmdPauseButton->isVisible() && w.cmdPauseButton->isEnabled());
    QVERIFY(w.cmdResumeButton->isVisible() && !w.cmdResumeButton->isEnabled());
    for (QWidget* hidden : std::initializer_list<QWidget*>{
             w.cmdSpiralIn, w.cmdSpiralOut, w.cmdDraw, w.cmdHelp, w.cmdQuit, w.txbStartNumber,
             w.vsbStartNumber, w.cmdCWsoftware, w.lblNumberofNumbers, w.lblNumberOfNumbersOutput,
             w.lblSmallestPrime, w.lblLargestPrimeOutput, w.Picture1[0]}) {
      QVERIFY(!hidden->isVisible());
    }
    QVERIFY(w.lblClockTicks->isVisible() && w.cboClockTicks->isVisible() && !w.cboClockTicks->isEnabled());
    QVERIFY(!w.cboBoxSize->isEnabled() && !w.cboColorBy->isEnabled() && !w.cboShow->isEnabled());
    QVERIFY(!w.optCircles->isEnabled() && !w.optSquares->isEnabled());
    QVERIFY(w.chkCalculateLongest->isEnabled() && w.chkCentralNumberPrime->isEnabled());
    QVERIFY(w.lblStartNumberOutput->isVisible());
    QCOMPARE(w.lblStartNumberOutput->text(), QStringLiteral("5"));
    QCOMPARE(w.lblSpiralling->text(), language == language::kGerman
                                          ? QStringLiteral("Spiralbewegung nach Innen")
                                          : QStringLiteral("Spiralling in"));
    QVERIFY(w.lblSpiralling->isVisible());
    QVERIFY(stackIndex(w.fraStartNumberFrame) < stackIndex(w.fraButtonFrame));
    QVERIFY(stackIndex(w.lblStartNumberOutput) > stackIndex(w.txbStartNumber));
    QVERIFY(w.ClkClock->isActive());
    QCOMPARE(w.ClkClock->interval(), 250);

    w.ClkClock_Timer();
    QCOMPARE(w.lblStartNumberOutput->text(), QStringLiteral("6"));
    QCOMPARE(w.vsbStartNumber->value(), 6);  // in step, though hidden and disabled
    QVERIFY(!w.vsbStartNumber->isEnabled() && !w.cmdDraw->isEnabled());
  });
  language::intLanguage = language::kEnglish;
  QCOMPARE(visibleLayout(w), before);
  QCOMPARE(stackIndex(w.fraStartNumberFrame), frameIndex);
  QVERIFY(stackIndex(w.lblStartNumberOutput) < stackIndex(w.txbStartNumber));
  QCOMPARE(w.txbStartNumber->text(), QStringLiteral("6"));
  QCOMPARE(w.lblNumberShownOutput->text(), QString::number(w.lngShownCount));
}

void TestMotion::pauseFreezesAndResumeTakesTheNewRate() {
  MainWindowHarness harness;
  frmMain& w = harness.start();
  w.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&w));
  setStart(w, QStringLiteral("5"));

  animate(w, w.cmdSpiralIn, [&] {
    QCOMPARE(QApplication::focusWidget(), w.cmdStopButton);
    w.ClkClock_Timer();
    QTest::mouseClick(w.cmdPauseButton, Qt::LeftButton);
    QVERIFY(w.blnPaused && !w.cmdPauseButton->isEnabled() && w.cmdResumeButton->isEnabled());
    QCOMPARE(QApplication::focusWidget(), w.cmdResumeButton);
    QVERIFY(w.optCircles->isEnabled() && w.optSquares->isEnabled() && w.cboColorBy->isEnabled() &&
            w.cboClockTicks->isEnabled());
    QVERIFY(!w.cboBoxSize->isEnabled() && !w.cboShow->isEnabled());

    const int passes = w.drawPassCount();
    for (int tick = 0; tick < 3; ++tick) w.ClkClock_Timer();
    QCOMPARE(w.txbStartNumber->text(), QStringLiteral("6"));
    QCOMPARE(w.drawPassCount(), passes);
    QVERIFY(w.ClkClock->isActive());  // the clock keeps ticking

    w.cboClockTicks->setCurrentIndex(kOneTickPerSecond);
    QCOMPARE(w.ClkClock->interval(), 250);  // not before Resume
    QTest::mouseClick(w.cmdResumeButton, Qt::LeftButton);
    QCOMPARE(w.ClkClock->interval(), 1000);
    QVERIFY(!w.blnPaused && w.cmdPauseButton->isEnabled() && !w.cmdResumeButton->isEnabled());
    QCOMPARE(QApplication::focusWidget(), w.cmdStopButton);
    QVERIFY(!w.optCircles->isEnabled() && !w.optSquares->isEnabled() && !w.cboColorBy->isEnabled() &&
            !w.cboClockTicks->isEnabled());
    w.ClkClock_Timer();
    QCOMPARE(w.txbStartNumber->text(), QStringLiteral("7"));
  });
  QCOMPARE(QApplication::focusWidget(), w.txbStartNumber);
}

void TestMotion::stopWhilePausedEndsWithoutAFurtherStep() {
  MainWindowHarness harness;
  frmMain& w = harness.start();
  setStart(w, QStringLiteral("5"));
  int passesAtStop = 0;
  animate(w, w.cmdSpiralIn, [&] {
    w.ClkClock_Timer();
    QTest::mouseClick(w.cmdPauseButton, Qt::LeftButton);
    w.cboClockTicks->setCurrentIndex(kTwoTicksPerSecond);
    QTest::mouseClick(w.cmdStopButton, Qt::LeftButton);
    passesAtStop = w.drawPassCount();
    w.ClkClock_Timer();  // a tick that comes in the same batch as the click on Stop
  });
  QCOMPARE(w.drawPassCount(), passesAtStop);
  QCOMPARE(w.txbStartNumber->text(), QStringLiteral("6"));
  QVERIFY(!w.blnPaused && !w.blnStopSpiralling && !w.ClkClock->isActive());
  QVERIFY(!w.cmdStopButton->isVisible() && !w.cmdPauseButton->isVisible() && !w.cmdResumeButton->isVisible());
  QCOMPARE(w.ClkClock->interval(), 250);  // nothing of the new rate was used

  int intervalOfTheNextRun = 0;
  animate(w, w.cmdSpiralOut, [&] { intervalOfTheNextRun = w.ClkClock->interval(); });
  QCOMPARE(intervalOfTheNextRun, 500);
  QCOMPARE(w.lblSpiralling->text(), QStringLiteral("Spiralling out"));
}

void TestMotion::optionsRedrawWhilePausedAndWaitWhileRunning() {
  MainWindowHarness harness;
  frmMain& w = harness.start();
  w.cboBoxSize->setCurrentIndex(kFifteenPixelIndex);  // grid and numerals apply
  setStart(w, QStringLiteral("5"));
  animate(w, w.cmdSpiralIn, [&] {
    int passes = w.drawPassCount();
    QTest::mouseClick(w.chkGrid, Qt::LeftButton);
    QTest::mouseClick(w.chkNumerals, Qt::LeftButton);
    QCOMPARE(w.drawPassCount(), passes);  // the next tick shows them
    QVERIFY(w.chkGrid->isChecked() && !w.chkNumerals->isChecked());
    w.ClkClock_Timer();
    QCOMPARE(w.drawPassCount(), passes + 1);

    QTest::mouseClick(w.cmdPauseButton, Qt::LeftButton);
    passes = w.drawPassCount();
    const QImage frozen = w.picture.image().copy();
    w.optSquares->click();
    QCOMPARE(w.drawPassCount(), passes + 1);
    QVERIFY(w.picture.image() != frozen);  // the same frame, now in squares
    QTest::mouseClick(w.chkGrid, Qt::LeftButton);
    w.cboColorBy->setCurrentIndex(3);
    QCOMPARE(w.drawPassCount(), passes + 3);
    QTest::mouseClick(w.chkCalculateLongest, Qt::LeftButton);
    QTest::mouseClick(w.chkCentralNumberPrime, Qt::LeftButton);
    QCOMPARE(w.drawPassCount(), passes + 3);
    QCOMPARE(w.lblStartNumberOutput->text(), QStringLiteral("6"));
    QVERIFY(w.isSpiralling() && !w.cmdDraw->isEnabled());  // the redraws ran in animation mode
  });
  QVERIFY(w.optSquares->isChecked());
  QCOMPARE(w.cboColorBy->currentIndex(), 3);
}

void TestMotion::closingTheWindowEndsTheAnimation_data() {
  QTest::addColumn<bool>("paused");
  QTest::newRow("running") << false;
  QTest::newRow("paused") << true;
}

void TestMotion::closingTheWindowEndsTheAnimation() {
  QFETCH(bool, paused);
  MainWindowHarness harness;
  frmMain& w = harness.start();
  setStart(w, QStringLiteral("5"));
  bool stopSeen = false;
  closeWhenShown<frmCWsoftware>([](frmCWsoftware&) {});  // shown at every end of the program
  const int status = exitStatusAfter([&] {
    animate(w, w.cmdSpiralIn, [&] {
      w.ClkClock_Timer();
      if (paused) QTest::mouseClick(w.cmdPauseButton, Qt::LeftButton);
      w.close();
      stopSeen = w.blnStopSpiralling && !w.blnPaused;
    });
  });
  QCOMPARE(status, 0);
  QVERIFY(stopSeen);
  QVERIFY(!w.isVisible() && !w.isSpiralling() && !w.ClkClock->isActive());
  QVERIFY(harness.storeBytes().contains("\r\n\"6\"\r\n"));  // the start number of the last frame
}

QTEST_MAIN(TestMotion)
#include "test_motion.moc"
