// The option controls' handlers, the switching of control groups around busy work, and where the
// keyboard focus goes back to.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "DrawPass.h"
#include "frmMain.h"

namespace {

// The list position of the smallest cell size that animates.
int firstAnimatingSizeIndex() {
  int index = 0;
  while (!spiral::kCellSizes[index].animates) ++index;
  return index;
}

}  // namespace

void frmMain::EnableDisableFunctions(bool blnA) {
  cmdSpiralIn->setEnabled(true);
  cmdSpiralOut->setEnabled(true);
  vsbStartNumber->setEnabled(blnA);
  chkCentralNumberPrime->setEnabled(blnA);
  chkCalculateLongest->setEnabled(blnA);
}

void frmMain::EnableDisableFunctions2(bool blnA) {
  for (QWidget* control : std::initializer_list<QWidget*>{optSquares, optCircles, cboBoxSize, cboColorBy,
                                                          cboShow, txbStartNumber, cmdDraw, vsbStartNumber}) {
    if (control == vsbStartNumber && scrollBarStepping_) continue;  // held by the user
    control->setEnabled(blnA);
  }
}

void frmMain::SetFocusToActiveControl() {
  if (!blnFormLoaded || !isEnabled()) return;
  if (blnPaused) {
    cmdResumeButton->setFocus();
  } else if (!isSpiralling()) {
    txbStartNumber->setCursorPosition(static_cast<int>(txbStartNumber->text().size()));
    if (txbStartNumber->isEnabled()) txbStartNumber->setFocus();
  } else {
    cmdStopButton->setFocus();
  }
}

// Animation is offered only where it shows something moving: not for 1-pixel cells, random
// numbers or all numbers.
void frmMain::SetSpiralButtonsVisibility() {
  const bool offered =
      spiral::cellSizeOf(intBoxSize()).animates && spiral::numberClassOf(selectedClass()).animates;
  cmdSpiralIn->setVisible(offered);
  cmdSpiralOut->setVisible(offered);
}

void frmMain::SetGridAndNumeralsEnabled() {
  const bool largeCells = spiral::cellSizeOf(selectedBoxSize()).gridAndNumerals;
  chkGrid->setEnabled(largeCells && spiral::numberClassOf(selectedClass()).gridApplies);
  chkNumerals->setEnabled(largeCells);
}

// While an animation runs unpaused its next step draws with the new setting.
void frmMain::redrawUnlessSpiralling() {
  if (!blnFormLoaded) return;
  if (isSpiralling() && !blnPaused) {
    SetFocusToActiveControl();
  } else {
    DrawSpiral();
  }
}

void frmMain::optCircles_Click() { redrawUnlessSpiralling(); }
void frmMain::optSquares_Click() { redrawUnlessSpiralling(); }
void frmMain::chkGrid_Click() { redrawUnlessSpiralling(); }
void frmMain::chkNumerals_Click() { redrawUnlessSpiralling(); }

void frmMain::cboShow_Click() {
  if (blnFormLoaded && !blnRefillingLists) DrawSpiral();
}

// These take effect later: the tick rate when spiralling starts or resumes, the two options at the
// next step or pass.
void frmMain::cboClockTicks_Click() { SetFocusToActiveControl(); }
void frmMain::chkCentralNumberPrime_Click() { SetFocusToActiveControl(); }
void frmMain::chkCalculateLongest_Click() { SetFocusToActiveControl(); }

void frmMain::cboBoxSize_Click() {
  if (!blnFormLoaded) return;
  if (cboBoxSize->currentIndex() == intBoxSizeIndex) {
    SetFocusToActiveControl();
    return;
  }
  // Animations never use 1-pixel cells. Selecting raises this handler for 3 pixels first.
  if (isSpiralling() && !spiral::cellSizeOf(selectedBoxSize()).animates) {
    cboBoxSize->setCurrentIndex(firstAnimatingSizeIndex());
  }
  DrawSpiral();
  if (blnSpiralDrawn) {
    intBoxSizeIndex = cboBoxSize->currentIndex();
  } else if (blnEndNumberTooLarge) {
    // The smaller cells would end above the largest number: back to the size last drawn.
    cboBoxSize->setCurrentIndex(intBoxSizeIndex);
  }
  SetGridAndNumeralsEnabled();
}

void frmMain::cboColorBy_Click() {
  if (!blnFormLoaded || blnRefillingLists) return;
  ShowColorLegend();
  DrawSpiral();
  if (!isSpiralling()) SetSpiralButtonsVisibility();
  SetCWsoftwareButtonVisibility();
}

// The diagonal and ring schemes show six legend boxes, the sequence scheme five, the others none;
// a paused animation none.
void frmMain::ShowColorLegend() {
  const int boxes = spiral::schemeOf(selectedScheme()).legendBoxes;
  for (int index = 0; index < static_cast<int>(Picture1.size()); ++index) {
    Picture1[index]->setVisible(!blnPaused && index < boxes);
  }
}

void frmMain::HideColorLegend() {
  for (QWidget* box : Picture1) box->hide();
}

void frmMain::SetCWsoftwareButtonVisibility() {
  const bool shown = spiral::schemeOf(selectedScheme()).catalogueButton;
  cmdCWsoftware->setVisible(shown);
  // A paused animation keeps its status text raised over the same place: the text goes behind the
  // button, so that it neither paints over the button nor takes its clicks.
  if (shown) lblSpiralling->stackUnder(cmdCWsoftware);
}
