#include "ImageSaving.h"

#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QImageWriter>

#include "DeviceWriter.h"

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

void tellFailure(platform::Desktop& desktop, QWidget* parent, const QString& fileName, const QString& reason) {
  desktop.showMessage(parent, kTitle,
                      QStringLiteral("Save error.  The image could not be written to the file") + kLineBreak +
                          fileName + kLineBreak + kLineBreak + reason + u'.',
                      platform::Desktop::Buttons::Ok, platform::Desktop::Icon::Exclamation);
}

fileio::qt::WriteResult writeBitmap(const QImage& picture, const QString& bmpName) {
  return fileio::qt::replaceFile(bmpName, [&picture](QIODevice& out) {
    QImageWriter writer(&out, "bmp");
    return writer.write(picture) ? QString() : writer.errorString();
  });
}

// The longest file name, in bytes, that the file system of `folder` takes.
qsizetype longestFileNameIn(const QString& folder) {
  constexpr long kUsualLongest = 255;
  const long longest = ::pathconf(QFile::encodeName(folder).constData(), _PC_NAME_MAX);
  return longest > 0 ? longest : kUsualLongest;
}

// `stem` followed by `ending`, the stem cut short by whole characters where the name would be
// longer than `longest` bytes.
QString fittedName(QString stem, const QString& ending, qsizetype longest) {
  while (!stem.isEmpty() && QFile::encodeName(stem + ending).size() > longest) {
    stem.chop(stem.size() > 1 && stem.back().isLowSurrogate() ? 2 : 1);
  }
  return stem + ending;
}

}  // namespace

QString bitmapNameFor(const QString& pngName) {
  const QFileInfo png(pngName);
  const QString folder = pngName.chopped(png.fileName().size());  // as given, with its last slash
  const bool hasPngExtension = pngName.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive);
  const QString stem = hasPngExtension ? png.fileName().chopped(4) : png.fileName();
  const qsizetype longest = longestFileNameIn(png.path());
  QString candidate = folder + fittedName(stem, QStringLiteral(".bmp"), longest);
  for (int n = 2; QFileInfo::exists(candidate); ++n) {
    candidate = folder + fittedName(stem, QStringLiteral(" (%1).bmp").arg(n), longest);
  }
  return candidate;
}

void SaveImage(platform::Desktop& desktop, QWidget* parent, const QImage& picture,
               GraphicsConverter converter) {
  const QString pngName = desktop.askSaveFileName(parent, QStringLiteral("Save image as"),
                                                  QStringLiteral("PNG graphics file (*.png)"));
  if (pngName.isEmpty()) return;  // cancelled
  if (const QString refusal = fileio::qt::refusalFor(pngName); !refusal.isEmpty()) {
    tellFailure(desktop, parent, pngName, refusal);  // a folder, a device: never replaced
    return;
  }
  if (!mayWriteTo(desktop, parent, pngName)) return;

  const QString bmpName = bitmapNameFor(pngName);
  if (const fileio::qt::WriteResult bitmap = writeBitmap(picture, bmpName); !bitmap.written) {
    tellFailure(desktop, parent, bmpName, bitmap.reason);
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
