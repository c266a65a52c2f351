#pragma once
// SDL objects held by std::unique_ptr with the deleter SDL gives each, so that every path
// out of a function, early return or exception, frees what it made exactly once. Where
// several are held together, the member order must free a texture before its renderer
// and a renderer before its window: members are destroyed last to first.

#include <SDL.h>

#include <memory>
#include <utility>

namespace platform {

struct SdlWindowDeleter {
  void operator()(SDL_Window* window) const { SDL_DestroyWindow(window); }
};
using SdlWindowUniquePtr = std::unique_ptr<SDL_Window, SdlWindowDeleter>;

struct SdlRendererDeleter {
  void operator()(SDL_Renderer* renderer) const { SDL_DestroyRenderer(renderer); }
};
using SdlRendererUniquePtr = std::unique_ptr<SDL_Renderer, SdlRendererDeleter>;

struct SdlTextureDeleter {
  void operator()(SDL_Texture* texture) const { SDL_DestroyTexture(texture); }
};
using SdlTextureUniquePtr = std::unique_ptr<SDL_Texture, SdlTextureDeleter>;

struct SdlSurfaceDeleter {
  void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SdlSurfaceUniquePtr = std::unique_ptr<SDL_Surface, SdlSurfaceDeleter>;

struct SdlHapticDeleter {
  void operator()(SDL_Haptic* haptic) const { SDL_HapticClose(haptic); }
};
using SdlHapticUniquePtr = std::unique_ptr<SDL_Haptic, SdlHapticDeleter>;

struct SdlGameControllerDeleter {
  void operator()(SDL_GameController* controller) const { SDL_GameControllerClose(controller); }
};
using SdlGameControllerUniquePtr = std::unique_ptr<SDL_GameController, SdlGameControllerDeleter>;

struct SdlJoystickDeleter {
  void operator()(SDL_Joystick* joystick) const { SDL_JoystickClose(joystick); }
};
using SdlJoystickUniquePtr = std::unique_ptr<SDL_Joystick, SdlJoystickDeleter>;

// An open audio device, which SDL names by a number instead of a pointer; 0: none.
class SdlAudioDeviceHandle {
 public:
  SdlAudioDeviceHandle() = default;
  explicit SdlAudioDeviceHandle(SDL_AudioDeviceID id) : id_(id) {}
  ~SdlAudioDeviceHandle() { reset(); }
  SdlAudioDeviceHandle(SdlAudioDeviceHandle&& other) noexcept : id_(other.release()) {}
  SdlAudioDeviceHandle& operator=(SdlAudioDeviceHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  SdlAudioDeviceHandle(const SdlAudioDeviceHandle&) = delete;
  SdlAudioDeviceHandle& operator=(const SdlAudioDeviceHandle&) = delete;

  SDL_AudioDeviceID get() const { return id_; }
  explicit operator bool() const { return id_ != 0; }
  SDL_AudioDeviceID release() { return std::exchange(id_, 0); }
  // Closes the device held (if any) and holds id instead.
  void reset(SDL_AudioDeviceID id = 0) {
    const SDL_AudioDeviceID old = std::exchange(id_, id);
    if (old != 0) SDL_CloseAudioDevice(old);
  }

 private:
  SDL_AudioDeviceID id_ = 0;
};

}  // namespace platform
