// Spiral In and Spiral Out: the click handlers that run a whole animation, the switch into its
// layout and back, and the clock tick that moves the start number one step and redraws.

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include "DrawPass.h"
#include "Tick.h"
#include "frmMain.h"
#include "WordTable.h"

void frmMain::cmdSpiralIn_Click() { runSpiralling(true); }

void frmMain::cmdSpiralOut_Click() { runSpiralling(false); }

// Returns when the animation has ended: Stop, the end of the number range, or the window closing.
void frmMain::runSpiralling(bool inward) {
  DrawSpiral();
  if (!blnSpiralDrawn) return;  // the pass has said why
  using language::Word;
  lblSpiralling->setText(language::W(inward ? Word::SpirallingIn : Word::SpirallingOut));
  BeginSpiralling();
  blnSpiralRunEnded = false;
  blnSpirallingIn = inward;
  blnSpirallingOut = !inward;
  waitWhileSpiralling();
  EndSpiralling();
  blnSpirallingIn = blnSpirallingOut = false;
  EnableDisableFunctions2(true);
  SetFocusToActiveControl();
}

// Ticks, clicks and key presses are handled here. The loop sleeps until the next event comes, so
// neither a running nor a paused animation keeps a core busy; the ticks that arrive while paused
// change nothing.
void frmMain::waitWhileSpiralling() {
  while (!blnSpiralRunEnded && !blnStopSpiralling) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
}

void frmMain::BeginSpiralling() {
  fraStartNumberFrame->lower();  // under the button frame, where Stop, Pause and Resume appear
  txbStartNumber->hide();
  vsbStartNumber->hide();
  lblStartNumberOutput->setText(txbStartNumber->text());
  lblStartNumberOutput->show();
  lblStartNumberOutput->raise();
  lblNumberofNumbers->hide();
  lblNumberOfNumbersOutput->hide();
  HidePrimeStatistics();
  lblSpiralling->raise();
  lblSpiralling->show();
  cmdCWsoftware->hide();
  for (QWidget* locked : std::initializer_list<QWidget*>{cboBoxSize, cboColorBy, cboShow, txbStartNumber,
                                                         vsbStartNumber}) {
    locked->setEnabled(false);
  }
  cmdStopButton->show();
  cmdPauseButton->setEnabled(true);
  cmdPauseButton->show();
  cmdResumeButton->setEnabled(false);
  cmdResumeButton->show();
  for (QWidget* idleButton : std::initializer_list<QWidget*>{cmdSpiralIn, cmdSpiralOut, cmdDraw, cmdHelp,
                                                             cmdQuit}) {
    idleButton->hide();
  }
  lblClockTicks->show();
  lblClockTicks->raise();
  cboClockTicks->show();
  cboClockTicks->raise();
  cboClockTicks->setEnabled(false);
  cmdStopButton->setFocus();
  blnStopSpiralling = false;
  blnPaused = false;
  ClkClock->setInterval(selectedClockInterval());
  ClkClock->start();
  HideColorLegend();
  EnableDisableFunctions2(false);
}

void frmMain::EndSpiralling() {
  ClkClock->stop();
  cmdStopButton->hide();
  cmdPauseButton->hide();
  cmdResumeButton->hide();
  cboBoxSize->setEnabled(true);
  cboColorBy->setEnabled(true);
  cboShow->setEnabled(true);
  SetSpiralButtonsVisibility();
  cmdDraw->show();
  cmdHelp->show();
  cmdQuit->show();
  lblClockTicks->hide();
  lblClockTicks->lower();
  cboClockTicks->hide();
  cboClockTicks->lower();
  txbStartNumber->setEnabled(true);
  fraStartNumberFrame->raise();
  lblStartNumberOutput->hide();
  lblStartNumberOutput->lower();  // back under the text box
  txbStartNumber->show();
  vsbStartNumber->show();
  for (QWidget* caption : std::initializer_list<QWidget*>{lblNumberofNumbers, lblNumberOfNumbersOutput,
                                                          lblLongestNWSE, lblLongestSWNE}) {
    caption->show();
  }
  ShowStatistics();
  lblSpiralling->hide();
  lblSpiralling->lower();
  SetCWsoftwareButtonVisibility();
  ShowColorLegend();
  // Enables the scroll bar too, whatever the start number, as after every idle draw pass.
  EnableDisableFunctions2(true);
  blnSpiralRunEnded = false;
  blnStopSpiralling = false;
}

// The interval is the selected entry's item data, never computed from its text.
int frmMain::selectedClockInterval() const { return cboClockTicks->currentData().toInt(); }

// One step: the next start number into the box, then a whole new picture. The tick that finds no
// further step ends the run quietly and leaves the last frame as it is. A tick handled after Stop
// but before the wait loop has seen it makes no step either.
void frmMain::ClkClock_Timer() {
  if (blnPaused || blnStopSpiralling || !isSpiralling()) return;
  const spiral::TickRule rule{blnSpirallingIn ? spiral::Direction::In : spiral::Direction::Out, selectedClass(),
                              lngNumberOfNumbers(), chkCentralNumberPrime->isChecked()};
  const std::optional<int64_t> next = spiral::nextStart(rule, numberInStartBox());
  if (rule.primeSteps) blnCentralNumberPrime = next.has_value();  // the search's last primality test
  if (!next) {
    blnSpiralRunEnded = true;
    return;
  }
  txbStartNumber->setText(QString::number(*next));
  DrawSpiral();
}
