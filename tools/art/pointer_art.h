#pragma once
// The two pictures stored in the main window's description: the pointer "Mouse" and the
// overlay "other" that marks the continue item unavailable.

#include "tools/art/paint_kit.h"
#include "tools/art/raster.h"

namespace art {

constexpr int kOtherWidth = 191, kOtherHeight = 41;

Raster paintPointer();  // 50 x 50, keyed on black, hot spot at the top-left corner
Raster paintUnavailable(
    const Words& words = RussianWords);  // 191 x 41, keyed on white, few colours (8-bit file)

}  // namespace art
