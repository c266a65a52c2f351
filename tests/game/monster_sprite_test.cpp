#include "game/monster_sprite.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/timer/cos_table.h"
#include "game/monster_fixture.h"
#include "game/scene_sprites.h"

namespace {

struct MonsterTest : MonsterFixture {
  // Every re-seeding makes the bubble draw come out as a bubble, or never.
  void bubblesAlways(bool always) {
    f.clock().setHighResCounter(always ? SeedGiving(20, 10) : SeedGiving(20, 3));
  }
};

TEST_F(MonsterTest, BubblesOnlyStrictlyInsideTheScreen) {
  bubblesAlways(true);
  for (double x : {0.0, 800.0, -5.0, 900.0}) monster(1, x, 300)->MoveSelf(10);
  EXPECT_TRUE(spritesOf<TeffectSprite>().empty());
  monster(1, 0.5, 300.9)->MoveSelf(10);
  monster(1, 799.5, 100)->MoveSelf(10);
  const std::vector<TeffectSprite*> bubbles = spritesOf<TeffectSprite>();
  ASSERT_EQ(bubbles.size(), 2u);
  EXPECT_EQ(bubbles[0]->PosX, 0);  // positions truncated
  EXPECT_EQ(bubbles[0]->PosY, 300);
  EXPECT_EQ(bubbles[1]->PosX, 799);
  EXPECT_EQ(bubbles[0]->Image, images().FindByName("puz"));
  for (TeffectSprite* b : bubbles) {
    EXPECT_GE(b->ZOrder(), 0);
    EXPECT_LE(b->ZOrder(), 4);
    EXPECT_GE(b->Speed, 1);
    EXPECT_LE(b->Speed, 5);
    EXPECT_EQ(b->Width, 20);
  }
  bubblesAlways(false);
  monster(1, 400, 300)->MoveSelf(10);
  EXPECT_EQ(spritesOf<TeffectSprite>().size(), 2u);
}

TEST_F(MonsterTest, BarrelsDropDebrisBesideTheirBubbles) {
  bubblesAlways(true);
  monster(5, 300.7, 200.2)->MoveSelf(10);
  const std::vector<TeffectSprite*> effects = spritesOf<TeffectSprite>();
  ASSERT_EQ(effects.size(), 2u);
  const TeffectSprite& bubble = *effects[0];
  const TeffectSprite& debris = *effects[1];
  EXPECT_EQ(debris.Image, images().FindByName("shlak"));
  EXPECT_EQ(debris.PosX, bubble.PosX + 70);
  EXPECT_EQ(debris.PosY, bubble.PosY - 50);
  EXPECT_GE(debris.ZOrder(), 5);
  EXPECT_LE(debris.ZOrder(), 9);
  // The draws: bubble ZOrder, bubble Speed, debris ZOrder, debris Speed.
  RandSeed = SeedGiving(20, 10);
  Random(20);
  EXPECT_EQ(bubble.ZOrder(), Random(5));
  EXPECT_EQ(bubble.Speed, Random(5) + 1);
  EXPECT_EQ(debris.ZOrder(), Random(5) + 5);
  EXPECT_EQ(debris.Speed, Random(5) + 1);
}

TEST_F(MonsterTest, SwimsLeftSwaysAndShowsTheSharedFrame) {
  TMonoSprite* m = monster(3, 500, 300);
  m->Speed = 4;
  m->WobblePhase = 256.6;  // plus 0.1 in a 1 ms move: entry 0 of the table
  GameVars.MonsterFrame = 2;
  m->MoveSelf(1);
  EXPECT_DOUBLE_EQ(m->PosX, 500 - 4 * 0.03);
  EXPECT_DOUBLE_EQ(m->PosY, 300 + Cos256(0) * 0.2);
  EXPECT_EQ(m->Image, images().FindByName("f32"));
  EXPECT_EQ(GameVars.LastLag, 1.0);
  EXPECT_TRUE(m->PixelHit);
  m->WobblePhase = 511.8;  // entry 255
  m->PosY = 300;
  m->MoveSelf(1);
  EXPECT_DOUBLE_EQ(m->PosY, 300 + Cos256(255) * 0.2);
  m->PosY = 300;
  m->MoveSelf(23);
  EXPECT_EQ(GameVars.LastLag, 23.0);
}

// Every move seeds the generator from the clock again, before its own draws; so all
// monsters moved at one reading of the clock draw the same numbers.
TEST_F(MonsterTest, EveryMoveSeedsTheGeneratorAfreshFromTheClock) {
  f.clock().setHighResCounter(0xC0FFEE);
  RandSeed = 12345;
  monster(1, 5000, 300)->MoveSelf(10);  // off the screen it draws nothing
  EXPECT_EQ(RandSeed, 0xC0FFEEu);
  bubblesAlways(true);
  for (double x : {100.0, 300.0, 500.0, 700.0}) monster(1, x, 300)->MoveSelf(10);
  const std::vector<TeffectSprite*> bubbles = spritesOf<TeffectSprite>();
  ASSERT_EQ(bubbles.size(), 4u);
  for (const TeffectSprite* b : bubbles) {
    EXPECT_EQ(b->ZOrder(), bubbles[0]->ZOrder());
    EXPECT_EQ(b->Speed, bubbles[0]->Speed);
  }
}

TEST_F(MonsterTest, AFinishedLevelsMonsterGoesButItsLastBubbleStays) {
  bubblesAlways(true);
  TMonoSprite* m = monster(5, 400, 300);
  GameVars.LevelReady = 0;
  form->DXSpriteEngine->Move(10);
  EXPECT_TRUE(m->IsDead());
  form->DXSpriteEngine->Dead();
  EXPECT_TRUE(spritesOf<TMonoSprite>().empty());
  EXPECT_EQ(spritesOf<TeffectSprite>().size(), 2u);
}

}  // namespace
