#pragma once
// The play scene's pictures: the background, the status panel, the bubble and the
// debris, and the pieces of seabed that the menu screens share with them.

#include "tools/art/raster.h"

namespace art {

// Open water from the lit surface down to the deep (rays, motes, far reefs).
void drawWater(cairo_t* cr, int w, int h, uint32_t seed);
// A sandy floor whose top runs near y; seaweed, rocks and shells on it.
void drawSeabed(cairo_t* cr, int w, int h, double y, uint32_t seed, bool rich = true);
void drawSeaweed(cairo_t* cr, double x, double baseY, double height, double sway, Rgb colour,
                 uint32_t seed);

Raster paintBackground();
Raster paintPanel();
Raster paintBubble();
Raster paintDebris();

}  // namespace art
