#include "platform/shared_memory_presenter.h"

#include <SDL.h>

namespace platform {

void SharedMemoryPresenter::draw(const PixelSource& picture, PresentMode mode,
                                 ChildOverlay& children) {
  int outputWidth = 0;
  int outputHeight = 0;
  SDL_GetWindowSizeInPixels(window_, &outputWidth, &outputHeight);
  const PixelTarget out = buffers_->begin(outputWidth, outputHeight);
  if (out.pixels == nullptr) return;  // the compositor holds every buffer: dropped
  const PresentRect area = presentRect(out.width, out.height, picture.width, picture.height, mode);
  fillOutside(out, area);
  scaler_.draw(picture, out, area);
  children.draw(out);
  buffers_->commit();
}

}  // namespace platform
