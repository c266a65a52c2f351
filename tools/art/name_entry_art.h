#pragma once
// The name-entry window's pictures: its 184 x 73 background and its 73 x 25 "ОК" button.

#include "tools/art/raster.h"

namespace art {

Raster paintNameEntryBackground();
Raster paintOkButton();

}  // namespace art
