#include "tools/soak/soak.h"

#include <malloc.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>

#include "engine/input/dx_input.h"
#include "engine/sprite/sprite_engine.h"
#include "framework/application.h"
#include "framework/edit_control.h"
#include "game/game_vars.h"
#include "game/main_form.h"
#include "game/name_entry_form.h"
#include "game/records.h"
#include "game/start_up.h"
#include "platform/fake_input.h"
#include "platform/fake_platform.h"
#include "platform/virtual_keys.h"

namespace {

namespace fs = std::filesystem;

using platform::VK_BACK;
using platform::VK_DELETE;
using platform::VK_DOWN;
using platform::VK_END;
using platform::VK_ESCAPE;
using platform::VK_HOME;
using platform::VK_LEFT;
using platform::VK_NUMPAD2;
using platform::VK_NUMPAD4;
using platform::VK_NUMPAD6;
using platform::VK_NUMPAD8;
using platform::VK_RETURN;
using platform::VK_RIGHT;
using platform::VK_SPACE;
using platform::VK_UP;

// The keys that steer the shark.
constexpr uint16_t kSteering[] = {VK_LEFT, VK_UP, VK_RIGHT,   VK_DOWN,    'H',        'J',
                                  'K',     'L',   VK_NUMPAD2, VK_NUMPAD4, VK_NUMPAD6, VK_NUMPAD8};
const char* const kTyped[] = {"a", "Z", "7", " ", "Ж", "я", "Ё", "-", "ü", "🦈", "~", "!"};

// A field of the process's status in MB. Memory the allocator holds free is handed back
// first, so that the figure follows what the program keeps, not the allocator's reserve.
double memoryMb(const char* field) {
  malloc_trim(0);
  std::ifstream status("/proc/self/status");
  std::string line;
  const std::string key = std::string(field) + ":";
  while (std::getline(status, line)) {
    if (line.rfind(key, 0) == 0) return std::stod(line.substr(key.size())) / 1024.0;
  }
  return -1;
}

// A game folder of the soak's own: the pictures linked, the records file copied, so the
// game may save records without touching the Data folder it was given.
class SoakFolder {
 public:
  explicit SoakFolder(const fs::path& data) {
    std::string pattern = (fs::temp_directory_path() / "reefmaw_soak_XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary folder");
    root_ = pattern;
    fs::create_directories(root_ / "Data");
    for (const auto& entry : fs::directory_iterator(data)) {
      const fs::path target = root_ / "Data" / entry.path().filename();
      if (entry.path().filename() == "rec.rmw") {
        fs::copy_file(entry.path(), target);
      } else {
        fs::create_symlink(fs::absolute(entry.path()), target);
      }
    }
    previous_ = fs::current_path();
    fs::current_path(root_);
  }
  ~SoakFolder() {
    std::error_code ec;
    fs::current_path(previous_, ec);
    fs::remove_all(root_, ec);
  }
  std::string records() const {
    std::ifstream in(root_ / "Data" / "rec.rmw", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

 private:
  fs::path root_;
  fs::path previous_;
};

// One run of the program: its platform, application and windows.
struct Session {
  platform::FakePlatform platform;
  std::unique_ptr<TApplication> app;
  TGameWindows windows;
  std::shared_ptr<platform::FakeJoystickDevice> stick;
};

class Soak {
 public:
  Soak(const SoakOptions& options, SoakReport& report)
      : options_(options), report_(report), random_(options.seed), folder_(options.dataDir) {
    lastRecords_ = folder_.records();
  }

  void run() {
    const double targetMs = options_.minutes * 60000.0;
    while (simulatedMs_ < targetMs && report_.failures.empty()) {
      startSession();
      while (!session_->app->Terminated() && simulatedMs_ < targetMs && report_.failures.empty()) {
        session_->app->HandleMessage();
      }
      endSession();
    }
    report_.peakMemoryMb = memoryMb("VmHWM");
    report_.memoryGrowthMbPerHour = MemoryGrowthPerHour(report_.memoryByMinuteMb);
    if (report_.memoryGrowthMbPerHour > options_.allowedGrowthMbPerHour) {
      char what[96];
      std::snprintf(what, sizeof what, "private memory grows by %.2f MB an hour",
                    report_.memoryGrowthMbPerHour);
      fail(what);
    }
  }

 private:
  void fail(const std::string& what) {
    std::ostringstream where;
    where << what << " (frame " << report_.frames << ", seed " << options_.seed << ")";
    report_.failures.push_back(where.str());
  }

  void startSession() {
    session_ = std::make_unique<Session>();
    Session& s = *session_;
    auto& input = static_cast<platform::FakeInputSystem&>(s.platform.input());
    s.stick = input.plugJoystick(2, 12, true);
    s.platform.setDesktopMode({1280, 1024, 32, 60});
    s.platform.setDisplayModes({{800, 600, 32, 60}, {1280, 1024, 32, 60}});
    s.app = std::make_unique<TApplication>(s.platform);
    s.app->OnShowMessage = [this](const std::string& text) {
      if (text == "Cheater!") {
        ++report_.cheats;
      } else {
        fail("unexpected message: " + text);
      }
    };
    GameVars = TGameVars{};
    s.windows = CreateGameWindows(*s.app);
    TMainForm& main = *s.windows.MainForm;
    main.DXTimer->OnTimer = [this, frame = main.DXTimer->OnTimer](TObject* sender, int32_t lag) {
      const TGameVars before = GameVars;
      frame(sender, lag);
      afterFrame(before);
    };
    main.Show();
    s.platform.events().pushFocus(main.Handle()->id(), true);
    ++report_.sessions;
  }

  void endSession() {
    session_.reset();
    lastState_ = gsMenu;
    GameVars = TGameVars{};
  }

  // Watches what the frame did, then acts for the player before the next one.
  void afterFrame(const TGameVars& before) {
    Session& s = *session_;
    ++report_.frames;
    simulatedMs_ += options_.frameMs;
    s.platform.clock().advance(static_cast<uint32_t>(options_.frameMs));
    // A new game: the menu's item 3 left the scene obsolete at level 1.
    if (lastState_ == gsMenu && before.GameState == gsPlay && before.LevelReady == 0)
      ++report_.gamesPlayed;
    lastState_ = GameVars.GameState;
    if (before.GameState != gsLevelIntro && GameVars.GameState == gsLevelIntro)
      ++report_.levelsReached;
    if (before.GameState != gsGameOver && GameVars.GameState == gsGameOver) ++report_.gamesOver;
    report_.highestLevel = std::max(report_.highestLevel, GameVars.Level);
    const int sprites = s.windows.MainForm->DXSpriteEngine->Engine->SpriteCount();
    report_.peakSprites = std::max(report_.peakSprites, sprites);
    if (sprites > options_.maxSprites) fail("live sprites: " + std::to_string(sprites));
    checkRecords();
    const double minute = simulatedMs_ / 60000.0;
    // Memory is read while the game runs, a simulated second at a time; each minute keeps
    // its lowest reading.
    if (static_cast<int64_t>(simulatedMs_) / 1000 !=
        static_cast<int64_t>(simulatedMs_ - options_.frameMs) / 1000) {
      report_.memoryEndMb = memoryMb("RssAnon");
      minuteLowMb_ = std::min(minuteLowMb_, report_.memoryEndMb);
    }
    if (static_cast<int64_t>(simulatedMs_) / 60000 !=
        static_cast<int64_t>(simulatedMs_ - options_.frameMs) / 60000) {
      report_.memoryByMinuteMb.push_back(minuteLowMb_);
      minuteLowMb_ = 1e9;
      if (options_.progress) {
        std::fprintf(
            stderr, "soak: minute %d, %lld frames, %d games, level %d, %d records, %.2f MB\n",
            static_cast<int>(minute), static_cast<long long>(report_.frames), report_.gamesPlayed,
            report_.highestLevel, report_.recordsSaved, report_.memoryByMinuteMb.back());
      }
    }
    // The soak's own pad keeps a log of every effect call; the game never reads it, and
    // it is no memory of the game's.
    if (s.stick->motor) s.stick->motor->log.clear();
    act();
  }

  // After a save, the file must be a whole table.
  void checkRecords() {
    const std::string now = folder_.records();
    if (now == lastRecords_) return;
    lastRecords_ = now;
    ++report_.recordsSaved;
    int lines = 0;
    for (size_t i = 0; i + 1 < now.size(); ++i) lines += now.compare(i, 2, "\r\n") == 0 ? 1 : 0;
    if (lines != 20 || now.size() < 2 || now.compare(now.size() - 2, 2, "\r\n") != 0) {
      fail("records file of " + std::to_string(lines) + " lines after a save");
      return;
    }
    try {
      const TRecordTable table = ParseRecords(now);
      for (int k = 1; k < kRecordCount; ++k) {
        if (table.Scores[static_cast<size_t>(k)] > table.Scores[static_cast<size_t>(k - 1)]) {
          fail("records out of order after a save");
        }
      }
    } catch (const std::exception& e) {
      fail(std::string("records file unreadable after a save: ") + e.what());
    }
  }

  int roll(int n) { return static_cast<int>(random_() % static_cast<uint64_t>(n)); }
  bool chance(int inThousand) { return roll(1000) < inThousand; }

  // A point on the drawing surface, mostly on the menu's items, seldom on "quit".
  void randomPoint(int& x, int& y) {
    if (chance(600)) {
      const int pick = roll(100);
      const int item = pick < 35 ? 3 : pick < 60 ? 4 : pick < 78 ? 5 : pick < 97 ? 6 : 7;
      x = 800 - 100 * item + roll(201);
      y = 50 * item + roll(51);
    } else {
      x = roll(900) - 50;
      y = roll(700) - 50;
    }
  }

  void act() {
    Session& s = *session_;
    platform::FakeEventSource& events = s.platform.events();
    const uint32_t mainId = s.windows.MainForm->Handle()->id();
    TForm1& form1 = *s.windows.Form1;
    auto& input = static_cast<platform::FakeInputSystem&>(s.platform.input());

    if (form1.Modal()) {
      actInNameEntry(form1);
      return;
    }
    // The shark's keys and stick change now and then.
    if (chance(30)) {
      input.keys.fill(0);
      for (uint16_t k : kSteering) {
        if (chance(150)) input.setKey(k, true);
      }
    }
    if (chance(10)) {
      platform::JoystickReading& r = s.stick->state;
      for (int axis = 0; axis < 2; ++axis)
        r.axes[static_cast<size_t>(axis)] = r.axisMin + roll(r.axisMax - r.axisMin + 1);
      if (chance(500)) r.axes[0] = r.axes[1] = (r.axisMin + r.axisMax) / 2;
    }
    // Window events, a few a second.
    const int what = roll(1000);
    int x = 0;
    int y = 0;
    if (what < 40) {
      randomPoint(x, y);
      events.pushMouseMove(mainId, x, y);
    } else if (what < 55) {
      randomPoint(x, y);
      const auto button = static_cast<platform::MouseButton>(roll(3));
      events.pushMouseMove(mainId, x, y);
      events.pushMouseDown(mainId, x, y, button);
      events.pushMouseUp(mainId, x, y, button);
    } else if (what < 58) {
      // Leaving play is rare: games must last to their end now and then.
      if (GameVars.GameState != gsPlay || chance(50)) events.pushKeyDown(mainId, VK_ESCAPE);
    } else if (what < 61) {
      events.pushKeyDown(mainId, VK_RETURN, platform::ssAlt);
      ++report_.fullScreenSwitches;
    } else if (what < 63) {
      events.pushChar(mainId, kTyped[roll(std::size(kTyped))]);
    } else if (what < 64) {
      events.pushFocus(mainId, false);
    } else if (what < 70) {
      events.pushFocus(mainId, true);
    } else if (what < 71) {
      const uint16_t k = kSteering[roll(std::size(kSteering))];
      events.pushKeyDown(mainId, k);
      events.pushKeyUp(mainId, k);
    } else if (what < 74) {
      // The menu and the screens by the keys: Enter and Space choose and go on.
      const uint16_t k = chance(500) ? VK_RETURN : VK_SPACE;
      events.pushKeyDown(mainId, k);
      events.pushKeyUp(mainId, k);
    } else if (what < 78) {
      // The stick's buttons as a pad's: A, B, Back and Start; the last three leave play.
      const int buttons[] = {platform::kPadA, platform::kPadB, platform::kPadBack,
                             platform::kPadStart};
      const int button = buttons[roll(std::size(buttons))];
      if (GameVars.GameState != gsPlay || button == platform::kPadA || chance(50)) {
        s.stick->press(button);
        s.stick->press(button, false);
      }
    } else if (what < 81) {
      s.stick->state.pov = chance(300) ? -1 : 4500 * roll(8);
    }
  }

  // The player types a name, edits it, confirms with Enter or the picture, or tries to
  // close the window.
  void actInNameEntry(TForm1& form1) {
    platform::FakeEventSource& events = session_->platform.events();
    const uint32_t id = form1.Handle()->id();
    const int what = roll(100);
    if (what < 40) {
      events.pushChar(id, kTyped[roll(std::size(kTyped))]);
    } else if (what < 55) {
      const uint16_t keys[] = {VK_BACK, VK_DELETE, VK_LEFT, VK_RIGHT, VK_HOME, VK_END};
      events.pushKeyDown(id, keys[roll(std::size(keys))],
                         chance(300) ? uint32_t{platform::ssShift} : 0u);
    } else if (what < 60) {
      events.pushKeyDown(id, VK_RETURN);
    } else if (what < 63) {
      events.pushMouseDown(id, 100 + roll(70), 45 + roll(25));  // on the picture button
      events.pushMouseUp(id, 100 + roll(70), 45 + roll(25));
    } else if (what < 66) {
      events.pushMouseDown(id, roll(184), roll(73));
      events.pushMouseUp(id, roll(184), roll(73));
    } else if (what < 67) {
      events.pushClose(id);
    } else if (what < 68) {
      events.pushFocus(id, false);
      events.pushFocus(id, true);
    } else if (what < 70) {
      // A or Start on the pad confirms the name shown.
      session_->stick->press(chance(500) ? platform::kPadA : platform::kPadStart);
      session_->stick->press(platform::kPadA, false);
      session_->stick->press(platform::kPadStart, false);
    }
  }

  const SoakOptions& options_;
  SoakReport& report_;
  std::mt19937_64 random_;
  SoakFolder folder_;
  std::unique_ptr<Session> session_;
  std::string lastRecords_;
  double simulatedMs_ = 0;
  double minuteLowMb_ = 1e9;
  int32_t lastState_ = gsMenu;
};

}  // namespace

double MemoryGrowthPerHour(const std::vector<double>& byMinuteMb) {
  const size_t half = byMinuteMb.size() / 2;
  if (byMinuteMb.size() < 10) return 0;
  std::vector<double> slopes;
  for (size_t i = half; i < byMinuteMb.size(); ++i) {
    for (size_t j = i + 1; j < byMinuteMb.size(); ++j) {
      slopes.push_back((byMinuteMb[j] - byMinuteMb[i]) / static_cast<double>(j - i));
    }
  }
  std::nth_element(slopes.begin(), slopes.begin() + static_cast<std::ptrdiff_t>(slopes.size() / 2),
                   slopes.end());
  return slopes[slopes.size() / 2] * 60;
}

SoakReport RunSoak(const SoakOptions& options) {
  SoakReport report;
  try {
    Soak soak(options, report);
    soak.run();
  } catch (const std::exception& e) {
    report.failures.push_back(std::string("unexpected exception: ") + e.what());
  }
  return report;
}

std::string FormatSoakReport(const SoakOptions& options, const SoakReport& report) {
  std::ostringstream out;
  out << "soak, seed " << options.seed << ", " << options.minutes << " simulated minutes at "
      << options.frameMs << " ms a frame\n"
      << "  frames run:        " << report.frames << "\n"
      << "  program runs:      " << report.sessions << "\n"
      << "  games played:      " << report.gamesPlayed << " (" << report.gamesOver << " ended)\n"
      << "  levels reached:    " << report.levelsReached << " intros, highest level "
      << report.highestLevel << "\n"
      << "  records saved:     " << report.recordsSaved << "\n"
      << "  cheats, switches:  " << report.cheats << ", " << report.fullScreenSwitches << "\n"
      << "  peak live sprites: " << report.peakSprites << "\n";
  out.setf(std::ios::fixed);
  out.precision(1);
  const std::vector<double>& byMinute = report.memoryByMinuteMb;
  const auto [low, high] = std::minmax_element(byMinute.begin(), byMinute.end());
  out << "  private memory:    " << (byMinute.empty() ? 0.0 : *low) << " to "
      << (byMinute.empty() ? 0.0 : *high) << " MB a minute at its lowest, " << report.memoryEndMb
      << " MB at the end; growth " << report.memoryGrowthMbPerHour
      << " MB an hour over the second half; peak resident " << report.peakMemoryMb << " MB\n";
  out << (report.passed() ? "  PASSED\n" : "  FAILED\n");
  for (const std::string& f : report.failures) out << "  " << f << "\n";
  return out.str();
}
