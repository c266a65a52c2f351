#include "platform/sdl_window.h"

#include <SDL.h>

#include <algorithm>
#include <stdexcept>

#include "platform/present_layout.h"

namespace platform {
namespace {

Uint32 sdlFormat(PixelFormat format) {
  return format == PixelFormat::RGB565 ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_ARGB8888;
}

int bytesPerPixel(PixelFormat format) { return format == PixelFormat::RGB565 ? 2 : 4; }

SDL_Rect toSdl(const PresentRect& r) { return SDL_Rect{r.x, r.y, r.width, r.height}; }

}  // namespace

void SdlWindowRegistry::add(SdlWindow* window) { windows_[window->id()] = window; }

void SdlWindowRegistry::remove(SdlWindow* window) {
  auto it = windows_.find(window->id());
  if (it != windows_.end() && it->second == window) windows_.erase(it);
}

SdlWindow* SdlWindowRegistry::find(uint32_t id) const {
  auto it = windows_.find(id);
  return it == windows_.end() ? nullptr : it->second;
}

SdlWindow::SdlWindow(const WindowDesc& desc, SdlWindowRegistry& registry)
    : registry_(registry), caption_(desc.caption), bordered_(desc.bordered) {
  Uint32 flags = SDL_WINDOW_ALLOW_HIGHDPI;
  flags |= desc.visible ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN;
  if (!desc.bordered) flags |= SDL_WINDOW_BORDERLESS;
  if (desc.resizable) flags |= SDL_WINDOW_RESIZABLE;
  const int position = desc.centered ? SDL_WINDOWPOS_CENTERED : SDL_WINDOWPOS_UNDEFINED;
  window_ = SDL_CreateWindow(caption_.c_str(), position, position, std::max(desc.width, 1),
                             std::max(desc.height, 1), flags);
  if (window_ == nullptr) {
    throw std::runtime_error(std::string("Window cannot be made: ") + SDL_GetError());
  }
  id_ = SDL_GetWindowID(window_);
  // Without a renderer the window's own surface takes the pictures (see presentToSurface).
  renderer_ = SDL_CreateRenderer(window_, -1, 0);
  rememberNormalPlacement();
  registry_.add(this);
}

SdlWindow::~SdlWindow() {
  registry_.remove(this);
  // A hidden pointer belongs to this window; it must not stay hidden over the others.
  if (!cursorVisible_) SDL_ShowCursor(SDL_ENABLE);
  if (texture_ != nullptr) SDL_DestroyTexture(texture_);
  if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
  SDL_DestroyWindow(window_);
}

void SdlWindow::show() { SDL_ShowWindow(window_); }

void SdlWindow::hide() { SDL_HideWindow(window_); }

bool SdlWindow::visible() const { return (SDL_GetWindowFlags(window_) & SDL_WINDOW_SHOWN) != 0; }

void SdlWindow::setCaption(const std::string& caption) {
  caption_ = caption;
  SDL_SetWindowTitle(window_, caption_.c_str());
}

void SdlWindow::setBordered(bool bordered) {
  bordered_ = bordered;
  SDL_SetWindowBordered(window_, bordered ? SDL_TRUE : SDL_FALSE);
}

void SdlWindow::setFullscreen(bool fullscreen) {
  if (fullscreen == fullscreen_) return;
  if (fullscreen) {
    geometryChanged();
    fullscreen_ = SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0;
  } else {
    SDL_SetWindowFullscreen(window_, 0);
    fullscreen_ = false;
    SDL_SetWindowBordered(window_, bordered_ ? SDL_TRUE : SDL_FALSE);
    if (pendingPlacement_) {
      pendingPlacement_ = false;
      applyPlacement(pending_);
    }
  }
  applyCursor();
}

void SdlWindow::setClientSize(int width, int height) {
  SDL_SetWindowSize(window_, std::max(width, 1), std::max(height, 1));
  geometryChanged();
}

Placement SdlWindow::placement() const {
  const Uint32 flags = SDL_GetWindowFlags(window_);
  // Like the system's own placement record, this is the normal position and size even
  // while the window is maximized or covers the screen.
  Placement p = normal_;
  if (!fullscreen_ && (flags & (SDL_WINDOW_MAXIMIZED | SDL_WINDOW_MINIMIZED)) == 0) {
    SDL_GetWindowPosition(window_, &p.x, &p.y);
    SDL_GetWindowSize(window_, &p.width, &p.height);
  }
  p.maximized = (flags & SDL_WINDOW_MAXIMIZED) != 0;
  return p;
}

void SdlWindow::setPlacement(const Placement& placement) {
  if (fullscreen_) {
    // Moving a window that covers the screen would only be undone when it leaves full
    // screen; keep the placement for that moment.
    pending_ = placement;
    pendingPlacement_ = true;
    normal_ = placement;
    return;
  }
  applyPlacement(placement);
}

void SdlWindow::applyPlacement(const Placement& placement) {
  if ((SDL_GetWindowFlags(window_) & (SDL_WINDOW_MAXIMIZED | SDL_WINDOW_MINIMIZED)) != 0) {
    SDL_RestoreWindow(window_);
  }
  if (placement.width > 0 && placement.height > 0) {
    SDL_SetWindowSize(window_, placement.width, placement.height);
  }
  SDL_SetWindowPosition(window_, placement.x, placement.y);
  geometryChanged();
  if (placement.maximized) SDL_MaximizeWindow(window_);
}

void SdlWindow::setCursorVisible(bool visible) {
  cursorVisible_ = visible;
  SDL_Window* focus = SDL_GetMouseFocus();
  if (focus == nullptr || focus == window_) applyCursor();
}

void SdlWindow::raise() { SDL_RaiseWindow(window_); }

void SdlWindow::setLogicalSize(int width, int height, PresentMode mode) {
  logicalWidth_ = width;
  logicalHeight_ = height;
  logicalMode_ = mode;
}

bool SdlWindow::present(const void* pixels, int width, int height, int pitch, PixelFormat format,
                        PresentMode mode, bool vsync) {
  if (pixels == nullptr || width <= 0 || height <= 0 || pitch < width * bytesPerPixel(format)) {
    return false;
  }
  setLogicalSize(width, height, mode);
  if (renderer_ != nullptr) {
    return presentWithRenderer(pixels, width, height, pitch, format, mode, vsync);
  }
  return presentToSurface(pixels, width, height, pitch, format, mode);
}

bool SdlWindow::presentWithRenderer(const void* pixels, int width, int height, int pitch,
                                    PixelFormat format, PresentMode mode, bool vsync) {
  if (static_cast<int>(vsync) != vsync_) {
    // Renderers that cannot switch vsync keep presenting as they are.
    SDL_RenderSetVSync(renderer_, vsync ? 1 : 0);
    vsync_ = vsync;
  }
  if (texture_ == nullptr || textureWidth_ != width || textureHeight_ != height ||
      textureFormat_ != format) {
    if (texture_ != nullptr) SDL_DestroyTexture(texture_);
    texture_ =
        SDL_CreateTexture(renderer_, sdlFormat(format), SDL_TEXTUREACCESS_STREAMING, width, height);
    if (texture_ == nullptr) return false;
    SDL_SetTextureScaleMode(texture_, SDL_ScaleModeLinear);
    textureWidth_ = width;
    textureHeight_ = height;
    textureFormat_ = format;
  }
  if (SDL_UpdateTexture(texture_, nullptr, pixels, pitch) != 0) return false;
  int outputWidth = 0;
  int outputHeight = 0;
  if (SDL_GetRendererOutputSize(renderer_, &outputWidth, &outputHeight) != 0) return false;
  const SDL_Rect destination = toSdl(presentRect(outputWidth, outputHeight, width, height, mode));
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  if (SDL_RenderCopy(renderer_, texture_, nullptr, &destination) != 0) return false;
  SDL_RenderPresent(renderer_);
  return true;
}

bool SdlWindow::presentToSurface(const void* pixels, int width, int height, int pitch,
                                 PixelFormat format, PresentMode mode) {
  SDL_Surface* target = SDL_GetWindowSurface(window_);
  if (target == nullptr) return true;  // nowhere to show it; the game goes on regardless
  SDL_Surface* source =
      SDL_CreateRGBSurfaceWithFormatFrom(const_cast<void*>(pixels), width, height,
                                         bytesPerPixel(format) * 8, pitch, sdlFormat(format));
  if (source == nullptr) return true;
  SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_NONE);
  SDL_FillRect(target, nullptr, SDL_MapRGB(target->format, 0, 0, 0));
  SDL_Rect destination = toSdl(presentRect(target->w, target->h, width, height, mode));
  if (destination.w == width && destination.h == height) {
    SDL_BlitSurface(source, nullptr, target, &destination);
  } else {
    SDL_BlitScaled(source, nullptr, target, &destination);
  }
  SDL_FreeSurface(source);
  SDL_UpdateWindowSurface(window_);
  return true;
}

void SdlWindow::mapPointer(int windowX, int windowY, int& x, int& y) const {
  int clientWidth = 0;
  int clientHeight = 0;
  SDL_GetWindowSize(window_, &clientWidth, &clientHeight);
  if (logicalWidth_ <= 0 || logicalHeight_ <= 0) {
    windowToPicture(windowX, windowY, clientWidth, clientHeight, clientWidth, clientHeight,
                    PresentMode::Stretch, x, y);
  } else {
    windowToPicture(windowX, windowY, clientWidth, clientHeight, logicalWidth_, logicalHeight_,
                    logicalMode_, x, y);
  }
}

void SdlWindow::applyCursor() const { SDL_ShowCursor(cursorVisible_ ? SDL_ENABLE : SDL_DISABLE); }

void SdlWindow::renderReset() {
  if (texture_ != nullptr) SDL_DestroyTexture(texture_);
  texture_ = nullptr;
}

void SdlWindow::geometryChanged() {
  if (fullscreen_) return;
  if ((SDL_GetWindowFlags(window_) & (SDL_WINDOW_MAXIMIZED | SDL_WINDOW_MINIMIZED)) != 0) return;
  rememberNormalPlacement();
}

void SdlWindow::rememberNormalPlacement() {
  SDL_GetWindowPosition(window_, &normal_.x, &normal_.y);
  SDL_GetWindowSize(window_, &normal_.width, &normal_.height);
  normal_.maximized = false;
}

}  // namespace platform
