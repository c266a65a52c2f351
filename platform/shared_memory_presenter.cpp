#include "platform/shared_memory_presenter.h"

#include <SDL.h>

#include <algorithm>

namespace platform {

void SharedMemoryPresenter::draw(const PixelSource& picture, PresentMode mode,
                                 ChildOverlay& children) {
  // The surface's size, and its scale as SDL sees it (a high-density output shows the
  // window in more pixels than its size).
  int width = 0;
  int height = 0;
  int pixelWidth = 0;
  int pixelHeight = 0;
  SDL_GetWindowSize(window_, &width, &height);
  SDL_GetWindowSizeInPixels(window_, &pixelWidth, &pixelHeight);
  const int scale = width > 0 ? std::max(pixelWidth / width, 1) : 1;
  const PixelTarget out = buffers_->begin(width, height, scale);
  if (out.pixels == nullptr) return;  // the compositor holds every buffer: dropped
  const PresentRect area = presentRect(out.width, out.height, picture.width, picture.height, mode);
  fillOutside(out, area);
  scaler_.draw(picture, out, area);
  children.draw(out);
  buffers_->commit();
}

}  // namespace platform
