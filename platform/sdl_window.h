#pragma once
// A window over an SDL window. With a GPU, an SDL renderer and one streaming texture carry
// the presented picture. Without one (SDL's software renderer, OpenGL drawn on the CPU as
// in virtual machines, no renderer at all), the window converts and scales the picture
// itself straight into the window's own surface (on Wayland, into buffers it shares with
// the compositor), which costs far less than going through a software renderer; when
// even that fails, presenting quietly succeeds so the game still runs. Presents that
// cannot wait for the vertical blank are paced to the display's refresh rate.
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
#include <unordered_map>
#include <vector>

#include "platform/frame_pacer.h"
#include "platform/picture_scaler.h"
#include "platform/platform.h"
#include "platform/present_layout.h"
#include "platform/sdl_ptrs.h"

namespace platform {

class SdlWindow;
class WaylandFrameBuffers;

// The live windows by id, so that the event source can map pointer positions through
// the window's picture and tell windows about cursor and presenter changes.
class SdlWindowRegistry {
 public:
  // childrenInside: child windows are shown inside their parent's window (see
  // showsChildrenInsideParent).
  // keepsClosedWindows: closed windows are hidden and destroyed with the registry (see
  // destroysWindowsOnlyAtExit).
  explicit SdlWindowRegistry(bool childrenInside = false, bool keepsClosedWindows = false)
      : childrenInside_(childrenInside), keepsClosedWindows_(keepsClosedWindows) {}
  SdlWindowRegistry(const SdlWindowRegistry&) = delete;
  SdlWindowRegistry& operator=(const SdlWindowRegistry&) = delete;
  bool childrenInside() const { return childrenInside_; }
  void add(SdlWindow* window);
  void remove(SdlWindow* window);
  // Destroys a closed window's SDL window now, or hides it and keeps it to the end.
  void retire(SdlWindowUniquePtr window);
  SdlWindow* find(uint32_t id) const;
  template <typename F>
  void forEach(F f) const {
    for (const auto& entry : windows_) f(*entry.second);
  }

 private:
  std::unordered_map<uint32_t, SdlWindow*> windows_;
  bool childrenInside_;
  bool keepsClosedWindows_;
  std::vector<SdlWindowUniquePtr> kept_;  // destroyed with the registry
};

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
  Placement placement() const override;
  void setPlacement(const Placement& placement) override;
  ScreenArea workArea() const override;
  FrameExtents frameExtents() const override;
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
  bool presentWithRenderer(const void* pixels, int width, int height, int pitch, PixelFormat format,
                           PresentMode mode, bool vsync);
  bool presentToSurface(const void* pixels, int width, int height, int pitch, PixelFormat format,
                        PresentMode mode);
  // A pointer position in window coordinates to pixels of the last presented picture.
  void mapPointer(int windowX, int windowY, int& x, int& y) const;

  // The parent as shown now (the window it is shown inside, for a child shown inside
  // another); null when there is none or it is hidden.
  SdlWindow* shownParent() const;
  // Children shown inside this window, for window systems that do not stack windows.
  void showInside(SdlWindow& host);
  void leaveHost();
  // Where a child shows in this window's client area (window coordinates), and scaled to
  // an output of outputWidth x outputHeight pixels.
  PresentRect childArea(const SdlWindow& child) const;
  PresentRect childArea(const SdlWindow& child, int outputWidth, int outputHeight) const;
  void keepChildPicture(const void* pixels, int width, int height, int pitch, PixelFormat format);
  void drawChildren(int outputWidth, int outputHeight);  // into the renderer
  void drawChildren(const PixelTarget& target);
  void drawChildren(SDL_Surface* target);
  // Shows the last picture again with the children over it.
  void refresh();
  void dropChildTextures();
  void rememberNormalPlacement();
  void applyPlacement(const Placement& placement);
  void readRefreshRate();
  bool frameKnown() const;
  // Waits a moment for the window manager to report the frame; false when it does not.
  bool waitForFrame();

  SdlWindowRegistry& registry_;
  // Members go last to first: the texture before the renderer it belongs to, the
  // renderer and the Wayland buffers (declared below) before the window.
  SdlWindowUniquePtr window_;
  SdlRendererUniquePtr renderer_;
  SdlTextureUniquePtr texture_;
  bool rendererWaits_ = false;  // the renderer's present waits for the vertical blank
  uint32_t id_ = 0;
  std::string caption_;
  bool fullscreen_ = false;
  bool bordered_ = true;  // SDL drops border changes made while the window covers the screen
  bool titleButtons_ = true;
  bool cursorVisible_ = true;
  int textureWidth_ = 0;
  int textureHeight_ = 0;
  PixelFormat textureFormat_ = PixelFormat::RGB565;
  int vsync_ = -1;        // unknown until the first present
  int logicalWidth_ = 0;  // 0: the client size
  int logicalHeight_ = 0;
  PresentMode logicalMode_ = PresentMode::Stretch;
  Placement normal_;  // the window's position and size when neither maximized nor full screen
  bool pendingPlacement_ = false;  // a placement given while full screen, applied on leaving it
  Placement pending_;
  bool pendingFrameKnown_ = false;   // the frame was known when the pending placement came
  bool placedWithoutFrame_ = false;  // placed while hidden, before the frame was known
  Placement placedAs_;
  mutable FrameExtents frame_;  // the decorations as the window system last reported them
  PictureScaler scaler_;
  FramePacer pacer_;
  // Without a GPU on Wayland: the compositor's shared memory instead of SDL's window
  // surface, which SDL draws there through OpenGL on the CPU.
  std::unique_ptr<WaylandFrameBuffers> frameBuffers_;
  // What the window surface showed last, so the bars are painted only when they move.
  SDL_Surface* barsSurface_ = nullptr;
  void* barsPixels_ = nullptr;
  int barsWidth_ = 0;
  int barsHeight_ = 0;
  PresentRect barsArea_;

  uint32_t parent_ = 0;                // the id of the parent window; 0: none
  SdlWindow* host_ = nullptr;          // the window this one is shown inside, while it is
  std::vector<SdlWindow*> children_;   // shown inside this window, the topmost last
  SdlWindow* pointerChild_ = nullptr;  // the child under the pointer (or holding it)
  bool grabbing_ = false;              // a button is held: the pointer stays with grabbed_
  SdlWindow* grabbed_ = nullptr;       // null: this window
  // A child's last picture, as 0x00RRGGBB rows, and its texture in the host's renderer
  // (freed while the host's renderer lives: when the child leaves it or the host goes).
  std::vector<uint32_t> childPixels_;
  int childWidth_ = 0;
  int childHeight_ = 0;
  SdlTextureUniquePtr childTexture_;
  bool childTextureCurrent_ = false;
  // The last picture shown in the window surface, kept where children may be shown inside
  // the window, so that it can be shown again without them.
  std::vector<uint8_t> lastPixels_;
  PixelSource lastPicture_;
  PresentMode lastMode_ = PresentMode::FitKeepAspect;
};

}  // namespace platform
