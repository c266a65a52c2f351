#include "platform/renderer_presenter.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

namespace platform {
namespace {

// True for a renderer whose pixels the CPU draws: SDL's software renderer, or OpenGL
// rasterized by Mesa on the CPU (llvmpipe, softpipe, swrast), as in virtual machines.
bool drawsOnTheCpu(SDL_Renderer* renderer) {
  SDL_RendererInfo info;
  if (SDL_GetRendererInfo(renderer, &info) != 0) return false;
  if ((info.flags & SDL_RENDERER_SOFTWARE) != 0) return true;
  if (info.name == nullptr || std::strncmp(info.name, "opengl", 6) != 0) return false;
  // The renderer's context is current right after it is made.
  constexpr unsigned kGlRenderer = 0x1F01;
  using GetString = const unsigned char* (*)(unsigned);
  auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
  const unsigned char* name = getString != nullptr ? getString(kGlRenderer) : nullptr;
  if (name == nullptr) return false;
  const char* text = reinterpret_cast<const char*>(name);
  const auto cpus = {"llvmpipe", "softpipe", "Software Rasterizer", "swrast"};
  return std::any_of(cpus.begin(), cpus.end(),
                     [&](const char* cpu) { return std::strstr(text, cpu) != nullptr; });
}

}  // namespace

std::unique_ptr<RendererPresenter> RendererPresenter::create(SDL_Window* window) {
  SdlRendererUniquePtr renderer(SDL_CreateRenderer(window, -1, 0));
  if (renderer == nullptr || drawsOnTheCpu(renderer.get())) return nullptr;
  return std::make_unique<RendererPresenter>(std::move(renderer));
}

RendererPresenter::~RendererPresenter() = default;

bool RendererPresenter::present(const PixelSource& picture, PresentMode mode, bool vsync,
                                ChildOverlay& children) {
  if (static_cast<int>(vsync) != vsync_) {
    // Renderers that cannot switch vsync keep presenting as they are; the pacer stands in
    // for a vsync they do not have.
    SDL_RenderSetVSync(renderer_.get(), vsync ? 1 : 0);
    vsync_ = vsync;
    SDL_RendererInfo info;
    rendererWaits_ = SDL_GetRendererInfo(renderer_.get(), &info) == 0 &&
                     (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
  }
  if (texture_ == nullptr || textureWidth_ != picture.width || textureHeight_ != picture.height ||
      textureFormat_ != picture.format) {
    texture_.reset();
    texture_.reset(SDL_CreateTexture(renderer_.get(), sdlFormat(picture.format),
                                     SDL_TEXTUREACCESS_STREAMING, picture.width, picture.height));
    if (texture_ == nullptr) return false;
    textureWidth_ = picture.width;
    textureHeight_ = picture.height;
    textureFormat_ = picture.format;
  }
  if (SDL_UpdateTexture(texture_.get(), nullptr, picture.pixels, picture.pitch) != 0) return false;
  // Whole factors stay pixel-sharp; other factors are smoothed.
  SDL_SetTextureScaleMode(texture_.get(), mode == PresentMode::IntegerScale ? SDL_ScaleModeNearest
                                                                            : SDL_ScaleModeLinear);
  int outputWidth = 0;
  int outputHeight = 0;
  if (SDL_GetRendererOutputSize(renderer_.get(), &outputWidth, &outputHeight) != 0) return false;
  const SDL_Rect destination =
      toSdl(presentRect(outputWidth, outputHeight, picture.width, picture.height, mode));
  SDL_SetRenderDrawColor(renderer_.get(), 0, 0, 0, 255);
  SDL_RenderClear(renderer_.get());
  if (SDL_RenderCopy(renderer_.get(), texture_.get(), nullptr, &destination) != 0) return false;
  lastMode_ = mode;
  children.draw(renderer_.get(), outputWidth, outputHeight);
  SDL_RenderPresent(renderer_.get());
  return true;
}

void RendererPresenter::refresh(ChildOverlay& children) {
  int outputWidth = 0;
  int outputHeight = 0;
  if (SDL_GetRendererOutputSize(renderer_.get(), &outputWidth, &outputHeight) != 0) return;
  SDL_SetRenderDrawColor(renderer_.get(), 0, 0, 0, 255);
  SDL_RenderClear(renderer_.get());
  if (texture_ != nullptr) {
    const SDL_Rect destination =
        toSdl(presentRect(outputWidth, outputHeight, textureWidth_, textureHeight_, lastMode_));
    SDL_RenderCopy(renderer_.get(), texture_.get(), nullptr, &destination);
  }
  children.draw(renderer_.get(), outputWidth, outputHeight);
  SDL_RenderPresent(renderer_.get());
}

}  // namespace platform
