#pragma once
// The longest unbroken runs of shown cells along the diagonals, read back from the picture.

#include "Geometry.h"
#include "Picture.h"

namespace spiral {

// The longest run of marked cells along any NW-SE (true) or SW-NE (false) diagonal of the picture.
int longestDiagonal(const Picture& picture, const Geometry& geometry, bool nwse);

}  // namespace spiral
