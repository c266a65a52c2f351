#pragma once
// What the game needs to know of the window system it runs on: which of SDL's video
// drivers to start for the session, what that system lets a program do with its windows,
// and the name the desktop knows the game by. Plain decisions, tested without a display.

#include <string>

namespace platform {

// The name of the game's desktop entry (reefmaw.desktop); the Wayland application id and
// the X11 window class carry it, so that the desktop shows the game's icon for its windows
// and groups them.
inline constexpr const char* kApplicationId = "reefmaw";

// The graphical systems a session offers, as its environment names them.
struct Session {
  bool driverNamed = false;  // SDL_VIDEODRIVER names a driver
  bool x11 = false;          // DISPLAY is set
  bool wayland = false;      // WAYLAND_DISPLAY is set
};

// The video driver SDL is to start: "x11" or "wayland" when the session offers only that
// one (trying the other would only print its complaints), empty to leave the choice to SDL
// (a driver named by SDL_VIDEODRIVER, or a session that offers both, where SDL's own order
// decides). Throws std::runtime_error with a one-line message when the session offers no
// graphical system at all.
std::string videoDriverFor(const Session& session);

// True for a window system that lets no program place or stack its own windows (Wayland):
// the game's child windows are then shown inside their parent's window, centred over its
// picture, so that they are sure to stay above it and the keyboard never leaves the game.
bool showsChildrenInsideParent(const std::string& driver);

// True where a window must outlive the program's use of it (Wayland): with the decorations
// SDL draws through libdecor, destroying one window and then making another crashes inside
// SDL (2.26), as a start-up message box followed by the main window would. Closed windows
// are then hidden and destroyed only when the program's windows all go.
bool destroysWindowsOnlyAtExit(const std::string& driver);

}  // namespace platform
