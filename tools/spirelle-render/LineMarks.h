#pragma once
// Marks over the finished picture: --mark-lines draws the listed rays, each as a line one pixel
// wide through the centres of its cells; --mark-quadratic outlines cells, each by the square one
// pixel wide at the edge of its cell (a 1-pixel cell is itself its outline).

#include <vector>

#include "Geometry.h"
#include "LineLens.h"
#include "Picture.h"

namespace render {

void markRays(spiral::Picture& picture, const spiral::Geometry& geometry, const std::vector<spiral::RayFacts>& rays);
void markCells(spiral::Picture& picture, const spiral::Geometry& geometry, const std::vector<spiral::Cell>& cells);

}  // namespace render
