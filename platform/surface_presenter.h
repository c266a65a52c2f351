#pragma once
// Pictures converted and scaled on the CPU straight into the window's own SDL surface,
// which the X server shares with the program: for machines without a GPU.

#include "platform/window_presenter.h"

namespace platform {

class SurfacePresenter final : public CpuPresenter {
 public:
  SurfacePresenter(SDL_Window* window, bool keepsLastPicture)
      : CpuPresenter(keepsLastPicture), window_(window) {}
  void repaintBars() override { barsSurface_ = nullptr; }

 private:
  void draw(const PixelSource& picture, PresentMode mode, ChildOverlay& children) override;
  // The surface still holds the last picture: the children go over it.
  void refreshWithoutPicture(ChildOverlay& children) override;

  SDL_Window* window_;
  // What the window surface showed last, so the bars are painted only when they move.
  SDL_Surface* barsSurface_ = nullptr;
  void* barsPixels_ = nullptr;
  int barsWidth_ = 0;
  int barsHeight_ = 0;
  PresentRect barsArea_;
};

}  // namespace platform
