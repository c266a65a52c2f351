#pragma once
// A window over an SDL window. Its pictures reach the screen through a presenter chosen
// when it is made (window_presenter.h); presents that cannot wait for the vertical blank
// are paced to the display's refresh rate.
//
// On a window system that lets no program place or stack its windows (Wayland), a window
// with a parent is not shown as a window of its own: its pictures are drawn over the
// parent's, centred on it, and the parent's pointer and keys go to it while it is shown.
// So a message box is sure to stand above the game, and the keyboard comes back to the
// game when it closes (a compositor need not give it back to a window it did not take it
// from).

#include <cstdint>
#include <memory>
#include <string>

#include "platform/child_overlay.h"
#include "platform/frame_pacer.h"
#include "platform/platform.h"
#include "platform/sdl_ptrs.h"
#include "platform/sdl_window_placement.h"
#include "platform/sdl_window_registry.h"
#include "platform/window_presenter.h"

namespace platform {

class SdlWindow final : public Window {
 public:
  // Throws std::runtime_error "Window cannot be made" with SDL's reason when SDL refuses.
  SdlWindow(const WindowDesc& desc, SdlWindowRegistry& registry);
  ~SdlWindow() override;
  SdlWindow(const SdlWindow&) = delete;
  SdlWindow& operator=(const SdlWindow&) = delete;

  uint32_t id() const override { return id_; }
  void show() override;
  void hide() override;
  bool visible() const override;
  void setCaption(const std::string& caption) override;
  std::string caption() const override { return caption_; }
  void setBordered(bool bordered) override;
  void setFullscreen(bool fullscreen) override;
  bool fullscreen() const override { return fullscreen_; }
  void setClientSize(int width, int height) override;
  Placement placement() const override { return placement_->placement(fullscreen_); }
  void setPlacement(const Placement& placement) override;
  ScreenArea workArea() const override { return placement_->workArea(); }
  FrameExtents frameExtents() const override { return placement_->frameExtents(); }
  void setCursorVisible(bool visible) override;
  void raise() override;
  void setParent(const Window* parent) override;
  void setLogicalSize(int width, int height, PresentMode mode) override;
  bool present(const void* pixels, int width, int height, int pitch, PixelFormat format,
               PresentMode mode, bool vsync) override;
  void skipFrame(bool vsync) override;

  // Called by the event source.
  // The window a pointer at (windowX, windowY) of this window is over (this one, or a child
  // shown inside it), with the position in pixels of that window's last presented picture.
  // While a button is held, the window it was pressed over keeps the pointer.
  enum class PointerPhase { Move, Press, Release };
  // buttonsHeld: a button is still held after this event.
  uint32_t pointerTarget(int windowX, int windowY, PointerPhase phase, bool buttonsHeld, int& x,
                         int& y);
  // The window that takes this window's keys: the topmost child shown inside it, else this.
  uint32_t keyboardTarget() const;
  // The pointer entered the window or the window took the focus: show or hide the
  // pointer as this window wants it (SDL's pointer is one for all windows).
  void applyCursor() const;
  // The renderer lost its textures: make the texture again at the next present.
  void renderReset();
  // The window moved or changed size: remember its normal position and size.
  void geometryChanged();

 private:
  // A pointer position in window coordinates to pixels of the last presented picture.
  void mapPointer(int windowX, int windowY, int& x, int& y) const;
  // The parent as shown now (the window it is shown inside, for a child shown inside
  // another); null when there is none or it is hidden.
  SdlWindow* shownParent() const;
  // Children shown inside this window, for window systems that do not stack windows.
  void showInside(SdlWindow& host);
  void leaveHost();
  // The placement moved the window (its normal placement is remembered by then).
  void placed();
  void readRefreshRate();

  SdlWindowRegistry& registry_;
  WindowDesc kind_;  // as made, for the registry's kept windows
  // Members go last to first: the presenter (its renderer and buffers) before the window.
  SdlWindowUniquePtr window_;
  std::unique_ptr<WindowPresenter> presenter_;
  std::unique_ptr<SdlWindowPlacement> placement_;
  uint32_t id_ = 0;
  std::string caption_;
  bool fullscreen_ = false;
  bool bordered_ = true;  // SDL drops border changes made while the window covers the screen
  bool titleButtons_ = true;
  bool cursorVisible_ = true;
  int logicalWidth_ = 0;  // 0: the client size
  int logicalHeight_ = 0;
  PresentMode logicalMode_ = PresentMode::Stretch;
  FramePacer pacer_;

  uint32_t parent_ = 0;  // the id of the parent window; 0: none
  // Shown inside another window: that window, and this one's last picture there.
  SdlWindow* host_ = nullptr;
  ChildPicture picture_{this};
  ChildOverlay children_;                 // shown inside this window
  ChildPicture* pointerChild_ = nullptr;  // the child under the pointer (or holding it)
  bool grabbing_ = false;                 // a button is held: the pointer stays with grabbed_
  ChildPicture* grabbed_ = nullptr;       // null: this window
};

}  // namespace platform
