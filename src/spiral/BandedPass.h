#pragma once
// The pass of a large picture with its work split among worker threads. It draws band after band
// of walk indices. Within a band the workers find which numbers are shown and every colour that
// depends on a number and its cell alone; the cluster colours, each of which depends on the cells
// drawn before it, are then given in walk order on one thread; last the workers draw the band's
// cells, each of which covers pixels of its own. The picture and the tally come out the same as
// from the walk on one thread.

#include <cstdint>
#include <functional>

#include "CellRenderer.h"
#include "ColorSchemes.h"
#include "DrawSettings.h"
#include "Geometry.h"
#include "PassState.h"
#include "Picture.h"

namespace spiral {

// Whether a pass is drawn in bands: when it has workers to share it, enough cells to pay for
// waking them, no numerals (text is drawn on one thread, and may cross into the next cell), and,
// for the cluster colours, 1-pixel cells (larger cells' probes read pixels of grid marks too).
bool drawsInBands(const DrawSettings& settings, const Geometry& geometry);

struct PassParts {
  const DrawSettings& settings;
  const Geometry& geometry;
  ClassTest& classTest;
  ColorChooser& colors;
  CellRenderer& cells;
  Picture& picture;
};

// Draws the walk indices from 1 on (the caller has drawn the centre). `yieldThrough(last)` is
// called after each band with the band's last index; when it returns true the pass stops there.
// Returns the first index not drawn.
int64_t drawInBands(const PassParts& pass, Tally& tally, const std::function<bool(int64_t)>& yieldThrough);

}  // namespace spiral
