#pragma once
// The name-entry window's pictures: its 184 x 73 background and its 73 x 25 "ОК" button.

#include "tools/art/paint_kit.h"
#include "tools/art/raster.h"

namespace art {

Raster paintNameEntryBackground(const Words& words = RussianWords);
Raster paintOkButton();

}  // namespace art
