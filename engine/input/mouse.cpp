#include "engine/input/mouse.h"

#include "engine/input/dx_input.h"

// On like every device; the game's stored settings switch it off, as the pointer serves
// only the menus. Opening it needs the device layer.
TMouse::TMouse(TCustomDXInput& owner) : TCustomInput(owner) {}

TMouse::~TMouse() { TMouse::FinalizeDevice(); }

void TMouse::InitializeDevice() {
  TCustomInput::InitializeDevice();
  if (!Enabled() || OwnerInput().Designing()) return;
  if (!OwnerInput().HasDeviceLayer()) throw EDXInputError(SDirectInputNeeded);
  ButtonCount = 3;
  DeviceOpened();
}

void TMouse::UpdateDevice() {
  if (!BeginUpdate()) return;
  if (!System().readMouse(MouseState)) {
    MouseState = platform::MouseReading{};
    return;
  }
  if (MouseState.x < 0) deviceStates_.Include(isLeft);
  if (MouseState.x > 0) deviceStates_.Include(isRight);
  if (MouseState.y < 0) deviceStates_.Include(isUp);
  if (MouseState.y > 0) deviceStates_.Include(isDown);
  for (int i = 0; i < 3; ++i) {
    if (MouseState.buttons[static_cast<size_t>(i)]) deviceStates_.Include(isButton1 + i);
  }
}
