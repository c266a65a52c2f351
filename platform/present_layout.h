#pragma once
// Where a presented picture lands in a window's client area, and the way back from a
// pointer position in the window to a pixel of the picture. Plain arithmetic, shared by
// the SDL window and its tests.

#include "platform/platform.h"

namespace platform {

struct PresentRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The rectangle of a client area of clientWidth x clientHeight that a picture of
// pictureWidth x pictureHeight covers when shown in the given mode. Fit keeps the
// aspect, scales to the largest size that fits and centres (bars on two sides); Center
// leaves the picture unscaled, or shrinks it as Fit does when the client area is too
// small to show all of it (a window fitted to a small screen); Stretch covers the whole
// client area; IntegerScale scales by the largest whole factor that fits and centres, and
// shrinks as Fit does when the picture is larger than the client area.
PresentRect presentRect(int clientWidth, int clientHeight, int pictureWidth, int pictureHeight,
                        PresentMode mode);

// The picture pixel under a pointer at (windowX, windowY) of the client area. A pointer
// outside the picture (on a bar, or beyond a centred picture) gives the nearest pixel
// on its edge, so the game never sees a position off its surface.
void windowToPicture(int windowX, int windowY, int clientWidth, int clientHeight, int pictureWidth,
                     int pictureHeight, PresentMode mode, int& pictureX, int& pictureY);

// Where a child window shown inside its parent's client area lands: centred on the client
// area at its own size, or shrunk as Center does when it is larger; then scaled to an
// output of outputWidth x outputHeight pixels (a high-density screen has more pixels than
// the client area has coordinates).
PresentRect childRect(int clientWidth, int clientHeight, int outputWidth, int outputHeight,
                      int childWidth, int childHeight);

// A window position to the pixel of a picture shown over `area`, without clamping: a
// position outside the area gives a pixel outside the picture.
void windowToArea(int windowX, int windowY, const PresentRect& area, int pictureWidth,
                  int pictureHeight, int& pictureX, int& pictureY);

bool areaContains(const PresentRect& area, int x, int y);

}  // namespace platform
