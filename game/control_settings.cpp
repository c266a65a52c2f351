// The pad's part of the player's settings given to the main window's joystick: on or
// off, its dead zone, its rumble, and the extra pad layouts of gamecontrollerdb.txt in
// the player's config folder.

#include "engine/input/dx_input.h"
#include "framework/paths.h"
#include "game/main_form.h"
#include "game/settings.h"

void TMainForm::applyControlSettings(const Settings& settings) {
  TDXInput& input = *DXInput;
  TJoystick& joystick = *input.Joystick;
  joystick.SetEnabled(settings.joystick);
  joystick.SetDeadZones(kOffsetX, settings.padDeadZone);
  joystick.SetDeadZones(kOffsetY, settings.padDeadZone);
  const std::string folder = UserConfigFolder("reefmaw");
  // A pad already open is opened again when the file brings new layouts, so that it
  // takes its own.
  const bool newLayouts = !folder.empty() && input.InputSystem().addControllerMappings(
                                                 folder + "/gamecontrollerdb.txt") > 0;
  if (joystick.ForceFeedback() != settings.rumble) {
    joystick.SetForceFeedback(settings.rumble);  // opens the pad again
  } else if (newLayouts) {
    joystick.InitializeDevice();
  }
  joystick.SetCooperativeLevel();
}
