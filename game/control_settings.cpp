#include "game/control_settings.h"

#include "engine/input/dx_input.h"
#include "framework/paths.h"
#include "game/main_form.h"
#include "game/settings.h"

TControlSettings DefaultControlSettings() {
  TControlSettings settings;
  const std::string folder = UserConfigFolder("reefmaw");
  if (!folder.empty()) settings.ControllerMappings = folder + "/gamecontrollerdb.txt";
  return settings;
}

TControlSettings ControlSettingsFrom(const Settings& settings) {
  TControlSettings controls = DefaultControlSettings();
  controls.DeadZone = settings.padDeadZone;
  controls.Rumble = settings.rumble;
  return controls;
}

void ApplyControlSettings(TMainForm& form, const TControlSettings& settings) {
  TDXInput& input = *form.DXInput;
  TJoystick& joystick = *input.Joystick;
  joystick.SetDeadZones(kOffsetX, settings.DeadZone);
  joystick.SetDeadZones(kOffsetY, settings.DeadZone);
  const bool newLayouts =
      !settings.ControllerMappings.empty() &&
      input.InputSystem().addControllerMappings(settings.ControllerMappings) > 0;
  if (joystick.ForceFeedback() != settings.Rumble) {
    joystick.SetForceFeedback(settings.Rumble);  // opens the pad again
  } else if (newLayouts) {
    joystick.InitializeDevice();
  }
  joystick.SetCooperativeLevel();
}
