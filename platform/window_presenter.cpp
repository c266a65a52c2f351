#include "platform/window_presenter.h"

#include "platform/renderer_presenter.h"
#include "platform/shared_memory_presenter.h"
#include "platform/surface_presenter.h"

namespace platform {

std::unique_ptr<WindowPresenter> makeWindowPresenter(SDL_Window* window, bool keepsLastPicture) {
  if (auto renderer = RendererPresenter::create(window)) return renderer;
  if (auto buffers = WaylandFrameBuffers::create(window)) {
    return std::make_unique<SharedMemoryPresenter>(window, std::move(buffers), keepsLastPicture);
  }
  return std::make_unique<SurfacePresenter>(window, keepsLastPicture);
}

bool CpuPresenter::present(const PixelSource& picture, PresentMode mode, bool,
                           ChildOverlay& children) {
  if (keepsLastPicture_ && picture.pixels != lastPixels_.data()) {
    const auto* bytes = static_cast<const uint8_t*>(picture.pixels);
    lastPixels_.assign(
        bytes, bytes + static_cast<size_t>(picture.pitch) * static_cast<size_t>(picture.height));
    lastPicture_ = PixelSource{lastPixels_.data(), picture.width, picture.height, picture.pitch,
                               picture.format};
    lastMode_ = mode;
  }
  draw(picture, mode, children);
  return true;
}

void CpuPresenter::refresh(ChildOverlay& children) {
  if (lastPicture_.pixels != nullptr) {
    draw(lastPicture_, lastMode_, children);
    return;
  }
  refreshWithoutPicture(children);
}

}  // namespace platform
