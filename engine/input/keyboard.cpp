#include "engine/input/keyboard.h"

#include "engine/input/dx_input.h"

TKeyAssigns DefaultKeyAssigns() {
  TKeyAssigns a{};
  a[isUp] = {75, 38, 104};
  a[isDown] = {74, 40, 98};
  a[isLeft] = {72, 37, 100};
  a[isRight] = {76, 39, 102};
  a[isButton1] = {90, 32, 0};
  a[isButton2] = {88, 13, 0};
  a[isButton9] = {113, 0, 0};
  return a;
}

std::vector<uint8_t> StoreKeyAssigns(const TKeyAssigns& assigns) {
  std::vector<uint8_t> out;
  out.reserve(kStoredAssignsSize);
  for (const auto& row : assigns) {
    for (int32_t code : row) {
      const auto u = static_cast<uint32_t>(code);
      for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(u >> (8 * i)));
    }
  }
  return out;
}

TKeyAssigns ReadKeyAssigns(const std::vector<uint8_t>& data) {
  if (data.size() != kStoredAssignsSize) {
    throw EReadError(Format("Key assignments must be %d bytes, not %d",
                            static_cast<int>(kStoredAssignsSize), static_cast<int>(data.size())));
  }
  TKeyAssigns assigns{};
  size_t pos = 0;
  for (auto& row : assigns) {
    for (int32_t& code : row) {
      uint32_t u = 0;
      for (int i = 0; i < 4; ++i) u |= static_cast<uint32_t>(data[pos++]) << (8 * i);
      code = static_cast<int32_t>(u);
    }
  }
  return assigns;
}

TKeyboard::TKeyboard(TCustomDXInput& owner) : TCustomInput(owner), Assigns(DefaultKeyAssigns()) {}

TKeyboard::~TKeyboard() { TKeyboard::FinalizeDevice(); }

void TKeyboard::InitializeDevice() {
  TCustomInput::InitializeDevice();
  if (!Enabled() || OwnerInput().Designing()) return;
  // The key table works with or without the device layer, by key position either way.
  ButtonCount = 32;
  DeviceOpened();
}

void TKeyboard::UpdateDevice() {
  if (!BeginUpdate()) return;
  System().keyboardState(KeyState);
  for (int state = 0; state < kInputStateCount; ++state) {
    for (int32_t key : Assigns[static_cast<size_t>(state)]) {
      if (Keys(key)) {
        deviceStates_.Include(state);
        break;
      }
    }
  }
}

bool TKeyboard::SetStoredProperty(const std::string& name, const TPropertyValue& value) {
  // "Aissgns" is how an old description spells it.
  if (name == "Assigns" || name == "Aissgns") {
    Assigns = ReadKeyAssigns(value.AsBinary(name));
    return true;
  }
  return TCustomInput::SetStoredProperty(name, value);
}
