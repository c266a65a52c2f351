#include "platform/sdl_window_placement.h"

#include <SDL.h>

#include <algorithm>

#include "platform/window_placement.h"

namespace platform {
namespace {

bool maximizedOrMinimized(SDL_Window* window) {
  return (SDL_GetWindowFlags(window) & (SDL_WINDOW_MAXIMIZED | SDL_WINDOW_MINIMIZED)) != 0;
}

}  // namespace

SdlWindowPlacement::SdlWindowPlacement(SDL_Window* window) : window_(window) { rememberNormal(); }

Placement SdlWindowPlacement::placement(bool fullscreen) const {
  const Uint32 flags = SDL_GetWindowFlags(window_);
  // Like the system's own placement record, this is the normal position and size even
  // while the window is maximized or covers the screen.
  Placement p = normal_;
  if (!fullscreen && (flags & (SDL_WINDOW_MAXIMIZED | SDL_WINDOW_MINIMIZED)) == 0) {
    SDL_GetWindowPosition(window_, &p.x, &p.y);
    SDL_GetWindowSize(window_, &p.width, &p.height);
  }
  p.maximized = (flags & SDL_WINDOW_MAXIMIZED) != 0;
  return p;
}

bool SdlWindowPlacement::set(const Placement& placement, bool fullscreen, bool visible) {
  if (fullscreen) {
    // Moving a window that covers the screen would only be undone when it leaves full
    // screen; keep the placement for that moment.
    pending_ = placement;
    pendingPlacement_ = true;
    pendingFrameKnown_ = frameKnown();
    normal_ = placement;
    return false;
  }
  apply(placement, visible);
  return true;
}

void SdlWindowPlacement::apply(const Placement& placement, bool visible) {
  if (maximizedOrMinimized(window_)) SDL_RestoreWindow(window_);
  Placement wanted = placement;
  if (wanted.width <= 0 || wanted.height <= 0) {
    SDL_GetWindowSize(window_, &wanted.width, &wanted.height);
  }
  const Placement fitted = fitPlacement(wanted, workArea(), frameExtents());
  SDL_SetWindowSize(window_, fitted.width, fitted.height);
  SDL_SetWindowPosition(window_, fitted.x, fitted.y);
  placedWithoutFrame_ = !visible && !frameKnown();
  placedAs_ = placement;
  geometryChanged(false);
  if (placement.maximized) SDL_MaximizeWindow(window_);
}

void SdlWindowPlacement::setClientSize(int width, int height, bool fullscreen) {
  Placement wanted;
  SDL_GetWindowPosition(window_, &wanted.x, &wanted.y);
  wanted.width = std::max(width, 1);
  wanted.height = std::max(height, 1);
  const Placement fitted = fitPlacement(wanted, workArea(), frameExtents());
  SDL_SetWindowSize(window_, fitted.width, fitted.height);
  // A window covering the screen keeps its place; its normal position is settled when it
  // leaves full screen.
  if (!fullscreen && (fitted.x != wanted.x || fitted.y != wanted.y)) {
    SDL_SetWindowPosition(window_, fitted.x, fitted.y);
  }
}

ScreenArea SdlWindowPlacement::workArea() const {
  const int display = std::max(SDL_GetWindowDisplayIndex(window_), 0);
  SDL_Rect bounds;
  if (SDL_GetDisplayUsableBounds(display, &bounds) != 0) return ScreenArea{};
  return ScreenArea{bounds.x, bounds.y, bounds.w, bounds.h};
}

FrameExtents SdlWindowPlacement::frameExtents() const {
  FrameExtents now;
  if (SDL_GetWindowBordersSize(window_, &now.top, &now.left, &now.bottom, &now.right) == 0 &&
      (now.top > 0 || now.left > 0 || now.bottom > 0 || now.right > 0)) {
    frame_ = now;
  }
  return frame_;
}

bool SdlWindowPlacement::shown(bool fullscreen, bool bordered, bool visible) {
  if (placedWithoutFrame_ && !fullscreen && bordered) {
    // A window placed before it was first shown had no frame yet, and the window manager
    // put its frame where the client area was meant to go. Now that the frame is known,
    // the same placement puts the client area there, so a remembered place stays put.
    placedWithoutFrame_ = false;
    if (waitForFrame()) {
      apply(placedAs_, visible);
      return true;
    }
  }
  return false;
}

bool SdlWindowPlacement::leftFullscreen(bool bordered, bool visible) {
  if (!pendingPlacement_) return false;
  pendingPlacement_ = false;
  if (!pendingFrameKnown_ && bordered && waitForFrame()) {
    // The placement was worked out without the frame: the window with its frame keeps
    // the centre the client area was given.
    const FrameExtents frame = frameExtents();
    pending_.x += (frame.left - frame.right) / 2;
    pending_.y += (frame.top - frame.bottom) / 2;
  }
  apply(pending_, visible);
  return true;
}

void SdlWindowPlacement::geometryChanged(bool fullscreen) {
  if (fullscreen || maximizedOrMinimized(window_)) return;
  rememberNormal();
}

bool SdlWindowPlacement::frameKnown() const {
  const FrameExtents frame = frameExtents();
  return frame.left > 0 || frame.top > 0 || frame.right > 0 || frame.bottom > 0;
}

bool SdlWindowPlacement::waitForFrame() {
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

void SdlWindowPlacement::rememberNormal() {
  SDL_GetWindowPosition(window_, &normal_.x, &normal_.y);
  SDL_GetWindowSize(window_, &normal_.width, &normal_.height);
  normal_.maximized = false;
}

}  // namespace platform
