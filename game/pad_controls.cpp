// The pad in the menus and between games, read once per frame: the stick or the d-pad
// move the menu's highlight, A and Start choose or go on, B and Back go back; in play B,
// Back and Start leave for the menu. The name window takes the pad's letters (Up and Down
// turn one, Right and A go on, Left and B go back, Start saves); another window in front
// (a message box) takes A and Start as its confirmation, B and Back as its cancel. Each
// press acts once, however fast or slow the frames come; Up and Down held repeat at the
// pace of held_repeat.h.

#include "engine/input/dx_input.h"
#include "framework/application.h"
#include "game/game_vars.h"
#include "game/main_form.h"
#include "game/name_entry_form.h"
#include "platform/input_system.h"

void TMainForm::padControls(int32_t lag) {
  const TJoystick& pad = *DXInput->Joystick;
  const TDXInputStates& pressed = pad.PressedStates();
  auto pushed = [&pressed](int button) { return pressed.Contains(isButton1 + button); };
  const bool start = pushed(platform::kPadStart);
  const bool a = pushed(platform::kPadA);
  const bool b = pushed(platform::kPadB);
  const bool back = b || pushed(platform::kPadBack);
  TForm* front = Application != nullptr ? Application->ModalForm() : nullptr;
  auto* nameWindow = dynamic_cast<TForm1*>(front);
  if (nameWindow == nullptr && GameVars.GameState != gsMenu) {
    // Only the menu and the name window repeat: a direction held into them from play
    // waits for a new press.
    upRepeat_.Release();
    downRepeat_.Release();
  }
  const int up = verticalSteps(upRepeat_, isUp, -1, lag);
  const int down = verticalSteps(downRepeat_, isDown, 1, lag);

  if (nameWindow != nullptr) {
    nameWindow->ShowPadHint(pad.Attached());
    for (int i = 0; i < up; ++i) nameWindow->PadTurn(-1);
    for (int i = 0; i < down; ++i) nameWindow->PadTurn(1);
    if (pressed.Contains(isLeft) || b) nameWindow->PadBack();
    if (pressed.Contains(isRight)) nameWindow->PadRight();
    // Start wins over an A of the same frame, which could confirm too: the name is
    // saved once.
    if (start) {
      nameWindow->Confirm();
    } else if (a) {
      nameWindow->PadA();
    }
    return;
  }
  const bool ok = a || start;
  if (front != nullptr) {
    if (ok) {
      front->Confirm();
    } else if (back) {
      front->Cancel();
    }
    return;
  }
  if (GameVars.GameState == gsPlay) {
    if (back || start) goBack();
  } else if (ok) {
    confirm();
  } else if (back) {
    goBack();
  } else if (GameVars.GameState == gsMenu) {
    for (int i = 0; i < up; ++i) highlightMenuItem(-1);
    for (int i = 0; i < down; ++i) highlightMenuItem(1);
  }
}

int TMainForm::verticalSteps(THeldRepeat& repeat, int state, int step, int32_t lag) {
  const TJoystick& pad = *DXInput->Joystick;
  bool held = pad.DeviceStates().Contains(state);
  for (size_t key = 0; key < heldKeys_.size() && !held; ++key)
    held = heldKeys_.test(key) && menuStep(static_cast<uint16_t>(key)) == step;
  int steps = repeat.Hold(held, lag);
  if (pad.PressedStates().Contains(state)) {
    repeat.Press();
    ++steps;
  }
  return steps;
}
