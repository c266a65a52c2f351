#pragma once
// The base of the input devices: whether the device is opened and merged into the
// component's states, its force-feedback effect tree, and the read of one frame.

#include <cstdint>
#include <memory>
#include <string>

#include "engine/input/force_feedback_effects.h"
#include "engine/input/input_states.h"
#include "framework/component.h"
#include "platform/input_system.h"

class TCustomDXInput;

// Cooperation flags: how a device shares itself with other programs.
enum TCooperativeFlag : uint32_t {
  DISCL_EXCLUSIVE = 0x1,
  DISCL_NONEXCLUSIVE = 0x2,
  DISCL_FOREGROUND = 0x4,
  DISCL_BACKGROUND = 0x8,
};

class TCustomInput : public TObject {
  // First, so that it exists before Effects below points at it.
  std::unique_ptr<TForceFeedbackEffects> effects_;

 public:
  // Every device starts enabled and bound; the stored settings may switch either off.
  explicit TCustomInput(TCustomDXInput& owner);
  ~TCustomInput() override;
  TCustomInput(const TCustomInput&) = delete;
  TCustomInput& operator=(const TCustomInput&) = delete;

  bool BindInputStates = true;
  int ButtonCount = 0;

  // The root of the device's effect tree.
  TForceFeedbackEffects* const Effects;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  bool ForceFeedback() const { return forceFeedback_; }
  void SetForceFeedback(bool value);
  bool ForceFeedbackDevice() const { return forceFeedbackDevice_; }
  bool Initialized() const { return initialized_; }
  const TDXInputStates& DeviceStates() const { return deviceStates_; }
  TCustomDXInput& OwnerInput() const { return owner_; }

  virtual void FinalizeDevice();
  virtual void InitializeDevice();
  virtual uint32_t CooperativeFlags() const;
  // Reads the hardware into DeviceStates.
  virtual void UpdateDevice() = 0;

  // The device's flags were given again: with nothing to hand them to here, this only
  // records them for whoever asks.
  void SetCooperativeLevel() { cooperativeFlags_ = CooperativeFlags(); }
  uint32_t CooperativeLevel() const { return cooperativeFlags_; }
  // The device came back to the front: restart effects that play without end and
  // re-create the others' device effects.
  void Acquire();
  // The motor that plays the effect tree: only while the device is open with force
  // feedback and ForceFeedback is asked for.
  platform::HapticDevice* ForceFeedbackMotor() const;

  // A stored property of this device, its name without the device's prefix ("Enabled"
  // for "Joystick.Enabled"). Returns false for a name the device does not know.
  virtual bool SetStoredProperty(const std::string& name, const TPropertyValue& value);

 protected:
  // The common start of every UpdateDevice: clears the reading; false when the device
  // must report nothing this frame.
  bool BeginUpdate();
  // The common end of InitializeDevice: the device is open and its effects are created.
  void DeviceOpened();
  // The device's own reading, cleared by BeginUpdate and FinalizeDevice.
  virtual void ClearReading() {}
  // The motor of the open device, or nullptr.
  virtual platform::HapticDevice* DeviceMotor() const { return nullptr; }
  platform::InputSystem& System() const;

  TDXInputStates deviceStates_;
  bool forceFeedbackDevice_ = false;

 private:
  TCustomDXInput& owner_;
  bool enabled_ = true;
  bool forceFeedback_ = false;
  bool initialized_ = false;
  bool acquiring_ = false;
  uint32_t cooperativeFlags_ = 0;
};
