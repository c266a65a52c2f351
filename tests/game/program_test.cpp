// Whole runs of the program: a scripted game played and recorded on the fake platform,
// then played back headless from its file.

#include "game/program.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "game/start_up.h"
#include "platform/fake_platform.h"
#include "platform/virtual_keys.h"
#include "support/game_folder.h"
#include "support/scripted_play.h"

namespace {

using platform::VK_ESCAPE;
using platform::VK_RIGHT;
using platform::VK_UP;

// What a run printed on its two streams.
struct Printed {
  std::string out;
  std::string err;
};

class Capture {
 public:
  Capture() : file_(std::tmpfile()) {}
  ~Capture() { std::fclose(file_); }
  std::FILE* file() { return file_; }
  std::string text() {
    std::fflush(file_);
    std::rewind(file_);
    std::string text;
    for (int c; (c = std::fgetc(file_)) != EOF;) text += static_cast<char>(c);
    return text;
  }

 private:
  std::FILE* file_;
};

int replayHeadless(const std::string& file, Printed& printed) {
  Capture out;
  Capture err;
  const int code = ReplayGame(file, nullptr, "", out.file(), err.file());
  printed = {out.text(), err.text()};
  return code;
}

// A short game: a new game, a swim to the right and up, the menu, then the quit item.
int recordShortGame(const std::string& file) {
  platform::FakePlatform fake;
  ScriptedPlay play(fake, 16);
  play.at(100, [](ScriptedPlay& p) { p.focus(true); })
      .at(500, [](ScriptedPlay& p) { p.click(600, 175); })
      .at(600, [](ScriptedPlay& p) { p.hold({VK_RIGHT}); })
      .at(2000, [](ScriptedPlay& p) { p.hold({VK_UP}); })
      .at(3000, [](ScriptedPlay& p) { p.key(p.mainWindow(), VK_ESCAPE); })
      .at(3500, [](ScriptedPlay& p) { p.click(200, 375); });
  return PlayGame(fake, TGameOptions{}, file);
}

TEST(RecordedGame, AScriptedGamePlaysBackHeadlessToTheSameEndState) {
  GameFolder folder;
  const std::string file = folder.path("short.replay").string();
  ASSERT_EQ(recordShortGame(file), 0);
  Printed printed;
  ASSERT_EQ(replayHeadless(file, printed), 0) << printed.err;
  EXPECT_EQ(printed.err, "");
  EXPECT_NE(printed.out.find("level 1, "), std::string::npos) << printed.out;
}

}  // namespace
