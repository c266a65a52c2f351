#pragma once
// The menu pictures m1 to m11: the backdrop with the game's name, the five items, the
// game-over banner, the level-intro box, the guide and the records screen.

#include "tools/art/paint_kit.h"
#include "tools/art/raster.h"

namespace art {

constexpr int kMenuItemWidth = 300, kMenuItemHeight = 75;

// The plaque shape of the menu items, in an item's own w x h box.
void menuPlaquePath(cairo_t* cr, double w, double h);

// m<n>, n = 1..11, with its words in the language of `words`.
Raster paintMenuPicture(int n, const Words& words = RussianWords);

}  // namespace art
