#pragma once
// Saving the spiral picture as a PNG file: the user picks a name in the Save As dialog, the picture
// is written as a bitmap beside it and converted to PNG; the bitmap is removed once the PNG exists.

#include <QImage>
#include <QString>

#include "GraphicsConversion.h"
#include "Desktop.h"

class QWidget;

namespace interaction {

// The temporary bitmap for `pngName`: a name ending in ".png" gets the extension ".bmp" instead, any
// other name gets ".bmp" appended. When a file of that name exists already, the first free name
// "<stem> (2).bmp", "<stem> (3).bmp", ... beside it is used, so the bitmap never replaces a file the
// user had. Where the name would be too long for the file system, the stem is cut short.
QString bitmapNameFor(const QString& pngName);

// The whole saving procedure: asks for a file name (cancel ends it quietly), refuses a name that is
// a folder, a device or anything else but a plain file, asks before replacing an existing file,
// writes the bitmap, converts it with `converter` and tells the user where the picture went, in the
// PNG file or, when the conversion failed, in the bitmap. Each file is written all or nothing. A
// bitmap that cannot be written is reported with its name and the system's reason. Every dialog
// goes through `desktop`; `parent` owns them.
void SaveImage(platform::Desktop& desktop, QWidget* parent, const QImage& picture,
               GraphicsConverter converter = convert_graphics_file_3);

}  // namespace interaction
