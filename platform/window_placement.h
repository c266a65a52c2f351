#pragma once
// Where a window goes so that it lies wholly on the screen: centred for a first showing,
// or moved and shrunk as little as possible. Plain arithmetic, shared by the SDL window,
// the framework's forms and their tests.

#include "platform/platform.h"

namespace platform {

// A client area of width x height centred, with its frame, on the work area; shrunk to
// what the work area holds when it is larger. An empty work area (unknown) gives the size
// asked for at the work area's origin.
Placement centredPlacement(int width, int height, const ScreenArea& workArea,
                           const FrameExtents& frame);

// The placement moved, and shrunk only where it is larger than the work area, so that the
// window with its frame lies wholly on the work area. An empty work area leaves it alone.
Placement fitPlacement(const Placement& wanted, const ScreenArea& workArea,
                       const FrameExtents& frame);

}  // namespace platform
