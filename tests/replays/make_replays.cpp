// Makes the stored recordings that the suite replays: three scripted games played on the
// fake platform at 30 frames a second (the second at 20), each recorded as
// `reefmaw --record` records one.
// Run it again (build/test/tests/make_replays tests/replays) only when a change of the
// game's rules is meant, and put the end states it prints into program_test.cpp.
//
// - game_over.replay: a new game in which the shark stays where it starts until hunger
//   and harm end it; back to the menu, quit.
// - level_completed.replay: the shark sweeps the right of the sea until level 1 is
//   complete, plays on into level 2, leaves for the menu with Escape and quits.
// - alt_enter_and_name.replay: Alt+Enter to a window and back, the cheat key twice with
//   its "Cheater!" box, a death at level 3, a name typed into the name-entry window, the
//   records screen, then SIGTERM's close request.

#include <cstdio>
#include <filesystem>
#include <string>

#include "game/game_vars.h"
#include "game/program.h"
#include "game/settings.h"
#include "platform/fake_platform.h"
#include "platform/virtual_keys.h"
#include "support/game_folder.h"
#include "support/scripted_play.h"

namespace {

namespace fs = std::filesystem;
using platform::VK_DOWN;
using platform::VK_ESCAPE;
using platform::VK_RETURN;
using platform::VK_RIGHT;
using platform::VK_UP;

constexpr uint32_t kFrameMs = 33;
constexpr uint32_t kSlowFrameMs = 50;
// A script that has not ended its game by then closes it.
constexpr uint32_t kLongest = 900000;

bool inState(int32_t state) { return GameVars.GameState == state; }

// Up and down along the right edge, where the monsters come in, from `from` to `to`.
void sweepRight(ScriptedPlay& play, uint32_t from, uint32_t to) {
  play.at(from, [](ScriptedPlay& p) { p.hold({VK_RIGHT}); });
  for (uint32_t t = from + 1500; t < to; t += 4000) {
    play.at(t, [](ScriptedPlay& p) { p.hold({VK_UP}); });
    play.at(t + 2000, [](ScriptedPlay& p) { p.hold({VK_DOWN}); });
  }
}

// Level intros are clicked away as they come.
void playOnAfterIntros(ScriptedPlay& play, uint32_t from) {
  for (uint32_t t = from; t < kLongest; t += 5000) {
    play.at(t, [](ScriptedPlay& p) {
      if (inState(gsLevelIntro)) p.click(400, 300);
    });
  }
}

// From the game-over screen to the menu, then the quit item.
void quitAfterGameOver(ScriptedPlay& play) {
  play.when([] { return inState(gsGameOver); },
            [](ScriptedPlay& p) {
              p.hold({});
              const uint32_t now = p.fake().clock().peekTicks();
              p.at(now + 1000, [](ScriptedPlay& q) { q.click(400, 300); });
              p.at(now + 2000, [](ScriptedPlay& q) { q.click(200, 375); });
            });
}

void gameOver(ScriptedPlay& play) {
  play.at(100, [](ScriptedPlay& p) { p.focus(true); });
  play.at(1000, [](ScriptedPlay& p) { p.click(600, 175); });
  quitAfterGameOver(play);
}

void levelCompleted(ScriptedPlay& play) {
  play.at(100, [](ScriptedPlay& p) { p.focus(true); });
  play.at(1000, [](ScriptedPlay& p) { p.click(600, 175); });
  sweepRight(play, 1200, kLongest);
  // A game lost on the way: back to the menu and a new one.
  for (uint32_t t = 5000; t < kLongest; t += 5000) {
    play.at(t, [](ScriptedPlay& p) {
      if (!inState(gsGameOver)) return;
      p.click(400, 300);
      p.click(600, 175);
    });
  }
  play.when([] { return inState(gsLevelIntro); },
            [](ScriptedPlay& p) {
              const uint32_t now = p.fake().clock().peekTicks();
              p.at(now + 2000, [](ScriptedPlay& q) { q.click(400, 300); });
              p.at(now + 8000, [](ScriptedPlay& q) { q.key(q.mainWindow(), VK_ESCAPE); });
              p.at(now + 9000, [](ScriptedPlay& q) { q.click(200, 375); });
            });
}

void altEnterAndName(ScriptedPlay& play) {
  play.at(100, [](ScriptedPlay& p) { p.focus(true); });
  play.at(1000, [](ScriptedPlay& p) { p.key(p.mainWindow(), VK_RETURN, platform::ssAlt); });
  play.at(2000, [](ScriptedPlay& p) { p.click(600, 175); });
  play.at(2500, [](ScriptedPlay& p) { p.hold({VK_RIGHT, VK_UP}); });
  for (uint32_t cheat : {4000u, 9000u}) {
    play.at(cheat, [](ScriptedPlay& p) { p.type(p.mainWindow(), "~"); });
    play.when([&play] { return play.boxShown(); },
              [](ScriptedPlay& p) { p.key(p.topWindow(), VK_RETURN); }, cheat);
    play.at(cheat + 3000, [](ScriptedPlay& p) { p.click(400, 300); });  // intro: play on
  }
  play.at(13000, [](ScriptedPlay& p) { p.key(p.mainWindow(), VK_RETURN, platform::ssAlt); });
  sweepRight(play, 14000, kLongest);
  playOnAfterIntros(play, 15000);
  play.when([&play] { return inState(gsGameOver) && play.boxShown(); },
            [](ScriptedPlay& p) {
              p.hold({});
              p.type(p.topWindow(), "Акула");
              p.key(p.topWindow(), VK_RETURN);
              const uint32_t now = p.fake().clock().peekTicks();
              p.at(now + 1000, [](ScriptedPlay& q) { q.click(400, 300); });  // to the menu
              p.at(now + 2000, [](ScriptedPlay& q) { q.click(400, 275); });  // records
              p.at(now + 4000, [](ScriptedPlay& q) { q.click(400, 300); });
              p.at(now + 5000, [](ScriptedPlay& q) { q.close(); });
            },
            14000);
}

void make(const fs::path& folder, const std::string& name, void (*script)(ScriptedPlay&),
          uint32_t frameMs = kFrameMs) {
  GameFolder game;  // records saved by the script stay there
  const std::string file = (folder / name).string();
  platform::FakePlatform fake;
  {
    ScriptedPlay play(fake, frameMs);
    script(play);
    play.at(kLongest, [](ScriptedPlay& p) { p.close(); });
    PlayGame(fake, Settings{}, file);
  }
  std::printf("%s: ", name.c_str());
  std::fflush(stdout);
  ReplayGame(file, nullptr, "", stdout, stderr);
}

}  // namespace

int main(int argc, char** argv) {
  const fs::path folder =
      fs::absolute(argc > 1 ? fs::path(argv[1]) : fs::path(REEFMAW_SOURCE_DIR) / "tests/replays");
  fs::create_directories(folder);
  make(folder, "game_over.replay", gameOver);
  make(folder, "level_completed.replay", levelCompleted, kSlowFrameMs);
  make(folder, "alt_enter_and_name.replay", altEnterAndName);
  return 0;
}
