#pragma once
// m10: the guide a new player opens from the menu: the controls and every creature with
// what it does to points, life and hunger.

#include "tools/art/paint_kit.h"
#include "tools/art/raster.h"

namespace art {

Raster paintGuide(const Words& words = RussianWords);

}  // namespace art
