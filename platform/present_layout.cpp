#include "platform/present_layout.h"

#include <algorithm>
#include <cstdint>

namespace platform {
namespace {

// The picture coordinate of a window coordinate along one axis, for a picture spanning
// [start, start + extent) of the window at `picture` pixels.
int mapAxis(int window, int start, int extent, int picture) {
  if (picture <= 0) return 0;
  if (extent <= 0) return 0;
  const int64_t offset = static_cast<int64_t>(window) - start;
  const int64_t p = offset < 0 ? -1 : offset * picture / extent;
  return static_cast<int>(std::clamp<int64_t>(p, 0, picture - 1));
}

}  // namespace

PresentRect presentRect(int clientWidth, int clientHeight, int pictureWidth, int pictureHeight,
                        PresentMode mode) {
  PresentRect r;
  clientWidth = std::max(clientWidth, 0);
  clientHeight = std::max(clientHeight, 0);
  pictureWidth = std::max(pictureWidth, 0);
  pictureHeight = std::max(pictureHeight, 0);
  switch (mode) {
    case PresentMode::Stretch:
      r.width = clientWidth;
      r.height = clientHeight;
      break;
    case PresentMode::Center:
      if (pictureWidth > clientWidth || pictureHeight > clientHeight) {
        return presentRect(clientWidth, clientHeight, pictureWidth, pictureHeight,
                           PresentMode::FitKeepAspect);
      }
      r.width = pictureWidth;
      r.height = pictureHeight;
      r.x = (clientWidth - pictureWidth) / 2;
      r.y = (clientHeight - pictureHeight) / 2;
      break;
    case PresentMode::IntegerScale: {
      if (pictureWidth == 0 || pictureHeight == 0) break;
      const int factor = std::min(clientWidth / pictureWidth, clientHeight / pictureHeight);
      if (factor < 1) {
        return presentRect(clientWidth, clientHeight, pictureWidth, pictureHeight,
                           PresentMode::FitKeepAspect);
      }
      r.width = pictureWidth * factor;
      r.height = pictureHeight * factor;
      r.x = (clientWidth - r.width) / 2;
      r.y = (clientHeight - r.height) / 2;
      break;
    }
    case PresentMode::FitKeepAspect:
      if (pictureWidth == 0 || pictureHeight == 0) break;
      // Compare clientWidth / pictureWidth with clientHeight / pictureHeight without
      // rounding: the narrower ratio decides the scale.
      if (static_cast<int64_t>(clientWidth) * pictureHeight <=
          static_cast<int64_t>(clientHeight) * pictureWidth) {
        r.width = clientWidth;
        r.height =
            static_cast<int>(static_cast<int64_t>(pictureHeight) * clientWidth / pictureWidth);
      } else {
        r.height = clientHeight;
        r.width =
            static_cast<int>(static_cast<int64_t>(pictureWidth) * clientHeight / pictureHeight);
      }
      r.x = (clientWidth - r.width) / 2;
      r.y = (clientHeight - r.height) / 2;
      break;
  }
  return r;
}

void windowToPicture(int windowX, int windowY, int clientWidth, int clientHeight, int pictureWidth,
                     int pictureHeight, PresentMode mode, int& pictureX, int& pictureY) {
  const PresentRect r = presentRect(clientWidth, clientHeight, pictureWidth, pictureHeight, mode);
  pictureX = mapAxis(windowX, r.x, r.width, pictureWidth);
  pictureY = mapAxis(windowY, r.y, r.height, pictureHeight);
}

PresentRect childRect(int clientWidth, int clientHeight, int outputWidth, int outputHeight,
                      int childWidth, int childHeight) {
  PresentRect r =
      presentRect(clientWidth, clientHeight, childWidth, childHeight, PresentMode::Center);
  if (clientWidth <= 0 || clientHeight <= 0) return r;
  const auto scale = [](int value, int to, int from) {
    return static_cast<int>(static_cast<int64_t>(value) * to / from);
  };
  r.x = scale(r.x, outputWidth, clientWidth);
  r.width = scale(r.width, outputWidth, clientWidth);
  r.y = scale(r.y, outputHeight, clientHeight);
  r.height = scale(r.height, outputHeight, clientHeight);
  return r;
}

void windowToArea(int windowX, int windowY, const PresentRect& area, int pictureWidth,
                  int pictureHeight, int& pictureX, int& pictureY) {
  // Floor division, so that a position just left of or above the area is outside it too.
  const auto axis = [](int window, int start, int extent, int picture) {
    if (extent <= 0) return 0;
    const int64_t scaled = (static_cast<int64_t>(window) - start) * picture;
    const int64_t q = scaled / extent;
    return static_cast<int>(scaled % extent < 0 ? q - 1 : q);
  };
  pictureX = axis(windowX, area.x, area.width, pictureWidth);
  pictureY = axis(windowY, area.y, area.height, pictureHeight);
}

bool areaContains(const PresentRect& area, int x, int y) {
  return x >= area.x && y >= area.y && x - area.x < area.width && y - area.y < area.height;
}

}  // namespace platform
