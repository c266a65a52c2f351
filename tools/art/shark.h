#pragma once
// The player's shark: 185 x 110, facing right, two frames of a tail stroke.

#include "tools/art/raster.h"

namespace art {

constexpr int kSharkWidth = 185, kSharkHeight = 110;

// Draws the shark on a cairo context in its own 185 x 110 frame; stroke is -1 (tail up)
// to 1 (tail down). Used for the sprite and for the menu and guide illustrations.
void drawShark(cairo_t* cr, double stroke, bool openJaw = false);

// Frame 0 or 1 of the sprite, keyed on white.
Raster paintShark(int frame);

}  // namespace art
