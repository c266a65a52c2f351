#include "game/scene_sprites.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "game/main_form_fixture.h"
#include "game/monster_sprite.h"
#include "game/player_sprite.h"

namespace {

struct SceneTest : MainFormTest {
  void SetUp() override {
    MainFormTest::SetUp();
    engine().ClearChildren();
    GameVars.LevelReady = 1;
  }
  TeffectSprite* effect(double y, int speed, int z = 0) {
    auto* e = TSprite::Create<TeffectSprite>(engine());
    e->PosY = y;
    e->Speed = speed;
    e->SetZOrder(z);
    return e;
  }
  int drawIndex(const TSprite* sprite) {
    const auto& order = engine().DrawOrder();
    return static_cast<int>(std::find(order.begin(), order.end(), sprite) - order.begin());
  }
};

TEST_F(SceneTest, EffectsRiseBySpeedTimesLagAndVanishBelowMinusHundred) {
  TeffectSprite* bubble = effect(100, 3);
  bubble->PosX = 42;
  bubble->MoveSelf(17);
  EXPECT_DOUBLE_EQ(bubble->PosY, 100 - 2.55);
  EXPECT_EQ(bubble->PosX, 42);
  TeffectSprite* atEdge = effect(-99, 1);
  atEdge->MoveSelf(20);
  EXPECT_DOUBLE_EQ(atEdge->PosY, -100);
  EXPECT_FALSE(atEdge->IsDead());
  TeffectSprite* beyond = effect(-99.05, 1);
  beyond->MoveSelf(20);
  EXPECT_TRUE(beyond->IsDead());
}

TEST_F(SceneTest, TheLiftedBackgroundHidesBubblesOfZOrderZero) {
  auto* background = TSprite::Create<TMFonSprite>(engine(), images());
  FitToImage(*background, images().FindByName("background"));
  background->PosX = 12;
  background->SetZOrder(-2);
  background->MoveSelf(10);
  EXPECT_EQ(background->ZOrder(), 0);
  EXPECT_EQ(background->PosX, 0);
  TeffectSprite* hidden = effect(300, 1, 0);
  TeffectSprite* shown = effect(300, 1, 1);
  EXPECT_LT(drawIndex(hidden), drawIndex(background));
  EXPECT_GT(drawIndex(shown), drawIndex(background));
  GameVars.LevelReady = 0;
  background->MoveSelf(10);
  EXPECT_TRUE(background->IsDead());
}

using LevelChangeTest = MainFormTest;

TEST_F(LevelChangeTest, TheFrameThatReplacesALevelShowsThePanelAndBubblesOverBlack) {
  // Every monster on the screen releases a bubble as it goes.
  f.clock().setHighResCounter(SeedGiving(20, 10));
  showActive();
  for (TMonoSprite* m : spritesOf<TMonoSprite>()) m->PosX = 100 + static_cast<int>(m->PosY) % 600;
  GameVars.GameState = gsPlay;
  GameVars.LevelReady = 0;
  frames(1);
  const platform::FakePicture& picture = window().lastPicture();
  int litScene = 0;
  for (int y = 0; y < 550; ++y) {
    for (int x = 0; x < 800; ++x) litScene += picture.pixel(x, y) != 0 ? 1 : 0;
  }
  int litPanel = 0;
  for (int y = 550; y < 600; ++y) {
    for (int x = 0; x < 800; ++x) litPanel += picture.pixel(x, y) != 0 ? 1 : 0;
  }
  const std::vector<TeffectSprite*> bubbles = spritesOf<TeffectSprite>();
  EXPECT_GT(bubbles.size(), 100u);
  EXPECT_GT(litScene, 0);                  // the bubbles show
  EXPECT_LT(litScene, 800 * 550 / 4);      // but no background, monster or shark
  EXPECT_GT(litPanel, 800 * 50 * 9 / 10);  // the panel is drawn above it all
  // The same frame built the new level, whose sprites first move in the next one.
  EXPECT_EQ(GameVars.LevelReady, 1);
  EXPECT_EQ(spritesOf<TMonoSprite>().size(), 242u);
  EXPECT_EQ(spritesOf<TPlayerSprite>().size(), 1u);
}

}  // namespace
