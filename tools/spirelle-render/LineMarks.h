#pragma once
// Marks over the finished picture: --mark-lines draws the listed rays, each as a line one pixel
// wide through the centres of its cells; --mark-quadratic outlines cells, each by the square one
// pixel wide at the edge of its cell (a 1-pixel cell is itself its outline).

#include <vector>

#include "Geometry.h"
#include "LineLens.h"
#include "Picture.h"

namespace render {

// Light grey. The picture draws only with black (0) and the bright colours 9 to 15, so a colour
// of 1 to 8 marks without being mistaken for a cell. Most of a line runs over the black
// background, and light grey stands out most against it of those eight (a contrast of about 11:1,
// dark grey about 5:1, the dark hues less); as the one pale colour without a hue it also stands
// apart from the saturated colours 9 to 14 of the cells it crosses.
inline constexpr int kLineMarkColour = 7;

void markRays(spiral::Picture& picture, const spiral::Geometry& geometry, const std::vector<spiral::RayFacts>& rays);
void markCells(spiral::Picture& picture, const spiral::Geometry& geometry, const std::vector<spiral::Cell>& cells);

}  // namespace render
