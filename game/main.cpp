// Program start-up: the application, the main window from its description, the hidden
// name-entry window, then the message loop until the main window closes.

#include <cstdio>
#include <memory>

#include "engine/timer/library_loader.h"
#include "framework/application.h"
#include "game/start_up.h"
#include "platform/platform.h"

int main() {
  std::unique_ptr<platform::Platform> platform;
  try {
    platform = platform::createSdlPlatform();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  int exitCode = 0;
  {
    TApplication application(*platform);
    try {
      CreateGameWindows(application);
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
