#include "engine/input/dx_input.h"

#include "engine/timer/control_subclass.h"
#include "framework/application.h"
#include "framework/form.h"

namespace {

TForm* findOwnerForm(TComponent* owner) {
  for (TComponent* c = owner; c != nullptr; c = c->Owner()) {
    if (auto* form = dynamic_cast<TForm*>(c)) return form;
  }
  throw EDXInputError(SFormNotFound);
}

// Adds a device to the list and hands back a plain pointer to it.
template <typename T>
T* addDevice(std::vector<std::unique_ptr<TCustomInput>>& devices, TCustomDXInput& owner) {
  auto device = std::make_unique<T>(owner);
  T* raw = device.get();
  devices.push_back(std::move(device));
  return raw;
}

constexpr int64_t WA_INACTIVE = 0;

}  // namespace

TCustomDXInput::TCustomDXInput(TComponent* owner)
    : TComponent(owner),
      ownerForm_(findOwnerForm(owner)),
      Joystick(addDevice<TJoystick>(devices_, *this)),
      Keyboard(addDevice<TKeyboard>(devices_, *this)),
      Mouse(addDevice<TMouse>(devices_, *this)) {
  subClass_ = std::make_unique<TControlSubClass>(
      ownerForm_, [this](TMessage& message, const std::function<void(TMessage&)>& previous) {
        previous(message);
        const bool activated = ((message.Msg == WM_ACTIVATE || message.Msg == WM_ACTIVATEAPP) &&
                                message.WParam != WA_INACTIVE) ||
                               message.Msg == CM_ACTIVATE || message.Msg == WM_SETFOCUS;
        if (activated) acquireDevices();
      });
}

TCustomDXInput::~TCustomDXInput() {
  subClass_.reset();
  FinalizeInput();
  // Devices go last first, each closing itself.
  while (!devices_.empty()) devices_.pop_back();
}

platform::InputSystem& TCustomDXInput::InputSystem() const {
  if (Application == nullptr) throw EDXInputError("No application to read input through");
  return Application->Platform().input();
}

bool TCustomDXInput::IsForeground() const {
  return Application != nullptr && Application->Active();
}

void TCustomDXInput::SetActiveOnly(bool value) {
  if (value == activeOnly_) return;
  activeOnly_ = value;
  if (!Loading()) giveCooperativeLevels();
}

void TCustomDXInput::SetUseDirectInput(bool value) {
  if (value == useDirectInput_) return;
  useDirectInput_ = value;
  if (!Loading()) InitializeInput();
}

void TCustomDXInput::giveCooperativeLevels() {
  for (const auto& device : devices_) device->SetCooperativeLevel();
}

void TCustomDXInput::acquireDevices() {
  for (const auto& device : devices_) device->Acquire();
}

void TCustomDXInput::UpdateInput() {
  TDXInputStates s;
  for (const auto& device : devices_) {
    device->UpdateDevice();
    if (device->BindInputStates) s += device->DeviceStates();
  }
  for (int i = 0; i < kInputStateCount; ++i) {
    const bool now = s.Contains(i);
    const bool before = previousStates_.Contains(i);
    if (now && !before) States.Include(i);
    if (!now && before) States.Exclude(i);
  }
  previousStates_ = s;
}

void TCustomDXInput::InitializeInput() {
  FinalizeInput();
  if (Designing()) return;
  if (useDirectInput_) hasDeviceLayer_ = InputSystem().acquireDeviceLayer();
  for (const auto& device : devices_) device->InitializeDevice();
  giveCooperativeLevels();
  UpdateInput();
}

void TCustomDXInput::FinalizeInput() {
  for (const auto& device : devices_) device->FinalizeDevice();
  if (hasDeviceLayer_) InputSystem().releaseDeviceLayer();
  hasDeviceLayer_ = false;
}

void TCustomDXInput::SetStoredProperty(const std::string& name, const TPropertyValue& value) {
  if (name == "ActiveOnly") {
    SetActiveOnly(value.AsBoolean(name));
    return;
  }
  if (name == "UseDirectInput") {
    SetUseDirectInput(value.AsBoolean(name));
    return;
  }
  const size_t point = name.find('.');
  if (point != std::string::npos) {
    const std::string device = name.substr(0, point);
    const std::string property = name.substr(point + 1);
    TCustomInput* target = device == "Joystick"   ? static_cast<TCustomInput*>(Joystick)
                           : device == "Keyboard" ? static_cast<TCustomInput*>(Keyboard)
                           : device == "Mouse"    ? static_cast<TCustomInput*>(Mouse)
                                                  : nullptr;
    if (target != nullptr) {
      if (!target->SetStoredProperty(property, value)) UnknownProperty(name);
      return;
    }
  }
  TComponent::SetStoredProperty(name, value);
}

void TCustomDXInput::Loaded() {
  TComponent::Loaded();
  InitializeInput();
}
