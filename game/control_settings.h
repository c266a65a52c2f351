#pragma once
// The player's choices for the pad, with the game's own values as defaults: its dead
// zone, its rumble, and a file of extra pad layouts. The start-up hands them to the main
// window's input component. (The direction keys and the pad on or off are settings of
// the keyboard's table and the joystick's Enabled.)

#include <cstdint>
#include <string>

class TMainForm;
struct Settings;

struct TControlSettings {
  // Percent of the stick's travel from the centre that reads as the centre.
  int32_t DeadZone = 50;
  bool Rumble = true;
  // Pad layouts in SDL's gamecontrollerdb.txt format; empty for none.
  std::string ControllerMappings;
};

// A dead zone of 50, rumble on, and gamecontrollerdb.txt from the player's config folder.
TControlSettings DefaultControlSettings();
// The dead zone and the rumble of the player's settings, with the layouts file above.
TControlSettings ControlSettingsFrom(const Settings& settings);

// A pad already open is opened again when the file brings new layouts, so that it takes
// its own.
void ApplyControlSettings(TMainForm& form, const TControlSettings& settings);
