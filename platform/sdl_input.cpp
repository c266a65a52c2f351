// The input devices through SDL: the keyboard state by key position, relative mouse
// motion, joysticks by enumeration position (pads through SDL's game-controller layer),
// and their haptic motors or rumble.

#include <SDL.h>

#include <algorithm>
#include <cmath>

#include "platform/input_system.h"
#include "platform/rumble_motor.h"
#include "platform/sdl_keys.h"
#include "platform/sdl_ptrs.h"

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

Uint8 hatFromPov(int32_t pov) {
  if (pov < 0) return SDL_HAT_CENTERED;
  static constexpr Uint8 kHats[] = {SDL_HAT_UP,        SDL_HAT_RIGHTUP, SDL_HAT_RIGHT,
                                    SDL_HAT_RIGHTDOWN, SDL_HAT_DOWN,    SDL_HAT_LEFTDOWN,
                                    SDL_HAT_LEFT,      SDL_HAT_LEFTUP};
  return kHats[static_cast<size_t>((pov + 2250) / 4500) % 8];
}

// Where each button of a game controller lands in the pad's fixed order; the d-pad is
// the hat and has no place here (-1).
int padButtonOf(int sdlButton) {
  switch (sdlButton) {
    case SDL_CONTROLLER_BUTTON_A:
      return kPadA;
    case SDL_CONTROLLER_BUTTON_B:
      return kPadB;
    case SDL_CONTROLLER_BUTTON_X:
      return kPadX;
    case SDL_CONTROLLER_BUTTON_Y:
      return kPadY;
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
      return kPadLeftShoulder;
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
      return kPadRightShoulder;
    case SDL_CONTROLLER_BUTTON_BACK:
      return kPadBack;
    case SDL_CONTROLLER_BUTTON_START:
      return kPadStart;
    case SDL_CONTROLLER_BUTTON_GUIDE:
      return kPadGuide;
    case SDL_CONTROLLER_BUTTON_LEFTSTICK:
      return kPadLeftStick;
    case SDL_CONTROLLER_BUTTON_RIGHTSTICK:
      return kPadRightStick;
    case SDL_CONTROLLER_BUTTON_MISC1:
      return kPadMisc;
    case SDL_CONTROLLER_BUTTON_PADDLE1:
      return kPadPaddle1;
    case SDL_CONTROLLER_BUTTON_PADDLE2:
      return kPadPaddle2;
    case SDL_CONTROLLER_BUTTON_PADDLE3:
      return kPadPaddle3;
    case SDL_CONTROLLER_BUTTON_PADDLE4:
      return kPadPaddle4;
    case SDL_CONTROLLER_BUTTON_TOUCHPAD:
      return kPadTouchpad;
    default:
      return -1;
  }
}

int32_t povFromDpad(bool up, bool down, bool left, bool right) {
  if (up && down) up = down = false;
  if (left && right) left = right = false;
  Uint8 hat = SDL_HAT_CENTERED;
  if (up) hat |= SDL_HAT_UP;
  if (down) hat |= SDL_HAT_DOWN;
  if (left) hat |= SDL_HAT_LEFT;
  if (right) hat |= SDL_HAT_RIGHT;
  return povFromHat(hat);
}

// A stick or pad opened by SDL. A pad that SDL knows as a game controller is read through
// that layer in the pad's fixed layout; any other stick as its driver reports it.
class SdlJoystick : public Joystick {
 public:
  // A pad read through the game-controller layer; its joystick is the controller's own.
  explicit SdlJoystick(SdlGameControllerUniquePtr controller)
      : SdlJoystick(SDL_GameControllerGetJoystick(controller.get())) {
    controller_ = std::move(controller);
  }
  // A stick SDL cannot map, read as its driver reports it.
  explicit SdlJoystick(SdlJoystickUniquePtr joystick) : SdlJoystick(joystick.get()) {
    ownJoystick_ = std::move(joystick);
  }
  ~SdlJoystick() override { SDL_DelEventWatch(&SdlJoystick::watchPresses, this); }
  SdlJoystick(const SdlJoystick&) = delete;
  SdlJoystick& operator=(const SdlJoystick&) = delete;

  void setMotor(std::unique_ptr<HapticDevice> motor) { motor_ = std::move(motor); }
  SDL_Joystick* device() const { return joystick_; }

  bool attached() override { return SDL_JoystickGetAttached(joystick_) == SDL_TRUE; }
  int axisCount() override {
    return controller_ != nullptr ? kPadAxisCount : std::max(0, SDL_JoystickNumAxes(joystick_));
  }
  int buttonCount() override {
    return controller_ != nullptr ? kPadButtonCount
                                  : std::max(0, SDL_JoystickNumButtons(joystick_));
  }
  bool read(JoystickReading& reading) override {
    if (!attached()) return false;
    SDL_JoystickUpdate();
    reading = JoystickReading{};
    reading.axisMin = -32768;
    reading.axisMax = 32767;
    if (controller_ != nullptr) {
      readController(reading);
    } else {
      readStick(reading);
    }
    reading.pressed = pressed_;
    pressed_.fill(false);
    return true;
  }
  HapticDevice* haptic() override { return motor_.get(); }

 private:
  explicit SdlJoystick(SDL_Joystick* joystick)
      : joystick_(joystick), instance_(SDL_JoystickInstanceID(joystick)) {
    // Presses are caught as SDL reports them, so that one shorter than the time between
    // two readings is not lost.
    SDL_AddEventWatch(&SdlJoystick::watchPresses, this);
  }

  static int SDLCALL watchPresses(void* self, SDL_Event* event) {
    static_cast<SdlJoystick*>(self)->notePress(*event);
    return 1;
  }
  void notePress(const SDL_Event& event) {
    int button = -1;
    if (controller_ != nullptr && event.type == SDL_CONTROLLERBUTTONDOWN &&
        event.cbutton.which == instance_) {
      button = padButtonOf(event.cbutton.button);
    } else if (controller_ == nullptr && event.type == SDL_JOYBUTTONDOWN &&
               event.jbutton.which == instance_) {
      button = event.jbutton.button;
    }
    if (button >= 0 && button < static_cast<int>(pressed_.size()))
      pressed_[static_cast<size_t>(button)] = true;
  }

  void readController(JoystickReading& reading) {
    auto axis = [this](SDL_GameControllerAxis a) {
      return static_cast<int32_t>(SDL_GameControllerGetAxis(controller_.get(), a));
    };
    reading.axes[0] = axis(SDL_CONTROLLER_AXIS_LEFTX);
    reading.axes[1] = axis(SDL_CONTROLLER_AXIS_LEFTY);
    // The triggers rest at 0 and go to 32767: one centred axis, left pushing it up.
    reading.axes[2] =
        (axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT) - axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT)) / 2;
    reading.axes[3] = axis(SDL_CONTROLLER_AXIS_RIGHTX);
    reading.axes[4] = axis(SDL_CONTROLLER_AXIS_RIGHTY);
    auto down = [this](SDL_GameControllerButton b) {
      return SDL_GameControllerGetButton(controller_.get(), b) != 0;
    };
    reading.pov =
        povFromDpad(down(SDL_CONTROLLER_BUTTON_DPAD_UP), down(SDL_CONTROLLER_BUTTON_DPAD_DOWN),
                    down(SDL_CONTROLLER_BUTTON_DPAD_LEFT), down(SDL_CONTROLLER_BUTTON_DPAD_RIGHT));
    for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b) {
      const int index = padButtonOf(b);
      if (index >= 0)
        reading.buttons[static_cast<size_t>(index)] = down(SDL_GameControllerButton(b));
    }
  }

  void readStick(JoystickReading& reading) {
    const int axes = std::min(axisCount(), JoystickReading::kMaxAxes);
    for (int i = 0; i < axes; ++i)
      reading.axes[static_cast<size_t>(i)] = SDL_JoystickGetAxis(joystick_, i);
    if (SDL_JoystickNumHats(joystick_) > 0)
      reading.pov = povFromHat(SDL_JoystickGetHat(joystick_, 0));
    const int buttons = std::min(buttonCount(), static_cast<int>(reading.buttons.size()));
    for (int i = 0; i < buttons; ++i)
      reading.buttons[static_cast<size_t>(i)] = SDL_JoystickGetButton(joystick_, i) != 0;
  }

  // One of the two owns the stick. The motor, declared after them, goes first: it
  // belongs to the stick.
  SdlGameControllerUniquePtr controller_;
  SdlJoystickUniquePtr ownJoystick_;
  SDL_Joystick* joystick_;
  SDL_JoystickID instance_;
  std::unique_ptr<HapticDevice> motor_;
  std::array<bool, 128> pressed_{};
};

class SdlInputSystem : public InputSystem {
 public:
  ~SdlInputSystem() override {
    if (hapticStarted_) SDL_QuitSubSystem(SDL_INIT_HAPTIC);
    if (joysticksStarted_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
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
    ids.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) ids.push_back(SDL_JoystickGetDeviceInstanceID(i));
    if (ids != lastIds_) {
      lastIds_ = std::move(ids);
      ++changes_;
    }
    return changes_;
  }

  std::unique_ptr<Joystick> openJoystick(int position, bool haptics) override {
    if (!startJoysticks() || position < 0 || position >= SDL_NumJoysticks()) return nullptr;
    std::unique_ptr<SdlJoystick> stick;
    if (SDL_IsGameController(position) == SDL_TRUE) {
      SdlGameControllerUniquePtr controller(SDL_GameControllerOpen(position));
      if (controller) stick = std::make_unique<SdlJoystick>(std::move(controller));
    }
    if (!stick) {
      // Not a pad SDL can map, or mapping it failed: the stick as its driver reports it.
      SdlJoystickUniquePtr joystick(SDL_JoystickOpen(position));
      if (joystick == nullptr) return nullptr;
      stick = std::make_unique<SdlJoystick>(std::move(joystick));
    }
    if (haptics && layerUsers_ > 0) stick->setMotor(openMotor(stick->device()));
    return stick;
  }

  int addControllerMappings(const std::string& file) override {
    if (!startJoysticks()) return -1;
    SDL_RWops* rw = SDL_RWFromFile(file.c_str(), "rb");
    if (rw == nullptr) return -1;
    return SDL_GameControllerAddMappingsFromRW(rw, 1);
  }

 private:
  bool startJoysticks() {
    if (!joysticksStarted_ && !joysticksFailed_) {
      // The game-controller layer starts the joystick layer with it; it reads the layouts
      // in SDL_GAMECONTROLLERCONFIG by itself.
      joysticksStarted_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
      joysticksFailed_ = !joysticksStarted_;
    }
    return joysticksStarted_;
  }

  // The stick's force-feedback motor when it plays effects, otherwise its rumble, which
  // is all that most pads offer (a haptic device that only rumbles plays no effect);
  // nullptr when it has neither.
  std::unique_ptr<HapticDevice> openMotor(SDL_Joystick* joystick) {
    if (hapticStarted_ && SDL_JoystickIsHaptic(joystick) == 1) {
      if (SdlHapticUniquePtr h{SDL_HapticOpenFromJoystick(joystick)}) {
        auto haptic = std::make_unique<SdlHaptic>(std::move(h));
        if (!haptic->supportedKinds().empty()) return haptic;
      }
    }
    if (SDL_JoystickHasRumble(joystick) != SDL_TRUE) return nullptr;
    return std::make_unique<RumbleMotor>([joystick](uint16_t low, uint16_t high, uint32_t ms) {
      return SDL_JoystickRumble(joystick, low, high, ms) == 0;
    });
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
  SdlVirtualJoystick() = default;
  ~SdlVirtualJoystick() override {
    if (!started_) return;
    joystick_.reset();  // closed before it is detached and the layer stops
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
      if (SDL_JoystickGetDeviceInstanceID(i) == instance_) SDL_JoystickDetachVirtual(i);
    }
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  }
  SdlVirtualJoystick(const SdlVirtualJoystick&) = delete;
  SdlVirtualJoystick& operator=(const SdlVirtualJoystick&) = delete;

  bool attach(const VirtualJoystickDesc& d) {
    started_ = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
    if (!started_) return false;
    name_ = d.name;
    SDL_VirtualJoystickDesc desc;
    SDL_zero(desc);
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    // SDL maps only pads of the controller kind; a flight stick it leaves as it is.
    desc.type = d.gamepad ? SDL_JOYSTICK_TYPE_GAMECONTROLLER : SDL_JOYSTICK_TYPE_FLIGHT_STICK;
    desc.naxes = static_cast<Uint16>(d.axes);
    desc.nbuttons = static_cast<Uint16>(d.buttons);
    desc.nhats = static_cast<Uint16>(d.hats);
    desc.vendor_id = d.vendor;
    desc.product_id = d.product;
    desc.name = name_.c_str();
    desc.userdata = this;
    if (d.rumble) desc.Rumble = &SdlVirtualJoystick::onRumble;
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    if (index < 0) return false;
    instance_ = SDL_JoystickGetDeviceInstanceID(index);
    joystick_.reset(SDL_JoystickOpen(index));
    return joystick_ != nullptr;
  }

  void setAxis(int axis, int16_t value) override {
    SDL_JoystickSetVirtualAxis(joystick_.get(), axis, value);
  }
  void setButton(int button, bool down) override {
    SDL_JoystickSetVirtualButton(joystick_.get(), button, down ? SDL_PRESSED : SDL_RELEASED);
  }
  void setHat(int hat, int32_t pov) override {
    SDL_JoystickSetVirtualHat(joystick_.get(), hat, hatFromPov(pov));
  }
  std::vector<RumbleCall> rumbles() const override { return rumbles_; }

 private:
  static int SDLCALL onRumble(void* self, Uint16 low, Uint16 high) {
    static_cast<SdlVirtualJoystick*>(self)->rumbles_.push_back(RumbleCall{low, high});
    return 0;
  }

  bool started_ = false;
  std::string name_;
  SDL_JoystickID instance_ = -1;
  SdlJoystickUniquePtr joystick_;
  std::vector<RumbleCall> rumbles_;
};

}  // namespace

VirtualJoystickDesc xboxPadDesc() {
  VirtualJoystickDesc desc;
  desc.name = "Xbox 360 Controller";
  desc.gamepad = true;
  desc.vendor = 0x045E;
  desc.product = 0x028E;
  desc.axes = 6;
  desc.buttons = 11;
  desc.hats = 1;
  desc.rumble = true;
  return desc;
}

std::unique_ptr<VirtualJoystick> attachSdlVirtualJoystick(const VirtualJoystickDesc& desc) {
  auto stick = std::make_unique<SdlVirtualJoystick>();
  if (!stick->attach(desc)) return nullptr;
  return stick;
}

std::unique_ptr<InputSystem> createSdlInputSystem() { return std::make_unique<SdlInputSystem>(); }

}  // namespace platform
