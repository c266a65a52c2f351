#include "platform/window_decorations.h"

#include <SDL.h>
#include <SDL_syswm.h>

namespace platform {
namespace {

// The Motif window-manager hints: which functions and decorations the window wants.
struct MotifHints {
  unsigned long flags;
  unsigned long functions;
  unsigned long decorations;
  long inputMode;
  unsigned long status;
};
constexpr unsigned long kHintsFunctions = 1ul << 0;
constexpr unsigned long kHintsDecorations = 1ul << 1;
constexpr unsigned long kFunctionResize = 1ul << 1;
constexpr unsigned long kFunctionMove = 1ul << 2;
constexpr unsigned long kDecorBorder = 1ul << 1;
constexpr unsigned long kDecorResizeHandle = 1ul << 2;
constexpr unsigned long kDecorTitle = 1ul << 3;

// Xlib is reached the way SDL reaches it, at run time, so the program needs no link to it.
using InternAtomFn = Atom (*)(Display*, const char*, Bool);
using ChangePropertyFn = int (*)(Display*, ::Window, Atom, Atom, int, int, const unsigned char*,
                                 int);
using FlushFn = int (*)(Display*);

}  // namespace

void removeTitleBarButtons(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (window == nullptr || SDL_GetWindowWMInfo(window, &info) != SDL_TRUE ||
      info.subsystem != SDL_SYSWM_X11) {
    return;
  }
  static void* xlib = SDL_LoadObject("libX11.so.6");
  if (xlib == nullptr) return;
  auto internAtom = reinterpret_cast<InternAtomFn>(SDL_LoadFunction(xlib, "XInternAtom"));
  auto changeProperty =
      reinterpret_cast<ChangePropertyFn>(SDL_LoadFunction(xlib, "XChangeProperty"));
  auto flush = reinterpret_cast<FlushFn>(SDL_LoadFunction(xlib, "XFlush"));
  if (internAtom == nullptr || changeProperty == nullptr || flush == nullptr) return;
  Display* display = info.info.x11.display;
  const Atom hintsAtom = internAtom(display, "_MOTIF_WM_HINTS", False);
  const MotifHints hints{kHintsFunctions | kHintsDecorations, kFunctionMove | kFunctionResize,
                         kDecorBorder | kDecorResizeHandle | kDecorTitle, 0, 0};
  changeProperty(display, info.info.x11.window, hintsAtom, hintsAtom, 32, PropModeReplace,
                 reinterpret_cast<const unsigned char*>(&hints), 5);
  flush(display);
}

}  // namespace platform
