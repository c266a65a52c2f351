// Program start-up: the command line, the player's settings, the game's data found from
// wherever the program was started, then the application, the main window from its
// description, the hidden name-entry window and the message loop until the main window
// closes. What the player changed while playing (full screen or window, the window's size
// and place) goes back into the settings file at the end. --record records the game
// into a file; --replay plays a recorded one back instead, with --headless without any
// display.

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/timer/library_loader.h"
#include "framework/application.h"
#include "framework/paths.h"
#include "game/game_data.h"
#include "game/game_texts.h"
#include "game/language_choice.h"
#include "game/main_form.h"
#include "game/program.h"
#include "game/records.h"
#include "game/settings.h"
#include "platform/command_line.h"
#include "platform/platform.h"
#include "platform/program_path.h"

namespace {

constexpr const char* kProgram = "reefmaw";

void printWarnings(std::vector<std::string>& warnings) {
  for (const std::string& warning : warnings) {
    std::fprintf(stderr, "%s: %s\n", kProgram, warning.c_str());
  }
  warnings.clear();
}

// Every line of a message on standard error, for a player who started the game from a
// terminal.
void printMessage(const std::string& message) {
  size_t start = 0;
  while (start < message.size()) {
    size_t end = message.find('\n', start);
    if (end == std::string::npos) end = message.size();
    std::fprintf(stderr, "%s: %s\n", kProgram, message.substr(start, end - start).c_str());
    start = end + 1;
  }
}

// The game speaks the language of the choice ("auto" or a code), its texts from the
// catalogues found beside the program.
void useLanguage(const std::string& choice, std::vector<std::string>& warnings) {
  const TLanguage language = ChooseLanguage(choice, LocaleVariablesNow());
  const std::string folder =
      CatalogueFolder(platform::programPath(), REEFMAW_LOCALE_FROM_PROGRAM, REEFMAW_BUILD_DIR);
  if (!UseLanguage(language, folder)) {
    warnings.push_back(std::string("no catalogue of the ") + Language(language).Name +
                       " texts was found" + (folder.empty() ? "" : " in " + folder) +
                       "; they stay Russian");
  }
}

}  // namespace

int main(int argc, char** argv) {
  const platform::CommandLineOutcome command = platform::parseCommandLine(
      std::vector<std::string>(argv + 1, argv + argc), kProgram, REEFMAW_VERSION, LanguageCodes());
  if (command.exit) {
    std::fputs(command.output.c_str(), stdout);
    std::fputs(command.error.c_str(), stderr);
    return command.exitCode;
  }
  const platform::CommandLine& flags = command.flags;

  // A headless replay needs no display at all.
  std::unique_ptr<platform::Platform> platform;
  if (!flags.headless) {
    try {
      platform = platform::createSdlPlatform();
    } catch (const std::exception& e) {
      std::fprintf(stderr, "%s: %s\n", kProgram, e.what());
      return 1;
    }
  }

  std::error_code ec;
  const std::string current = std::filesystem::current_path(ec).string();
  const std::vector<DataPlace> places =
      DataPlaces(flags.dataFolder, current, platform::programPath(), REEFMAW_DATA_FROM_PROGRAM,
                 REEFMAW_BUILD_DIR, REEFMAW_SOURCE_DIR);
  const DataPlace* place = FindGameData(places);

  std::vector<std::string> warnings;
  if (!flags.replayFile.empty()) {
    // A replay never reads the player's settings: the flag or the desktop's language.
    useLanguage(flags.language.empty() ? kAutoLanguage : flags.language, warnings);
    printWarnings(warnings);
    if (place == nullptr) {
      printMessage(DataNotFoundMessage(places));
      return 1;
    }
    return ReplayGame(flags.replayFile, platform.get(), place->folder, stdout, stderr);
  }

  SettingsFile settingsFile = OpenSettingsFile(flags.configFile);
  const Settings forThisRun =
      WithFlags(LoadSettings(settingsFile, flags.resetSettings, warnings), flags);
  useLanguage(forThisRun.language, warnings);
  printWarnings(warnings);

  if (place == nullptr) {
    const std::string message = DataNotFoundMessage(places);
    printMessage(message);
    {
      TApplication application(*platform);
      application.MessageBox(message);
    }
    FreeLibraries();
    return 1;
  }
  UseDataPlace(*place, current, UserDataFolder(kProgram), {kRecordsFile});
  return PlayGame(*platform, forThisRun, flags.recordFile, [&](TMainForm& form) {
    Settings atExit = forThisRun;
    form.StoreWindowChoices(atExit);
    SaveChangedSettings(settingsFile, forThisRun, atExit, warnings);
    printWarnings(warnings);
  });
}
