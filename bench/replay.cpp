// How fast a recorded game plays back headless, as a multiple of the time it took to
// play: a scripted game of a few minutes is recorded on the fake platform (a new game
// swept through the monsters, level intros clicked away, new games after each game over)
// and replayed headless, best of three runs, by the clock on the wall and by the
// replay's own processor time. A recording given as the first argument
// (made with --record) is replayed instead. The figure is also given without the
// start-up (a replay of a game that quits at once), and a frame's replay time as a ratio
// to a plain 800 x 600 fill and copy timed in the same run.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "game/program.h"
#include "game/settings.h"
#include "platform/fake_platform.h"
#include "platform/replay_file.h"
#include "platform/virtual_keys.h"
#include "support/game_folder.h"
#include "support/scripted_play.h"

namespace {

using Clock = std::chrono::steady_clock;
using platform::VK_DOWN;
using platform::VK_LEFT;
using platform::VK_RIGHT;
using platform::VK_UP;

constexpr uint32_t kFrameMs = 16;

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Minutes of play with the shark sweeping the sea; clicks take it past intros, game-over
// screens and the menu into new games.
void recordScriptedGame(const std::string& file, double minutes) {
  platform::FakePlatform fake;
  ScriptedPlay play(fake, kFrameMs);
  play.at(100, [](ScriptedPlay& p) { p.focus(true); });
  const auto endMs = static_cast<uint32_t>(minutes * 60000);
  for (uint32_t t = 500; t < endMs; t += 4000) {
    play.at(t, [](ScriptedPlay& p) {
      p.click(400, 300);  // leaves an intro or the game-over screen
      p.click(600, 175);  // a new game when on the menu
      p.hold({VK_RIGHT, VK_UP});
    });
    play.at(t + 2000, [](ScriptedPlay& p) { p.hold({VK_LEFT, VK_DOWN}); });
  }
  play.at(endMs, [](ScriptedPlay& p) { p.close(); });
  PlayGame(fake, Settings{}, file);
}

void recordQuitAtOnce(const std::string& file) {
  platform::FakePlatform fake;
  ScriptedPlay play(fake, kFrameMs);
  play.at(100, [](ScriptedPlay& p) { p.close(); });
  PlayGame(fake, Settings{}, file);
}

// The recorded game's length: from its first clock reading to its last.
double recordedSeconds(const std::string& file) {
  platform::ReplayReader reader(platform::readReplayFile(file));
  int64_t first = -1;
  int64_t last = 0;
  uint32_t frames = 0;
  while (!reader.ended()) {
    const platform::ReplayRecord& r = reader.next();
    if (r.kind == platform::ReplayKind::Ticks) {
      if (first < 0) first = r.as<platform::ReplayKind::Ticks>();
      last = r.as<platform::ReplayKind::Ticks>();
    }
    if (r.kind == platform::ReplayKind::Frame) frames = r.as<platform::ReplayKind::Frame>().number;
  }
  std::printf("recording: %s, %u frames, %.1f s of play, %.0f kB\n", file.c_str(), frames,
              static_cast<double>(static_cast<uint32_t>(last - first)) / 1000,
              static_cast<double>(std::filesystem::file_size(file)) / 1024);
  return static_cast<double>(static_cast<uint32_t>(last - first)) / 1000;
}

// The best of three replays: wall time, and the process's own processor time (which
// other programs on a busy machine do not lengthen).
struct Times {
  double wall = 1e9;
  double cpu = 1e9;
};

Times bestReplaySeconds(const std::string& file) {
  Times best;
  for (int run = 0; run < 3; ++run) {
    std::FILE* sink = std::fopen("/dev/null", "w");
    const auto start = Clock::now();
    const std::clock_t cpuStart = std::clock();
    const int code = ReplayGame(file, nullptr, "", sink, stderr);
    best.cpu = std::min(best.cpu, static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC);
    best.wall = std::min(best.wall, secondsSince(start));
    std::fclose(sink);
    if (code != 0) std::printf("the replay did not end as recorded\n");
  }
  return best;
}

double fillAndCopySeconds() {
  std::vector<uint16_t> page(800 * 600);
  std::vector<uint16_t> shown(page.size());
  double best = 1e9;
  for (int i = 0; i < 200; ++i) {
    const auto start = Clock::now();
    std::fill(page.begin(), page.end(), static_cast<uint16_t>(i));
    std::memcpy(shown.data(), page.data(), page.size() * sizeof(uint16_t));
    best = std::min(best, secondsSince(start));
  }
  volatile uint16_t sink = shown[7];
  (void)sink;
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  GameFolder folder;  // the game's data, and records nobody else's
  const std::string game = argc > 1 ? std::filesystem::absolute(argv[1]).string()
                                    : folder.path("scripted.replay").string();
  if (argc <= 1) recordScriptedGame(game, 3);
  const std::string quit = folder.path("quit.replay").string();
  recordQuitAtOnce(quit);

  const double played = recordedSeconds(game);
  const Times replay = bestReplaySeconds(game);
  const Times quitting = bestReplaySeconds(quit);
  const double replayed = replay.wall;
  const double startUp = quitting.wall;
  platform::ReplayReader reader(platform::readReplayFile(game));
  uint32_t frames = 0;
  while (!reader.ended()) {
    const platform::ReplayRecord& r = reader.next();
    if (r.kind == platform::ReplayKind::Frame) frames = r.as<platform::ReplayKind::Frame>().number;
  }
  const double perFrame = (replayed - startUp) / std::max<uint32_t>(frames, 1);
  std::printf("headless replay: %.2f s = %.0f x real time (%.0f x without the %.2f s start-up)\n",
              replayed, played / replayed, played / std::max(replayed - startUp, 1e-6), startUp);
  std::printf("  by the replay's own processor time: %.2f s = %.0f x real time\n", replay.cpu,
              played / replay.cpu);
  std::printf("  a frame replays in %.3f ms = %.1f x a plain 800x600 fill and copy (%.3f ms)\n",
              perFrame * 1000, perFrame / fillAndCopySeconds(), fillAndCopySeconds() * 1000);
  return 0;
}
