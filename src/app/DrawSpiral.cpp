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
#include "frmMain.h"
#include "WordTable.h"

namespace {

// A 1-pixel pass repaints the growing picture at most this often: a repaint is much slower than
// the thousand numbers drawn between two chances to repaint.
constexpr qint64 kRepaintIntervalMs = 30;

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

}  // namespace

void frmMain::cmdDraw_Click() { DrawSpiral(); }

void frmMain::cmdStopCalc_Click() { blnStopCalculation = true; }

void frmMain::DrawSpiral() {
  // A 1-pixel pass lets the message loop run; a request that arrives meanwhile is ignored rather
  // than started inside the running pass.
  if (drawPassRunning_) return;
  const QScopedValueRollback<bool> running(drawPassRunning_, true);
  blnStopCalculation = false;

  // The box holds digits only; the pass reads its text once.
  const spiral::StartNumber start = spiral::parseStartNumber(txbStartNumber->text().toStdString());
  txbStartNumber->setText(QString::fromStdString(start.text));
  if (start.refusal != spiral::Refusal::None) {
    refuseDrawRequest(start.refusal);
    return;
  }
  if (!spiral::numberClassOf(selectedClass()).reportsPrimes) HidePrimeStatistics();

  spiral::DrawSettings settings = drawSettingsFromControls();
  settings.start = start.value;
  const spiral::DrawOutcome outcome = spiral::drawSpiral(settings, picture, drawHooks(settings.start));
  lastRequest = {outcome.geometry, static_cast<int64_t>(outcome.startNumber)};  // the window's range fits
  if (outcome.refusal != spiral::Refusal::None) {
    refuseDrawRequest(outcome.refusal);  // the picture on the screen stays, and so does lastPass
  } else {
    lastPass = outcome;
    finishPass(settings.calculateLongest);
  }
}

template <class Choice>
static Choice selectedChoice(const QComboBox* list, Choice none) {
  return list->currentIndex() < 0 ? none : static_cast<Choice>(list->currentData().toInt());
}

spiral::ColorScheme frmMain::selectedScheme() const {
  return selectedChoice(cboColorBy, spiral::ColorScheme::None);
}

spiral::NumberClass frmMain::selectedClass() const {
  return selectedChoice(cboShow, spiral::NumberClass::None);
}

int frmMain::selectedBoxSize() const { return selectedChoice(cboBoxSize, 0); }

spiral::DrawSettings frmMain::drawSettingsFromControls() const {
  spiral::DrawSettings settings;
  settings.boxSize = selectedBoxSize();
  settings.squares = optSquares->isChecked();
  settings.grid = chkGrid->isChecked();
  settings.numerals = chkNumerals->isChecked();
  settings.numberClass = selectedClass();
  settings.colorScheme = selectedScheme();
  settings.calculateLongest = chkCalculateLongest->isChecked();
  return settings;
}

spiral::DrawHooks frmMain::drawHooks(int64_t startNumber) {
  spiral::DrawHooks hooks;
  hooks.accepted = [this, startNumber](const spiral::Geometry& geometry) {
    beginAcceptedPass(geometry, startNumber);
  };
  hooks.yield = [this](int64_t) { return yieldDuringPass(); };
  hooks.beforeDiagonals = [this] {
    if (spiral::cellSizeOf(intBoxSize()).announcesDiagonals) showCalculatingInDiagonalOutput();
  };
  return hooks;
}

void frmMain::refuseDrawRequest(spiral::Refusal refusal) {
  ShowStartNumberMessage(refusal);
  blnSpiralDrawn = false;
  if (refusal == spiral::Refusal::EndNumberTooLarge) blnEndNumberTooLarge = true;
  SetFocusToActiveControl();
}

// The request passed its checks; the engine clears the picture and draws right after this.
void frmMain::beginAcceptedPass(const spiral::Geometry& geometry, int64_t startNumber) {
  // From now on the picture shows this pass, also to a click while a 1-pixel pass yields; the
  // counts follow when the pass has ended.
  lastRequest = {geometry, startNumber};
  forgetNumberTip();  // it tells of the picture this pass replaces
  lastPass.geometry = geometry;
  lastPass.startNumber = startNumber;
  if (!isSpiralling()) {
    EnableDisableFunctions2(false);
    // Their handlers would start a pass inside this one.
    chkGrid->setEnabled(false);
    chkNumerals->setEnabled(false);
    if (spiral::cellSizeOf(geometry.boxSize).busyNotice != spiral::BusyNotice::None) showBusyNotice(geometry);
  }
  blnEndNumberTooLarge = false;
  blnSpiralDrawn = true;

  const QString start = txbStartNumber->text();
  if (!lblStartNumberOutput->isHidden()) lblStartNumberOutput->setText(start);
  lblEndNumberOutput->setText(QString::number(startNumber + geometry.numberOfNumbers - 1));
  lblNumberOfNumbersOutput->setText(QString::number(geometry.numberOfNumbers));
  ClearStatistics(false);
  passClock_.start();
  lastPassRepaintMs_ = 0;
}

void frmMain::showBusyNotice(const spiral::Geometry& geometry) {
  spiral::drawBusyNotice(picture, geometry, strCalculating.toStdString());
  if (spiral::cellSizeOf(geometry.boxSize).yields) {  // only yielding passes can be stopped
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

void frmMain::finishPass(bool diagonalsMeasured) {
  cmdStopCalc->hide();
  picSpiral->repaint();
  if (!lastPass.stopped) showDiagonalRuns(lastPass, diagonalsMeasured);
  if (!isSpiralling()) {
    EnableDisableFunctions2(true);
    if (lastPass.stopped) {
      ClearStatistics(true);
    } else {
      ShowStatistics();
    }
    SetSpiralButtonsVisibility();
    SetGridAndNumeralsEnabled();
  }
  blnStopCalculation = false;
  showStartNumberPrimality();
  DescribePicture();
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
  if (!spiral::numberClassOf(selectedClass()).countsShown) {
    for (QLabel* label : {lblNumberShown, lblNumberShown2, lblNumberShownOutput}) label->hide();
  }
}

void frmMain::ShowStatistics() {
  const spiral::NumberClassChoice& shown = spiral::numberClassOf(selectedClass());
  if (shown.countsShown) {
    lblNumberShown->show();
    lblNumberShown2->show();
    lblNumberShownOutput->setText(QString::number(lastPass.shownCount));
    lblNumberShownOutput->show();
  }
  if (shown.reportsPrimes) {
    showPrimeStatistic(lblSmallestPrime, lblSmallestPrimeOutput, lastPass.smallestPrime);
    showPrimeStatistic(lblLargestPrime, lblLargestPrimeOutput, lastPass.largestPrime);
  }
}
