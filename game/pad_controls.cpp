// The pad in the menus and between games, read once per frame: the stick or the d-pad
// move the menu's highlight, A and Start choose or go on, B and Back go back; in play B,
// Back and Start leave for the menu. A window in front of the game (the name window, a
// message box) takes A and Start as Enter, B and Back as Escape. Each press acts once,
// however fast or slow the frames come.

#include "engine/input/dx_input.h"
#include "framework/application.h"
#include "game/game_vars.h"
#include "game/main_form.h"
#include "platform/input_system.h"
#include "platform/virtual_keys.h"

namespace {

// The key as the window would get it from the keyboard.
void pressKey(TForm& form, uint16_t key) {
  platform::Event event;
  event.kind = platform::EventKind::KeyDown;
  event.window = form.Handle() != nullptr ? form.Handle()->id() : 0;
  event.key = key;
  form.HandleEvent(event);
}

}  // namespace

void TMainForm::padControls() {
  const TDXInputStates& pressed = DXInput->Joystick->PressedStates();
  auto pushed = [&pressed](int button) { return pressed.Contains(isButton1 + button); };
  const bool start = pushed(platform::kPadStart);
  const bool ok = pushed(platform::kPadA) || start;
  const bool back = pushed(platform::kPadB) || pushed(platform::kPadBack);
  if (TForm* front = Application != nullptr ? Application->ModalForm() : nullptr) {
    if (ok) {
      pressKey(*front, platform::VK_RETURN);
    } else if (back) {
      pressKey(*front, platform::VK_ESCAPE);
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
    if (pressed.Contains(isUp)) highlightMenuItem(-1);
    if (pressed.Contains(isDown)) highlightMenuItem(1);
  }
}
