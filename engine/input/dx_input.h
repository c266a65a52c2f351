#pragma once
// The input component: the joystick, the keyboard and the mouse merged into one set of
// logical states that the game reads once per frame.

#include <memory>
#include <string>
#include <vector>

#include "engine/input/custom_input.h"
#include "engine/input/input_states.h"
#include "engine/input/joystick.h"
#include "engine/input/keyboard.h"
#include "engine/input/mouse.h"
#include "engine/timer/direct_x.h"
#include "framework/component.h"
#include "framework/exceptions.h"

class TForm;
class TControlSubClass;

class EDXInputError : public Exception {
 public:
  using Exception::Exception;
};

inline constexpr const char* SDirectInputNeeded = "DirectInput is necessary to use the mouse";

class TCustomDXInput : public TComponent {
  // First, so that they exist before the device pointers below are made.
  TForm* ownerForm_;
  std::vector<std::unique_ptr<TCustomInput>> devices_;

 public:
  // Raises EDXInputError "Form not found" when no form owns the component.
  explicit TCustomDXInput(TComponent* owner);
  ~TCustomDXInput() override;

  // The devices, owned by the component; also in Devices() in this order.
  TJoystick* const Joystick;
  TKeyboard* const Keyboard;
  TMouse* const Mouse;

  // The states the game reads and may change: a state the game removes stays removed
  // until it is released and pressed again, one it adds stays until pressed and released.
  TDXInputStates States;
  const TDXInputStates& PreviousStates() const { return previousStates_; }

  bool ActiveOnly() const { return activeOnly_; }
  void SetActiveOnly(bool value);
  bool UseDirectInput() const { return useDirectInput_; }
  void SetUseDirectInput(bool value);

  int DeviceCount() const { return static_cast<int>(devices_.size()); }
  TCustomInput* Devices(int index) const { return devices_.at(static_cast<size_t>(index)).get(); }
  TForm* OwnerForm() const { return ownerForm_; }

  // Reads every device and merges their states into States.
  void UpdateInput();
  void InitializeInput();
  void FinalizeInput();

  // The shared device layer (hot-plugged joysticks, force feedback) is running.
  bool HasDeviceLayer() const { return hasDeviceLayer_; }
  platform::InputSystem& InputSystem() const;
  // Whether the game's window is in front; the devices report nothing otherwise when
  // ActiveOnly is set.
  bool IsForeground() const;

  void SetStoredProperty(const std::string& name, const TPropertyValue& value) override;
  void Loaded() override;

 private:
  void giveCooperativeLevels();
  void acquireDevices();

  std::unique_ptr<TControlSubClass> subClass_;
  TDXInputStates previousStates_;
  bool activeOnly_ = true;
  bool useDirectInput_ = true;
  bool hasDeviceLayer_ = false;
};

class TDXInput : public TCustomDXInput {
 public:
  using TCustomDXInput::TCustomDXInput;
  std::string ClassName() const override { return "TDXInput"; }
};
