// The window's side of the draw pass: it reads the controls into the engine's settings, shows
// the busy notice and yields while the engine walks the spiral, and writes the labels, messages
// and control states from the outcome. Also the statistics labels.

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>

#include "SpiralView.h"
#include "app/frmMain.h"
#include "language/WordTable.h"

namespace {

// A 1-pixel pass repaints the growing picture at most this often: a repaint is much slower than
// the thousand numbers drawn between two chances to repaint.
constexpr qint64 kRepaintIntervalMs = 30;

// The diagonal measure is slow enough to announce for cells of up to 3 pixels.
constexpr int kLargestBoxSizeAnnouncingDiagonals = 3;
// The busy notice is shown for cells of up to 5 pixels.
constexpr int kLargestBoxSizeWithBusyNotice = 5;

constexpr int indexOf(spiral::NumberClass numberClass) { return static_cast<int>(numberClass); }

void setTextColor(QLabel* label, Qt::GlobalColor color) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, color);
  label->setPalette(palette);
}

// Shows a prime statistic with its caption, or hides both when there is no such prime.
void showPrimeStatistic(QLabel* caption, QLabel* output, int64_t prime) {
  if (prime != 0) output->setText(QString::number(prime));
  caption->setVisible(prime != 0);
  output->setVisible(prime != 0);
}

frmMain::StartNumberMessage messageFor(spiral::Refusal refusal) {
  switch (refusal) {
    case spiral::Refusal::EndNumberTooLarge:
      return frmMain::EndNumberMessage;
    case spiral::Refusal::TriangularTooLarge:
      return frmMain::TriangularMessage;
    default:
      return frmMain::TooLargeMessage;
  }
}

}  // namespace

void frmMain::cmdDraw_Click() { DrawSpiral(); }

void frmMain::cmdStopCalc_Click() { blnStopCalculation = true; }

void frmMain::DrawSpiral() {
  // A 1-pixel pass lets the message loop run; a request that arrives meanwhile is ignored rather
  // than started inside the running pass.
  if (drawPassRunning_) return;
  const QScopedValueRollback<bool> running(drawPassRunning_, true);
  ++drawPasses_;
  blnStopCalculation = false;

  const QString text = txbStartNumber->text().trimmed();
  txbStartNumber->setText(text.isEmpty() ? QStringLiteral("1") : text);
  const spiral::DrawSettings settings = drawSettingsFromControls();
  if (IsStartNumberTooLarge(settings.startText)) {
    refuseDrawRequest(spiral::Refusal::StartTooLarge);
    return;
  }
  if (cboShow->currentIndex() != indexOf(spiral::NumberClass::Primes)) HidePrimeStatistics();

  const spiral::DrawOutcome outcome = spiral::drawSpiral(settings, picture, drawHooks());
  rememberGeometry(outcome.geometry);
  lngStartNumber = outcome.startNumber;
  if (outcome.refusal != spiral::Refusal::None) {
    refuseDrawRequest(outcome.refusal);
  } else {
    finishPass(outcome, settings.calculateLongest);
  }
}

spiral::DrawSettings frmMain::drawSettingsFromControls() const {
  spiral::DrawSettings settings;
  settings.startText = txbStartNumber->text();
  settings.boxSize = cboBoxSize->currentText().toInt();
  settings.squares = optSquares->isChecked();
  settings.grid = chkGrid->isChecked();
  settings.numerals = chkNumerals->isChecked();
  settings.numberClass = static_cast<spiral::NumberClass>(cboShow->currentIndex());
  settings.colorScheme = static_cast<spiral::ColorScheme>(cboColorBy->currentIndex());
  settings.colorCount = intColorCount;
  settings.calculateLongest = chkCalculateLongest->isChecked();
  return settings;
}

spiral::DrawHooks frmMain::drawHooks() {
  spiral::DrawHooks hooks;
  hooks.accepted = [this](const spiral::Geometry& geometry) { beginAcceptedPass(geometry); };
  hooks.yield = [this](int64_t) { return yieldDuringPass(); };
  hooks.beforeDiagonals = [this] {
    if (intBoxSize <= kLargestBoxSizeAnnouncingDiagonals) showCalculatingInDiagonalOutput();
  };
  return hooks;
}

void frmMain::refuseDrawRequest(spiral::Refusal refusal) {
  ShowStartNumberMessage(messageFor(refusal));
  blnSpiralDrawn = false;
  if (refusal == spiral::Refusal::EndNumberTooLarge) blnEndNumberTooLarge = true;
  SetFocusToActiveControl();
}

void frmMain::rememberGeometry(const spiral::Geometry& geometry) {
  intBoxSize = geometry.boxSize;
  intCenterX = geometry.centerX;
  intCenterY = geometry.centerY;
  intCellsPerSide = geometry.cellsPerSide;
  lngNumberOfNumbers = geometry.numberOfNumbers;
  intCircleRadius = geometry.circleRadius;
}

// The request passed its checks; the engine clears the picture and draws right after this.
void frmMain::beginAcceptedPass(const spiral::Geometry& geometry) {
  rememberGeometry(geometry);
  if (!isSpiralling()) {
    EnableDisableFunctions2(false);
    // Their handlers would start a pass inside this one.
    chkGrid->setEnabled(false);
    chkNumerals->setEnabled(false);
    if (geometry.boxSize <= kLargestBoxSizeWithBusyNotice) showBusyNotice(geometry);
  }
  blnEndNumberTooLarge = false;
  blnSpiralDrawn = true;

  const QString start = txbStartNumber->text();
  if (!lblStartNumberOutput->isHidden()) lblStartNumberOutput->setText(start);
  const int64_t startNumber = numberInStartBox();
  lblEndNumberOutput->setText(QString::number(startNumber + geometry.numberOfNumbers - 1));
  lblNumberOfNumbersOutput->setText(QString::number(geometry.numberOfNumbers));
  ClearStatistics(false);
  passClock_.start();
  lastPassRepaintMs_ = 0;
}

void frmMain::showBusyNotice(const spiral::Geometry& geometry) {
  spiral::drawBusyNotice(picture, geometry, strCalculating);
  if (geometry.boxSize == 1) {  // only 1-pixel passes yield, so only they can be stopped
    cmdStopCalc->setText(language::W(language::Word::Stop));
    cmdStopCalc->show();
    cmdStopCalc->raise();
  }
  picSpiral->repaint();
}

bool frmMain::yieldDuringPass() {
  const qint64 now = passClock_.elapsed();
  if (now - lastPassRepaintMs_ >= kRepaintIntervalMs) {
    picSpiral->repaint();
    lastPassRepaintMs_ = now;
  }
  QCoreApplication::processEvents();
  return blnStopCalculation;
}

void frmMain::showCalculatingInDiagonalOutput() {
  lblLongestNWSEOutput->setText(language::W(language::Word::Calculating));
  setTextColor(lblLongestNWSEOutput, Qt::red);
  lblLongestNWSEOutput->repaint();
}

void frmMain::finishPass(const spiral::DrawOutcome& outcome, bool diagonalsMeasured) {
  lngShownCount = outcome.shownCount;
  lngSmallestPrime = outcome.smallestPrime;
  lngLargestPrime = outcome.largestPrime;
  cmdStopCalc->hide();
  picSpiral->repaint();
  if (!outcome.stopped) {
    lngNumber = lngStartNumber;
    showDiagonalRuns(outcome, diagonalsMeasured);
  }
  if (!isSpiralling()) {
    EnableDisableFunctions2(true);
    if (outcome.stopped) {
      ClearStatistics(true);
    } else {
      ShowStatistics();
    }
    SetSpiralButtonsVisibility();
    SetGridAndNumeralsEnabled();
  }
  blnStopCalculation = false;
  showStartNumberPrimality();
  SetFocusToActiveControl();
}

void frmMain::showDiagonalRuns(const spiral::DrawOutcome& outcome, bool measured) {
  setTextColor(lblLongestNWSEOutput, Qt::black);
  lblLongestNWSEOutput->setText(measured ? QString::number(outcome.longestNWSE.value_or(0)) : QString());
  lblLongestSWNEOutput->setText(measured ? QString::number(outcome.longestSWNE.value_or(0)) : QString());
  if (isSpiralling()) {
    lblLongestNWSE->setVisible(measured);
    lblLongestSWNE->setVisible(measured);
  }
}

// Also after a stopped pass, "P" tells whether the number in the box is prime.
void frmMain::showStartNumberPrimality() {
  lblP->setText(testCentralNumberPrime(numberInStartBox()) ? QStringLiteral("P") : QStringLiteral(" "));
}

void frmMain::ClearStatistics(bool blnAll) {
  for (QLabel* output : {lblLongestNWSEOutput, lblLongestSWNEOutput, lblSmallestPrimeOutput,
                         lblLargestPrimeOutput, lblNumberShownOutput}) {
    output->clear();
  }
  if (blnAll) {
    lblEndNumberOutput->clear();
    lblNumberOfNumbersOutput->clear();
  }
}

void frmMain::HidePrimeStatistics() {
  for (QLabel* label : {lblSmallestPrime, lblSmallestPrimeOutput, lblLargestPrime, lblLargestPrimeOutput}) {
    label->hide();
  }
  if (cboShow->currentIndex() == indexOf(spiral::NumberClass::All)) {
    for (QLabel* label : {lblNumberShown, lblNumberShown2, lblNumberShownOutput}) label->hide();
  }
}

void frmMain::ShowStatistics() {
  const int shown = cboShow->currentIndex();
  if (shown != indexOf(spiral::NumberClass::All)) {
    lblNumberShown->show();
    lblNumberShown2->show();
    lblNumberShownOutput->setText(QString::number(lngShownCount));
    lblNumberShownOutput->show();
  }
  if (shown == indexOf(spiral::NumberClass::Primes)) {
    showPrimeStatistic(lblSmallestPrime, lblSmallestPrimeOutput, lngSmallestPrime);
    showPrimeStatistic(lblLargestPrime, lblLargestPrimeOutput, lngLargestPrime);
  }
}
