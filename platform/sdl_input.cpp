// The input devices through SDL: the keyboard state by key position, relative mouse
// motion, joysticks by enumeration position (pads through SDL's game-controller layer),
// and their haptic motors or rumble.

#include <SDL.h>

#include <algorithm>
#include <cmath>

#include "platform/input_system.h"
#include "platform/rumble_motor.h"
#include "platform/sdl_haptic.h"
#include "platform/sdl_keys.h"
#include "platform/sdl_ptrs.h"

namespace platform {

namespace {

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
    if (hapticStarted_) {
      if (auto haptic = openSdlHaptic(joystick)) return haptic;
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

}  // namespace

std::unique_ptr<InputSystem> createSdlInputSystem() { return std::make_unique<SdlInputSystem>(); }

}  // namespace platform
