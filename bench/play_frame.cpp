// What the game costs: the crowded play frame, start-up, and the memory of a running game.
//
// The play frame is the whole frame step at level 10 after 20 simulated seconds of play
// at 16 ms a frame (monsters, bubbles, the shark's collisions, the status texts) handed
// over to an in-memory window, printed as median and 99th percentile and as a ratio to a
// plain 800 x 600 fill and copy timed in the same run. Start-up is the time from the
// program's entry (and from the process's start, as the kernel counts it) to the first
// frame presented on SDL with every picture loaded. Memory is the process's private
// resident memory after the 20 seconds of play.

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "engine/sprite/sprite_engine.h"
#include "framework/application.h"
#include "game/game_vars.h"
#include "game/main_form.h"
#include "game/start_up.h"
#include "platform/fake_platform.h"

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Private (anonymous) resident memory of this process, in MB.
double privateResidentMb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("RssAnon:", 0) == 0) return std::stod(line.substr(8)) / 1024.0;
  }
  return -1;
}

// A plain frame's worth of memory work: fill 800 x 600 16-bit pixels, copy them out.
double fillAndCopyMs(int rounds) {
  std::vector<uint16_t> page(800 * 600);
  std::vector<uint16_t> shown(page.size());
  std::vector<double> times;
  for (int i = 0; i < rounds; ++i) {
    const auto start = Clock::now();
    std::fill(page.begin(), page.end(), static_cast<uint16_t>(i));
    std::memcpy(shown.data(), page.data(), page.size() * sizeof(uint16_t));
    times.push_back(millisecondsSince(start));
  }
  volatile uint16_t sink = shown[static_cast<size_t>(rounds) % shown.size()];
  (void)sink;
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// Seconds since this process started, from the kernel's records (10 ms resolution).
double secondsSinceProcessStart() {
  std::ifstream statFile("/proc/self/stat");
  std::string stat((std::istreambuf_iterator<char>(statFile)), std::istreambuf_iterator<char>());
  std::istringstream fields(stat.substr(stat.rfind(')') + 2));
  std::string field;
  for (int i = 3; i <= 22 && fields >> field; ++i) {
  }
  double uptime = 0;
  std::ifstream("/proc/uptime") >> uptime;
  return uptime - std::stod(field) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// The real program's start-up on SDL (the dummy video driver when there is no display):
// the windows made, every picture loaded, the display started, the first frame presented.
double realStartUpMs(Clock::time_point programStart, double& sinceProcessStart) {
  if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
  }
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  std::unique_ptr<platform::Platform> sdl = platform::createSdlPlatform();
  TApplication application(*sdl);
  const TGameWindows windows = CreateGameWindows(application);
  windows.MainForm->Show();
  while (windows.MainForm->MenuTicks == 0) application.HandleMessage();
  sinceProcessStart = secondsSinceProcessStart() * 1000;
  const double ms = millisecondsSince(programStart);
  GameVars = TGameVars{};
  return ms;
}

}  // namespace

int main() {
  const auto programStart = Clock::now();
  std::filesystem::current_path(REEFMAW_SOURCE_DIR);  // where Data/ is
  double sinceProcessStart = 0;
  const double startUpMs = realStartUpMs(programStart, sinceProcessStart);

  platform::FakePlatform fake;
  fake.clock().setAutoAdvance(0);
  TApplication application(fake);
  application.OnShowMessage = [](const std::string& text) {
    std::printf("message: %s\n", text.c_str());
  };
  const TGameWindows windows = CreateGameWindows(application);
  TMainForm& form = *windows.MainForm;
  form.ShowNameEntry = [] {};
  form.Show();
  fake.events().pushFocus(form.Handle()->id(), true);
  auto* window = fake.findWindow(form.Handle()->id());
  while (window->presentCount() == 0) {
    fake.clock().advance(16);
    application.HandleMessage();
  }

  // Level 10, kept alive, 20 seconds at 16 ms a frame.
  GameVars.GameState = gsPlay;
  GameVars.Level = 10;
  GameVars.LevelReady = 0;
  auto frame = [&] {
    GameVars.Life = 100;
    const int before = window->presentCount();
    while (window->presentCount() == before) {
      fake.clock().advance(16);
      application.HandleMessage();
    }
  };
  for (int i = 0; i < 20 * 1000 / 16; ++i) frame();
  const double memoryMb = privateResidentMb();
  const int sprites = form.DXSpriteEngine->Engine->SpriteCount();

  std::vector<double> times;
  for (int i = 0; i < 2000; ++i) {
    const auto start = Clock::now();
    frame();
    times.push_back(millisecondsSince(start));
  }
  if (std::getenv("REEFMAW_BENCH_SLOW") != nullptr) {
    for (size_t i = 0; i < times.size(); ++i) {
      if (times[i] > 1.0) std::printf("slow frame %zu: %.3f ms\n", i, times[i]);
    }
  }
  std::sort(times.begin(), times.end());
  const double median = times[times.size() / 2];
  const double p99 = times[times.size() * 99 / 100];
  const double reference = fillAndCopyMs(2000);

  std::printf(
      "crowded play frame (level %d, %d sprites): median %.3f ms, 99th percentile %.3f ms\n",
      GameVars.Level, sprites, median, p99);
  std::printf("  = %.1f x (median) and %.1f x (99th) a plain 800x600 fill and copy (%.3f ms)\n",
              median / reference, p99 / reference, reference);
  std::printf(
      "start-up to the first presented frame (SDL, %s video): %.1f ms from main, %.0f ms from "
      "process start\n",
      std::getenv("SDL_VIDEODRIVER") != nullptr ? std::getenv("SDL_VIDEODRIVER") : "default",
      startUpMs, sinceProcessStart);
  std::printf("private resident memory after 20 s of play: %.1f MB\n", memoryMb);
  return 0;
}
