#pragma once
// What the window manager puts on a window's frame beyond SDL's own settings.

struct SDL_Window;

namespace platform {

// Asks for a frame with a title bar and a border but no buttons (no window menu,
// minimise, maximise or close), as a dialog without a system menu has. Only X11 window
// managers are told (through the Motif hints most of them honour); elsewhere the frame
// stays as it is, and the window's owner refuses close requests itself.
void removeTitleBarButtons(SDL_Window* window);

}  // namespace platform
