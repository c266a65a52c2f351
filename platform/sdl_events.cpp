#include "platform/sdl_events.h"

#include <SDL.h>

#include <algorithm>
#include <csignal>

#include "platform/event_translation.h"
#include "platform/sdl_keys.h"

namespace platform {
namespace {

// A signal handler can reach nothing but globals; these two are the whole channel from
// the handlers to the event source, and only sig_atomic_t is safe to touch there.
volatile std::sig_atomic_t closeSignalPending = 0;
volatile std::sig_atomic_t closeSignalCount = 0;

struct sigaction previousTerm;
struct sigaction previousInt;

extern "C" void onCloseSignal(int signalNumber) {
  if (closeSignalCount > 0) {
    // The program was already asked to close and has not: end it the default way.
    signal(signalNumber, SIG_DFL);
    raise(signalNumber);
    return;
  }
  closeSignalCount = 1;
  closeSignalPending = 1;
}

void installSignalHandlers() {
  struct sigaction action {};
  action.sa_handler = onCloseSignal;
  sigemptyset(&action.sa_mask);
  // Both handlers share the counter: neither may interrupt the other.
  sigaddset(&action.sa_mask, SIGTERM);
  sigaddset(&action.sa_mask, SIGINT);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, &previousTerm);
  sigaction(SIGINT, &action, &previousInt);
}

constexpr int kWaitSliceMs = 100;

}  // namespace

SdlEventSource::SdlEventSource(SdlWindowRegistry& windows) : windows_(windows) {
  closeSignalPending = 0;
  closeSignalCount = 0;
  installSignalHandlers();
  SDL_StartTextInput();
}

SdlEventSource::~SdlEventSource() {
  sigaction(SIGTERM, &previousTerm, nullptr);
  sigaction(SIGINT, &previousInt, nullptr);
}

bool SdlEventSource::takeSignal(Event& event) {
  if (closeSignalPending == 0) return false;
  closeSignalPending = 0;
  event = Event{};
  event.kind = EventKind::Close;
  event.window = 0;
  return true;
}

bool SdlEventSource::poll(Event& event) {
  if (takeSignal(event)) return true;
  SDL_Event sdlEvent;
  while (pending_.empty() && SDL_PollEvent(&sdlEvent) == 1) translate(sdlEvent);
  if (pending_.empty()) return false;
  event = std::move(pending_.front());
  pending_.pop_front();
  return true;
}

void SdlEventSource::wait(int timeoutMs) {
  if (!pending_.empty() || closeSignalPending != 0 || timeoutMs == 0) return;
  const Uint64 start = SDL_GetTicks64();
  for (;;) {
    int slice = kWaitSliceMs;
    if (timeoutMs > 0) {
      const Uint64 elapsed = SDL_GetTicks64() - start;
      if (elapsed >= static_cast<Uint64>(timeoutMs)) return;
      slice = std::min<int>(slice, timeoutMs - static_cast<int>(elapsed));
    }
    const Uint64 sliceStart = SDL_GetTicks64();
    if (SDL_WaitEventTimeout(nullptr, slice) == 1) return;
    if (closeSignalPending != 0) return;
    // SDL answers at once when it cannot wait at all; sleep instead of spinning.
    const Uint64 waited = SDL_GetTicks64() - sliceStart;
    if (waited + 1 < static_cast<Uint64>(slice)) SDL_Delay(static_cast<Uint32>(slice - waited));
  }
}

uint32_t SdlEventSource::keyboardTarget(uint32_t window) const {
  const SdlWindow* found = windows_.find(window);
  return found != nullptr ? found->keyboardTarget() : window;
}

void SdlEventSource::push(EventKind kind, uint32_t window) {
  Event event;
  event.kind = kind;
  event.window = window;
  pending_.push_back(std::move(event));
}

void SdlEventSource::translate(const SDL_Event& sdlEvent) {
  switch (sdlEvent.type) {
    case SDL_QUIT:
      push(EventKind::Close, 0);
      break;
    case SDL_WINDOWEVENT:
      translateWindowEvent(sdlEvent);
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      const uint16_t key = virtualKeyFromScancode(sdlEvent.key.keysym.scancode);
      if (key == 0) break;
      Event event;
      event.kind = sdlEvent.type == SDL_KEYDOWN ? EventKind::KeyDown : EventKind::KeyUp;
      event.window = keyboardTarget(sdlEvent.key.windowID);
      event.key = key;
      event.shift = shiftFromSdl(sdlEvent.key.keysym.mod, buttons_);
      pending_.push_back(std::move(event));
      break;
    }
    case SDL_TEXTINPUT:
      if (isCommandText(SDL_GetModState())) break;
      for (std::string& character : splitUtf8Characters(sdlEvent.text.text)) {
        Event event;
        event.kind = EventKind::Char;
        event.window = keyboardTarget(sdlEvent.text.windowID);
        event.text = std::move(character);
        pending_.push_back(std::move(event));
      }
      break;
    case SDL_MOUSEMOTION: {
      buttons_ = sdlEvent.motion.state;
      Event event;
      event.kind = EventKind::MouseMove;
      event.window = sdlEvent.motion.windowID;
      event.x = sdlEvent.motion.x;
      event.y = sdlEvent.motion.y;
      if (SdlWindow* window = windows_.find(event.window)) {
        event.window =
            window->pointerTarget(sdlEvent.motion.x, sdlEvent.motion.y,
                                  SdlWindow::PointerPhase::Move, buttons_ != 0, event.x, event.y);
      }
      event.shift = shiftFromSdl(SDL_GetModState(), buttons_);
      pending_.push_back(std::move(event));
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      translateMouseButton(sdlEvent);
      break;
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET:
      windows_.forEach([this](SdlWindow& window) {
        window.renderReset();
        push(EventKind::RenderReset, window.id());
      });
      break;
    default:
      break;
  }
}

void SdlEventSource::translateWindowEvent(const SDL_Event& sdlEvent) {
  const uint32_t id = sdlEvent.window.windowID;
  SdlWindow* window = windows_.find(id);
  switch (sdlEvent.window.event) {
    case SDL_WINDOWEVENT_CLOSE:
      push(EventKind::Close, id);
      break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      if (window != nullptr) window->applyCursor();
      push(EventKind::FocusGained, id);
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      push(EventKind::FocusLost, id);
      break;
    case SDL_WINDOWEVENT_ENTER:
      if (window != nullptr) window->applyCursor();
      break;
    case SDL_WINDOWEVENT_EXPOSED:
      push(EventKind::Expose, id);
      break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      if (window != nullptr) window->geometryChanged();
      push(EventKind::Expose, id);
      break;
    case SDL_WINDOWEVENT_MOVED:
    case SDL_WINDOWEVENT_RESIZED:
    case SDL_WINDOWEVENT_RESTORED:
      if (window != nullptr) window->geometryChanged();
      break;
    default:
      break;
  }
}

void SdlEventSource::translateMouseButton(const SDL_Event& sdlEvent) {
  const SDL_MouseButtonEvent& b = sdlEvent.button;
  MouseButton button;
  switch (b.button) {
    case SDL_BUTTON_LEFT:
      button = MouseButton::Left;
      break;
    case SDL_BUTTON_RIGHT:
      button = MouseButton::Right;
      break;
    case SDL_BUTTON_MIDDLE:
      button = MouseButton::Middle;
      break;
    default:
      return;  // side buttons have no place in the framework
  }
  const bool down = sdlEvent.type == SDL_MOUSEBUTTONDOWN;
  if (down) {
    buttons_ |= SDL_BUTTON(b.button);
  } else {
    buttons_ &= ~SDL_BUTTON(b.button);
  }
  Event event;
  event.kind = down ? EventKind::MouseDown : EventKind::MouseUp;
  event.window = b.windowID;
  event.button = button;
  event.x = b.x;
  event.y = b.y;
  if (SdlWindow* window = windows_.find(b.windowID)) {
    event.window = window->pointerTarget(
        b.x, b.y, down ? SdlWindow::PointerPhase::Press : SdlWindow::PointerPhase::Release,
        buttons_ != 0, event.x, event.y);
  }
  event.shift = shiftFromSdl(SDL_GetModState(), buttons_);
  pending_.push_back(std::move(event));
}

}  // namespace platform
