#include "platform/sdl_window.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "platform/present_layout.h"
#include "platform/wayland_frame_buffers.h"
#include "platform/window_decorations.h"
#include "platform/window_placement.h"

namespace platform {
namespace {

Uint32 sdlFormat(PixelFormat format) {
  return format == PixelFormat::RGB565 ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_ARGB8888;
}

int bytesPerPixel(PixelFormat format) { return format == PixelFormat::RGB565 ? 2 : 4; }

SDL_Rect toSdl(const PresentRect& r) { return SDL_Rect{r.x, r.y, r.width, r.height}; }

bool sameRect(const PresentRect& a, const PresentRect& b) {
  return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

SurfaceLayout layoutOf(Uint32 format) {
  switch (format) {
    case SDL_PIXELFORMAT_RGB888:
    case SDL_PIXELFORMAT_ARGB8888:
      return SurfaceLayout::XRGB8888;
    case SDL_PIXELFORMAT_BGR888:
    case SDL_PIXELFORMAT_ABGR8888:
      return SurfaceLayout::XBGR8888;
    case SDL_PIXELFORMAT_RGB565:
      return SurfaceLayout::RGB565;
    default:
      return SurfaceLayout::Other;
  }
}

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

void SdlWindowRegistry::add(SdlWindow* window) { windows_[window->id()] = window; }

void SdlWindowRegistry::remove(SdlWindow* window) {
  auto it = windows_.find(window->id());
  if (it != windows_.end() && it->second == window) windows_.erase(it);
}

void SdlWindowRegistry::retire(SdlWindowUniquePtr window) {
  if (!keepsClosedWindows_) return;  // destroyed on return
  SDL_HideWindow(window.get());
  kept_.push_back(std::move(window));
}

SdlWindow* SdlWindowRegistry::find(uint32_t id) const {
  auto it = windows_.find(id);
  return it == windows_.end() ? nullptr : it->second;
}

SdlWindow::SdlWindow(const WindowDesc& desc, SdlWindowRegistry& registry)
    : registry_(registry),
      caption_(desc.caption),
      bordered_(desc.bordered),
      titleButtons_(desc.titleButtons) {
  Uint32 flags = SDL_WINDOW_ALLOW_HIGHDPI;
  flags |= desc.visible ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN;
  if (!desc.bordered) flags |= SDL_WINDOW_BORDERLESS;
  if (desc.resizable) flags |= SDL_WINDOW_RESIZABLE;
  const int position = desc.centered ? SDL_WINDOWPOS_CENTERED : SDL_WINDOWPOS_UNDEFINED;
  window_.reset(SDL_CreateWindow(caption_.c_str(), position, position, std::max(desc.width, 1),
                                 std::max(desc.height, 1), flags));
  if (window_ == nullptr) {
    throw std::runtime_error(std::string("Window cannot be made: ") + SDL_GetError());
  }
  id_ = SDL_GetWindowID(window_.get());
  // Without a renderer that has a GPU behind it, the window's own surface takes the
  // pictures (see presentToSurface).
  renderer_.reset(SDL_CreateRenderer(window_.get(), -1, 0));
  if (renderer_ != nullptr && drawsOnTheCpu(renderer_.get())) renderer_.reset();
  if (renderer_ == nullptr) frameBuffers_ = WaylandFrameBuffers::create(window_.get());
  rememberNormalPlacement();
  readRefreshRate();
  registry_.add(this);
}

SdlWindow::~SdlWindow() {
  if (host_ != nullptr) leaveHost();
  // The children's textures belong to this window's renderer.
  dropChildTextures();
  for (SdlWindow* child : children_) child->host_ = nullptr;
  registry_.remove(this);
  // A hidden pointer belongs to this window; it must not stay hidden over the others.
  if (!cursorVisible_) SDL_ShowCursor(SDL_ENABLE);
  // The texture and the renderer go before the window they belong to, which the registry
  // destroys or keeps hidden to the end.
  texture_.reset();
  renderer_.reset();
  frameBuffers_.reset();
  registry_.retire(std::move(window_));
}

void SdlWindow::show() {
  SdlWindow* parent = shownParent();
  if (parent != nullptr && registry_.childrenInside()) {
    showInside(*parent);
    return;
  }
  if (!titleButtons_) removeTitleBarButtons(window_.get());
  // A window manager keeps a window that belongs to another above it, even above one that
  // covers the screen, and gives it the keyboard when it appears (without that, the name
  // window at the end of a game, long after the player's last key, could open behind the
  // full-screen game, out of reach of keyboard and pointer).
  if (parent != nullptr) SDL_SetWindowModalFor(window_.get(), parent->window_.get());
  SDL_ShowWindow(window_.get());
  if (placedWithoutFrame_ && !fullscreen_ && bordered_) {
    // A window placed before it was first shown had no frame yet, and the window manager
    // put its frame where the client area was meant to go. Now that the frame is known,
    // the same placement puts the client area there, so a remembered place stays put.
    placedWithoutFrame_ = false;
    if (waitForFrame()) applyPlacement(placedAs_);
  }
}

void SdlWindow::hide() {
  if (host_ != nullptr) {
    leaveHost();
    return;
  }
  SDL_HideWindow(window_.get());
}

bool SdlWindow::visible() const {
  return host_ != nullptr || (SDL_GetWindowFlags(window_.get()) & SDL_WINDOW_SHOWN) != 0;
}

void SdlWindow::setCaption(const std::string& caption) {
  caption_ = caption;
  SDL_SetWindowTitle(window_.get(), caption_.c_str());
}

void SdlWindow::setBordered(bool bordered) {
  bordered_ = bordered;
  SDL_SetWindowBordered(window_.get(), bordered ? SDL_TRUE : SDL_FALSE);
}

void SdlWindow::setFullscreen(bool fullscreen) {
  if (fullscreen == fullscreen_) return;
  if (fullscreen) {
    geometryChanged();
    frameExtents();  // the last chance to learn the frame before it goes away
    fullscreen_ = SDL_SetWindowFullscreen(window_.get(), SDL_WINDOW_FULLSCREEN_DESKTOP) == 0;
  } else {
    SDL_SetWindowFullscreen(window_.get(), 0);
    fullscreen_ = false;
    SDL_SetWindowBordered(window_.get(), bordered_ ? SDL_TRUE : SDL_FALSE);
    if (pendingPlacement_) {
      pendingPlacement_ = false;
      if (!pendingFrameKnown_ && bordered_ && waitForFrame()) {
        // The placement was worked out without the frame: the window with its frame
        // keeps the centre the client area was given.
        const FrameExtents frame = frameExtents();
        pending_.x += (frame.left - frame.right) / 2;
        pending_.y += (frame.top - frame.bottom) / 2;
      }
      applyPlacement(pending_);
    }
  }
  barsSurface_ = nullptr;
  applyCursor();
}

void SdlWindow::setClientSize(int width, int height) {
  Placement wanted;
  SDL_GetWindowPosition(window_.get(), &wanted.x, &wanted.y);
  wanted.width = std::max(width, 1);
  wanted.height = std::max(height, 1);
  const Placement fitted = fitPlacement(wanted, workArea(), frameExtents());
  SDL_SetWindowSize(window_.get(), fitted.width, fitted.height);
  // A window covering the screen keeps its place; its normal position is settled when it
  // leaves full screen.
  if (!fullscreen_ && (fitted.x != wanted.x || fitted.y != wanted.y)) {
    SDL_SetWindowPosition(window_.get(), fitted.x, fitted.y);
  }
  geometryChanged();
}

Placement SdlWindow::placement() const {
  const Uint32 flags = SDL_GetWindowFlags(window_.get());
  // Like the system's own placement record, this is the normal position and size even
  // while the window is maximized or covers the screen.
  Placement p = normal_;
  if (!fullscreen_ && (flags & (SDL_WINDOW_MAXIMIZED | SDL_WINDOW_MINIMIZED)) == 0) {
    SDL_GetWindowPosition(window_.get(), &p.x, &p.y);
    SDL_GetWindowSize(window_.get(), &p.width, &p.height);
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
    pendingFrameKnown_ = frameKnown();
    normal_ = placement;
    return;
  }
  applyPlacement(placement);
}

void SdlWindow::applyPlacement(const Placement& placement) {
  if ((SDL_GetWindowFlags(window_.get()) & (SDL_WINDOW_MAXIMIZED | SDL_WINDOW_MINIMIZED)) != 0) {
    SDL_RestoreWindow(window_.get());
  }
  Placement wanted = placement;
  if (wanted.width <= 0 || wanted.height <= 0) {
    SDL_GetWindowSize(window_.get(), &wanted.width, &wanted.height);
  }
  const Placement fitted = fitPlacement(wanted, workArea(), frameExtents());
  SDL_SetWindowSize(window_.get(), fitted.width, fitted.height);
  SDL_SetWindowPosition(window_.get(), fitted.x, fitted.y);
  placedWithoutFrame_ = !visible() && !frameKnown();
  placedAs_ = placement;
  geometryChanged();
  if (placement.maximized) SDL_MaximizeWindow(window_.get());
}

ScreenArea SdlWindow::workArea() const {
  const int display = std::max(SDL_GetWindowDisplayIndex(window_.get()), 0);
  SDL_Rect bounds;
  if (SDL_GetDisplayUsableBounds(display, &bounds) != 0) return ScreenArea{};
  return ScreenArea{bounds.x, bounds.y, bounds.w, bounds.h};
}

bool SdlWindow::frameKnown() const {
  const FrameExtents frame = frameExtents();
  return frame.left > 0 || frame.top > 0 || frame.right > 0 || frame.bottom > 0;
}

bool SdlWindow::waitForFrame() {
  // A window that started full screen has never had its frame: the window manager
  // reports it soon after the window gets its decorations back.
  constexpr int kFrameWaitMs = 250;
  const Uint64 start = SDL_GetTicks64();
  while (!frameKnown()) {
    if (SDL_GetTicks64() - start >= kFrameWaitMs) return false;
    SDL_PumpEvents();  // the reply comes as an event; the others stay queued
    SDL_Delay(5);
  }
  return true;
}

FrameExtents SdlWindow::frameExtents() const {
  FrameExtents now;
  if (SDL_GetWindowBordersSize(window_.get(), &now.top, &now.left, &now.bottom, &now.right) == 0 &&
      (now.top > 0 || now.left > 0 || now.bottom > 0 || now.right > 0)) {
    frame_ = now;
  }
  return frame_;
}

void SdlWindow::setCursorVisible(bool visible) {
  cursorVisible_ = visible;
  if (host_ != nullptr) {
    if (host_->pointerChild_ == this) host_->applyCursor();
    return;
  }
  SDL_Window* focus = SDL_GetMouseFocus();
  if (focus == nullptr || focus == window_.get()) applyCursor();
}

void SdlWindow::raise() {
  if (host_ == nullptr) {
    SDL_RaiseWindow(window_.get());
    return;
  }
  std::vector<SdlWindow*>& siblings = host_->children_;
  siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  siblings.push_back(this);
  host_->refresh();
}

void SdlWindow::setParent(const Window* parent) { parent_ = parent != nullptr ? parent->id() : 0; }

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
  if (host_ != nullptr) {
    keepChildPicture(pixels, width, height, pitch, format);
    host_->refresh();
    return true;
  }
  setLogicalSize(width, height, mode);
  bool shown;
  bool waited = false;
  if (renderer_ != nullptr) {
    shown = presentWithRenderer(pixels, width, height, pitch, format, mode, vsync);
    waited = vsync && rendererWaits_;
  } else {
    shown = presentToSurface(pixels, width, height, pitch, format, mode);
  }
  if (vsync) pacer_.frameShown(waited);
  return shown;
}

void SdlWindow::skipFrame(bool vsync) {
  if (vsync) pacer_.frameShown(false);
}

bool SdlWindow::presentWithRenderer(const void* pixels, int width, int height, int pitch,
                                    PixelFormat format, PresentMode mode, bool vsync) {
  if (static_cast<int>(vsync) != vsync_) {
    // Renderers that cannot switch vsync keep presenting as they are; the pacer stands in
    // for a vsync they do not have.
    SDL_RenderSetVSync(renderer_.get(), vsync ? 1 : 0);
    vsync_ = vsync;
    SDL_RendererInfo info;
    rendererWaits_ = SDL_GetRendererInfo(renderer_.get(), &info) == 0 &&
                     (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
  }
  if (texture_ == nullptr || textureWidth_ != width || textureHeight_ != height ||
      textureFormat_ != format) {
    texture_.reset();
    texture_.reset(SDL_CreateTexture(renderer_.get(), sdlFormat(format),
                                     SDL_TEXTUREACCESS_STREAMING, width, height));
    if (texture_ == nullptr) return false;
    textureWidth_ = width;
    textureHeight_ = height;
    textureFormat_ = format;
  }
  if (SDL_UpdateTexture(texture_.get(), nullptr, pixels, pitch) != 0) return false;
  // Whole factors stay pixel-sharp; other factors are smoothed.
  SDL_SetTextureScaleMode(texture_.get(), mode == PresentMode::IntegerScale ? SDL_ScaleModeNearest
                                                                            : SDL_ScaleModeLinear);
  int outputWidth = 0;
  int outputHeight = 0;
  if (SDL_GetRendererOutputSize(renderer_.get(), &outputWidth, &outputHeight) != 0) return false;
  const SDL_Rect destination = toSdl(presentRect(outputWidth, outputHeight, width, height, mode));
  SDL_SetRenderDrawColor(renderer_.get(), 0, 0, 0, 255);
  SDL_RenderClear(renderer_.get());
  if (SDL_RenderCopy(renderer_.get(), texture_.get(), nullptr, &destination) != 0) return false;
  lastMode_ = mode;
  drawChildren(outputWidth, outputHeight);
  SDL_RenderPresent(renderer_.get());
  return true;
}

bool SdlWindow::presentToSurface(const void* pixels, int width, int height, int pitch,
                                 PixelFormat format, PresentMode mode) {
  if (registry_.childrenInside() && pixels != lastPixels_.data()) {
    const auto* bytes = static_cast<const uint8_t*>(pixels);
    lastPixels_.assign(bytes, bytes + static_cast<size_t>(pitch) * static_cast<size_t>(height));
    lastPicture_ = PixelSource{lastPixels_.data(), width, height, pitch, format};
    lastMode_ = mode;
  }
  if (frameBuffers_) {
    int outputWidth = 0;
    int outputHeight = 0;
    SDL_GetWindowSizeInPixels(window_.get(), &outputWidth, &outputHeight);
    const PixelTarget out = frameBuffers_->begin(outputWidth, outputHeight);
    if (out.pixels == nullptr) return true;  // the compositor holds every buffer: dropped
    const PresentRect area = presentRect(out.width, out.height, width, height, mode);
    fillOutside(out, area);
    scaler_.draw(PixelSource{pixels, width, height, pitch, format}, out, area);
    drawChildren(out);
    frameBuffers_->commit();
    return true;
  }
  SDL_Surface* target = SDL_GetWindowSurface(window_.get());
  if (target == nullptr) return true;  // nowhere to show it; the game goes on regardless
  const PresentRect area = presentRect(target->w, target->h, width, height, mode);
  const SurfaceLayout layout = layoutOf(target->format->format);
  if (layout == SurfaceLayout::Other) {
    // A surface layout of a rare display: SDL converts, more slowly.
    const SdlSurfaceUniquePtr source(
        SDL_CreateRGBSurfaceWithFormatFrom(const_cast<void*>(pixels), width, height,
                                           bytesPerPixel(format) * 8, pitch, sdlFormat(format)));
    if (source == nullptr) return true;
    SDL_SetSurfaceBlendMode(source.get(), SDL_BLENDMODE_NONE);
    SDL_FillRect(target, nullptr, SDL_MapRGB(target->format, 0, 0, 0));
    SDL_Rect destination = toSdl(area);
    SDL_BlitScaled(source.get(), nullptr, target, &destination);
  } else {
    if (SDL_MUSTLOCK(target) && SDL_LockSurface(target) != 0) return true;
    const PixelTarget out{target->pixels, target->w, target->h, target->pitch, layout};
    // The surface keeps what was drawn into it: the bars need painting only when the
    // surface or the picture's place changes.
    if (target != barsSurface_ || target->pixels != barsPixels_ || target->w != barsWidth_ ||
        target->h != barsHeight_ || !sameRect(area, barsArea_)) {
      fillOutside(out, area);
      barsSurface_ = target;
      barsPixels_ = target->pixels;
      barsWidth_ = target->w;
      barsHeight_ = target->h;
      barsArea_ = area;
    }
    scaler_.draw(PixelSource{pixels, width, height, pitch, format}, out, area);
    if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
  }
  drawChildren(target);
  SDL_UpdateWindowSurface(window_.get());
  return true;
}

void SdlWindow::mapPointer(int windowX, int windowY, int& x, int& y) const {
  int clientWidth = 0;
  int clientHeight = 0;
  SDL_GetWindowSize(window_.get(), &clientWidth, &clientHeight);
  if (logicalWidth_ <= 0 || logicalHeight_ <= 0) {
    windowToPicture(windowX, windowY, clientWidth, clientHeight, clientWidth, clientHeight,
                    PresentMode::Stretch, x, y);
  } else {
    windowToPicture(windowX, windowY, clientWidth, clientHeight, logicalWidth_, logicalHeight_,
                    logicalMode_, x, y);
  }
}

uint32_t SdlWindow::pointerTarget(int windowX, int windowY, PointerPhase phase, bool buttonsHeld,
                                  int& x, int& y) {
  SdlWindow* over = nullptr;  // a child under the pointer; null: this window
  for (auto it = children_.rbegin(); it != children_.rend() && over == nullptr; ++it) {
    if (areaContains(childArea(**it), windowX, windowY)) over = *it;
  }
  // The window a button was pressed over keeps the pointer until every button is up, as
  // a window system does for real windows.
  if (phase == PointerPhase::Move && !buttonsHeld) grabbing_ = false;
  if (phase == PointerPhase::Press && !grabbing_) {
    grabbing_ = true;
    grabbed_ = over;
  }
  SdlWindow* target = grabbing_ ? grabbed_ : over;
  if (phase == PointerPhase::Release && !buttonsHeld) grabbing_ = false;
  if (target != pointerChild_) {
    pointerChild_ = target;
    applyCursor();
  }
  if (target == nullptr) {
    mapPointer(windowX, windowY, x, y);
    return id_;
  }
  windowToArea(windowX, windowY, childArea(*target), target->childWidth_, target->childHeight_, x,
               y);
  return target->id_;
}

uint32_t SdlWindow::keyboardTarget() const {
  return children_.empty() ? id_ : children_.back()->id_;
}

void SdlWindow::applyCursor() const {
  const bool visible = pointerChild_ != nullptr ? pointerChild_->cursorVisible_ : cursorVisible_;
  SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

void SdlWindow::renderReset() {
  texture_.reset();
  dropChildTextures();
  barsSurface_ = nullptr;
}

SdlWindow* SdlWindow::shownParent() const {
  SdlWindow* parent = registry_.find(parent_);
  // A child of a child shown inside a window shows inside the same window, above it.
  if (parent != nullptr && parent->host_ != nullptr) parent = parent->host_;
  if (parent == nullptr || parent == this || !parent->visible()) return nullptr;
  return parent;
}

void SdlWindow::showInside(SdlWindow& host) {
  if (host_ == &host) return;
  host_ = &host;
  host.children_.push_back(this);
  // Nothing to draw until the child presents its first picture.
}

void SdlWindow::leaveHost() {
  SdlWindow& host = *host_;
  host.children_.erase(std::remove(host.children_.begin(), host.children_.end(), this),
                       host.children_.end());
  if (host.grabbed_ == this) host.grabbing_ = false;
  if (host.pointerChild_ == this) {
    host.pointerChild_ = nullptr;
    host.applyCursor();
  }
  childTexture_.reset();  // it belongs to the host's renderer
  host_ = nullptr;
  host.barsSurface_ = nullptr;  // the child may have covered the bars
  host.refresh();
}

PresentRect SdlWindow::childArea(const SdlWindow& child) const {
  int width = 0;
  int height = 0;
  SDL_GetWindowSize(window_.get(), &width, &height);
  return childRect(width, height, width, height, child.childWidth_, child.childHeight_);
}

PresentRect SdlWindow::childArea(const SdlWindow& child, int outputWidth, int outputHeight) const {
  int width = 0;
  int height = 0;
  SDL_GetWindowSize(window_.get(), &width, &height);
  return childRect(width, height, outputWidth, outputHeight, child.childWidth_, child.childHeight_);
}

void SdlWindow::keepChildPicture(const void* pixels, int width, int height, int pitch,
                                 PixelFormat format) {
  childWidth_ = width;
  childHeight_ = height;
  childPixels_.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
  const PixelTarget copy{childPixels_.data(), width, height, width * 4, SurfaceLayout::XRGB8888};
  scaler_.draw(PixelSource{pixels, width, height, pitch, format}, copy,
               PresentRect{0, 0, width, height});
  childTextureCurrent_ = false;
}

void SdlWindow::drawChildren(int outputWidth, int outputHeight) {
  for (SdlWindow* child : children_) {
    if (child->childPixels_.empty()) continue;
    if (child->childTexture_ != nullptr && !child->childTextureCurrent_) {
      int w = 0;
      int h = 0;
      SDL_QueryTexture(child->childTexture_.get(), nullptr, nullptr, &w, &h);
      if (w != child->childWidth_ || h != child->childHeight_) child->childTexture_.reset();
    }
    if (child->childTexture_ == nullptr) {
      child->childTexture_.reset(SDL_CreateTexture(renderer_.get(), SDL_PIXELFORMAT_RGB888,
                                                   SDL_TEXTUREACCESS_STREAMING, child->childWidth_,
                                                   child->childHeight_));
      if (child->childTexture_ == nullptr) continue;
      child->childTextureCurrent_ = false;
    }
    if (!child->childTextureCurrent_) {
      SDL_UpdateTexture(child->childTexture_.get(), nullptr, child->childPixels_.data(),
                        child->childWidth_ * 4);
      child->childTextureCurrent_ = true;
    }
    const SDL_Rect destination = toSdl(childArea(*child, outputWidth, outputHeight));
    SDL_RenderCopy(renderer_.get(), child->childTexture_.get(), nullptr, &destination);
  }
}

void SdlWindow::drawChildren(const PixelTarget& target) {
  for (SdlWindow* child : children_) {
    if (child->childPixels_.empty()) continue;
    scaler_.draw(PixelSource{child->childPixels_.data(), child->childWidth_, child->childHeight_,
                             child->childWidth_ * 4, PixelFormat::ARGB8888},
                 target, childArea(*child, target.width, target.height));
  }
}

void SdlWindow::drawChildren(SDL_Surface* target) {
  if (children_.empty()) return;
  const SurfaceLayout layout = layoutOf(target->format->format);
  if (layout != SurfaceLayout::Other) {
    if (SDL_MUSTLOCK(target) && SDL_LockSurface(target) != 0) return;
    drawChildren(PixelTarget{target->pixels, target->w, target->h, target->pitch, layout});
    if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
    return;
  }
  for (SdlWindow* child : children_) {
    if (child->childPixels_.empty()) continue;
    const SdlSurfaceUniquePtr source(SDL_CreateRGBSurfaceWithFormatFrom(
        child->childPixels_.data(), child->childWidth_, child->childHeight_, 32,
        child->childWidth_ * 4, SDL_PIXELFORMAT_RGB888));
    if (source == nullptr) continue;
    SDL_Rect destination = toSdl(childArea(*child, target->w, target->h));
    SDL_BlitScaled(source.get(), nullptr, target, &destination);
  }
}

void SdlWindow::refresh() {
  if (renderer_ != nullptr) {
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
    drawChildren(outputWidth, outputHeight);
    SDL_RenderPresent(renderer_.get());
    return;
  }
  if (lastPicture_.pixels != nullptr) {
    presentToSurface(lastPicture_.pixels, lastPicture_.width, lastPicture_.height,
                     lastPicture_.pitch, lastPicture_.format, lastMode_);
    return;
  }
  if (frameBuffers_) return;  // nothing shown yet
  // The surface still holds the last picture: the children go over it.
  SDL_Surface* target = SDL_GetWindowSurface(window_.get());
  if (target == nullptr) return;
  drawChildren(target);
  SDL_UpdateWindowSurface(window_.get());
}

void SdlWindow::dropChildTextures() {
  for (SdlWindow* child : children_) child->childTexture_.reset();
}

void SdlWindow::geometryChanged() {
  barsSurface_ = nullptr;  // a new or resized surface: paint the bars again
  readRefreshRate();
  if (fullscreen_) return;
  if ((SDL_GetWindowFlags(window_.get()) & (SDL_WINDOW_MAXIMIZED | SDL_WINDOW_MINIMIZED)) != 0)
    return;
  rememberNormalPlacement();
}

void SdlWindow::readRefreshRate() {
  SDL_DisplayMode mode;
  const int display = std::max(SDL_GetWindowDisplayIndex(window_.get()), 0);
  pacer_.setRefreshRate(SDL_GetCurrentDisplayMode(display, &mode) == 0 ? mode.refresh_rate : 0);
}

void SdlWindow::rememberNormalPlacement() {
  SDL_GetWindowPosition(window_.get(), &normal_.x, &normal_.y);
  SDL_GetWindowSize(window_.get(), &normal_.width, &normal_.height);
  normal_.maximized = false;
}

}  // namespace platform
