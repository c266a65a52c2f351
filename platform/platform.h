#pragma once
// The interfaces through which the framework, the engine and the game reach the
// machine. Nothing above platform/ includes SDL, Pango, Cairo or system headers; the
// SDL implementation lives in sdl_*.cpp, and the fakes in fake_platform.h stand in for
// it in tests.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/files.h"

namespace platform {

// Held modifiers and buttons, as the framework's shift state reports them.
enum ShiftFlag : uint32_t {
  ssShift = 1u << 0,
  ssAlt = 1u << 1,
  ssCtrl = 1u << 2,
  ssLeft = 1u << 3,
  ssRight = 1u << 4,
  ssMiddle = 1u << 5,
};

enum class MouseButton { Left, Right, Middle };

enum class EventKind {
  MouseMove,    // x, y in drawing-surface pixels
  MouseDown,    // x, y, button
  MouseUp,      // x, y, button
  KeyDown,      // key (Windows virtual-key code), shift
  KeyUp,        // key, shift
  Char,         // text: one typed character, UTF-8
  FocusGained,  // the window came to the front
  FocusLost,    // the window lost the front
  Close,        // the user (or SIGTERM/SIGINT, window 0) asked to close
  Expose,       // the window's contents must be presented again
  RenderReset,  // the presenter's textures were lost; surfaces must be rebuilt
};

struct Event {
  EventKind kind = EventKind::Expose;
  uint32_t window = 0;  // Window::id() of the target; 0 means the application
  int x = 0;
  int y = 0;
  MouseButton button = MouseButton::Left;
  uint16_t key = 0;  // Windows virtual-key code, VK_*
  uint32_t shift = 0;
  std::string text;
};

// A remembered window position and size (client area, screen pixels).
struct Placement {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool maximized = false;
};

// A rectangle of the screen, in screen pixels.
struct ScreenArea {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The thickness of a window's decorations (title bar, borders) around its client area.
struct FrameExtents {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

struct DisplayMode {
  int width = 0;
  int height = 0;
  int bitCount = 0;
  int refreshRate = 0;
};

// How a window shows a picture that is not the size of its client area.
enum class PresentMode {
  FitKeepAspect,  // scaled to fit, aspect kept, centred, black bars around
  Center,         // unscaled, centred
  Stretch,        // scaled to fill the whole client area
  IntegerScale,   // scaled by the largest whole factor that fits, centred, black bars around;
                  // shrunk as FitKeepAspect when not even the picture's own size fits
};

// Pixel formats a window can present.
enum class PixelFormat { RGB565, ARGB8888 };

struct WindowDesc {
  std::string caption;
  int width = 800;  // client size
  int height = 600;
  bool bordered = true;
  bool resizable = false;
  bool centered = true;
  bool visible = false;
  // False: the title bar has no buttons (no window menu, minimise, maximise or close).
  bool titleButtons = true;
};

class Window {
 public:
  virtual ~Window() = default;
  virtual uint32_t id() const = 0;
  virtual void show() = 0;
  virtual void hide() = 0;
  virtual bool visible() const = 0;
  virtual void setCaption(const std::string& caption) = 0;
  virtual std::string caption() const = 0;
  virtual void setBordered(bool bordered) = 0;
  // Desktop full screen: a borderless window covering the desktop; the monitor's mode
  // is left alone.
  virtual void setFullscreen(bool fullscreen) = 0;
  virtual bool fullscreen() const = 0;
  virtual void setClientSize(int width, int height) = 0;
  virtual Placement placement() const = 0;
  // Moves and sizes the window. A placement that would put the window (with its frame)
  // partly off the work area is moved, and shrunk if need be, to lie wholly on it; so is a
  // client size larger than the work area.
  virtual void setPlacement(const Placement& placement) = 0;
  // The usable part of the screen that holds the window (without panels and docks);
  // empty when the platform cannot tell.
  virtual ScreenArea workArea() const = 0;
  // The decorations around the client area as the window system last reported them
  // (zero when it never did).
  virtual FrameExtents frameExtents() const = 0;
  virtual void setCursorVisible(bool visible) = 0;
  virtual void raise() = 0;
  // Makes this window a child of `parent` (null: of none) from its next showing on, while
  // the parent is shown: the child stays above its parent and takes the keyboard from it.
  // (X11: a transient window; Wayland: drawn inside the parent's window.)
  virtual void setParent(const Window* parent) = 0;
  // Pointer events are reported in pixels of a picture of this size as the window last
  // presented it (the mapping follows the present mode). Default: the client size.
  virtual void setLogicalSize(int width, int height, PresentMode mode) = 0;
  // Shows pixels (rows of `pitch` bytes) in the window. vsync waits for the vertical
  // blank when the presenter supports it, and otherwise for the display's next refresh,
  // so frames never come faster than the display shows them. Returns false when the
  // device was lost.
  virtual bool present(const void* pixels, int width, int height, int pitch, PixelFormat format,
                       PresentMode mode, bool vsync) = 0;
  // A frame that is drawn but not shown: waits as present() with vsync would, so a game
  // that draws unseen goes at the display's pace instead of spinning a core.
  virtual void skipFrame(bool vsync) = 0;
};

// The millisecond tick counter (32 bits, wrapping) and the high-resolution counter.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual uint32_t ticks() = 0;
  virtual uint64_t highResCounter() = 0;
  virtual uint64_t highResFrequency() = 0;
};

class EventSource {
 public:
  virtual ~EventSource() = default;
  // Takes the next pending event; false when there is none.
  virtual bool poll(Event& event) = 0;
  // Blocks until an event is pending or timeoutMs passes (-1: no limit).
  virtual void wait(int timeoutMs) = 0;
};

// Shared libraries by name (dlopen/dlsym).
class LibraryLoader {
 public:
  virtual ~LibraryLoader() = default;
  virtual void* load(const std::string& name) = 0;  // nullptr when it cannot be loaded
  virtual void* symbol(void* library, const std::string& entry) = 0;
  virtual void unload(void* library) = 0;
};

// Text drawn with a font family resolved through fontconfig.
struct FontSpec {
  std::string family = "MS Sans Serif";
  double sizePoints = 8;
  bool bold = false;
  bool italic = false;
  uint32_t color = 0;  // 0x00BBGGRR
};

class TextRenderer {
 public:
  virtual ~TextRenderer() = default;
  // Draws UTF-8 text with its top-left corner at (x, y) into a pixel buffer, clipped to
  // it. A size in points is converted at 96 dots per inch, as the screen had it.
  virtual void drawText(void* pixels, int width, int height, int pitch, PixelFormat format, int x,
                        int y, const std::string& text, const FontSpec& font) = 0;
  virtual void textExtent(const std::string& text, const FontSpec& font, int& width,
                          int& height) = 0;
};

class InputSystem;  // input_system.h
class AudioSystem;  // audio_system.h

class Platform {
 public:
  virtual ~Platform() = default;
  virtual Clock& clock() = 0;
  virtual EventSource& events() = 0;
  virtual LibraryLoader& libraries() = 0;
  virtual TextRenderer& text() = 0;
  virtual InputSystem& input() = 0;
  virtual AudioSystem& audio() = 0;
  virtual std::unique_ptr<Window> createWindow(const WindowDesc& desc) = 0;
  // Modes of the primary display, as the platform reports them.
  virtual std::vector<DisplayMode> displayModes() = 0;
  virtual DisplayMode desktopMode() = 0;
  // The full path of the running program.
  virtual std::string executablePath() = 0;
  // The files that saves go through: the system's unless a test puts others in place.
  virtual Files& files() { return systemFiles(); }
};

// The SDL platform; created once by the program's start-up.
std::unique_ptr<Platform> createSdlPlatform();
// The Pango/Cairo text renderer, with fontconfig resolving family names.
std::unique_ptr<TextRenderer> createTextRenderer();

}  // namespace platform
