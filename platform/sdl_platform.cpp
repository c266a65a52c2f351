#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "platform/audio_system.h"
#include "platform/dl_library_loader.h"
#include "platform/input_system.h"
#include "platform/platform.h"
#include "platform/program_path.h"
#include "platform/sdl_events.h"
#include "platform/sdl_window.h"
#include "platform/window_system.h"

namespace platform {
namespace {

class SdlClock final : public Clock {
 public:
  // Milliseconds since SDL started, cut to 32 bits so that it wraps like the system's
  // own tick counter.
  uint32_t ticks() override { return static_cast<uint32_t>(SDL_GetTicks64()); }
  uint64_t highResCounter() override { return SDL_GetPerformanceCounter(); }
  uint64_t highResFrequency() override { return SDL_GetPerformanceFrequency(); }
};

bool environmentNames(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && *value != '\0';
}

// SDL falls back on its invisible drivers when no display can be reached; then the game
// would run unseen at full speed. Those drivers serve only when the environment asks
// for them (the tests do), and a session without a display is told so at once.
void chooseVideoDriver() {
  Session session;
  session.driverNamed = environmentNames("SDL_VIDEODRIVER");
  session.x11 = environmentNames("DISPLAY");
  session.wayland = environmentNames("WAYLAND_DISPLAY");
  const std::string driver = videoDriverFor(session);
  if (!driver.empty()) SDL_SetHint(SDL_HINT_VIDEODRIVER, driver.c_str());
}

// SDL names windows after the running program's file unless told otherwise; a copy of the
// game under another name must still be the desktop entry's game. A name the player set
// for SDL stays.
void nameApplication() {
  setenv("SDL_VIDEO_WAYLAND_WMCLASS", kApplicationId, 0);
  setenv("SDL_VIDEO_X11_WMCLASS", kApplicationId, 0);
}

void refuseInvisibleDriver() {
  if (environmentNames("SDL_VIDEODRIVER")) return;
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver == nullptr) return;
  if (std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "offscreen") == 0) {
    SDL_Quit();
    throw std::runtime_error(
        "No X11 or Wayland display can be reached, so no window can be shown.");
  }
}

// Starts SDL's video, event and timer parts before any member that needs them, and
// stops SDL after every member is gone.
class SdlSession {
 public:
  SdlSession() {
    chooseVideoDriver();
    nameApplication();
    // The event source handles SIGTERM and SIGINT itself (SDL's own handlers would only
    // queue a quit that a waiting loop may not see in time).
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // A close request comes per window; the main form decides when the program ends.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // A click that brings a window to the front also counts as a click, as on Windows.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
      throw std::runtime_error(std::string("SDL cannot be started: ") + SDL_GetError());
    }
    refuseInvisibleDriver();
    // A window without a GPU renderer draws into its own surface; on X11 that surface
    // should be the X server's shared memory, not a texture of yet another renderer.
    // (Wayland has no such memory in SDL and keeps SDL's choice.)
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver != nullptr && std::strcmp(driver, "x11") == 0) {
      SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    }
  }
  std::string driver() const {
    const char* name = SDL_GetCurrentVideoDriver();
    return name != nullptr ? name : "";
  }
  ~SdlSession() { SDL_Quit(); }
  SdlSession(const SdlSession&) = delete;
  SdlSession& operator=(const SdlSession&) = delete;
};

class SdlPlatform final : public Platform {
 public:
  SdlPlatform()
      : windows_(showsChildrenInsideParent(session_.driver()),
                 destroysWindowsOnlyAtExit(session_.driver())),
        events_(windows_),
        libraries_(createDlLibraryLoader()),
        text_(createTextRenderer()),
        input_(createSdlInputSystem()),
        audio_(createSdlAudioSystem()) {}

  Clock& clock() override { return clock_; }
  EventSource& events() override { return events_; }
  LibraryLoader& libraries() override { return *libraries_; }
  TextRenderer& text() override { return *text_; }
  InputSystem& input() override { return *input_; }
  AudioSystem& audio() override { return *audio_; }

  std::unique_ptr<Window> createWindow(const WindowDesc& desc) override {
    return std::make_unique<SdlWindow>(desc, windows_);
  }

  std::vector<DisplayMode> displayModes() override {
    std::vector<DisplayMode> modes;
    const int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
      SDL_DisplayMode mode;
      if (SDL_GetDisplayMode(0, i, &mode) == 0) modes.push_back(toDisplayMode(mode));
    }
    return modes;
  }

  DisplayMode desktopMode() override {
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return DisplayMode{};
    return toDisplayMode(mode);
  }

  std::string executablePath() override { return programPath(); }

 private:
  static DisplayMode toDisplayMode(const SDL_DisplayMode& mode) {
    DisplayMode result;
    result.width = mode.w;
    result.height = mode.h;
    result.bitCount = static_cast<int>(SDL_BITSPERPIXEL(mode.format));
    result.refreshRate = mode.refresh_rate;
    return result;
  }

  // Declaration order is construction order: SDL first, and it is stopped last.
  SdlSession session_;
  SdlWindowRegistry windows_;
  SdlClock clock_;
  SdlEventSource events_;
  std::unique_ptr<LibraryLoader> libraries_;
  std::unique_ptr<TextRenderer> text_;
  std::unique_ptr<InputSystem> input_;
  std::unique_ptr<AudioSystem> audio_;
};

}  // namespace

std::unique_ptr<Platform> createSdlPlatform() { return std::make_unique<SdlPlatform>(); }

}  // namespace platform
