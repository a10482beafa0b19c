// The Help button: the help window, built on its first use and kept, shown modally over the lower
// part of the main window.

#include <QFrame>

#include "app/frmMain.h"
#include "texts/WordTable.h"
#include "language/frmHelp.h"
#include "platform/Twips.h"

void frmMain::cmdHelp_Click() {
  if (!helpWindow_) {
    helpWindow_ = new frmHelp([] { language::intLanguage = language::kEnglish; }, this);
  }
  // The help window lies below the top of the start-number frame, wherever the main window is now.
  helpWindow_->showModalFor(this, fraStartNumberFrame->y() * platform::kTwipsPerPixel);
  SetFocusToActiveControl();
}
