#include "game/main_form.h"

#include <gtest/gtest.h>

#include <cstring>

#include "engine/graphics/dx_draw.h"
#include "game/game_vars.h"
#include "game/main_form_fixture.h"
#include "game/records.h"

namespace {

TEST_F(MainFormTest, StartsInTheMenuWithTheStoredSettings) {
  EXPECT_EQ(GameVars.GameState, gsMenu);
  EXPECT_EQ(GameVars.Level, 1);
  EXPECT_EQ(GameVars.LevelReady, 1);
  EXPECT_EQ(GameVars.ResumeLock, kNoResume);
  EXPECT_EQ(GameVars.HoverItem, kNoItem);
  EXPECT_EQ(GameVars.MonsterFrame, 1);
  EXPECT_EQ(GameVars.Life, 100.0);
  EXPECT_TRUE(form->KeyPreview);
  EXPECT_EQ(form->BorderStyle, TBorderStyle::bsNone);
  EXPECT_EQ(form->Label1->Caption, "121");
  EXPECT_TRUE(form->DXTimer->Enabled());
  EXPECT_EQ(form->DXTimer->Interval(), 0u);
  EXPECT_FALSE(form->DXTimer->ActiveOnly());
}

TEST_F(MainFormTest, TicksBeforeTheDisplayCanDrawChangeNothing) {
  const TGameVars before = GameVars;
  f.step(5);
  EXPECT_FALSE(form->DXDraw->CanDraw());
  EXPECT_EQ(form->MenuTicks, 0);
  EXPECT_EQ(std::memcmp(&before, &GameVars, sizeof(TGameVars)), 0);
  EXPECT_EQ(form->Label1->Caption, "121");
}

TEST_F(MainFormTest, ShownWindowDrawsEveryFrameAt800x600) {
  showActive();
  const int ticks = form->MenuTicks;
  frames(3);
  EXPECT_EQ(form->MenuTicks, ticks + 3);
  const platform::FakePicture& picture = window().lastPicture();
  EXPECT_EQ(picture.width, 800);
  EXPECT_EQ(picture.height, 600);
  EXPECT_EQ(form->Label1->Caption, "0");
}

TEST_F(MainFormTest, PlayFramesWriteTheStatusLineInRed) {
  showActive();
  GameVars.GameState = gsPlay;
  frames(1);
  const platform::FakePicture& picture = window().lastPicture();
  int red = 0;
  for (int y = 550; y < 600; ++y) {
    for (int x = 60; x < 700; ++x) {
      const uint32_t p = picture.pixel(x, y);
      if ((p >> 11) > 20 && ((p >> 5) & 0x3F) < 8 && (p & 0x1F) < 4) ++red;
    }
  }
  EXPECT_GT(red, 200);
}

TEST_F(MainFormTest, GameOverAsksForANameOnlyAboveTheTenthRecord) {
  showActive();
  RecordScores[kRecordCount - 1] = 250;
  GameVars.GameState = gsPlay;
  GameVars.LevelBonus = 250;
  GameVars.Life = 0;
  frames(1);
  EXPECT_EQ(GameVars.GameState, gsGameOver);
  EXPECT_EQ(nameEntries, 0);  // equal to the tenth record
  GameVars.GameState = gsPlay;
  GameVars.Points = 1;
  GameVars.Life = -1;
  frames(1);
  EXPECT_EQ(nameEntries, 1);
  frames(1);
  EXPECT_EQ(GameVars.ResumeLock, kNoResume);
  EXPECT_EQ(form->Label1->Caption, "250");  // LevelBonus kept until a new game
}

TEST_F(MainFormTest, ObsoleteSceneIsRebuiltInPlayAndLevelCompletesFromTheMenu) {
  showActive();
  GameVars.GameState = gsPlay;
  GameVars.LevelReady = 0;
  frames(1);
  EXPECT_EQ(GameVars.LevelReady, 1);
  GameVars.GameState = gsMenu;
  GameVars.Points = 10000;
  frames(1);
  EXPECT_EQ(GameVars.GameState, gsLevelIntro);
  EXPECT_EQ(GameVars.Level, 2);
  EXPECT_EQ(GameVars.LevelBonus, 100);
}

TEST_F(MainFormTest, CaptionShowsPauseWhileTheApplicationIsInactiveAndFramesGoOn) {
  form->Show();
  f.events().pushFocus(form->Handle()->id(), true);
  f.step(2);
  EXPECT_EQ(window().caption(), f.app->Title);
  f.events().pushFocus(form->Handle()->id(), false);
  f.step(3);
  EXPECT_EQ(window().caption(), f.app->Title + " [Pause]");
  const int ticks = form->MenuTicks;
  frames(2);
  EXPECT_GT(form->MenuTicks, ticks);
}

TEST_F(MainFormTest, DisplayFinalizeStopsTheTimerAndInitializeRestartsIt) {
  showActive();
  frames(1);
  form->DXDraw->Finalize();
  EXPECT_FALSE(form->DXTimer->Enabled());
  EXPECT_FALSE(f.app->HasIdleHandler());
  form->DXDraw->Initialize();
  EXPECT_TRUE(form->DXTimer->Enabled());
  frames(1);
}

TEST_F(MainFormTest, ClosingTheWindowEndsTheLoop) {
  form->Show();
  f.events().pushClose(form->Handle()->id());
  f.app->Run();
  EXPECT_TRUE(f.app->Terminated());
}

}  // namespace
