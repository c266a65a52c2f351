// A joystick's force-feedback motor through SDL's haptic layer: the engine's effects (levels
// 0 to 10000, times in milliseconds) converted into SDL's.

#include "platform/sdl_haptic.h"

#include <SDL.h>

#include <algorithm>

#include "platform/sdl_ptrs.h"

namespace platform {
namespace {

Sint16 toSigned16(int value) {
  const long long scaled = static_cast<long long>(value) * 32767 / kFullLevel;
  return static_cast<Sint16>(std::clamp<long long>(scaled, -32767, 32767));
}

Uint16 toLevel16(int value) {
  return static_cast<Uint16>(std::clamp(value, 0, kFullLevel) * 32767 / kFullLevel);
}

Uint16 toTime16(uint32_t ms) { return static_cast<Uint16>(std::min<uint32_t>(ms, 0xFFFF)); }

// A saturation of 0 asks for the device's full force rather than none at all.
Uint16 toSaturation(int value) {
  if (value <= 0) return 0xFFFF;
  return static_cast<Uint16>(std::min(value, kFullLevel) * 0xFFFF / kFullLevel);
}

Uint16 sdlType(HapticKind kind) {
  switch (kind) {
    case HapticKind::Constant:
      return SDL_HAPTIC_CONSTANT;
    case HapticKind::Sine:
      return SDL_HAPTIC_SINE;
    case HapticKind::Triangle:
      return SDL_HAPTIC_TRIANGLE;
    case HapticKind::SawtoothUp:
      return SDL_HAPTIC_SAWTOOTHUP;
    case HapticKind::SawtoothDown:
      return SDL_HAPTIC_SAWTOOTHDOWN;
    case HapticKind::Spring:
      return SDL_HAPTIC_SPRING;
    case HapticKind::Damper:
      return SDL_HAPTIC_DAMPER;
    case HapticKind::Inertia:
      return SDL_HAPTIC_INERTIA;
    case HapticKind::Friction:
      return SDL_HAPTIC_FRICTION;
  }
  return SDL_HAPTIC_CONSTANT;
}

SDL_HapticEffect toSdl(const HapticEffect& e) {
  SDL_HapticEffect out;
  SDL_memset(&out, 0, sizeof(out));
  const Uint32 length = e.infinite ? SDL_HAPTIC_INFINITY : e.durationMs;
  // SDL has no gain per effect: it scales the strength instead.
  const int magnitude = static_cast<int>(withGain(std::min(e.magnitude, kFullLevel), e.gain));
  SDL_HapticDirection direction;
  SDL_memset(&direction, 0, sizeof(direction));
  direction.type = SDL_HAPTIC_CARTESIAN;
  direction.dir[0] = e.directionX;
  direction.dir[1] = e.directionY;
  if (e.directionX == 0 && e.directionY == 0) direction.dir[0] = 1;
  if (e.kind == HapticKind::Constant) {
    SDL_HapticConstant& c = out.constant;
    c.type = SDL_HAPTIC_CONSTANT;
    c.direction = direction;
    c.length = length;
    c.delay = toTime16(e.delayMs);
    c.level = toSigned16(magnitude);
    c.attack_length = toTime16(e.attackTimeMs);
    c.attack_level = toLevel16(e.attackLevel);
    c.fade_length = toTime16(e.fadeTimeMs);
    c.fade_level = toLevel16(e.fadeLevel);
  } else if (isPeriodicKind(e.kind)) {
    SDL_HapticPeriodic& p = out.periodic;
    p.type = sdlType(e.kind);
    p.direction = direction;
    p.length = length;
    p.delay = toTime16(e.delayMs);
    p.period = toTime16(std::max<uint32_t>(e.periodMs, 1));
    p.magnitude = toSigned16(magnitude);
    p.attack_length = toTime16(e.attackTimeMs);
    p.attack_level = toLevel16(e.attackLevel);
    p.fade_length = toTime16(e.fadeTimeMs);
    p.fade_level = toLevel16(e.fadeLevel);
  } else {
    SDL_HapticCondition& c = out.condition;
    c.type = sdlType(e.kind);
    c.direction = direction;
    c.length = length;
    c.delay = toTime16(e.delayMs);
    const int axis = std::clamp(e.axis, 0, 2);
    c.right_sat[axis] = toSaturation(e.positiveSaturation);
    c.left_sat[axis] = toSaturation(e.negativeSaturation);
    c.right_coeff[axis] = toSigned16(static_cast<int>(withGain(e.positiveCoefficient, e.gain)));
    c.left_coeff[axis] = toSigned16(static_cast<int>(withGain(e.negativeCoefficient, e.gain)));
    c.deadband[axis] = toLevel16(e.deadBand);
    c.center[axis] = toSigned16(e.offset);
  }
  return out;
}

class SdlHaptic : public HapticDevice {
 public:
  explicit SdlHaptic(SdlHapticUniquePtr haptic)
      : haptic_(std::move(haptic)), features_(SDL_HapticQuery(haptic_.get())) {
    if (features_ & SDL_HAPTIC_GAIN) SDL_HapticSetGain(haptic_.get(), 100);
  }

  std::vector<HapticKind> supportedKinds() override {
    static constexpr HapticKind kAll[] = {
        HapticKind::Constant,   HapticKind::Sine,         HapticKind::Triangle,
        HapticKind::SawtoothUp, HapticKind::SawtoothDown, HapticKind::Spring,
        HapticKind::Damper,     HapticKind::Inertia,      HapticKind::Friction};
    std::vector<HapticKind> kinds;
    for (HapticKind k : kAll) {
      if (features_ & sdlType(k)) kinds.push_back(k);
    }
    return kinds;
  }
  int createEffect(const HapticEffect& effect) override {
    SDL_HapticEffect e = toSdl(effect);
    return SDL_HapticNewEffect(haptic_.get(), &e);
  }
  bool updateEffect(int handle, const HapticEffect& effect) override {
    SDL_HapticEffect e = toSdl(effect);
    return SDL_HapticUpdateEffect(haptic_.get(), handle, &e) == 0;
  }
  bool runEffect(int handle, uint32_t iterations) override {
    return SDL_HapticRunEffect(haptic_.get(), handle, iterations) == 0;
  }
  bool stopEffect(int handle) override { return SDL_HapticStopEffect(haptic_.get(), handle) == 0; }
  int effectStatus(int handle) override {
    if (!(features_ & SDL_HAPTIC_STATUS)) return -1;
    const int status = SDL_HapticGetEffectStatus(haptic_.get(), handle);
    return status < 0 ? -1 : status;
  }
  void destroyEffect(int handle) override { SDL_HapticDestroyEffect(haptic_.get(), handle); }
  bool setAutocenter(bool on) override {
    if (!(features_ & SDL_HAPTIC_AUTOCENTER)) return false;
    return SDL_HapticSetAutocenter(haptic_.get(), on ? 100 : 0) == 0;
  }

 private:
  SdlHapticUniquePtr haptic_;
  unsigned int features_;
};

}  // namespace

std::unique_ptr<HapticDevice> openSdlHaptic(SDL_Joystick* joystick) {
  if (SDL_JoystickIsHaptic(joystick) != 1) return nullptr;
  SdlHapticUniquePtr opened(SDL_HapticOpenFromJoystick(joystick));
  if (opened == nullptr) return nullptr;
  auto haptic = std::make_unique<SdlHaptic>(std::move(opened));
  if (haptic->supportedKinds().empty()) return nullptr;
  return haptic;
}

}  // namespace platform
