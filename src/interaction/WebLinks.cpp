#include "WebLinks.h"

namespace interaction {

namespace {

// Two more of the desktop's failures, as the Windows shell names them; each has a hint.
constexpr int kOutOfMemory = 8;
constexpr int kFileNotFound = 2;

QString launchFailureMessage(int code, const QString& noAssociationHint) {
  QString message = QStringLiteral("Error launching web browser, error code = %1.").arg(code);
  const QString paragraph = QStringLiteral("\r\n\r\n");
  switch (code) {
    case platform::Desktop::kNoAssociation: return message + paragraph + noAssociationHint;
    case kOutOfMemory: return message + paragraph + QStringLiteral("Out of memory.");
    case kFileNotFound: return message + paragraph + QStringLiteral("Please try once more.");
    default: return message;
  }
}

}  // namespace

QString OnlineDocumentationToolTip() {
  return QStringLiteral("Click here for the online user manual at ") + kDocumentationAddress + '.';
}

QString CorvanelWorksToolTip() {
  return QStringLiteral("Click here for the Corvanel Works website at ") + kHomePageAddress + '.';
}

QString GetFileExtension(const QString& name, bool lowerCase) {
  const QString fileName = name.mid(name.lastIndexOf('\\') + 1);
  const qsizetype dot = fileName.lastIndexOf('.');
  const QString extension = dot < 0 ? QString() : fileName.mid(dot + 1);
  return lowerCase ? extension.toLower() : extension;
}

void OpenWebAddress(platform::Desktop& desktop, QWidget* parent, const QString& address,
                    const QString& noAssociationHint) {
  const int code = desktop.openUrl(address);
  if (code > platform::Desktop::kLastLaunchError) return;
  desktop.showMessage(parent, QStringLiteral("Cannot launch web browser"),
                      launchFailureMessage(code, noAssociationHint), platform::Desktop::Buttons::Ok,
                      platform::Desktop::Icon::Exclamation);
}

void LaunchWebBrowser(platform::Desktop& desktop, QWidget* parent, const QString& address) {
  const QString extension = GetFileExtension(address, true);
  OpenWebAddress(desktop, parent, address,
                 QStringLiteral("File extension '") + extension +
                     QStringLiteral("' is not associated with any application program."));
}

}  // namespace interaction
