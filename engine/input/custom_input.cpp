#include "engine/input/custom_input.h"

#include "engine/input/dx_input.h"

TCustomInput::TCustomInput(TCustomDXInput& owner)
    : effects_(std::make_unique<TForceFeedbackEffects>(this)),
      Effects(effects_.get()),
      owner_(owner) {}

// Device classes close themselves in their own destructors, while their motor exists.
TCustomInput::~TCustomInput() = default;

platform::InputSystem& TCustomInput::System() const { return owner_.InputSystem(); }

void TCustomInput::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  if (!owner_.Loading()) InitializeDevice();
}

void TCustomInput::SetForceFeedback(bool value) {
  if (value == forceFeedback_) return;
  forceFeedback_ = value;
  if (!owner_.Loading()) InitializeDevice();
}

void TCustomInput::FinalizeDevice() {
  // Effects go first: they live on the device's motor.
  effects_->Finalize();
  initialized_ = false;
  ButtonCount = 0;
  forceFeedbackDevice_ = false;
  deviceStates_.Clear();
  ClearReading();
}

void TCustomInput::InitializeDevice() { FinalizeDevice(); }

void TCustomInput::DeviceOpened() {
  initialized_ = true;
  effects_->Initialize();
}

uint32_t TCustomInput::CooperativeFlags() const {
  uint32_t flags = forceFeedbackDevice_ && forceFeedback_ ? DISCL_EXCLUSIVE : DISCL_NONEXCLUSIVE;
  flags |= owner_.ActiveOnly() ? DISCL_FOREGROUND : DISCL_BACKGROUND;
  return flags;
}

void TCustomInput::Acquire() {
  // Restarting an effect may itself ask to acquire the device again.
  if (acquiring_) return;
  if (owner_.ActiveOnly() && !owner_.IsForeground()) return;
  acquiring_ = true;
  try {
    effects_->Acquire();
  } catch (...) {
    acquiring_ = false;
    throw;
  }
  acquiring_ = false;
}

platform::HapticDevice* TCustomInput::ForceFeedbackMotor() const {
  if (!initialized_ || !forceFeedbackDevice_ || !forceFeedback_) return nullptr;
  return DeviceMotor();
}

bool TCustomInput::BeginUpdate() {
  deviceStates_.Clear();
  ClearReading();
  if (!initialized_) return false;
  return !(owner_.ActiveOnly() && !owner_.IsForeground());
}

bool TCustomInput::SetStoredProperty(const std::string& name, const TPropertyValue& value) {
  if (name == "BindInputStates") {
    BindInputStates = value.AsBoolean(name);
  } else if (name == "Enabled") {
    SetEnabled(value.AsBoolean(name));
  } else if (name == "ForceFeedback") {
    SetForceFeedback(value.AsBoolean(name));
  } else if (name == "Effects") {
    effects_->LoadFromBytes(value.AsBinary(name));
  } else {
    return false;
  }
  return true;
}
