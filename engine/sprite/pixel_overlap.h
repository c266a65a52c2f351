#pragma once
// The pixel-exact part of the image sprites' collision test: whether two patterns, the
// second placed at an offset from the first, have an opaque pixel in the same place.

#include <cstdint>

#include "engine/timer/geometry.h"

class TDirectDrawSurface;

// pattern1 of surface1 and pattern2 of surface2 (rectangles inside their surfaces), the
// second's top-left corner at (dx, dy) from the first's. A pixel is opaque when it
// differs from its surface's colour key. Boxes that do not overlap, and an empty pattern
// wherever it lies, give false; a missing surface gives true (the boxes decide); a
// surface that cannot be locked gives false; surfaces of different depths give true.
bool PatternsOverlap(const TRect& pattern1, TDirectDrawSurface* surface1, const TRect& pattern2,
                     TDirectDrawSurface* surface2, int64_t dx, int64_t dy);
