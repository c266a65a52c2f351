#pragma once
// Pictures presented through an SDL renderer with a GPU behind it: one streaming texture
// takes each picture and the renderer scales it, sharp at whole factors and smoothed at
// others.

#include "platform/sdl_ptrs.h"
#include "platform/window_presenter.h"

namespace platform {

class RendererPresenter final : public WindowPresenter {
 public:
  // Null when SDL gives no renderer or one that draws on the CPU.
  static std::unique_ptr<RendererPresenter> create(SDL_Window* window);
  explicit RendererPresenter(SdlRendererUniquePtr renderer) : renderer_(std::move(renderer)) {}
  ~RendererPresenter() override;
  RendererPresenter(const RendererPresenter&) = delete;
  RendererPresenter& operator=(const RendererPresenter&) = delete;

  bool present(const PixelSource& picture, PresentMode mode, bool vsync,
               ChildOverlay& children) override;
  bool waitedForDisplay(bool vsync) const override { return vsync && rendererWaits_; }
  void refresh(ChildOverlay& children) override;
  void renderReset() override { texture_.reset(); }

 private:
  // The texture goes before the renderer it belongs to: members go last to first.
  SdlRendererUniquePtr renderer_;
  SdlTextureUniquePtr texture_;
  bool rendererWaits_ = false;  // the renderer's present waits for the vertical blank
  int vsync_ = -1;              // unknown until the first present
  int textureWidth_ = 0;
  int textureHeight_ = 0;
  PixelFormat textureFormat_ = PixelFormat::RGB565;
  PresentMode lastMode_ = PresentMode::FitKeepAspect;
};

}  // namespace platform
