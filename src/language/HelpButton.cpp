// The Help button: the help window, built on its first use and kept, shown modally over the lower
// part of the main window.

#include <QFrame>

#include "frmMain.h"
#include "WordTable.h"
#include "frmHelp.h"
#include "Twips.h"

void frmMain::cmdHelp_Click() {
  if (!helpWindow_) {
    helpWindow_ = new frmHelp([] { language::intLanguage = language::kEnglish; }, this);
  }
  // The help window lies below the top of the start-number frame, wherever the main window is now.
  helpWindow_->showModalFor(this, fraStartNumberFrame->y() * platform::kTwipsPerPixel);
  SetFocusToActiveControl();
}
