#pragma once
// The player's settings: what the settings file (reefmaw.ini) holds, the defaults that
// play as the game always has, and the command line's flags over them for one run. Every
// key is one row of the table in settings.cpp: its group, name, comment, and how its
// value is read and written.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/settings_file.h"
#include "platform/command_line.h"

enum class ScalingMode { Fit, Integer };

// The four directions in the keyboard's state order (up, down, left, right), each with
// up to three keys (0 for an empty place), as virtual-key codes.
inline constexpr int kDirectionCount = 4;
inline constexpr int kKeysPerDirection = 3;
using DirectionKeys = std::array<std::array<uint16_t, kKeysPerDirection>, kDirectionCount>;

// The arrows, the numeric pad and K J H L.
DirectionKeys DefaultDirectionKeys();

struct Settings {
  bool fullscreen = true;
  // The window's client size, and where its client area's top-left corner goes.
  int windowWidth = 800;
  int windowHeight = 600;
  bool windowCentred = true;
  int windowX = 0;
  int windowY = 0;
  ScalingMode scaling = ScalingMode::Fit;
  bool vsync = true;
  // Play stands still while the game is not the active application.
  bool pauseWhenInactive = true;
  DirectionKeys directionKeys = DefaultDirectionKeys();
  bool joystick = true;
  // Percent of the stick's travel from the centre that reads as the centre.
  int padDeadZone = 50;
  // Touches rumble the pad.
  bool rumble = true;
  // The language of the game's words: "auto" (the player's locale) or a language's code.
  std::string language = "auto";
};

// The keys of the settings file, in the order a fresh file lists them, with the
// defaults' texts.
std::vector<SettingsKey> SettingsKeys();

// The settings file of --config, or else $XDG_CONFIG_HOME/reefmaw/reefmaw.ini (by
// default ~/.config/reefmaw/reefmaw.ini); no file at all when no home folder is known.
SettingsFile OpenSettingsFile(const std::string& configFile);

// The settings from the file's texts (in SettingsKeys() order). A text that does not read
// leaves that setting at its default and adds one line to the warnings.
Settings ReadSettings(const std::vector<std::string>& texts, const std::string& fileName,
                      std::vector<std::string>& warnings);
// The texts of the settings, in SettingsKeys() order.
std::vector<std::string> WriteSettings(const Settings& settings);

// Loads the file (see SettingsFile::Load) and reads its texts.
Settings LoadSettings(SettingsFile& file, bool reset, std::vector<std::string>& warnings);

// The flags over the settings for one run.
Settings WithFlags(Settings settings, const platform::CommandLine& flags);

// Writes into the file the keys whose text differs between the two: what the player
// changed while the game ran.
void SaveChangedSettings(SettingsFile& file, const Settings& before, const Settings& after,
                         std::vector<std::string>& warnings);
