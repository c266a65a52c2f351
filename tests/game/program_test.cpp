// Whole runs of the program: a scripted game played and recorded on the fake platform,
// then played back headless from its file.

#include "game/program.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "game/game_texts.h"
#include "game/records.h"
#include "game/settings.h"
#include "platform/fake_platform.h"
#include "platform/replay_file.h"
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
  return PlayGame(fake, Settings{}, file);
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

TEST(RecordedGame, TheGamePlaysBackWithTheSettingsItWasRecordedWith) {
  GameFolder folder;
  const std::string file = folder.path("settings.replay").string();
  {
    // Play runs on in the background, and the shark steers with W alone: a replay with
    // the player's settings instead would pause, and leave the recording.
    Settings settings;
    settings.pauseWhenInactive = false;
    settings.directionKeys[0] = {'W', 0, 0};
    platform::FakePlatform fake;
    ScriptedPlay play(fake, 20);
    play.at(100, [](ScriptedPlay& p) { p.focus(true); })
        .at(500, [](ScriptedPlay& p) { p.click(600, 175); })
        .at(600, [](ScriptedPlay& p) { p.hold({'W'}); })
        .at(1500, [](ScriptedPlay& p) { p.focus(false); })
        .at(4000, [](ScriptedPlay& p) { p.close(); });
    ASSERT_EQ(PlayGame(fake, settings, file), 0);
  }
  Printed printed;
  EXPECT_EQ(replayHeadless(file, printed), 0) << printed.err;
}

TEST(RecordedGame, NothingButTheRecordedGamePlaysBack) {
  GameFolder folder;
  const std::string file = folder.path("short.replay").string();
  ASSERT_EQ(recordShortGame(file), 0);
  Printed printed;
  // Three files that are not recordings to be played.
  for (const std::string name : {"missing.replay", "Data/rec.rmw", "Data"}) {
    EXPECT_EQ(replayHeadless(folder.path(name).string(), printed), 1) << name;
    EXPECT_EQ(printed.out, "");
    EXPECT_EQ(printed.err.find("reefmaw: " + folder.path(name).string() + ": "), 0u);
    EXPECT_EQ(printed.err.find('\n'), printed.err.size() - 1) << printed.err;  // one line
  }
  const std::string bytes = folder.read("short.replay");
  folder.write("cut.replay", bytes.substr(0, bytes.size() / 2));
  EXPECT_EQ(replayHeadless(folder.path("cut.replay").string(), printed), 1);
  EXPECT_EQ(printed.err,
            "reefmaw: " + folder.path("cut.replay").string() + ": the recording is cut short\n");
}

// The file rewritten with the high-resolution counter's readings in one frame changed:
// the game seeds its random numbers from them, so its state goes another way there.
void changeCounterReadingsOf(uint32_t frame, const std::string& from, const std::string& to) {
  platform::ReplayReader reader(platform::readReplayFile(from));
  platform::ReplayWriter writer(to, reader.header());
  uint32_t lastFrame = 0;
  while (!reader.ended()) {
    platform::ReplayRecord record = reader.next();
    using platform::ReplayKind;
    if (record.kind == ReplayKind::Frame) lastFrame = record.as<ReplayKind::Frame>().number;
    if (record.kind == ReplayKind::Counter && lastFrame + 1 == frame) {
      record = platform::ReplayRecord::of<ReplayKind::Counter>(record.as<ReplayKind::Counter>() +
                                                               0x12345678);
    }
    if (record.kind == ReplayKind::End) {
      const platform::EndCheck& end = record.as<ReplayKind::End>();
      writer.finish(end.state, end.digest);
    } else {
      writer.write(record);
    }
  }
}

TEST(RecordedGame, AGameThatGoesAnotherWayNamesTheFirstFrameThatDiffers) {
  GameFolder folder;
  const std::string file = folder.path("short.replay").string();
  ASSERT_EQ(recordShortGame(file), 0);
  const std::string changed = folder.path("changed.replay").string();
  changeCounterReadingsOf(100, file, changed);
  Printed printed;
  EXPECT_EQ(replayHeadless(changed, printed), 1);
  EXPECT_EQ(printed.err,
            "reefmaw: " + changed + ": the game's state differs from the recording at frame 100\n");
  EXPECT_NE(printed.out.find("frames 100"), std::string::npos) << printed.out;
}

TEST(RecordedGame, AChangedPictureShowsAtTheFirstFrame) {
  GameFolder folder;
  const std::string file = folder.path("short.replay").string();
  ASSERT_EQ(recordShortGame(file), 0);
  // Another picture for the shark: the shark of level 1, built before the first frame,
  // takes its size.
  folder.remove("Data/Monsters/player/akula2.bmp");
  std::filesystem::create_symlink(std::filesystem::path(REEFMAW_SOURCE_DIR) / "Data/Fon/panel.bmp",
                                  folder.path("Data/Monsters/player/akula2.bmp"));
  Printed printed;
  EXPECT_EQ(replayHeadless(file, printed), 1);
  EXPECT_EQ(printed.err,
            "reefmaw: " + file + ": the game's state differs from the recording at frame 1\n");
}

// The three stored games, replayed to their recorded end states.
// Words and pictures with words are no part of a game's state, which every frame of a
// replay checks: a recording plays back the same in either language.
struct StoredReplay {
  const char* file;
  const char* endState;
  TLanguage language = lgRussian;
};

class StoredReplays : public ::testing::TestWithParam<StoredReplay> {};

TEST_P(StoredReplays, PlayBackToTheirEndStateWithTheRecordedRecords) {
  GameFolder folder;
  const std::string file = std::string(REEFMAW_SOURCE_DIR) + "/tests/replays/" + GetParam().file;
  // Records no game could beat: if a replay read these, no name would be asked for,
  // and the game would leave its recording.
  TRecordTable table;
  table.Names.fill("Чемпион");
  table.Scores.fill(1000000);
  folder.write("Data/rec.rmw", FormatRecords(table));
  const std::string before = folder.read("Data/rec.rmw");
  UseLanguage(GetParam().language, REEFMAW_BUILD_DIR "/locale");
  Printed printed;
  EXPECT_EQ(replayHeadless(file, printed), 0) << printed.err;
  UseLanguage(lgRussian, "");
  EXPECT_EQ(printed.out, std::string(GetParam().endState) + "\n");
  // The player's records are as they were, though a name was saved in one game.
  EXPECT_EQ(folder.read("Data/rec.rmw"), before);
}

INSTANTIATE_TEST_SUITE_P(
    RecordedGame, StoredReplays,
    ::testing::Values(
        StoredReplay{"game_over.replay",
                     "level 1, points 0.00, life 100.00, hunger 0.00, total 0, frames 3149"},
        StoredReplay{"level_completed.replay",
                     "level 2, points 2.00, life 81.00, hunger 26.27, total 102, frames 1996",
                     lgEnglish},
        StoredReplay{"alt_enter_and_name.replay",
                     "level 1, points 0.00, life 100.00, hunger 0.00, total 450, frames 3400"},
        StoredReplay{"alt_enter_and_name.replay",
                     "level 1, points 0.00, life 100.00, hunger 0.00, total 450, frames 3400",
                     lgEnglish}),
    [](const ::testing::TestParamInfo<StoredReplay>& info) {
      std::string name = info.param.file;
      return name.substr(0, name.find('.')) + "_in_" + Language(info.param.language).Name;
    });

}  // namespace
