// The whole game from start-up, played through its windows with scripted input.

#include "game/start_up.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "engine/graphics/dx_draw.h"
#include "engine/sprite/sprite_engine.h"
#include "game/game_fixture.h"
#include "game/game_rules.h"
#include "platform/virtual_keys.h"

namespace {

using platform::VK_DOWN;
using platform::VK_RETURN;
using platform::VK_RIGHT;
using platform::VK_UP;

// Sweeps the shark up and down the right half of the screen, where the monsters come in.
void steer(GameSession& game, int frame) {
  const int phase = frame % 240;
  if (frame < 80) {
    game.hold({VK_RIGHT});
  } else if (phase < 120) {
    game.hold({VK_UP});
  } else {
    game.hold({VK_DOWN});
  }
}

struct PlayResult {
  TGameVars vars;
  int framesToIntro = -1;
  double pointsAfter500 = 0;
};

PlayResult playScript(int frames) {
  GameSession game;
  game.click(600, 175);
  PlayResult result;
  for (int frame = 0; frame < frames; ++frame) {
    steer(game, frame);
    game.frames(1);
    if (frame == 500) result.pointsAfter500 = GameVars.Points;
    if (GameVars.GameState == gsLevelIntro && result.framesToIntro < 0)
      result.framesToIntro = frame;
    if (result.framesToIntro >= 0 && frame == result.framesToIntro + 50) break;
  }
  result.vars = GameVars;
  return result;
}

TEST(WholeGame, TheSameScriptPlaysTheSameGame) {
  const PlayResult first = playScript(8000);
  const PlayResult second = playScript(8000);
  EXPECT_EQ(std::memcmp(&first.vars, &second.vars, sizeof(TGameVars)), 0);
  EXPECT_EQ(first.framesToIntro, second.framesToIntro);
  EXPECT_GT(first.pointsAfter500, 0);  // the shark ate on its way
  // The level's target was reached: the intro of level 2 showed.
  EXPECT_GE(first.framesToIntro, 0);
  EXPECT_EQ(first.vars.Level, 2);
}

TEST_F(GameTest, FromTheMenuThroughADeathAndANameToTheRecordsScreen) {
  ASSERT_EQ(GameVars.GameState, gsMenu);
  click(600, 175);
  ASSERT_EQ(GameVars.GameState, gsPlay);
  beforeNameEntry = [&] {
    typeInto(form1Id(), "Акула-убийца");
    f.events().pushKeyDown(form1Id(), VK_RETURN);
  };
  // Park the shark by the entry of the monsters and let hunger and harm do their work.
  int frame = 0;
  int64_t total = 0;
  for (; frame < 20000 && GameVars.GameState == gsPlay; ++frame) {
    steer(*this, frame);
    total = TotalScore(GameVars);
    frames(1);
    if (GameVars.GameState == gsLevelIntro) click(400, 300);  // on to the next level
  }
  ASSERT_EQ(GameVars.GameState, gsGameOver) << "after " << frame << " frames";
  EXPECT_EQ(nameEntries, 1);
  EXPECT_GT(total, 100);
  // The name is in the file at its rank, in Windows-1251.
  const TRecordTable saved = ParseRecords(folder.read("Data/rec.rmw"));
  int rank = 0;
  while (rank < kRecordCount && saved.Names[static_cast<size_t>(rank)] != "Акула-убийца") ++rank;
  ASSERT_LT(rank, kRecordCount);
  EXPECT_EQ(saved.Scores[static_cast<size_t>(rank)], total);
  if (rank > 0) {
    EXPECT_GE(saved.Scores[static_cast<size_t>(rank - 1)], total);
  }
  EXPECT_NE(folder.read("Data/rec.rmw").find("\xC0\xEA\xF3\xEB\xE0-\xF3\xE1\xE8\xE9\xF6\xE0"),
            std::string::npos);
  // Back to the menu, then the records screen lists it.
  click(10, 10);
  ASSERT_EQ(GameVars.GameState, gsMenu);
  text->drawn.clear();
  click(400, 275);
  frames(1);
  ASSERT_EQ(GameVars.GameState, gsRecords);
  const int y = 150 + 30 * (rank + 1);
  EXPECT_TRUE(text->sawText("Акула-убийца", 175, y));
  EXPECT_TRUE(text->sawText(std::to_string(total), 525, y));
  EXPECT_TRUE(text->sawText(std::to_string(rank + 1), 125, y));
}

TEST(StartUp, PicturesThatCannotBeReadAreListedInOneMessageAndTheGameIsPlayable) {
  GameFolder folder;
  folder.remove("Data/Monsters/Levels/kit1.bmp");
  folder.write("Data/Fon/1.bmp", "BM damaged");
  FakeApp f;
  std::vector<std::string> messages;
  f.app->OnShowMessage = [&](const std::string& text) { messages.push_back(text); };
  const TGameWindows windows = CreateGameWindows(*f.app);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find(folder.path("Data/Monsters/Levels/kit1.bmp").string() +
                             "\". No such file or directory"),
            std::string::npos)
      << messages[0];
  EXPECT_NE(
      messages[0].find(folder.path("Data/Fon/1.bmp").string() + "\": Bitmap image is not valid"),
      std::string::npos)
      << messages[0];
  EXPECT_GT(windows.Form1->Image2->Picture.Width(), 0);
  EXPECT_GT(windows.MainForm->DXSpriteEngine->Engine->ChildCount(), 0);  // level 1 is built
}

TEST(StartUp, AMissingRecordsFileIsReportedAndTheGameStartsWithAnEmptyTable) {
  GameFolder folder;
  folder.remove("Data/rec.rmw");
  FakeApp f;
  std::vector<std::string> messages;
  f.app->OnShowMessage = [&](const std::string& text) { messages.push_back(text); };
  RecordNames.fill("stale");
  RecordScores.fill(7);
  const TGameWindows windows = CreateGameWindows(*f.app);
  EXPECT_EQ(messages, std::vector<std::string>{"File not found"});
  EXPECT_GT(windows.Form1->Image2->Picture.Width(), 0);
  EXPECT_GT(windows.MainForm->DXSpriteEngine->Engine->ChildCount(), 0);  // level 1 is built
  EXPECT_EQ(GameVars.GameState, gsMenu);
  EXPECT_EQ(GameVars.Life, 100.0);
  EXPECT_FALSE(std::filesystem::exists(folder.path("Data/rec.rmw")));  // nothing written yet
  EXPECT_EQ(RecordNames[0], "");
  EXPECT_EQ(RecordScores[9], 0);
}

TEST_F(GameTest, QuittingFromTheMenuEndsTheLoop) {
  click(200, 375);
  EXPECT_TRUE(f.app->Terminated());
}

}  // namespace
