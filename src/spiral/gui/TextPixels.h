#pragma once
// Text through Qt's fonts, as the pixel lists the picture takes. Needs a QGuiApplication.

#include <QImage>
#include <QString>

#include <vector>

#include "Picture.h"

namespace spiral {

// A 32-bit image of the given size that says it has 96 pixels per inch, as the picture does.
QImage imageAt96Dpi(int width, int height);

// A TextDrawer: the text in Liberation Sans (or the system's sans serif), without anti-aliasing.
const std::vector<TextPixel>& textPixels(const std::string& text, int pointSize);

}  // namespace spiral
