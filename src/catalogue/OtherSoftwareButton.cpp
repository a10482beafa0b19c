// The main window's openings of the other-software window: its button, and shutdown (app/Startup.cpp).

#include "frmMain.h"
#include "frmCWsoftware.h"

namespace {

constexpr int32_t kBlue = 0xFF0000;  // as 0x00BBGGRR

}  // namespace

void frmMain::cmdCWsoftware_Click() {
  showOtherSoftwareWindow();
  SetFocusToActiveControl();
}

// The window is built on its first showing and afterwards only hidden, so it reopens with the list
// where the user left it. Meanwhile this window is hidden.
void frmMain::showOtherSoftwareWindow() {
  if (!otherSoftwareWindow_) otherSoftwareWindow_ = new frmCWsoftware(desktop_, this);
  hide();
  otherSoftwareWindow_->lngIntroForeColor = kBlue;
  otherSoftwareWindow_->blnIntroFontBold = false;
  otherSoftwareWindow_->showModal(this);
  show();
}
