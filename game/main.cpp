// Program start-up: the application, the main window from its description, the hidden
// name-entry window, then the message loop until the main window closes. An installed
// game reads its pictures from the installed data folder and keeps the records in the
// player's own folder; run from the source folder, both stay in its Data folder.

#include <cstdio>
#include <memory>
#include <string>

#include "engine/timer/library_loader.h"
#include "framework/application.h"
#include "framework/description.h"
#include "framework/paths.h"
#include "game/main_form.h"
#include "game/name_entry_form.h"
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
    UseInstalledFolders(installed, UserDataFolder("reefmaw"), {"data\\rec.rmw"});
  }
  int exitCode = 0;
  {
    TApplication application(*platform);
    try {
      auto* mainForm = application.CreateForm<TMainForm>();
      mainForm->LoadDescription(LoadEmbeddedDescription("main_form.form"));
      auto* form1 = application.CreateForm<TForm1>(mainForm);
      form1->LoadDescription(LoadEmbeddedDescription("form1.form"));
      mainForm->ShowNameEntry = [form1] { form1->ShowModal(); };
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
