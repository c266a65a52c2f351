#pragma once
// The joystick at position ID: axes scaled to -range..+range with a dead zone in percent,
// up to 32 buttons, the first hat, and force feedback through its motor. The X and Y axes
// and the hat give the four directions. A stick plugged in while the game runs is opened
// when it is the one at position ID; one pulled out stops reporting and is opened again
// when it comes back.

#include <array>
#include <cstdint>
#include <memory>

#include "engine/input/custom_input.h"

// The extended joystick state, laid out as stored settings index it: DeadZones and Ranges
// are indexed by a value's byte offset here (X 0, Y 4, Z 8, hat 32, buttons from 48).
struct TDIJoyState2 {
  int32_t lX, lY, lZ;
  int32_t lRx, lRy, lRz;
  std::array<int32_t, 2> rglSlider;
  std::array<uint32_t, 4> rgdwPOV;
  std::array<uint8_t, 128> rgbButtons;
  int32_t lVX, lVY, lVZ, lVRx, lVRy, lVRz;
  std::array<int32_t, 2> rglVSlider;
  int32_t lAX, lAY, lAZ, lARx, lARy, lARz;
  std::array<int32_t, 2> rglASlider;
  int32_t lFX, lFY, lFZ, lFRx, lFRy, lFRz;
  std::array<int32_t, 2> rglFSlider;
};
static_assert(sizeof(TDIJoyState2) == 272);

inline constexpr int kJoyStateSize = 272;
inline constexpr int kOffsetX = 0;
inline constexpr int kOffsetY = 4;
inline constexpr int kOffsetZ = 8;
inline constexpr int kOffsetPOV = 32;

// A raw position between min and max to -range..+range: the middle of the span reads 0
// and so does everything within deadZone percent of the half span around it.
int32_t ScaleAxis(int32_t position, int32_t max, int32_t min, int32_t range, int32_t deadZone);

class TJoystick : public TCustomInput {
 public:
  explicit TJoystick(TCustomDXInput& owner);
  ~TJoystick() override;

  TDIJoyState2 JoyState{};
  int32_t AxisX() const { return JoyState.lX; }
  int32_t AxisY() const { return JoyState.lY; }
  int32_t AxisZ() const { return JoyState.lZ; }

  // The states that came on since the previous update, for acting once per press: a
  // direction pushed, a button pressed (also one pressed and let go in between).
  const TDXInputStates& PressedStates() const { return pressedStates_; }
  // A stick is open and plugged in.
  bool Attached() const { return stick_ != nullptr && stick_->attached(); }

  bool AutoCenter() const { return autoCenter_; }
  void SetAutoCenter(bool value);
  int32_t ID() const { return id_; }
  void SetID(int32_t value);
  // The stick read without the device layer, -1 for none.
  int32_t JoyId() const { return joyId_; }

  // Entries by byte offset in JoyState; outside 0..270 setting does nothing and reading
  // gives 0.
  int32_t DeadZones(int index) const;
  void SetDeadZones(int index, int32_t value);
  int32_t Ranges(int index) const;
  void SetRanges(int index, int32_t value);

  uint32_t CooperativeFlags() const override;
  void FinalizeDevice() override;
  void InitializeDevice() override;
  void UpdateDevice() override;
  bool SetStoredProperty(const std::string& name, const TPropertyValue& value) override;

 protected:
  void ClearReading() override { JoyState = TDIJoyState2{}; }
  platform::HapticDevice* DeviceMotor() const override;

 private:
  void followPlugging();
  void readStick();
  void includeHat(uint32_t pov);
  void openFallback();
  void applyAutoCenter();

  bool autoCenter_ = true;
  int32_t id_ = 0;
  int32_t joyId_ = -1;
  std::unique_ptr<platform::Joystick> stick_;
  bool layered_ = false;  // opened through the device layer
  uint32_t seenChanges_ = 0;
  std::array<int32_t, kJoyStateSize> deadZones_{};
  std::array<int32_t, kJoyStateSize> ranges_{};
  std::array<bool, 32> pressedButtons_{};
  TDXInputStates lastStates_;
  TDXInputStates pressedStates_;
};
