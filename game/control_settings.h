#pragma once
// The player's choices for the controls, with the game's own values as defaults: the keys
// of the four directions, the pad on or off, its dead zone and its rumble, and a file of
// extra pad layouts. The start-up hands them to the main window's input component.

#include <array>
#include <cstdint>
#include <string>

class TMainForm;

struct TControlSettings {
  // Up to three virtual-key codes each for up, down, left and right; 0 for an empty place.
  std::array<std::array<int32_t, 3>, 4> DirectionKeys{};
  bool Joystick = true;
  // Percent of the stick's travel from the centre that reads as the centre.
  int32_t DeadZone = 50;
  bool Rumble = true;
  // Pad layouts in SDL's gamecontrollerdb.txt format; empty for none.
  std::string ControllerMappings;
};

// K J H L with the arrows and the numeric pad, the pad on with a dead zone of 50 and
// rumble, and gamecontrollerdb.txt from the player's config folder.
TControlSettings DefaultControlSettings();

// The directions' keys go into the keyboard's table, which the menu's Up and Down follow
// too; a pad already open is opened again to take new layouts.
void ApplyControlSettings(TMainForm& form, const TControlSettings& settings);
