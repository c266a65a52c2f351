#pragma once
// m10: the guide a new player opens from the menu: the controls and every creature with
// what it does to points, life and hunger.

#include "tools/art/raster.h"

namespace art {

Raster paintGuide();

}  // namespace art
