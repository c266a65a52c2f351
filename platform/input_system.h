#pragma once
// The keyboard, the mouse, joysticks and their force feedback as the input engine sees
// them. Units follow the engine's stored settings: levels and gains 0 to 10000, directions
// -10000 to 10000, times in milliseconds; the implementation converts them for the device.

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// Levels and gains run from 0 to kFullLevel.
inline constexpr int kFullLevel = 10000;

// A value scaled by a gain (0 to kFullLevel), as a device plays an effect's strength when it
// has no gain of its own per effect.
inline long long withGain(long long value, int gain) {
  return value * std::clamp(gain, 0, kFullLevel) / kFullLevel;
}

// Force-feedback effect kinds, in the order a device lists them.
enum class HapticKind {
  Constant,
  Sine,
  Triangle,
  SawtoothUp,
  SawtoothDown,
  Spring,
  Damper,
  Inertia,
  Friction,
};

inline bool isPeriodicKind(HapticKind kind) {
  return kind == HapticKind::Sine || kind == HapticKind::Triangle ||
         kind == HapticKind::SawtoothUp || kind == HapticKind::SawtoothDown;
}
inline bool isConditionKind(HapticKind kind) {
  return kind == HapticKind::Spring || kind == HapticKind::Damper || kind == HapticKind::Inertia ||
         kind == HapticKind::Friction;
}

struct HapticEffect {
  HapticKind kind = HapticKind::Constant;
  bool infinite = false;  // plays until stopped; durationMs is then ignored
  uint32_t durationMs = 0;
  uint32_t delayMs = 0;
  int gain = 10000;    // 0..10000, scales the whole effect
  int directionX = 0;  // cartesian, the direction the force comes from
  int directionY = 0;
  int magnitude = 0;      // constant and periodic: 0..10000 (larger values are cut)
  uint32_t periodMs = 0;  // periodic
  int attackLevel = 0;    // envelope, 0..10000
  uint32_t attackTimeMs = 0;
  int fadeLevel = 0;
  uint32_t fadeTimeMs = 0;
  // Condition kinds act on one axis (0 X, 1 Y): centre offset and coefficients on each
  // side, -10000..10000; a saturation of 0 means the device's full force.
  int axis = 0;
  int offset = 0;
  int positiveCoefficient = 0;
  int negativeCoefficient = 0;
  int positiveSaturation = 0;
  int negativeSaturation = 0;
  int deadBand = 0;
};

// A joystick's force-feedback motor. Effect handles are the device's; -1 is none.
class HapticDevice {
 public:
  virtual ~HapticDevice() = default;
  // The kinds the device can play, in the device's own order.
  virtual std::vector<HapticKind> supportedKinds() = 0;
  virtual int createEffect(const HapticEffect& effect) = 0;
  virtual bool updateEffect(int handle, const HapticEffect& effect) = 0;
  virtual bool runEffect(int handle, uint32_t iterations) = 0;
  virtual bool stopEffect(int handle) = 0;
  // 1 playing, 0 not playing, -1 the device cannot tell.
  virtual int effectStatus(int handle) = 0;
  virtual void destroyEffect(int handle) = 0;
  // Self-centring spring of the stick, where the device has one.
  virtual bool setAutocenter(bool on) = 0;
};

// A pad that SDL knows as a game controller reads in one fixed layout, whatever its make:
// axes X and Y the left stick, Z the triggers (left minus right), then the right stick's
// X and Y; the d-pad as the hat; buttons in the order of PadButton. A stick that SDL
// cannot map reads as its driver lays it out.
enum PadButton : int {
  kPadA,
  kPadB,
  kPadX,
  kPadY,
  kPadLeftShoulder,
  kPadRightShoulder,
  kPadBack,
  kPadStart,
  kPadGuide,
  kPadLeftStick,
  kPadRightStick,
  kPadMisc,  // share, capture or microphone button
  kPadPaddle1,
  kPadPaddle2,
  kPadPaddle3,
  kPadPaddle4,
  kPadTouchpad,
  kPadButtonCount,
};
inline constexpr int kPadAxisCount = 5;

struct JoystickReading {
  static constexpr int kMaxAxes = 8;
  std::array<int32_t, kMaxAxes> axes{};  // raw positions between axisMin and axisMax
  int32_t axisMin = 0;
  int32_t axisMax = 0;
  int32_t pov = -1;  // first hat in hundredths of a degree clockwise from up, -1 centred
  std::array<bool, 128> buttons{};
  // Buttons that went down since the previous reading, also those already up again: a
  // press shorter than the time between two readings still counts.
  std::array<bool, 128> pressed{};
};

class Joystick {
 public:
  virtual ~Joystick() = default;
  // False once the device has been pulled out; it then reads nothing.
  virtual bool attached() = 0;
  virtual int axisCount() = 0;
  virtual int buttonCount() = 0;
  // Polls the device and reads it; false when it cannot be read.
  virtual bool read(JoystickReading& reading) = 0;
  // The force-feedback motor, or nullptr when the stick has none (or haptics are off).
  virtual HapticDevice* haptic() = 0;
};

struct MouseReading {
  int32_t x = 0;  // movement since the previous reading
  int32_t y = 0;
  int32_t z = 0;  // wheel
  std::array<bool, 4> buttons{};
};

class InputSystem {
 public:
  virtual ~InputSystem() = default;

  // The device layer that gives hot-plugged joysticks and force feedback; counted, so each
  // acquire is matched by one release. False (and nothing to release) when it cannot start.
  virtual bool acquireDeviceLayer() = 0;
  virtual void releaseDeviceLayer() = 0;

  // Key-down table indexed by Windows virtual-key code, bit 7 set for a key held down.
  virtual void keyboardState(std::array<uint8_t, 256>& keys) = 0;
  // Mouse movement since the previous call and its buttons; false without a mouse.
  virtual bool readMouse(MouseReading& reading) = 0;

  // Joysticks attached now, in enumeration order. joystickChanges() counts plug and
  // unplug events, so a caller can tell when the list may have changed.
  virtual int joystickCount() = 0;
  virtual uint32_t joystickChanges() = 0;
  // Opens the joystick at that position; nullptr when there is none or it cannot be opened.
  // With haptics it opens the stick's motor too, when the device layer is acquired.
  virtual std::unique_ptr<Joystick> openJoystick(int position, bool haptics) = 0;

  // Adds the pad layouts of a file in SDL's gamecontrollerdb.txt format, for pads opened
  // from now on; the number of layouts added, or -1 when the file cannot be read.
  virtual int addControllerMappings(const std::string& file) = 0;
};

std::unique_ptr<InputSystem> createSdlInputSystem();
std::unique_ptr<InputSystem> createFakeInputSystem();

}  // namespace platform
