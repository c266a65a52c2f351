#include "platform/command_line.h"

#include <glib.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "platform/glib_ptrs.h"

namespace platform {
namespace {

// What the GLib parser fills in. GLib writes the strings through the option table (and
// frees the first of an option given twice), so they stay plain pointers, freed here.
struct Parsed {
  gboolean help = FALSE;
  gboolean version = FALSE;
  gboolean fullscreen = FALSE;
  gboolean window = FALSE;
  gboolean noJoystick = FALSE;
  gboolean resetSettings = FALSE;
  gboolean headless = FALSE;
  gchar* dataFolder = nullptr;
  gchar* configFile = nullptr;
  gchar* recordFile = nullptr;
  gchar* replayFile = nullptr;
  gchar* language = nullptr;
  int width = 0;
  int height = 0;
  ~Parsed() {
    g_free(dataFolder);
    g_free(configFile);
    g_free(recordFile);
    g_free(replayFile);
    g_free(language);
  }
};

gboolean readSize(const gchar* name, const gchar* value, gpointer data, GError** error) {
  auto* parsed = static_cast<Parsed*>(data);
  std::string reason;
  if (parseWindowSize(value != nullptr ? value : "", parsed->width, parsed->height, reason)) {
    return TRUE;
  }
  g_set_error(error, G_OPTION_ERROR, G_OPTION_ERROR_BAD_VALUE, "Invalid value \"%s\" for %s: %s",
              value != nullptr ? value : "", name, reason.c_str());
  return FALSE;
}

// The usage text is the program's own, in English whatever the locale, made from the
// same entries the parser reads.
std::string usageText(const std::string& program, const GOptionEntry* entries) {
  std::string text = "Usage: " + program + " [OPTION...]\n";
  text += "A shark arcade game: eat the food, dodge the predators, climb ten levels.\n\n";
  text += "Options:\n";
  for (const GOptionEntry* e = entries; e->long_name != nullptr; ++e) {
    std::string left =
        e->short_name != 0 ? std::string("  -") + e->short_name + ", --" : std::string("      --");
    left += e->long_name;
    if (e->arg_description != nullptr) left += std::string(" ") + e->arg_description;
    constexpr size_t kHelpColumn = 26;
    left.append(left.size() < kHelpColumn ? kHelpColumn - left.size() : 1, ' ');
    text += left + e->description + "\n";
  }
  text +=
      "\nFlags hold for one run. The player's choices live in the settings file,\n"
      "$XDG_CONFIG_HOME/reefmaw/reefmaw.ini (by default ~/.config/reefmaw/reefmaw.ini).\n"
      "See reefmaw(6) for the settings, the keys and where the game keeps its files.\n";
  return text;
}

CommandLineOutcome refused(const std::string& program, const std::string& message) {
  CommandLineOutcome outcome;
  outcome.exit = true;
  outcome.exitCode = 2;
  outcome.error =
      program + ": " + message + "\nTry '" + program + " --help' for more information.\n";
  return outcome;
}

bool inRange(long value, int low, int high) { return value >= low && value <= high; }

// A decimal number of at most five digits, without sign or blanks.
bool readSide(const std::string& text, long& value) {
  if (text.empty() || text.size() > 5) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return true;
}

}  // namespace

bool parseWindowSize(const std::string& text, int& width, int& height, std::string& reason) {
  const size_t x = text.find_first_of("xX");
  long w = 0;
  long h = 0;
  if (x == std::string::npos || !readSide(text.substr(0, x), w) ||
      !readSide(text.substr(x + 1), h)) {
    reason = "a size is WIDTHxHEIGHT in pixels, such as 1024x768";
    return false;
  }
  if (!inRange(w, kMinWindowWidth, kMaxWindowSide) ||
      !inRange(h, kMinWindowHeight, kMaxWindowSide)) {
    char limits[128];
    std::snprintf(limits, sizeof limits, "a window is from %dx%d to %dx%d pixels", kMinWindowWidth,
                  kMinWindowHeight, kMaxWindowSide, kMaxWindowSide);
    reason = limits;
    return false;
  }
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  return true;
}

CommandLineOutcome parseCommandLine(const std::vector<std::string>& arguments,
                                    const std::string& program, const std::string& version,
                                    const std::vector<std::string>& languages) {
  Parsed parsed;
  std::string knownLanguages;
  for (const std::string& code : languages) {
    knownLanguages += (knownLanguages.empty() ? "" : " or ") + code;
  }
  const std::string languageHelp =
      "The game's words in this language (" + knownLanguages + ") instead of the desktop's";
  // One entry per flag: what the parser fills in, and what --help says of it.
  const GOptionEntry entries[] = {
      {"help", 'h', 0, G_OPTION_ARG_NONE, &parsed.help, "Show this help and exit", nullptr},
      {"version", 0, 0, G_OPTION_ARG_NONE, &parsed.version, "Show the program's version and exit",
       nullptr},
      {"fullscreen", 0, 0, G_OPTION_ARG_NONE, &parsed.fullscreen, "Start full screen", nullptr},
      {"window", 0, 0, G_OPTION_ARG_NONE, &parsed.window, "Start in a window", nullptr},
      {"size", 0, 0, G_OPTION_ARG_CALLBACK, reinterpret_cast<gpointer>(readSize),
       "The window's size in pixels, such as 1024x768", "WxH"},
      {"data", 0, 0, G_OPTION_ARG_FILENAME, &parsed.dataFolder,
       "Look for the game's Data folder in DIR only", "DIR"},
      {"no-joystick", 0, 0, G_OPTION_ARG_NONE, &parsed.noJoystick,
       "Leave joysticks and game pads alone", nullptr},
      {"config", 0, 0, G_OPTION_ARG_FILENAME, &parsed.configFile,
       "Keep the settings in FILE instead of the usual place", "FILE"},
      {"reset-settings", 0, 0, G_OPTION_ARG_NONE, &parsed.resetSettings,
       "Write the settings file afresh with every default", nullptr},
      {"record", 0, 0, G_OPTION_ARG_FILENAME, &parsed.recordFile, "Record the game into FILE",
       "FILE"},
      {"replay", 0, 0, G_OPTION_ARG_FILENAME, &parsed.replayFile,
       "Play the game recorded in FILE back in a window", "FILE"},
      {"headless", 0, 0, G_OPTION_ARG_NONE, &parsed.headless,
       "With --replay: no window, as fast as possible; check the end state", nullptr},
      {"language", 0, 0, G_OPTION_ARG_STRING, &parsed.language, languageHelp.c_str(), "CODE"},
      {nullptr, 0, 0, G_OPTION_ARG_NONE, nullptr, nullptr, nullptr},
  };
  const GOptionContextUniquePtr context(g_option_context_new(nullptr));
  // GLib's own --help would print its translated headings and end the process.
  g_option_context_set_help_enabled(context.get(), FALSE);
  GOptionGroup* group = g_option_group_new(nullptr, nullptr, nullptr, &parsed, nullptr);
  g_option_group_add_entries(group, entries);
  g_option_context_set_main_group(context.get(), group);

  std::vector<std::string> copies;
  copies.reserve(arguments.size() + 1);
  copies.push_back(program);
  copies.insert(copies.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  argv.reserve(copies.size() + 1);
  for (std::string& a : copies) argv.push_back(a.data());
  argv.push_back(nullptr);
  int argc = static_cast<int>(copies.size());
  char** argp = argv.data();
  GErrorUniquePtr error;
  if (!g_option_context_parse(context.get(), &argc, &argp, OutPointer(error))) {
    return refused(program, error != nullptr ? error->message : "Cannot read the options");
  }
  for (int i = 1; i < argc; ++i) {
    if (std::string(argp[i]) != "--") {
      return refused(program, std::string("Unexpected argument \"") + argp[i] + "\"");
    }
  }

  CommandLineOutcome outcome;
  if (parsed.help) {
    outcome.exit = true;
    outcome.output = usageText(program, entries);
    return outcome;
  }
  if (parsed.version) {
    outcome.exit = true;
    outcome.output = program + " " + version + "\n";
    return outcome;
  }
  if (parsed.fullscreen && parsed.window) {
    return refused(program, "--fullscreen and --window cannot be given together");
  }
  CommandLine& flags = outcome.flags;
  flags.fullscreen = parsed.fullscreen != FALSE;
  flags.window = parsed.window != FALSE;
  flags.width = parsed.width;
  flags.height = parsed.height;
  flags.noJoystick = parsed.noJoystick != FALSE;
  flags.resetSettings = parsed.resetSettings != FALSE;
  if (parsed.dataFolder != nullptr) flags.dataFolder = parsed.dataFolder;
  if (parsed.configFile != nullptr) flags.configFile = parsed.configFile;
  if (parsed.dataFolder != nullptr && flags.dataFolder.empty()) {
    return refused(program, "--data needs a folder");
  }
  if (parsed.configFile != nullptr && flags.configFile.empty()) {
    return refused(program, "--config needs a file");
  }
  if (parsed.recordFile != nullptr) flags.recordFile = parsed.recordFile;
  if (parsed.replayFile != nullptr) flags.replayFile = parsed.replayFile;
  flags.headless = parsed.headless != FALSE;
  if ((parsed.recordFile != nullptr && flags.recordFile.empty()) ||
      (parsed.replayFile != nullptr && flags.replayFile.empty())) {
    return refused(program, std::string(parsed.recordFile != nullptr ? "--record" : "--replay") +
                                " needs a file");
  }
  if (!flags.recordFile.empty() && !flags.replayFile.empty()) {
    return refused(program, "--record and --replay cannot be given together");
  }
  if (parsed.language != nullptr) {
    flags.language = parsed.language;
    if (std::find(languages.begin(), languages.end(), flags.language) == languages.end()) {
      return refused(program, "Invalid value \"" + flags.language +
                                  "\" for --language: it must be " + knownLanguages);
    }
  }
  if (flags.headless && flags.replayFile.empty()) {
    return refused(program, "--headless goes only with --replay");
  }
  return outcome;
}

}  // namespace platform
