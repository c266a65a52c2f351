#pragma once
// Where an SDL window stands: its normal position and size (kept while it is maximized or
// covers the screen, like the system's own placement record), placements asked for while
// it covers the screen and applied when it leaves, and the frame the window manager gives
// it, which the placement must allow for and which is known only once the window has been
// shown with its decorations.

#include "platform/platform.h"

struct SDL_Window;

namespace platform {

class SdlWindowPlacement {
 public:
  // Remembers where the window stands now.
  explicit SdlWindowPlacement(SDL_Window* window);

  Placement placement(bool fullscreen) const;
  // The functions that may move the window say whether they did.
  // Places the window now, or, while it covers the screen, when it leaves full screen.
  bool set(const Placement& placement, bool fullscreen, bool visible);
  // Places the window as asked (it does not cover the screen).
  void apply(const Placement& placement, bool visible);
  void setClientSize(int width, int height, bool fullscreen);
  ScreenArea workArea() const;
  FrameExtents frameExtents() const;

  // The window was just shown: a placement given before it had a frame is made again.
  bool shown(bool fullscreen, bool bordered, bool visible);
  // The window left full screen: a placement given meanwhile is applied.
  bool leftFullscreen(bool bordered, bool visible);
  // The window moved or changed size: remember its normal position and size.
  void geometryChanged(bool fullscreen);

 private:
  bool frameKnown() const;
  // Waits a moment for the window manager to report the frame; false when it does not.
  bool waitForFrame();
  void rememberNormal();

  SDL_Window* window_;
  Placement normal_;  // the window's position and size when neither maximized nor full screen
  bool pendingPlacement_ = false;  // a placement given while full screen, applied on leaving it
  Placement pending_;
  bool pendingFrameKnown_ = false;   // the frame was known when the pending placement came
  bool placedWithoutFrame_ = false;  // placed while hidden, before the frame was known
  Placement placedAs_;
  mutable FrameExtents frame_;  // the decorations as the window system last reported them
};

}  // namespace platform
