#include "platform/sdl_window_registry.h"

#include <SDL.h>

#include <algorithm>

#include "platform/sdl_window.h"

namespace platform {
namespace {

uint32_t windowOf(const SDL_Event& event) {
  switch (event.type) {
    case SDL_WINDOWEVENT:
      return event.window.windowID;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      return event.key.windowID;
    case SDL_TEXTINPUT:
      return event.text.windowID;
    case SDL_MOUSEMOTION:
      return event.motion.windowID;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      return event.button.windowID;
    case SDL_MOUSEWHEEL:
      return event.wheel.windowID;
    default:
      return 0;
  }
}

int SDLCALL keepUnlessFor(void* window, SDL_Event* event) {
  return windowOf(*event) == *static_cast<uint32_t*>(window) ? 0 : 1;
}

}  // namespace

void SdlWindowRegistry::add(SdlWindow* window) { windows_[window->id()] = window; }

void SdlWindowRegistry::remove(SdlWindow* window) {
  auto it = windows_.find(window->id());
  if (it != windows_.end() && it->second == window) windows_.erase(it);
}

int SdlWindowRegistry::kindOf(const WindowDesc& desc) {
  return (desc.bordered ? 1 : 0) | (desc.resizable ? 2 : 0) | (desc.titleButtons ? 4 : 0);
}

void SdlWindowRegistry::retire(SdlWindowUniquePtr window, const WindowDesc& kind) {
  if (!keepsClosedWindows_) return;  // destroyed on return
  SDL_HideWindow(window.get());
  kept_.emplace_back(kindOf(kind), std::move(window));
}

SdlWindowUniquePtr SdlWindowRegistry::reuse(const WindowDesc& desc) {
  constexpr Uint32 kNotPlain = SDL_WINDOW_FULLSCREEN | SDL_WINDOW_FULLSCREEN_DESKTOP |
                               SDL_WINDOW_MAXIMIZED | SDL_WINDOW_MINIMIZED;
  auto it = std::find_if(kept_.begin(), kept_.end(), [&](const auto& entry) {
    return entry.first == kindOf(desc) && (SDL_GetWindowFlags(entry.second.get()) & kNotPlain) == 0;
  });
  if (it == kept_.end()) return nullptr;
  SdlWindowUniquePtr window = std::move(it->second);
  kept_.erase(it);
  // What the closed window left queued is not for the new one.
  uint32_t id = SDL_GetWindowID(window.get());
  SDL_FilterEvents(keepUnlessFor, &id);
  SDL_SetWindowTitle(window.get(), desc.caption.c_str());
  SDL_SetWindowBordered(window.get(), desc.bordered ? SDL_TRUE : SDL_FALSE);
  SDL_SetWindowResizable(window.get(), desc.resizable ? SDL_TRUE : SDL_FALSE);
  SDL_SetWindowSize(window.get(), std::max(desc.width, 1), std::max(desc.height, 1));
  if (desc.centered)
    SDL_SetWindowPosition(window.get(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
  if (desc.visible) SDL_ShowWindow(window.get());
  return window;
}

SdlWindow* SdlWindowRegistry::find(uint32_t id) const {
  auto it = windows_.find(id);
  return it == windows_.end() ? nullptr : it->second;
}

}  // namespace platform
