// Program start-up: the application, the main window from its description, the hidden
// name-entry window, then the message loop until the main window closes. An installed
// game reads its pictures from the installed data folder and keeps the records in the
// player's own folder; run from the source folder, both stay in its Data folder.

#include <cstdio>
#include <memory>
#include <string>

#include "engine/timer/library_loader.h"
#include "framework/application.h"
#include "framework/paths.h"
#include "game/control_settings.h"
#include "game/records.h"
#include "game/start_up.h"
#include "platform/platform.h"

int main() {
  std::unique_ptr<platform::Platform> platform;
  try {
    platform = platform::createSdlPlatform();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "reefmaw: %s\n", e.what());
    return 1;
  }
  const std::string installed =
      InstalledDataFolder(platform->executablePath(), REEFMAW_DATA_FROM_PROGRAM);
  if (!installed.empty()) {
    UseInstalledFolders(installed, UserDataFolder("reefmaw"), {kRecordsFile});
  }
  int exitCode = 0;
  {
    TApplication application(*platform);
    try {
      const TGameWindows windows = CreateGameWindows(application);
      ApplyControlSettings(*windows.MainForm, DefaultControlSettings());
      application.Run();
    } catch (const std::exception& e) {
      // Only a damaged window description gets here: nothing can run without it.
      application.MessageBox(e.what());
      exitCode = 1;
    }
  }
  FreeLibraries();
  return exitCode;
}
