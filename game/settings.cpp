#include "game/settings.h"

#include <cstdlib>
#include <filesystem>

#include "engine/input/key_names.h"
#include "framework/paths.h"
#include "framework/text_case.h"
#include "game/language_choice.h"
#include "platform/virtual_keys.h"

namespace {

using platform::VK_DOWN;
using platform::VK_LEFT;
using platform::VK_NUMPAD2;
using platform::VK_NUMPAD4;
using platform::VK_NUMPAD6;
using platform::VK_NUMPAD8;
using platform::VK_RIGHT;
using platform::VK_UP;

constexpr const char* kHeading =
    "Reefmaw's settings. The game writes this file at its first start and keeps what you\n"
    "write in it, your own comments and keys included. Remove a key to get its default\n"
    "back. Flags on the command line (reefmaw --help) hold for one run only.";

// One key of the file: where it lives, what it does, and how its text is read and made.
struct SettingDef {
  const char* group;
  const char* name;
  const char* comment;
  std::string (*write)(const Settings& settings);
  // False with the reason when the text does not read; the settings are then unchanged.
  bool (*read)(const std::string& text, Settings& settings, std::string& reason);
};

std::string trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// An integer within [low, high], with an optional minus sign and nothing else.
bool readInteger(const std::string& text, int low, int high, int& value) {
  if (text.empty() || text.size() > 7) return false;
  char* end = nullptr;
  const long number = std::strtol(text.c_str(), &end, 10);
  if (*end != '\0' || number < low || number > high || text[0] == '+') {
    return false;
  }
  value = static_cast<int>(number);
  return true;
}

template <bool Settings::*Field>
std::string writeBool(const Settings& s) {
  return s.*Field ? "true" : "false";
}

template <bool Settings::*Field>
bool readBool(const std::string& text, Settings& s, std::string& reason) {
  const std::string word = LowerCase(trimmed(text));
  if (word == "true" || word == "yes" || word == "on" || word == "1") {
    s.*Field = true;
  } else if (word == "false" || word == "no" || word == "off" || word == "0") {
    s.*Field = false;
  } else {
    reason = "it must be true or false";
    return false;
  }
  return true;
}

std::string writeSize(const Settings& s) {
  return std::to_string(s.windowWidth) + "x" + std::to_string(s.windowHeight);
}

bool readSize(const std::string& text, Settings& s, std::string& reason) {
  return platform::parseWindowSize(trimmed(text), s.windowWidth, s.windowHeight, reason);
}

constexpr int kPositionLimit = 32767;

std::string writePosition(const Settings& s) {
  if (s.windowCentred) return "center";
  return std::to_string(s.windowX) + "," + std::to_string(s.windowY);
}

bool readPosition(const std::string& text, Settings& s, std::string& reason) {
  const std::string value = LowerCase(trimmed(text));
  if (value == "center" || value == "centre") {
    s.windowCentred = true;
    return true;
  }
  const size_t comma = value.find(',');
  int x = 0;
  int y = 0;
  if (comma == std::string::npos ||
      !readInteger(trimmed(value.substr(0, comma)), -kPositionLimit, kPositionLimit, x) ||
      !readInteger(trimmed(value.substr(comma + 1)), -kPositionLimit, kPositionLimit, y)) {
    reason = "it must be center, or X,Y in pixels";
    return false;
  }
  s.windowCentred = false;
  s.windowX = x;
  s.windowY = y;
  return true;
}

std::string writeScaling(const Settings& s) {
  return s.scaling == ScalingMode::Integer ? "integer" : "fit";
}

bool readScaling(const std::string& text, Settings& s, std::string& reason) {
  const std::string value = LowerCase(trimmed(text));
  if (value == "fit") {
    s.scaling = ScalingMode::Fit;
  } else if (value == "integer") {
    s.scaling = ScalingMode::Integer;
  } else {
    reason = "it must be fit or integer";
    return false;
  }
  return true;
}

constexpr int kMaxDeadZone = 100;

std::string writeDeadZone(const Settings& s) { return std::to_string(s.padDeadZone); }

bool readDeadZone(const std::string& text, Settings& s, std::string& reason) {
  if (!readInteger(trimmed(text), 0, kMaxDeadZone, s.padDeadZone)) {
    reason = "it must be a whole number from 0 to 100";
    return false;
  }
  return true;
}

template <int Direction>
std::string writeKeys(const Settings& s) {
  std::string text;
  for (uint16_t key : s.directionKeys[Direction]) {
    if (key == 0) continue;
    if (!text.empty()) text += ';';
    text += KeyName(key);
  }
  return text;
}

template <int Direction>
bool readKeys(const std::string& text, Settings& s, std::string& reason) {
  std::array<uint16_t, kKeysPerDirection> keys{};
  size_t count = 0;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(';', start);
    if (end == std::string::npos) end = text.size();
    const std::string name = trimmed(text.substr(start, end - start));
    start = end + 1;
    if (name.empty()) continue;
    const uint16_t key = KeyByName(name);
    if (key == 0) {
      reason = "no key is named \"" + name + "\"";
      return false;
    }
    if (count == keys.size()) {
      reason = "a direction has at most three keys";
      return false;
    }
    keys[count++] = key;
  }
  if (count == 0) {
    reason = "it needs one to three key names, separated by ;";
    return false;
  }
  s.directionKeys[Direction] = keys;
  return true;
}

std::string writeLanguage(const Settings& s) { return s.language; }

bool readLanguage(const std::string& text, Settings& s, std::string& reason) {
  const std::string value = LowerCase(trimmed(text));
  if (value != kAutoLanguage && !LanguageOfCode(value)) {
    reason = "it must be " + std::string(kAutoLanguage);
    for (const std::string& code : LanguageCodes()) reason += ", " + code;
    return false;
  }
  s.language = value;
  return true;
}

// Every key of the file. A new setting is a field of Settings and one row here.
const std::vector<SettingDef>& table() {
  static const std::vector<SettingDef> kRows = {
      {"display", "fullscreen",
       "true: the game fills the screen; false: it runs in a window. Alt+Enter switches\n"
       "between the two, and the game remembers the choice when it ends.",
       writeBool<&Settings::fullscreen>, readBool<&Settings::fullscreen>},
      {"display", "window_size",
       "The window's size in pixels, WIDTHxHEIGHT; the game's picture is 800x600. The game\n"
       "remembers it when it ends.",
       writeSize, readSize},
      {"display", "window_position",
       "Where the window's top-left corner goes on the desktop, X,Y in pixels, or center.\n"
       "The game remembers it when it ends.",
       writePosition, readPosition},
      {"display", "scaling",
       "How the picture fills a larger screen or window: fit makes it as large as it goes,\n"
       "keeping its shape; integer uses whole factors only (every pixel the same size),\n"
       "with black bars around.",
       writeScaling, readScaling},
      {"display", "vsync",
       "true: each frame waits for the display's refresh (smooth, no tearing); false: frames\n"
       "come as fast as the machine makes them.",
       writeBool<&Settings::vsync>, readBool<&Settings::vsync>},
      {"game", "pause_when_inactive",
       "true: play stands still while another program is in front or the window is\n"
       "minimised; false: the game runs on, as the original did.",
       writeBool<&Settings::pauseWhenInactive>, readBool<&Settings::pauseWhenInactive>},
      {"keys", "up",
       "The keys that steer the shark: one to three key names per direction, separated by ;\n"
       "Names: A to Z, 0 to 9, Up, Down, Left, Right, KP_0 to KP_9 (the numeric pad), space,\n"
       "Return, Tab, Shift, Control, Alt, Insert, Delete, Home, End, Page_Up, Page_Down,\n"
       "F1 to F12, and the X11 names of the other keys (comma, period, slash, ...).",
       writeKeys<0>, readKeys<0>},
      {"keys", "down", "", writeKeys<1>, readKeys<1>},
      {"keys", "left", "", writeKeys<2>, readKeys<2>},
      {"keys", "right", "", writeKeys<3>, readKeys<3>},
      {"joystick", "enabled", "true: a joystick or game pad steers the shark too.",
       writeBool<&Settings::joystick>, readBool<&Settings::joystick>},
      {"joystick", "dead_zone",
       "How far the stick may lean, in per cent of its travel, and still read as centred\n"
       "(0 to 100).",
       writeDeadZone, readDeadZone},
      {"joystick", "rumble", "true: the pad rumbles when the shark touches a creature.",
       writeBool<&Settings::rumble>, readBool<&Settings::rumble>},
      // Recorded games keep the settings by their place in this table: new rows go last.
      {"game", "language",
       "The language of the game's words: auto follows the desktop's language (Russian\n"
       "when it is Russian or not set, else English when the game has no translation into\n"
       "it); ru: Russian; en: English.",
       writeLanguage, readLanguage},
  };
  return kRows;
}

}  // namespace

DirectionKeys DefaultDirectionKeys() {
  return {{{VK_UP, VK_NUMPAD8, 'K'},
           {VK_DOWN, VK_NUMPAD2, 'J'},
           {VK_LEFT, VK_NUMPAD4, 'H'},
           {VK_RIGHT, VK_NUMPAD6, 'L'}}};
}

std::vector<SettingsKey> SettingsKeys() {
  const Settings defaults;
  std::vector<SettingsKey> keys;
  for (const SettingDef& row : table()) {
    keys.push_back({row.group, row.name, row.comment, row.write(defaults)});
  }
  return keys;
}

SettingsFile OpenSettingsFile(const std::string& configFile) {
  std::string path = configFile;
  if (path.empty()) {
    const std::string folder = UserConfigFolder("reefmaw");
    if (!folder.empty()) path = (std::filesystem::path(folder) / "reefmaw.ini").string();
  }
  return SettingsFile(path, SettingsKeys(), kHeading);
}

Settings ReadSettings(const std::vector<std::string>& texts, const std::string& fileName,
                      std::vector<std::string>& warnings) {
  Settings settings;
  const Settings defaults;
  for (size_t i = 0; i < table().size() && i < texts.size(); ++i) {
    const SettingDef& row = table()[i];
    std::string reason;
    Settings changed = settings;
    if (row.read(texts[i], changed, reason)) {
      settings = changed;
      continue;
    }
    std::string warning = "settings file " + fileName;
    warning.append(": [").append(row.group).append("] ").append(row.name).append("=");
    warning.append(texts[i]).append(": ").append(reason);
    warning.append("; the default ").append(row.write(defaults)).append(" holds");
    warnings.push_back(std::move(warning));
  }
  return settings;
}

std::vector<std::string> WriteSettings(const Settings& settings) {
  std::vector<std::string> texts;
  for (const SettingDef& row : table()) texts.push_back(row.write(settings));
  return texts;
}

Settings LoadSettings(SettingsFile& file, bool reset, std::vector<std::string>& warnings) {
  return ReadSettings(file.Load(reset, warnings), file.Path(), warnings);
}

Settings WithFlags(Settings settings, const platform::CommandLine& flags) {
  if (flags.fullscreen) settings.fullscreen = true;
  if (flags.window) settings.fullscreen = false;
  if (flags.width > 0 && flags.height > 0) {
    settings.windowWidth = flags.width;
    settings.windowHeight = flags.height;
  }
  if (flags.noJoystick) settings.joystick = false;
  if (!flags.language.empty()) settings.language = flags.language;
  return settings;
}

void SaveChangedSettings(SettingsFile& file, const Settings& before, const Settings& after,
                         std::vector<std::string>& warnings) {
  const std::vector<std::string> old = WriteSettings(before);
  const std::vector<std::string> now = WriteSettings(after);
  std::vector<std::pair<size_t, std::string>> changes;
  for (size_t i = 0; i < now.size(); ++i) {
    if (now[i] != old[i]) changes.emplace_back(i, now[i]);
  }
  file.Update(changes, warnings);
}
