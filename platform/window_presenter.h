#pragma once
// How a window's pictures reach the screen. With a GPU, an SDL renderer and one streaming
// texture carry them (renderer_presenter.h). Without one (SDL's software renderer, OpenGL
// drawn on the CPU as in virtual machines, no renderer at all), the window converts and
// scales the picture itself straight into the window's own surface (surface_presenter.h)
// or, on Wayland, into buffers it shares with the compositor (shared_memory_presenter.h),
// which costs far less than going through a software renderer; when even that fails,
// presenting quietly succeeds so the game still runs.

#include <memory>
#include <vector>

#include "platform/child_overlay.h"
#include "platform/picture_scaler.h"
#include "platform/platform.h"

namespace platform {

class WindowPresenter {
 public:
  virtual ~WindowPresenter() = default;
  // Shows the picture with the children over it; false when it could not be shown.
  virtual bool present(const PixelSource& picture, PresentMode mode, bool vsync,
                       ChildOverlay& children) = 0;
  // The last present waited for the display's vertical blank.
  virtual bool waitedForDisplay(bool /*vsync*/) const { return false; }
  // Shows the last picture again with the children over it.
  virtual void refresh(ChildOverlay& children) = 0;
  // The window's surface may be new, or something covered the bars around the picture:
  // paint them again at the next present.
  virtual void repaintBars() {}
  // The renderer lost its textures: make them again at the next present.
  virtual void renderReset() { repaintBars(); }
};

// The presenter for a new window: its renderer where a GPU draws, otherwise its shared
// memory on Wayland, otherwise its window surface. keepsLastPicture: children may be shown
// inside the window, so a presenter without a renderer keeps its last picture to show it
// again without them.
std::unique_ptr<WindowPresenter> makeWindowPresenter(SDL_Window* window, bool keepsLastPicture);

// A presenter that draws on the CPU and keeps its last picture where children may come
// and go over it.
class CpuPresenter : public WindowPresenter {
 public:
  explicit CpuPresenter(bool keepsLastPicture) : keepsLastPicture_(keepsLastPicture) {}
  bool present(const PixelSource& picture, PresentMode mode, bool vsync,
               ChildOverlay& children) final;
  void refresh(ChildOverlay& children) final;

 protected:
  virtual void draw(const PixelSource& picture, PresentMode mode, ChildOverlay& children) = 0;
  // Shows the children before any picture was kept.
  virtual void refreshWithoutPicture(ChildOverlay& /*children*/) {}
  PictureScaler scaler_;

 private:
  bool keepsLastPicture_;
  std::vector<uint8_t> lastPixels_;
  PixelSource lastPicture_;
  PresentMode lastMode_ = PresentMode::FitKeepAspect;
};

inline uint32_t sdlFormat(PixelFormat format) {
  return format == PixelFormat::RGB565 ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_ARGB8888;
}

inline int bytesPerPixel(PixelFormat format) { return format == PixelFormat::RGB565 ? 2 : 4; }

}  // namespace platform
