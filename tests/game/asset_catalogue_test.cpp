// The main window's picture loading at start-up.

#include <gtest/gtest.h>

#include "game/main_form_fixture.h"
#include "game/monster_sprite.h"
#include "game/scene_sprites.h"

namespace {

constexpr uint32_t kWhite = 0x00FFFFFF;

TEST_F(MainFormTest, EveryCataloguedPictureLoadsWithItsTransparentColour) {
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(images().Count(), 74);
  for (int kind = 0; kind <= 12; ++kind) {
    for (int frame = 1; frame <= 4; ++frame) {
      const TPictureCollectionItem* item = images().FindByName(MonsterImageName(kind, frame));
      EXPECT_GT(item->Width(), 0) << item->Name();
      EXPECT_EQ(item->TransparentColor(), kWhite) << item->Name();
    }
  }
  for (int n = 1; n <= 11; ++n) {
    const TPictureCollectionItem* item = images().FindByName("m" + std::to_string(n));
    EXPECT_GT(item->Width(), 0);
    EXPECT_EQ(item->TransparentColor(), kWhite);
  }
  for (const char* name : {"m1", "m10", "m11", "background"}) {
    EXPECT_EQ(images().FindByName(name)->Width(), 800) << name;
    EXPECT_EQ(images().FindByName(name)->Height(), 600) << name;
  }
  EXPECT_EQ(images().FindByName("panel")->Height(), 50);
  EXPECT_EQ(images().FindByName("a0")->TransparentColor(), kWhite);
  EXPECT_GT(images().FindByName("a1")->Width(), 0);
  EXPECT_EQ(images().FindByName("shlak")->TransparentColor(), 0x00008000u);  // green
  EXPECT_EQ(images().FindByName("puz")->TransparentColor(), 0x00FF0000u);    // blue
  EXPECT_EQ(images().FindByName("mouse")->Width(), 50);  // stored in the description
  EXPECT_EQ(images().FindByName("other")->Width(), 191);
  EXPECT_EQ(images().FindByName("a2")->Width(), 0);  // never used, never loaded
  EXPECT_FALSE(images().FindByName("background")->Transparent);
}

struct MissingPictureTest : MainFormTest {
  std::string missing;
  void prepare() override { folder.remove(missing); }
};

struct MissingBackgroundTest : MissingPictureTest {
  MissingBackgroundTest() { missing = "Data/Fon/3.bmp"; }
};

TEST_F(MissingBackgroundTest, StartUpReportsItOnceAndOpensTheMenuWithoutALevel) {
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("3.bmp"), std::string::npos);
  EXPECT_NE(messages[0].find("Cannot open file"), std::string::npos);
  EXPECT_EQ(GameVars.GameState, gsMenu);
  EXPECT_GT(images().FindByName("puz")->Width(), 0);    // loaded before it
  EXPECT_EQ(images().FindByName("panel")->Width(), 0);  // after it
  EXPECT_EQ(engine().ChildCount(), 0);                  // neither the panel nor level 1
  showActive();
  frames(2);
  EXPECT_EQ(messages.size(), 1u);
}

struct MissingWhaleTest : MissingPictureTest {
  MissingWhaleTest() { missing = "Data/Monsters/Levels/kit1.bmp"; }
};

TEST_F(MissingWhaleTest, WhalesDrawNothingAndTheGameStillRuns) {
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("kit1.bmp"), std::string::npos);
  EXPECT_GT(images().FindByName("f111")->Width(), 0);
  EXPECT_EQ(images().FindByName("f121")->Width(), 0);
  EXPECT_EQ(images().FindByName("f12")->Width(), 0);  // later in the order
  showActive();
  GameVars.GameState = gsPlay;
  GameVars.Level = 9;  // kinds up to 12 are drawn from level 9 on
  GameVars.LevelReady = 0;
  frames(1);
  int whales = 0;
  for (TMonoSprite* m : spritesOf<TMonoSprite>()) {
    if (m->Kind != 12) continue;
    ++whales;
    EXPECT_EQ(m->Width, 0);
    EXPECT_EQ(m->Height, 0);
  }
  EXPECT_GT(whales, 0);
  // A whale in the middle of an empty screen leaves it black.
  engine().ClearChildren();
  auto* whale = TSprite::Create<TMonoSprite>(engine(), images());
  whale->Kind = 12;
  whale->PosX = 300;
  whale->PosY = 200;
  frames(3);
  EXPECT_EQ(window().lastPicture().pixel(350, 250), 0u);
  EXPECT_EQ(messages.size(), 1u);
}

}  // namespace
