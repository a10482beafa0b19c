#pragma once
// What the picture needs from Qt Gui: its 32-bit image for the screen, the clipboard and saving,
// and its text through Qt's fonts.

#include <QImage>

#include "Picture.h"

namespace spiral {

// The raster as a 32-bit image of its own, in the palette's colours, at 96 pixels per inch.
QImage imageOf(const Picture& picture);

// Installs Qt's fonts as the picture's text drawer (see Picture::drawText). A program that draws
// numerals calls it once at its start, after its QGuiApplication exists.
void installQtTextDrawing();

}  // namespace spiral
