#pragma once
// The SDL event source: SDL's events translated for the framework (pointer positions in
// pixels of the window's picture, Windows virtual-key codes, one typed character per
// event), and SIGTERM/SIGINT turned into a close request for the whole program.

#include <cstdint>
#include <deque>

#include "platform/platform.h"
#include "platform/sdl_window.h"

union SDL_Event;

namespace platform {

class SdlEventSource final : public EventSource {
 public:
  // Installs the SIGTERM and SIGINT handlers; the destructor puts the previous ones
  // back. The first signal becomes a Close event for window 0; a second one, while the
  // program has still not ended, ends it at once the way the signal normally would.
  explicit SdlEventSource(SdlWindowRegistry& windows);
  ~SdlEventSource() override;
  SdlEventSource(const SdlEventSource&) = delete;
  SdlEventSource& operator=(const SdlEventSource&) = delete;

  bool poll(Event& event) override;
  // Waits in short slices so that a signal, which cannot wake SDL's wait safely, is
  // still seen within a tenth of a second.
  void wait(int timeoutMs) override;

 private:
  void translate(const SDL_Event& sdlEvent);
  void translateWindowEvent(const SDL_Event& sdlEvent);
  void translateMouseButton(const SDL_Event& sdlEvent);
  void push(EventKind kind, uint32_t window);
  // Keys typed into a window go to the child shown inside it, when there is one.
  uint32_t keyboardTarget(uint32_t window) const;
  bool takeSignal(Event& event);

  SdlWindowRegistry& windows_;
  std::deque<Event> pending_;
  uint32_t buttons_ = 0;  // SDL button mask as the events so far left it
};

}  // namespace platform
