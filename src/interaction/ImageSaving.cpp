#include "ImageSaving.h"

#include <QFile>
#include <QFileInfo>

namespace interaction {

namespace {

const QString kTitle = QStringLiteral("Save image");
const QString kLineBreak = QStringLiteral("\r\n");

void tellUser(platform::Desktop& desktop, QWidget* parent, const QString& text) {
  desktop.showMessage(parent, kTitle, text, platform::Desktop::Buttons::Ok,
                      platform::Desktop::Icon::Information);
}

// True when the user lets an existing file of that name be replaced (or there is none).
bool mayWriteTo(platform::Desktop& desktop, QWidget* parent, const QString& pngName) {
  if (!QFileInfo::exists(pngName)) return true;
  const QString question = pngName + QStringLiteral(" already exists.") + kLineBreak +
                           QStringLiteral("Do you want to replace it?");
  return desktop.showMessage(parent, kTitle, question, platform::Desktop::Buttons::YesNo,
                             platform::Desktop::Icon::Exclamation) ==
         platform::Desktop::Answer::Yes;
}

bool writeBitmap(const QImage& picture, const QString& bmpName) {
  if (picture.save(bmpName, "BMP")) return true;
  QFile::remove(bmpName);  // the name was free, so whatever lies there now is our broken bitmap
  return false;
}

}  // namespace

QString bitmapNameFor(const QString& pngName) {
  const bool hasPngExtension = pngName.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive);
  const QString stem = hasPngExtension ? pngName.chopped(4) : pngName;
  QString candidate = stem + QStringLiteral(".bmp");
  for (int n = 2; QFileInfo::exists(candidate); ++n) {
    candidate = stem + QStringLiteral(" (%1).bmp").arg(n);
  }
  return candidate;
}

void SaveImage(platform::Desktop& desktop, QWidget* parent, const QImage& picture,
               GraphicsConverter converter) {
  const QString pngName = desktop.askSaveFileName(parent, QStringLiteral("Save image as"),
                                                  QStringLiteral("PNG graphics file (*.png)"));
  if (pngName.isEmpty()) return;  // cancelled
  if (!mayWriteTo(desktop, parent, pngName)) return;

  const QString bmpName = bitmapNameFor(pngName);
  if (!writeBitmap(picture, bmpName)) {
    desktop.showMessage(parent, kTitle,
                        QStringLiteral("Save error.  The image could not be written to the file") +
                            kLineBreak + bmpName,
                        platform::Desktop::Buttons::Ok, platform::Desktop::Icon::Exclamation);
    return;
  }

  QString converterMessage;
  if (ConvertGraphicsFile(bmpName, pngName, true, true, converterMessage, converter)) {
    tellUser(desktop, parent,
             QStringLiteral("The image has been saved in the PNG file") + kLineBreak + pngName);
  } else {
    tellUser(desktop, parent,
             QStringLiteral("Save error.  The image has been saved instead in the BMP file") +
                 kLineBreak + bmpName);
  }
}

}  // namespace interaction
