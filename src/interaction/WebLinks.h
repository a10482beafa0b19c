#pragma once
// The program's web links: the maker's addresses, the tool tips that name them, and the hand-over
// of an address to the desktop's browser with a message when that fails.

#include <QString>

#include "Desktop.h"

class QWidget;

namespace interaction {

// The maker's web site; every address the program opens or names lies below it.
inline constexpr char kMakerWebAddress[] = "http://corvanel-works.example/";
inline const QString kDocumentationAddress = QString::fromLatin1(kMakerWebAddress) + "spl/spl.htm";
inline const QString kHomePageAddress = QString::fromLatin1(kMakerWebAddress);

// The tool tips of the main window's two link labels.
QString OnlineDocumentationToolTip();
QString CorvanelWorksToolTip();

// The extension of a file name or address: what follows the last "." after the last "\" (empty when
// there is none), in lower case when `lowerCase` is set.
QString GetFileExtension(const QString& name, bool lowerCase);

// Opens `address` in the default browser. When the desktop cannot, tells the user in a message box
// with the error code and, for a few codes, a hint ("Cannot launch web browser").
void LaunchWebBrowser(platform::Desktop& desktop, QWidget* parent, const QString& address);

// The same hand-over for callers with their own wording of the hint given when no program takes
// the address (platform::Desktop::kNoAssociation).
void OpenWebAddress(platform::Desktop& desktop, QWidget* parent, const QString& address,
                    const QString& noAssociationHint);

}  // namespace interaction
