#include "game/settings.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "platform/virtual_keys.h"
#include "support/crash_rounds.h"
#include "support/scoped_environment.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using platform::VK_NUMPAD8;
using platform::VK_UP;

struct SettingsTest : ::testing::Test {
  TempFolder temp;
  const fs::path& dir = temp.path();
  const fs::path path = dir / "reefmaw.ini";
  std::vector<std::string> warnings;

  std::string read() const { return FileBytes(path); }
  void write(const std::string& text) const { WriteFileBytes(path, text); }
  Settings load() {
    SettingsFile file = OpenSettingsFile(path.string());
    return LoadSettings(file, false, warnings);
  }
};

TEST_F(SettingsTest, TheDefaultsPlayAsTheGameAlwaysHas) {
  const Settings s = load();
  EXPECT_TRUE(warnings.empty());
  EXPECT_TRUE(s.fullscreen);
  EXPECT_EQ(s.windowWidth, 800);
  EXPECT_EQ(s.windowHeight, 600);
  EXPECT_TRUE(s.windowCentred);
  EXPECT_EQ(s.scaling, ScalingMode::Fit);
  EXPECT_TRUE(s.vsync);
  EXPECT_TRUE(s.pauseWhenInactive);
  EXPECT_TRUE(s.joystick);
  EXPECT_EQ(s.padDeadZone, 50);
  EXPECT_TRUE(s.rumble);
  EXPECT_EQ(s.language, "auto");
  EXPECT_EQ(s.directionKeys[0], (std::array<uint16_t, 3>{VK_UP, VK_NUMPAD8, 'K'}));
  const std::string text = read();
  for (const char* line :
       {"[display]\n", "fullscreen=true\n", "window_size=800x600\n", "window_position=center\n",
        "scaling=fit\n", "vsync=true\n", "[game]\n", "pause_when_inactive=true\n", "[keys]\n",
        "up=Up;KP_8;K\n", "down=Down;KP_2;J\n", "left=Left;KP_4;H\n", "right=Right;KP_6;L\n",
        "[joystick]\n", "enabled=true\n", "dead_zone=50\n", "rumble=true\n", "language=auto\n"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line;
  }
  // A comment above every group's first key says what it does.
  EXPECT_NE(text.find("# true: the game fills the screen"), std::string::npos);
  EXPECT_NE(text.find("# The keys that steer the shark"), std::string::npos);
}

TEST_F(SettingsTest, EveryValueIsReadAsThePlayerWroteIt) {
  write(
      "[display]\nfullscreen=no\nwindow_size=1024x768\nwindow_position= -20, 40 \n"
      "scaling=Integer\nvsync=off\n[game]\npause_when_inactive=false\nlanguage= EN \n"
      "[keys]\nup=W ; Up\ndown=s\nleft=a;KP_4;comma\nright=D\n[joystick]\nenabled=0\n"
      "dead_zone=20\nrumble=off\n");
  const Settings s = load();
  EXPECT_TRUE(warnings.empty()) << warnings[0];
  EXPECT_FALSE(s.fullscreen);
  EXPECT_EQ(s.windowWidth, 1024);
  EXPECT_EQ(s.windowHeight, 768);
  EXPECT_FALSE(s.windowCentred);
  EXPECT_EQ(s.windowX, -20);
  EXPECT_EQ(s.windowY, 40);
  EXPECT_EQ(s.scaling, ScalingMode::Integer);
  EXPECT_FALSE(s.vsync);
  EXPECT_FALSE(s.pauseWhenInactive);
  EXPECT_FALSE(s.joystick);
  EXPECT_EQ(s.padDeadZone, 20);
  EXPECT_FALSE(s.rumble);
  EXPECT_EQ(s.language, "en");
  EXPECT_EQ(s.directionKeys[0], (std::array<uint16_t, 3>{'W', VK_UP, 0}));
  EXPECT_EQ(s.directionKeys[1], (std::array<uint16_t, 3>{'S', 0, 0}));
  EXPECT_EQ(WriteSettings(s)[0], "false");
  EXPECT_EQ(WriteSettings(s)[2], "-20,40");
  EXPECT_EQ(WriteSettings(s)[6], "W;Up");
}

TEST_F(SettingsTest, ABadValueGetsItsDefaultAndOneWarningLineEach) {
  write(
      "[display]\nfullscreen=maybe\nwindow_size=0x0\nwindow_position=left\nscaling=stretch\n"
      "vsync=true\n[keys]\nup=Up;Warp\ndown=1;2;3;4\nleft=\nright=L\n[joystick]\ndead_zone=150\n"
      "[game]\nlanguage=de\n");
  const std::string before = read();
  const Settings s = load();
  ASSERT_EQ(warnings.size(), 9u);
  for (const char* key :
       {"fullscreen=maybe", "window_size=0x0", "window_position=left", "scaling=stretch",
        "up=Up;Warp:", "down=1;2;3;4:", "left=:", "dead_zone=150:", "language=de:"}) {
    bool named = false;
    for (const std::string& w : warnings) named = named || w.find(key) != std::string::npos;
    EXPECT_TRUE(named) << key;
  }
  for (const std::string& w : warnings) {
    EXPECT_EQ(w.find('\n'), std::string::npos) << w;
    EXPECT_NE(w.find(path.string()), std::string::npos) << w;
  }
  const Settings defaults;
  EXPECT_TRUE(s.fullscreen);
  EXPECT_EQ(s.windowWidth, 800);
  EXPECT_TRUE(s.windowCentred);
  EXPECT_EQ(s.scaling, ScalingMode::Fit);
  for (int d = 0; d < 3; ++d) EXPECT_EQ(s.directionKeys[d], defaults.directionKeys[d]) << d;
  EXPECT_EQ(s.directionKeys[3], (std::array<uint16_t, 3>{'L', 0, 0}));
  EXPECT_EQ(s.padDeadZone, 50);
  EXPECT_EQ(s.language, "auto");
  // The player's text stays for the player to mend; only the missing keys were added.
  EXPECT_EQ(read().rfind(before.substr(0, before.find("[keys]")), 0), 0u);
  EXPECT_NE(read().find("fullscreen=maybe\n"), std::string::npos);
}

// The ends of every range read; one past them does not.
TEST_F(SettingsTest, EachRangeTakesItsEndsAndNothingPast) {
  const struct {
    const char* text;
    int deadZone;  // -1: refused
  } cases[] = {
      {"[joystick]\ndead_zone=0\n", 0},
      {"[joystick]\ndead_zone=100\n", 100},
      {"[joystick]\ndead_zone=101\n", -1},
      {"[joystick]\ndead_zone=-1\n", -1},
      {"[display]\nwindow_position=-32767,32767\n", 50},
      {"[display]\nwindow_position=-32768,0\n", -1},
      {"[display]\nwindow_position=0,32768\n", -1},
  };
  for (const auto& c : cases) {
    warnings.clear();
    write(c.text);
    const Settings s = load();
    EXPECT_EQ(warnings.empty(), c.deadZone >= 0) << c.text;
    if (c.deadZone >= 0) {
      EXPECT_EQ(s.padDeadZone, c.deadZone) << c.text;
    }
  }
  write("[display]\nwindow_position=-32767,32767\n");
  EXPECT_EQ(WriteSettings(load())[2], "-32767,32767");
}

// Files edited on other systems may end their last line in a carriage return with no line
// feed: the first start and every later one read the same settings.
TEST_F(SettingsTest, CarriageReturnsAtALinesEndReadTheSameAtEveryStart) {
  for (const char* text : {"[keys]\nup=f\r", "[keys]\r\nup=f\r\r", "[keys]\r\nup=f\r\r\n"}) {
    write(text);
    const Settings first = load();
    EXPECT_EQ(first.directionKeys[0][0], 'F') << text;
    EXPECT_EQ(WriteSettings(load()), WriteSettings(first)) << text;
  }
}

TEST_F(SettingsTest, FlagsHoldForOneRunAndOnlyWhatChangesInTheGameIsSaved) {
  write("# my notes\n[display]\nfullscreen=true\n[mine]\nspeed=11\n");
  SettingsFile file = OpenSettingsFile(path.string());
  platform::CommandLine flags;
  flags.window = true;
  flags.width = 1024;
  flags.height = 768;
  flags.noJoystick = true;
  flags.language = "ru";
  const Settings run = WithFlags(LoadSettings(file, false, warnings), flags);
  EXPECT_FALSE(run.fullscreen);
  EXPECT_EQ(run.windowWidth, 1024);
  EXPECT_FALSE(run.joystick);
  EXPECT_EQ(run.language, "ru");
  const std::string before = read();
  SaveChangedSettings(file, run, run, warnings);
  EXPECT_EQ(read(), before);  // the flags are not the player's choice
  // Alt+Enter during the run, and the window moved: both are saved, nothing else.
  Settings atExit = run;
  atExit.fullscreen = true;
  atExit.windowCentred = false;
  atExit.windowX = 10;
  atExit.windowY = 20;
  SaveChangedSettings(file, run, atExit, warnings);
  const std::string after = read();
  EXPECT_NE(after.find("fullscreen=true\n"), std::string::npos);
  EXPECT_NE(after.find("window_position=10,20\n"), std::string::npos);
  EXPECT_NE(after.find("window_size=800x600\n"), std::string::npos);
  EXPECT_NE(after.find("[joystick]\n# true: a joystick or game pad steers the shark too.\n"
                       "enabled=true\n"),
            std::string::npos);
  EXPECT_NE(after.find("# my notes\n"), std::string::npos);
  EXPECT_NE(after.find("[mine]\nspeed=11\n"), std::string::npos);
  EXPECT_TRUE(warnings.empty());
}

TEST_F(SettingsTest, TheFileLivesInTheUsersConfigFolderUnlessConfigNamesOne) {
  {
    ScopedVariable config("XDG_CONFIG_HOME", dir.c_str());
    EXPECT_EQ(OpenSettingsFile("").Path(), (dir / "reefmaw" / "reefmaw.ini").string());
    EXPECT_EQ(OpenSettingsFile(path.string()).Path(), path.string());
  }
  ScopedVariable config("XDG_CONFIG_HOME", nullptr);
  ScopedVariable home("HOME", nullptr);
  SettingsFile none = OpenSettingsFile("");
  EXPECT_EQ(none.Path(), "");
  EXPECT_TRUE(LoadSettings(none, false, warnings).fullscreen);
  EXPECT_TRUE(warnings.empty());
}

TEST_F(SettingsTest, ASaveKilledAtAnyMomentLeavesTheOldOrTheNewFile) {
  SettingsFile file = OpenSettingsFile(path.string());
  const Settings start = LoadSettings(file, false, warnings);
  Settings windowed = start;
  windowed.fullscreen = false;
  SaveChangedSettings(file, start, windowed, warnings);
  const std::string windowedText = read();
  SaveChangedSettings(file, windowed, start, warnings);
  const std::string fullText = read();
  ASSERT_NE(windowedText, fullText);

  std::mt19937 random(20261209);
  std::uniform_int_distribution<int> delay(0, 3000);
  int killed = 0;
  for (int round = 0; round < CrashRounds(100); ++round) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      std::vector<std::string> ignored;
      const char mark = 1;
      if (::write(fds[1], &mark, 1) != 1) _exit(2);
      for (int i = 0;; ++i) {
        SaveChangedSettings(file, i % 2 ? windowed : start, i % 2 ? start : windowed, ignored);
      }
    }
    close(fds[1]);
    char mark = 0;
    ASSERT_EQ(::read(fds[0], &mark, 1), 1);
    close(fds[0]);
    usleep(static_cast<useconds_t>(delay(random)));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    killed += WIFSIGNALED(status) ? 1 : 0;
    const std::string now = read();
    ASSERT_TRUE(now == windowedText || now == fullText) << "round " << round << ": " << now;
  }
  EXPECT_EQ(killed, CrashRounds(100));
}

}  // namespace
