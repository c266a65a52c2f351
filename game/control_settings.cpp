#include "game/control_settings.h"

#include "engine/input/dx_input.h"
#include "framework/paths.h"
#include "game/main_form.h"

TControlSettings DefaultControlSettings() {
  TControlSettings settings;
  const TKeyAssigns keys = DefaultKeyAssigns();
  for (int state : {isUp, isDown, isLeft, isRight})
    settings.DirectionKeys[static_cast<size_t>(state)] = keys[static_cast<size_t>(state)];
  const std::string folder = UserConfigFolder("reefmaw");
  if (!folder.empty()) settings.ControllerMappings = folder + "/gamecontrollerdb.txt";
  return settings;
}

void ApplyControlSettings(TMainForm& form, const TControlSettings& settings) {
  TDXInput& input = *form.DXInput;
  for (int state : {isUp, isDown, isLeft, isRight}) {
    input.Keyboard->Assigns[static_cast<size_t>(state)] =
        settings.DirectionKeys[static_cast<size_t>(state)];
  }
  TJoystick& joystick = *input.Joystick;
  joystick.SetDeadZones(kOffsetX, settings.DeadZone);
  joystick.SetDeadZones(kOffsetY, settings.DeadZone);
  const bool newLayouts =
      !settings.ControllerMappings.empty() &&
      input.InputSystem().addControllerMappings(settings.ControllerMappings) > 0;
  const bool reopened =
      joystick.ForceFeedback() != settings.Rumble || joystick.Enabled() != settings.Joystick;
  joystick.SetForceFeedback(settings.Rumble);
  joystick.SetEnabled(settings.Joystick);
  if (newLayouts && !reopened) joystick.InitializeDevice();
  joystick.SetCooperativeLevel();
}
