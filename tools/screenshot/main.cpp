// Takes pictures of the running game as a player sees it: the real game on the fake
// platform, its presented frames written as PNG files. A fixed script, so the same
// pictures come out every time.
//
//   screenshot OUTDIR [--language CODE]
//
// writes OUTDIR/menu.png, play.png, intro.png and records.png, in Russian or in the
// language of CODE (en).

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "engine/input/dx_input.h"
#include "framework/application.h"
#include "framework/bit_field_channel.h"
#include "game/game_texts.h"
#include "game/game_vars.h"
#include "game/language_choice.h"
#include "game/main_form.h"
#include "game/start_up.h"
#include "platform/fake_input.h"
#include "platform/fake_platform.h"
#include "platform/virtual_keys.h"
#include "tools/art/raster.h"

namespace {

using platform::VK_DOWN;
using platform::VK_RIGHT;
using platform::VK_UP;

// The channels of the two pixel formats a window is given, widened to 8 bits so that
// full intensity stays full.
const BitFieldChannel kRed565(0xF800), kGreen565(0x07E0), kBlue565(0x001F);
const BitFieldChannel kRed8888(0xFF0000), kGreen8888(0x00FF00), kBlue8888(0x0000FF);

struct Camera {
  platform::FakePlatform fake;
  TApplication application{fake};
  TMainForm* main = nullptr;
  platform::FakeWindow* window = nullptr;
  std::string outDir;

  void frames(int count) {
    for (int i = 0; i < count; ++i) {
      const int before = window->presentCount();
      while (window->presentCount() == before) {
        fake.clock().advance(16);
        application.HandleMessage();
      }
    }
  }
  void click(int x, int y) {
    const uint32_t id = main->Handle()->id();
    fake.events().pushMouseMove(id, x, y);
    fake.events().pushMouseDown(id, x, y);
    fake.events().pushMouseUp(id, x, y);
    frames(1);
  }
  void hold(std::initializer_list<uint16_t> keys) {
    auto& input = static_cast<platform::FakeInputSystem&>(fake.input());
    input.keys.fill(0);
    for (uint16_t k : keys) input.setKey(k, true);
  }
  void shoot(const std::string& name) {
    const platform::FakePicture& picture = window->lastPicture();
    art::Raster raster(picture.width, picture.height);
    for (int y = 0; y < picture.height; ++y) {
      for (int x = 0; x < picture.width; ++x) {
        const uint32_t p = picture.pixel(x, y);
        const bool narrow = picture.format == platform::PixelFormat::RGB565;
        raster.at(x, y) = {(narrow ? kRed565 : kRed8888).expand(p),
                           (narrow ? kGreen565 : kGreen8888).expand(p),
                           (narrow ? kBlue565 : kBlue8888).expand(p)};
      }
    }
    const std::string path = (std::filesystem::path(outDir) / (name + ".png")).string();
    art::writePng(raster, path);
    std::printf("%s\n", path.c_str());
  }
};

}  // namespace

int main(int argc, char** argv) {
  const bool languageGiven = argc == 4 && std::string(argv[2]) == "--language";
  const std::optional<TLanguage> language =
      languageGiven ? LanguageOfCode(argv[3]) : std::optional<TLanguage>(lgRussian);
  if ((argc != 2 && !languageGiven) || !language) {
    std::fprintf(stderr,
                 "usage: screenshot OUTDIR [--language CODE] (run from the folder that holds "
                 "Data/)\n");
    return 2;
  }
  UseLanguage(*language, REEFMAW_LOCALE_DIR);
  const std::string outDir = std::filesystem::absolute(argv[1]).string();
  std::filesystem::create_directories(outDir);
  Camera camera;
  camera.outDir = outDir;
  camera.fake.clock().setHighResCounter(20261208);
  camera.application.OnShowMessage = [](const std::string& text) {
    std::fprintf(stderr, "message: %s\n", text.c_str());
  };
  const TGameWindows windows = CreateGameWindows(camera.application);
  camera.main = windows.MainForm;
  camera.main->ShowNameEntry = [] {};
  camera.main->Show();
  camera.fake.events().pushFocus(camera.main->Handle()->id(), true);
  camera.window = camera.fake.findWindow(camera.main->Handle()->id());
  camera.frames(1);

  // The menu with "new game" under the pointer.
  camera.fake.events().pushMouseMove(camera.main->Handle()->id(), 610, 180);
  camera.frames(20);
  camera.shoot("menu");

  // A few seconds into level 1, sweeping through the oncoming fish.
  camera.click(610, 180);
  for (int frame = 0; frame < 420; ++frame) {
    camera.hold(frame < 60          ? std::initializer_list<uint16_t>{VK_RIGHT}
                : frame % 200 < 100 ? std::initializer_list<uint16_t>{VK_UP}
                                    : std::initializer_list<uint16_t>{VK_DOWN});
    camera.frames(1);
  }
  camera.hold({});
  camera.shoot("play");

  // The intro of level 2, then the records.
  GameVars.Points = 100;
  camera.frames(25);
  camera.shoot("intro");
  // Escape starts level 2, another leaves it for the menu.
  camera.fake.events().pushKeyDown(camera.main->Handle()->id(), 27);
  camera.frames(1);
  camera.fake.events().pushKeyDown(camera.main->Handle()->id(), 27);
  camera.frames(1);
  camera.click(400, 275);
  camera.frames(5);
  camera.shoot("records");
  return 0;
}
