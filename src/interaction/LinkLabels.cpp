// The main window's two link labels: the online documentation and the maker's home page.

#include "frmMain.h"
#include "WebLinks.h"

void frmMain::lblOnlineDocumentation_Click() {
  interaction::LaunchWebBrowser(desktop_, this, interaction::kDocumentationAddress);
}

void frmMain::lblCorvanelWorks_Click() {
  interaction::LaunchWebBrowser(desktop_, this, interaction::kHomePageAddress);
}
