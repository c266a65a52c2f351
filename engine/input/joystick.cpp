#include "engine/input/joystick.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "engine/input/dx_input.h"

namespace {

constexpr int kLastEntry = 270;
constexpr int32_t kDefaultDeadZone = 50;
constexpr int32_t kDefaultRange = 1000;
constexpr uint32_t kPovCentred = 0xFFFFFFFFu;
constexpr uint32_t kFullTurn = 36000;

int32_t storedInt32(const TPropertyValue& value, const std::string& name) {
  return static_cast<int32_t>(std::clamp<int64_t>(value.AsInteger(name),
                                                  std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

}  // namespace

int32_t ScaleAxis(int32_t position, int32_t max, int32_t min, int32_t range, int32_t deadZone) {
  const int64_t half = (static_cast<int64_t>(max) - min) / 2;
  // Measured from the middle of the span, so that spans not starting at 0 (SDL's signed
  // axes) centre as well as those that do.
  const int64_t p = static_cast<int64_t>(position) - (static_cast<int64_t>(min) + half);
  const int64_t dz = half * std::clamp(deadZone, 0, 100) / 100;
  const int64_t den = half - dz;
  if (den == 0 || std::llabs(p) <= dz) return 0;
  const int64_t num = (p > 0 ? p - dz : p + dz) * static_cast<int64_t>(range);
  int64_t q = num / den;
  const int64_t r = num % den;
  if (2 * std::llabs(r) >= std::llabs(den)) q += (num < 0) == (den < 0) ? 1 : -1;
  return static_cast<int32_t>(std::clamp<int64_t>(q, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

TJoystick::TJoystick(TCustomDXInput& owner) : TCustomInput(owner) {
  for (int offset : {kOffsetX, kOffsetY, kOffsetZ}) {
    deadZones_[static_cast<size_t>(offset)] = kDefaultDeadZone;
    ranges_[static_cast<size_t>(offset)] = kDefaultRange;
  }
}

TJoystick::~TJoystick() { TJoystick::FinalizeDevice(); }

void TJoystick::SetAutoCenter(bool value) {
  autoCenter_ = value;
  applyAutoCenter();
}

void TJoystick::applyAutoCenter() {
  if (layered_ && stick_ && stick_->haptic() != nullptr)
    stick_->haptic()->setAutocenter(autoCenter_);
}

void TJoystick::SetID(int32_t value) {
  if (value == id_) return;
  id_ = value;
  if (!OwnerInput().Loading()) InitializeDevice();
}

int32_t TJoystick::DeadZones(int index) const {
  if (index < 0 || index > kLastEntry) return 0;
  return deadZones_[static_cast<size_t>(index)];
}

void TJoystick::SetDeadZones(int index, int32_t value) {
  if (index < 0 || index > kLastEntry) return;
  int32_t& entry = deadZones_[static_cast<size_t>(index)];
  entry = std::clamp(value, 0, 100);
  // The hat has no dead zone; an open device says so.
  if (layered_ && index == kOffsetPOV) entry = -1;
}

int32_t TJoystick::Ranges(int index) const {
  if (index < 0 || index > kLastEntry) return 0;
  return ranges_[static_cast<size_t>(index)];
}

void TJoystick::SetRanges(int index, int32_t value) {
  if (index < 0 || index > kLastEntry) return;
  int32_t& entry = ranges_[static_cast<size_t>(index)];
  entry = std::max(value, 0);
  if (layered_ && index == kOffsetPOV) entry = -1;
}

uint32_t TJoystick::CooperativeFlags() const {
  // Without auto-centring the stick's spring is ours to drive, so nobody else may have it.
  if (!autoCenter_) return DISCL_EXCLUSIVE | DISCL_FOREGROUND;
  return TCustomInput::CooperativeFlags();
}

platform::HapticDevice* TJoystick::DeviceMotor() const {
  return layered_ && stick_ ? stick_->haptic() : nullptr;
}

void TJoystick::FinalizeDevice() {
  TCustomInput::FinalizeDevice();
  pressedStates_.Clear();
  lastStates_.Clear();
  stick_.reset();
  layered_ = false;
  joyId_ = -1;
}

void TJoystick::InitializeDevice() {
  TCustomInput::InitializeDevice();
  if (!Enabled() || OwnerInput().Designing() || id_ < 0) return;
  platform::InputSystem& system = System();
  seenChanges_ = system.joystickChanges();
  try {
    if (OwnerInput().HasDeviceLayer()) {
      if (id_ >= system.joystickCount()) return;
      stick_ = system.openJoystick(id_, true);
      if (!stick_) return;
      layered_ = true;
      ButtonCount = std::min(stick_->buttonCount(), 128);
      forceFeedbackDevice_ = stick_->haptic() != nullptr;
      applyAutoCenter();
      for (int i = 0; i < kJoyStateSize; ++i) {
        SetDeadZones(i, deadZones_[static_cast<size_t>(i)]);
        SetRanges(i, ranges_[static_cast<size_t>(i)]);
      }
    } else {
      openFallback();
    }
    DeviceOpened();
  } catch (...) {
    FinalizeDevice();
    throw;
  }
}

void TJoystick::openFallback() {
  joyId_ = -1;
  stick_.reset();
  ButtonCount = 0;
  if (id_ >= System().joystickCount()) return;
  stick_ = System().openJoystick(id_, false);
  if (!stick_) return;
  joyId_ = id_;
  ButtonCount = std::min(stick_->buttonCount(), 128);
}

void TJoystick::followPlugging() {
  if (!Enabled() || id_ < 0 || OwnerInput().Designing()) return;
  if (stick_ && !stick_->attached()) {
    if (layered_) {
      FinalizeDevice();
    } else {
      stick_.reset();
      joyId_ = -1;
      ButtonCount = 0;
    }
  }
  const uint32_t changes = System().joystickChanges();
  if (changes == seenChanges_) return;
  seenChanges_ = changes;
  if (stick_) return;
  if (OwnerInput().HasDeviceLayer()) {
    InitializeDevice();
    SetCooperativeLevel();
  } else if (Initialized()) {
    openFallback();
  }
}

void TJoystick::UpdateDevice() {
  followPlugging();
  readStick();
  // What came on since the last update: a press made and let go in between counts too.
  TDXInputStates pressed;
  for (int state = 0; state < kInputStateCount; ++state) {
    if (deviceStates_.Contains(state) && !lastStates_.Contains(state)) pressed.Include(state);
  }
  for (int i = 0; i < 32; ++i) {
    if (pressedButtons_[static_cast<size_t>(i)]) pressed.Include(isButton1 + i);
  }
  pressedStates_ = pressed;
  lastStates_ = deviceStates_;
}

void TJoystick::readStick() {
  pressedButtons_.fill(false);
  if (!BeginUpdate()) {
    // Presses made while the game was not listening are dropped, not acted on later.
    platform::JoystickReading dropped;
    if (stick_) stick_->read(dropped);
    return;
  }
  if (!stick_) return;
  platform::JoystickReading reading;
  if (!stick_->read(reading)) return;

  // The device layer scales every axis it has; the plain read only X, Y and Z.
  const int axes =
      std::min(layered_ ? stick_->axisCount() : 3, platform::JoystickReading::kMaxAxes);
  int32_t* values[] = {&JoyState.lX,
                       &JoyState.lY,
                       &JoyState.lZ,
                       &JoyState.lRx,
                       &JoyState.lRy,
                       &JoyState.lRz,
                       JoyState.rglSlider.data(),
                       &JoyState.rglSlider[1]};
  for (int axis = 0; axis < axes; ++axis) {
    const size_t offset = static_cast<size_t>(axis) * 4;
    *values[axis] = ScaleAxis(reading.axes[static_cast<size_t>(axis)], reading.axisMax,
                              reading.axisMin, std::max(ranges_[offset], 0), deadZones_[offset]);
  }
  JoyState.rgdwPOV.fill(kPovCentred);
  JoyState.rgdwPOV[0] = reading.pov < 0 ? kPovCentred : static_cast<uint32_t>(reading.pov);
  const int buttons = std::min(ButtonCount, static_cast<int>(JoyState.rgbButtons.size()));
  for (int i = 0; i < buttons; ++i) {
    const auto b = static_cast<size_t>(i);
    JoyState.rgbButtons[b] = reading.buttons[b] ? 0x80 : 0;
    if (b < pressedButtons_.size()) pressedButtons_[b] = reading.pressed[b];
  }

  for (int i = 0; i < 32; ++i) {
    if (JoyState.rgbButtons[static_cast<size_t>(i)] & 0x80) deviceStates_.Include(isButton1 + i);
  }
  if (JoyState.lX < 0) deviceStates_.Include(isLeft);
  if (JoyState.lX > 0) deviceStates_.Include(isRight);
  if (JoyState.lY < 0) deviceStates_.Include(isUp);
  if (JoyState.lY > 0) deviceStates_.Include(isDown);
  includeHat(JoyState.rgdwPOV[0]);
}

void TJoystick::includeHat(uint32_t pov) {
  // Hundredths of a degree clockwise from up; a diagonal gives both its directions.
  if (pov >= kFullTurn) return;
  if (pov > 27000 || pov < 9000) deviceStates_.Include(isUp);
  if (pov > 0 && pov < 18000) deviceStates_.Include(isRight);
  if (pov > 9000 && pov < 27000) deviceStates_.Include(isDown);
  if (pov > 18000) deviceStates_.Include(isLeft);
}

bool TJoystick::SetStoredProperty(const std::string& name, const TPropertyValue& value) {
  if (name == "AutoCenter") {
    SetAutoCenter(value.AsBoolean(name));
  } else if (name == "ID") {
    SetID(storedInt32(value, name));
  } else if (name == "DeadZoneX") {
    SetDeadZones(kOffsetX, storedInt32(value, name));
  } else if (name == "DeadZoneY") {
    SetDeadZones(kOffsetY, storedInt32(value, name));
  } else if (name == "DeadZoneZ") {
    SetDeadZones(kOffsetZ, storedInt32(value, name));
  } else if (name == "RangeX") {
    SetRanges(kOffsetX, storedInt32(value, name));
  } else if (name == "RangeY") {
    SetRanges(kOffsetY, storedInt32(value, name));
  } else if (name == "RangeZ") {
    SetRanges(kOffsetZ, storedInt32(value, name));
  } else {
    return TCustomInput::SetStoredProperty(name, value);
  }
  return true;
}
