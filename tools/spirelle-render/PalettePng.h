#pragma once
// The picture as a 4-bit palette PNG: the 16 colours of the palette, two pixels a byte.

#include <QIODevice>
#include <QString>

#include "Picture.h"

namespace render {

// Writes `picture` to `out`; the reason when that failed, empty when it was written.
QString writePalettePng(const spiral::Picture& picture, QIODevice& out);

}  // namespace render
