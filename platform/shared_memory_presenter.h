#pragma once
// Pictures converted and scaled on the CPU into buffers shared with a Wayland compositor,
// where SDL has no window surface of its own (see wayland_frame_buffers.h).

#include <memory>

#include "platform/wayland_frame_buffers.h"
#include "platform/window_presenter.h"

namespace platform {

class SharedMemoryPresenter final : public CpuPresenter {
 public:
  SharedMemoryPresenter(SDL_Window* window, std::unique_ptr<WaylandFrameBuffers> buffers,
                        bool keepsLastPicture)
      : CpuPresenter(keepsLastPicture), window_(window), buffers_(std::move(buffers)) {}

 private:
  void draw(const PixelSource& picture, PresentMode mode, ChildOverlay& children) override;

  SDL_Window* window_;
  std::unique_ptr<WaylandFrameBuffers> buffers_;
};

}  // namespace platform
