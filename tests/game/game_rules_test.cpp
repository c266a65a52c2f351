#include "game/game_rules.h"

#include <gtest/gtest.h>

#include <numbers>

namespace {

TGameVars playing() {
  TGameVars v;
  v.GameState = gsPlay;
  v.Level = 1;
  v.LevelReady = 1;
  v.Life = 100;
  v.MonsterFrame = 1;
  return v;
}

TEST(LevelCompletion, ExactTargetCompletesAndJustBelowDoesNot) {
  TGameVars v = playing();
  v.Points = 99.9;
  EXPECT_FALSE(ApplyLevelCompletion(v));
  EXPECT_EQ(v.Level, 1);
  v.Points = 100.0;
  EXPECT_TRUE(ApplyLevelCompletion(v));
  EXPECT_EQ(v.Level, 2);
  EXPECT_EQ(v.GameState, gsLevelIntro);
  EXPECT_EQ(v.LevelReady, 0);
}

TEST(LevelCompletion, OnlyTheTargetIsCreditedAndTheLevelStartsFresh) {
  TGameVars v = playing();
  v.Points = 107;
  v.Hunger = 40;
  v.Life = 12;
  ASSERT_TRUE(ApplyLevelCompletion(v));
  EXPECT_EQ(v.LevelBonus, 100);
  EXPECT_EQ(v.Points, 0);
  EXPECT_EQ(v.Hunger, 0);
  EXPECT_EQ(v.Life, 100);
  EXPECT_EQ(TotalScore(v), 100);
}

TEST(LevelCompletion, LevelNineLeadsToTenAndTenNeverCompletes) {
  TGameVars v = playing();
  v.Level = 9;
  v.Points = LevelTarget(9);
  ASSERT_TRUE(ApplyLevelCompletion(v));
  EXPECT_EQ(v.Level, 10);
  v.Points = 10000;
  EXPECT_FALSE(ApplyLevelCompletion(v));
  EXPECT_EQ(v.Level, 10);
  EXPECT_EQ(LevelTarget(10), 550);
}

TEST(LevelCompletion, FiresFromTheMenuToo) {
  TGameVars v = playing();
  v.GameState = gsMenu;
  v.Points = 10000;
  ASSERT_TRUE(ApplyLevelCompletion(v));
  EXPECT_EQ(v.GameState, gsLevelIntro);
}

TEST(GameOver, ResetsTheGameButKeepsBonusAndScene) {
  TGameVars v = playing();
  v.Level = 4;
  v.LevelBonus = 450;
  v.Points = 33;
  v.Hunger = 90;
  v.Life = 0;
  ASSERT_TRUE(ApplyGameOver(v));
  EXPECT_EQ(v.GameState, gsGameOver);
  EXPECT_EQ(v.Level, 1);
  EXPECT_EQ(v.Points, 0);
  EXPECT_EQ(v.Hunger, 0);
  EXPECT_EQ(v.Life, 100);
  EXPECT_EQ(v.LevelBonus, 450);
  EXPECT_EQ(v.LevelReady, 1);
  v.Life = 0.01;
  EXPECT_FALSE(ApplyGameOver(v));
  v.Life = -3;
  EXPECT_TRUE(ApplyGameOver(v));
}

TEST(Score, RoundsHalvesToEvenIn64Bits) {
  TGameVars v;
  v.Points = 0.5;
  EXPECT_EQ(TotalScore(v), 0);
  v.Points = 1.5;
  EXPECT_EQ(TotalScore(v), 2);
  v.Points = 2.5;
  EXPECT_EQ(TotalScore(v), 2);
  v.Points = 2.500001;
  EXPECT_EQ(TotalScore(v), 3);
  v.Points = 3e9;
  v.LevelBonus = 2'000'000'000;
  EXPECT_EQ(TotalScore(v), 5'000'000'000LL);
}

TEST(StatusLine, TextsTruncateLifeAndHungerAndRoundPoints) {
  TGameVars v;
  v.Life = -0.7;
  v.Points = 12.5;
  v.Hunger = 99.99;
  EXPECT_EQ(LifeText(v), "Жизни: 0");
  v.Life = -1.2;
  EXPECT_EQ(LifeText(v), "Жизни: -1");
  EXPECT_EQ(PointsText(v), "Очки: 12");
  EXPECT_EQ(HungerText(v), "Голод:99");
}

TEST(PlayClocks, HungerAboveFullIsCutBackWithTheLifeDrain) {
  TGameVars v = playing();
  v.Hunger = 130;
  RunPlayClocks(v);
  EXPECT_EQ(v.Hunger, 100);
  EXPECT_DOUBLE_EQ(v.Life, 99.97);
  v.Hunger = 50;
  RunPlayClocks(v);
  EXPECT_DOUBLE_EQ(v.Hunger, 50.025);
  EXPECT_DOUBLE_EQ(v.Life, 99.97);
}

TEST(PlayClocks, AnimationFramesCycle) {
  TGameVars v = playing();
  std::vector<int> monsterFrames;
  for (int frame = 1; frame <= 20; ++frame) {
    RunPlayClocks(v);
    if (frame == 9) {
      EXPECT_EQ(v.SharkFrame, 0);
    }
    if (frame == 10) {
      EXPECT_EQ(v.SharkFrame, 1);
    }
    if (frame % 5 == 0) monsterFrames.push_back(v.MonsterFrame);
  }
  EXPECT_EQ(v.SharkFrame, 0);
  EXPECT_EQ(monsterFrames, (std::vector<int>{2, 3, 1, 2}));
}

TEST(IntroAngle, SweepsFromMinusPiAndStartsOver) {
  TGameVars v;
  AdvanceIntroAngle(v, 16);
  EXPECT_DOUBLE_EQ(v.IntroAngle, 0.16);
  v.IntroAngle = 3.1;
  AdvanceIntroAngle(v, 16);
  EXPECT_DOUBLE_EQ(v.IntroAngle, -std::numbers::pi);
}

}  // namespace
