// The input devices through SDL: the keyboard state by key position, relative mouse
// motion, joysticks by enumeration position, and their haptic motors.

#include <SDL.h>

#include <algorithm>
#include <cmath>

#include "platform/input_system.h"
#include "platform/sdl_keys.h"

namespace platform {

namespace {

constexpr int kFullLevel = 10000;

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
  const int magnitude = static_cast<int>(static_cast<long long>(std::min(e.magnitude, kFullLevel)) *
                                         std::clamp(e.gain, 0, kFullLevel) / kFullLevel);
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
    const int gain = std::clamp(e.gain, 0, kFullLevel);
    c.right_sat[axis] = toSaturation(e.positiveSaturation);
    c.left_sat[axis] = toSaturation(e.negativeSaturation);
    c.right_coeff[axis] = toSigned16(
        static_cast<int>(static_cast<long long>(e.positiveCoefficient) * gain / kFullLevel));
    c.left_coeff[axis] = toSigned16(
        static_cast<int>(static_cast<long long>(e.negativeCoefficient) * gain / kFullLevel));
    c.deadband[axis] = toLevel16(e.deadBand);
    c.center[axis] = toSigned16(e.offset);
  }
  return out;
}

class SdlHaptic : public HapticDevice {
 public:
  explicit SdlHaptic(SDL_Haptic* haptic) : haptic_(haptic), features_(SDL_HapticQuery(haptic)) {
    if (features_ & SDL_HAPTIC_GAIN) SDL_HapticSetGain(haptic_, 100);
  }
  ~SdlHaptic() override { SDL_HapticClose(haptic_); }
  SdlHaptic(const SdlHaptic&) = delete;
  SdlHaptic& operator=(const SdlHaptic&) = delete;

  std::vector<HapticKind> supportedKinds() override {
    static constexpr HapticKind all[] = {
        HapticKind::Constant,   HapticKind::Sine,         HapticKind::Triangle,
        HapticKind::SawtoothUp, HapticKind::SawtoothDown, HapticKind::Spring,
        HapticKind::Damper,     HapticKind::Inertia,      HapticKind::Friction};
    std::vector<HapticKind> kinds;
    for (HapticKind k : all) {
      if (features_ & sdlType(k)) kinds.push_back(k);
    }
    return kinds;
  }
  int createEffect(const HapticEffect& effect) override {
    SDL_HapticEffect e = toSdl(effect);
    return SDL_HapticNewEffect(haptic_, &e);
  }
  bool updateEffect(int handle, const HapticEffect& effect) override {
    SDL_HapticEffect e = toSdl(effect);
    return SDL_HapticUpdateEffect(haptic_, handle, &e) == 0;
  }
  bool runEffect(int handle, uint32_t iterations) override {
    return SDL_HapticRunEffect(haptic_, handle, iterations) == 0;
  }
  bool stopEffect(int handle) override { return SDL_HapticStopEffect(haptic_, handle) == 0; }
  int effectStatus(int handle) override {
    if (!(features_ & SDL_HAPTIC_STATUS)) return -1;
    const int status = SDL_HapticGetEffectStatus(haptic_, handle);
    return status < 0 ? -1 : status;
  }
  void destroyEffect(int handle) override { SDL_HapticDestroyEffect(haptic_, handle); }
  bool setAutocenter(bool on) override {
    if (!(features_ & SDL_HAPTIC_AUTOCENTER)) return false;
    return SDL_HapticSetAutocenter(haptic_, on ? 100 : 0) == 0;
  }

 private:
  SDL_Haptic* haptic_;
  unsigned int features_;
};

int32_t povFromHat(Uint8 hat) {
  switch (hat) {
    case SDL_HAT_UP:
      return 0;
    case SDL_HAT_RIGHTUP:
      return 4500;
    case SDL_HAT_RIGHT:
      return 9000;
    case SDL_HAT_RIGHTDOWN:
      return 13500;
    case SDL_HAT_DOWN:
      return 18000;
    case SDL_HAT_LEFTDOWN:
      return 22500;
    case SDL_HAT_LEFT:
      return 27000;
    case SDL_HAT_LEFTUP:
      return 31500;
    default:
      return -1;
  }
}

class SdlJoystick : public Joystick {
 public:
  SdlJoystick(SDL_Joystick* joystick, std::unique_ptr<SdlHaptic> haptic)
      : joystick_(joystick), haptic_(std::move(haptic)) {}
  ~SdlJoystick() override {
    haptic_.reset();  // the motor goes before the stick it belongs to
    SDL_JoystickClose(joystick_);
  }
  SdlJoystick(const SdlJoystick&) = delete;
  SdlJoystick& operator=(const SdlJoystick&) = delete;

  bool attached() override { return SDL_JoystickGetAttached(joystick_) == SDL_TRUE; }
  int axisCount() override { return std::max(0, SDL_JoystickNumAxes(joystick_)); }
  int buttonCount() override { return std::max(0, SDL_JoystickNumButtons(joystick_)); }
  bool read(JoystickReading& reading) override {
    if (!attached()) return false;
    SDL_JoystickUpdate();
    reading = JoystickReading{};
    reading.axisMin = -32768;
    reading.axisMax = 32767;
    const int axes = std::min(axisCount(), JoystickReading::kMaxAxes);
    for (int i = 0; i < axes; ++i)
      reading.axes[static_cast<size_t>(i)] = SDL_JoystickGetAxis(joystick_, i);
    if (SDL_JoystickNumHats(joystick_) > 0)
      reading.pov = povFromHat(SDL_JoystickGetHat(joystick_, 0));
    const int buttons = std::min(buttonCount(), static_cast<int>(reading.buttons.size()));
    for (int i = 0; i < buttons; ++i)
      reading.buttons[static_cast<size_t>(i)] = SDL_JoystickGetButton(joystick_, i) != 0;
    return true;
  }
  HapticDevice* haptic() override { return haptic_.get(); }

 private:
  SDL_Joystick* joystick_;
  std::unique_ptr<SdlHaptic> haptic_;
};

class SdlInputSystem : public InputSystem {
 public:
  ~SdlInputSystem() override {
    if (hapticStarted_) SDL_QuitSubSystem(SDL_INIT_HAPTIC);
    if (joysticksStarted_) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  }

  bool acquireDeviceLayer() override {
    if (!startJoysticks()) return false;
    if (layerUsers_ == 0 && !hapticStarted_) {
      // Without haptics the sticks still work; they just have no force feedback.
      hapticStarted_ = SDL_InitSubSystem(SDL_INIT_HAPTIC) == 0;
    }
    ++layerUsers_;
    return true;
  }
  void releaseDeviceLayer() override {
    if (layerUsers_ > 0) --layerUsers_;
  }

  void keyboardState(std::array<uint8_t, 256>& keys) override {
    keys.fill(0);
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    if (state == nullptr) return;
    for (int scancode = 0; scancode < count; ++scancode) {
      if (state[scancode] == 0) continue;
      const uint16_t key = virtualKeyFromScancode(scancode);
      if (key > 0 && key < keys.size()) keys[key] = 0x80;
    }
  }

  bool readMouse(MouseReading& reading) override {
    reading = MouseReading{};
    int x = 0;
    int y = 0;
    const Uint32 buttons = SDL_GetRelativeMouseState(&x, &y);
    reading.x = x;
    reading.y = y;
    reading.buttons[0] = (buttons & SDL_BUTTON_LMASK) != 0;
    reading.buttons[1] = (buttons & SDL_BUTTON_RMASK) != 0;
    reading.buttons[2] = (buttons & SDL_BUTTON_MMASK) != 0;
    reading.buttons[3] = (buttons & SDL_BUTTON_X1MASK) != 0;
    return true;
  }

  int joystickCount() override {
    if (!startJoysticks()) return 0;
    return std::max(0, SDL_NumJoysticks());
  }

  uint32_t joystickChanges() override {
    if (!startJoysticks()) return changes_;
    std::vector<SDL_JoystickID> ids;
    const int count = std::max(0, SDL_NumJoysticks());
    for (int i = 0; i < count; ++i) ids.push_back(SDL_JoystickGetDeviceInstanceID(i));
    if (ids != lastIds_) {
      lastIds_ = std::move(ids);
      ++changes_;
    }
    return changes_;
  }

  std::unique_ptr<Joystick> openJoystick(int position, bool haptics) override {
    if (!startJoysticks() || position < 0 || position >= SDL_NumJoysticks()) return nullptr;
    SDL_Joystick* joystick = SDL_JoystickOpen(position);
    if (joystick == nullptr) return nullptr;
    std::unique_ptr<SdlHaptic> motor;
    if (haptics && layerUsers_ > 0 && hapticStarted_ && SDL_JoystickIsHaptic(joystick) == 1) {
      if (SDL_Haptic* h = SDL_HapticOpenFromJoystick(joystick))
        motor = std::make_unique<SdlHaptic>(h);
    }
    return std::make_unique<SdlJoystick>(joystick, std::move(motor));
  }

 private:
  bool startJoysticks() {
    if (!joysticksStarted_ && !joysticksFailed_) {
      joysticksStarted_ = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
      joysticksFailed_ = !joysticksStarted_;
    }
    return joysticksStarted_;
  }

  bool joysticksStarted_ = false;
  bool joysticksFailed_ = false;
  bool hapticStarted_ = false;
  int layerUsers_ = 0;
  uint32_t changes_ = 0;
  std::vector<SDL_JoystickID> lastIds_;
};

class SdlVirtualJoystick : public VirtualJoystick {
 public:
  SdlVirtualJoystick(int deviceIndex, SDL_Joystick* joystick)
      : instance_(SDL_JoystickGetDeviceInstanceID(deviceIndex)), joystick_(joystick) {}
  ~SdlVirtualJoystick() override {
    SDL_JoystickClose(joystick_);
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
      if (SDL_JoystickGetDeviceInstanceID(i) == instance_) SDL_JoystickDetachVirtual(i);
    }
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  }
  SdlVirtualJoystick(const SdlVirtualJoystick&) = delete;
  SdlVirtualJoystick& operator=(const SdlVirtualJoystick&) = delete;

  void setAxis(int axis, int16_t value) override {
    SDL_JoystickSetVirtualAxis(joystick_, axis, value);
  }
  void setButton(int button, bool down) override {
    SDL_JoystickSetVirtualButton(joystick_, button, down ? SDL_PRESSED : SDL_RELEASED);
  }

 private:
  SDL_JoystickID instance_;
  SDL_Joystick* joystick_;
};

}  // namespace

std::unique_ptr<VirtualJoystick> attachSdlVirtualJoystick(int axes, int buttons) {
  if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return nullptr;
  const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, axes, buttons, 0);
  SDL_Joystick* joystick = index < 0 ? nullptr : SDL_JoystickOpen(index);
  if (joystick == nullptr) {
    if (index >= 0) SDL_JoystickDetachVirtual(index);
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    return nullptr;
  }
  return std::make_unique<SdlVirtualJoystick>(index, joystick);
}

std::unique_ptr<InputSystem> createSdlInputSystem() { return std::make_unique<SdlInputSystem>(); }

}  // namespace platform
