#include "platform/window_placement.h"

#include <algorithm>

namespace platform {
namespace {

bool known(const ScreenArea& area) { return area.width > 0 && area.height > 0; }

// The largest client extent that fits, with the frame, on `available` pixels (at least 1).
int fittedExtent(int wanted, int available, int frameBefore, int frameAfter) {
  return std::clamp(wanted, 1, std::max(available - frameBefore - frameAfter, 1));
}

// The client origin that keeps [origin - frameBefore, origin + extent + frameAfter) on
// [start, start + available), nearest to `wanted`.
int fittedOrigin(int wanted, int extent, int start, int available, int frameBefore,
                 int frameAfter) {
  const int lowest = start + frameBefore;
  const int highest = start + available - frameAfter - extent;
  return std::max(std::min(wanted, highest), lowest);
}

}  // namespace

Placement centredPlacement(int width, int height, const ScreenArea& workArea,
                           const FrameExtents& frame) {
  Placement p;
  p.width = std::max(width, 1);
  p.height = std::max(height, 1);
  p.x = workArea.x;
  p.y = workArea.y;
  if (!known(workArea)) return p;
  p.width = fittedExtent(width, workArea.width, frame.left, frame.right);
  p.height = fittedExtent(height, workArea.height, frame.top, frame.bottom);
  const int outerWidth = p.width + frame.left + frame.right;
  const int outerHeight = p.height + frame.top + frame.bottom;
  p.x = fittedOrigin(workArea.x + (workArea.width - outerWidth) / 2 + frame.left, p.width,
                     workArea.x, workArea.width, frame.left, frame.right);
  p.y = fittedOrigin(workArea.y + (workArea.height - outerHeight) / 2 + frame.top, p.height,
                     workArea.y, workArea.height, frame.top, frame.bottom);
  return p;
}

Placement fitPlacement(const Placement& wanted, const ScreenArea& workArea,
                       const FrameExtents& frame) {
  if (!known(workArea)) return wanted;
  Placement p = wanted;
  p.width = fittedExtent(wanted.width, workArea.width, frame.left, frame.right);
  p.height = fittedExtent(wanted.height, workArea.height, frame.top, frame.bottom);
  p.x = fittedOrigin(wanted.x, p.width, workArea.x, workArea.width, frame.left, frame.right);
  p.y = fittedOrigin(wanted.y, p.height, workArea.y, workArea.height, frame.top, frame.bottom);
  return p;
}

}  // namespace platform
