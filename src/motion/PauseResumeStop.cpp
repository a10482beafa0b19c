// Stop, Pause and Resume of a running animation. They only set flags and switch controls; the
// wait loop and the clock tick act on the flags.

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "frmMain.h"

void frmMain::cmdStopButton_Click() {
  blnStopSpiralling = true;
  blnPaused = false;
}

// The frozen frame may be redrawn in another shape or scheme; the clock rate takes effect on Resume.
void frmMain::cmdPauseButton_Click() {
  blnPaused = true;
  setPauseControlsEnabled(true);
  cmdPauseButton->setEnabled(false);
  cmdResumeButton->setEnabled(true);
  cmdResumeButton->setFocus();
}

void frmMain::cmdResumeButton_Click() {
  blnPaused = false;
  ClkClock->setInterval(selectedClockInterval());
  setPauseControlsEnabled(false);
  cmdResumeButton->setEnabled(false);
  cmdPauseButton->setEnabled(true);
  cmdStopButton->setFocus();
}

void frmMain::setPauseControlsEnabled(bool enabled) {
  for (QWidget* control :
       std::initializer_list<QWidget*>{optCircles, optSquares, cboColorBy, cboClockTicks}) {
    control->setEnabled(enabled);
  }
}
