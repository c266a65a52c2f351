#include "platform/sdl_window.h"

#include <SDL.h>

#include <algorithm>
#include <stdexcept>

#include "platform/present_layout.h"
#include "platform/window_decorations.h"

namespace platform {

SdlWindow::SdlWindow(const WindowDesc& desc, SdlWindowRegistry& registry)
    : registry_(registry),
      kind_(desc),
      caption_(desc.caption),
      bordered_(desc.bordered),
      titleButtons_(desc.titleButtons) {
  window_ = registry_.reuse(desc);
  if (window_ == nullptr) {
    Uint32 flags = SDL_WINDOW_ALLOW_HIGHDPI;
    flags |= desc.visible ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN;
    if (!desc.bordered) flags |= SDL_WINDOW_BORDERLESS;
    if (desc.resizable) flags |= SDL_WINDOW_RESIZABLE;
    const int position = desc.centered ? SDL_WINDOWPOS_CENTERED : SDL_WINDOWPOS_UNDEFINED;
    window_.reset(SDL_CreateWindow(caption_.c_str(), position, position, std::max(desc.width, 1),
                                   std::max(desc.height, 1), flags));
  }
  if (window_ == nullptr) {
    throw std::runtime_error(std::string("Window cannot be made: ") + SDL_GetError());
  }
  id_ = SDL_GetWindowID(window_.get());
  presenter_ = makeWindowPresenter(window_.get(), registry_.childrenInside());
  children_.setHost(window_.get());
  placement_ = std::make_unique<SdlWindowPlacement>(window_.get());
  readRefreshRate();
  registry_.add(this);
}

SdlWindow::~SdlWindow() {
  if (host_ != nullptr) leaveHost();
  // The children's textures belong to this window's renderer.
  children_.dropTextures();
  for (ChildPicture* child : children_.pictures()) child->window->host_ = nullptr;
  registry_.remove(this);
  // A hidden pointer belongs to this window; it must not stay hidden over the others.
  if (!cursorVisible_) SDL_ShowCursor(SDL_ENABLE);
  // The presenter (the texture, the renderer, the shared buffers) goes before the window
  // it belongs to, which the registry destroys or keeps hidden.
  presenter_.reset();
  registry_.retire(std::move(window_), kind_);
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
  if (placement_->shown(fullscreen_, bordered_, visible())) placed();
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
    placement_->frameExtents();  // the last chance to learn the frame before it goes away
    fullscreen_ = SDL_SetWindowFullscreen(window_.get(), SDL_WINDOW_FULLSCREEN_DESKTOP) == 0;
  } else {
    SDL_SetWindowFullscreen(window_.get(), 0);
    fullscreen_ = false;
    SDL_SetWindowBordered(window_.get(), bordered_ ? SDL_TRUE : SDL_FALSE);
    if (placement_->leftFullscreen(bordered_, visible())) placed();
  }
  presenter_->repaintBars();
  applyCursor();
}

void SdlWindow::setClientSize(int width, int height) {
  placement_->setClientSize(width, height, fullscreen_);
  geometryChanged();
}

void SdlWindow::setPlacement(const Placement& placement) {
  if (placement_->set(placement, fullscreen_, visible())) placed();
}

void SdlWindow::setCursorVisible(bool visible) {
  cursorVisible_ = visible;
  if (host_ != nullptr) {
    if (host_->pointerChild_ == &picture_) host_->applyCursor();
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
  host_->children_.raise(&picture_);
  host_->presenter_->refresh(host_->children_);
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
  const PixelSource picture{pixels, width, height, pitch, format};
  if (host_ != nullptr) {
    picture_.keep(picture);
    host_->presenter_->refresh(host_->children_);
    return true;
  }
  setLogicalSize(width, height, mode);
  const bool shown = presenter_->present(picture, mode, vsync, children_);
  if (vsync) pacer_.frameShown(presenter_->waitedForDisplay(vsync));
  return shown;
}

void SdlWindow::skipFrame(bool vsync) {
  if (vsync) pacer_.frameShown(false);
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
  ChildPicture* over = children_.at(windowX, windowY);  // null: this window
  // The window a button was pressed over keeps the pointer until every button is up, as
  // a window system does for real windows.
  if (phase == PointerPhase::Move && !buttonsHeld) grabbing_ = false;
  if (phase == PointerPhase::Press && !grabbing_) {
    grabbing_ = true;
    grabbed_ = over;
  }
  ChildPicture* target = grabbing_ ? grabbed_ : over;
  if (phase == PointerPhase::Release && !buttonsHeld) grabbing_ = false;
  if (target != pointerChild_) {
    pointerChild_ = target;
    applyCursor();
  }
  if (target == nullptr) {
    mapPointer(windowX, windowY, x, y);
    return id_;
  }
  windowToArea(windowX, windowY, children_.area(*target), target->width, target->height, x, y);
  return target->window->id_;
}

uint32_t SdlWindow::keyboardTarget() const {
  return children_.empty() ? id_ : children_.pictures().back()->window->id_;
}

void SdlWindow::applyCursor() const {
  const bool visible =
      pointerChild_ != nullptr ? pointerChild_->window->cursorVisible_ : cursorVisible_;
  SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

void SdlWindow::renderReset() {
  presenter_->renderReset();
  children_.dropTextures();
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
  host.children_.raise(&picture_);
  // Nothing to draw until the child presents its first picture.
}

void SdlWindow::leaveHost() {
  SdlWindow& host = *host_;
  host.children_.remove(&picture_);
  if (host.grabbed_ == &picture_) host.grabbing_ = false;
  if (host.pointerChild_ == &picture_) {
    host.pointerChild_ = nullptr;
    host.applyCursor();
  }
  picture_.texture.reset();  // it belongs to the host's renderer
  host_ = nullptr;
  host.presenter_->repaintBars();  // the child may have covered the bars
  host.presenter_->refresh(host.children_);
}

void SdlWindow::geometryChanged() {
  presenter_->repaintBars();  // a new or resized surface: paint the bars again
  readRefreshRate();
  placement_->geometryChanged(fullscreen_);
}

void SdlWindow::placed() {
  presenter_->repaintBars();
  readRefreshRate();
}

void SdlWindow::readRefreshRate() {
  SDL_DisplayMode mode;
  const int display = std::max(SDL_GetWindowDisplayIndex(window_.get()), 0);
  pacer_.setRefreshRate(SDL_GetCurrentDisplayMode(display, &mode) == 0 ? mode.refresh_rate : 0);
}

}  // namespace platform
