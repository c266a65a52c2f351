// The main window's picture loading at start-up.

#include <gtest/gtest.h>

#include "game/main_form_fixture.h"
#include "game/monster_sprite.h"
#include "game/scene_sprites.h"

namespace {

constexpr uint32_t kWhite = 0x00FFFFFF;

TEST_F(MainFormTest, EveryCataloguedPictureLoadsWithItsTransparentColour) {
  EXPECT_TRUE(messages.empty());
  EXPECT_TRUE(form->PictureFailures.empty());
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

// A missing picture no longer ends the loading: it is noted, every later picture loads,
// and the panel and level 1 are built as usual.
TEST_F(MissingBackgroundTest, ItIsNotedAndEverythingElseLoadsAndIsBuilt) {
  EXPECT_TRUE(messages.empty());  // the start-up shows the failures, not the window
  ASSERT_EQ(form->PictureFailures.size(), 1u);
  EXPECT_NE(form->PictureFailures[0].find(folder.path("Data/Fon/3.bmp").string()),
            std::string::npos)
      << form->PictureFailures[0];
  EXPECT_NE(form->PictureFailures[0].find("No such file"), std::string::npos);
  EXPECT_EQ(GameVars.GameState, gsMenu);
  EXPECT_EQ(images().FindByName("background")->Width(), 0);
  EXPECT_GT(images().FindByName("puz")->Width(), 0);    // loaded before it
  EXPECT_GT(images().FindByName("panel")->Width(), 0);  // and after it
  EXPECT_GT(images().FindByName("a1")->Width(), 0);     // the last of all
  EXPECT_FALSE(spritesOf<TMPanelSprite>().empty());
  EXPECT_FALSE(spritesOf<TMonoSprite>().empty());  // level 1
  showActive();
  frames(2);
  EXPECT_TRUE(messages.empty());
}

// The pictures load two at a time; the failures still come in the order of loading.
struct ManyMissingPicturesTest : MainFormTest {
  void prepare() override {
    for (const char* path : {"Data/Monsters/player/akula2.bmp", "Data/Monsters/Levels/kit1.bmp",
                             "Data/Effects/Water/shlak.bmp", "Data/Fon/3.bmp"}) {
      folder.remove(path);
    }
  }
};

TEST_F(ManyMissingPicturesTest, TheyAreNotedInTheOrderOfLoading) {
  ASSERT_EQ(form->PictureFailures.size(), 4u);
  const char* inOrder[] = {"shlak.bmp", "3.bmp", "kit1.bmp", "akula2.bmp"};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_NE(form->PictureFailures[i].find(inOrder[i]), std::string::npos)
        << i << ": " << form->PictureFailures[i];
  }
  EXPECT_GT(images().FindByName("a0")->Width(), 0);
}

struct DamagedFirstPictureTest : MainFormTest {
  void prepare() override { folder.write("Data/Effects/Water/shlak.bmp", "BM not a picture"); }
};

TEST_F(DamagedFirstPictureTest, EveryLaterPictureLoadsAndTheFailureNamesItsFile) {
  ASSERT_EQ(form->PictureFailures.size(), 1u);
  const std::string& failure = form->PictureFailures[0];
  EXPECT_NE(failure.find(folder.path("Data/Effects/Water/shlak.bmp").string()), std::string::npos)
      << failure;
  EXPECT_NE(failure.find("Bitmap image is not valid"), std::string::npos) << failure;
  EXPECT_EQ(images().FindByName("shlak")->Width(), 0);
  for (int kind = 0; kind <= 12; ++kind) {
    for (int frame = 1; frame <= 4; ++frame) {
      EXPECT_GT(images().FindByName(MonsterImageName(kind, frame))->Width(), 0);
    }
  }
  for (const char* name : {"puz", "background", "panel", "m1", "m11", "a0", "a1"}) {
    EXPECT_GT(images().FindByName(name)->Width(), 0) << name;
  }
}

struct MissingWhaleTest : MissingPictureTest {
  MissingWhaleTest() { missing = "Data/Monsters/Levels/kit1.bmp"; }
};

TEST_F(MissingWhaleTest, WhalesDrawNothingAndTheGameStillRuns) {
  ASSERT_EQ(form->PictureFailures.size(), 1u);
  EXPECT_NE(form->PictureFailures[0].find("kit1.bmp"), std::string::npos);
  EXPECT_GT(images().FindByName("f111")->Width(), 0);
  EXPECT_EQ(images().FindByName("f121")->Width(), 0);
  EXPECT_GT(images().FindByName("f12")->Width(), 0);  // later in the order, loaded all the same
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
  EXPECT_TRUE(messages.empty());
}

}  // namespace
