#include "game/level_builder.h"

#include <gtest/gtest.h>

#include <map>

#include "game/main_form_fixture.h"
#include "game/monster_sprite.h"
#include "game/player_sprite.h"
#include "game/scene_sprites.h"

namespace {

struct LevelBuilderTest : MainFormTest {
  // Builds the level from an empty tree and returns its monsters.
  std::vector<TMonoSprite*> build(int level) {
    engine().ClearChildren();
    GameVars.Level = level;
    GameVars.LevelReady = 0;
    form->Button1Click(form->Button1);
    return spritesOf<TMonoSprite>();
  }
};

TEST_F(LevelBuilderTest, MonsterCountsAndFixedGroupsByLevel) {
  const std::map<int, size_t> counts = {{1, 242}, {2, 266}, {3, 228}, {6, 232}, {10, 260}};
  for (const auto& [level, count] : counts) {
    const std::vector<TMonoSprite*> monsters = build(level);
    EXPECT_EQ(monsters.size(), count) << "level " << level;
    EXPECT_EQ(GameVars.LevelReady, 1);
  }
  // Level 2: the random group, then 41 mines, then 21 barrels.
  const std::vector<TMonoSprite*> monsters = build(2);
  for (size_t i = 204; i < 245; ++i) EXPECT_EQ(monsters[i]->Kind, 0);
  for (size_t i = 245; i < 266; ++i) EXPECT_EQ(monsters[i]->Kind, 5);
  // Level 10 ends with 16 of kind 7 and 16 of kind 10.
  const std::vector<TMonoSprite*> last = build(10);
  EXPECT_EQ(last[228]->Kind, 7);
  EXPECT_EQ(last[259]->Kind, 10);
}

TEST_F(LevelBuilderTest, RandomKindsStayWithinTheLevelAndThirteenBecomesOne) {
  for (int round = 0; round < 20; ++round) {
    f.clock().setHighResCounter(0x1000 + round * 7919);
    for (TMonoSprite* m : build(10)) {
      ASSERT_GE(m->Kind, 0);
      ASSERT_LE(m->Kind, 12);
    }
  }
  // A seed whose first kind draw at level 10 is 13: the first monster becomes kind 1.
  // The draws run PosX, PosY, Kind, so the seed is searched on the third draw.
  uint32_t seed = 0;
  for (;; ++seed) {
    RandSeed = seed;
    Random(50000);
    Random(600);
    if (Random(14) == 13) break;
  }
  f.clock().setHighResCounter(seed);
  EXPECT_EQ(build(10).front()->Kind, 1);
}

TEST_F(LevelBuilderTest, MonstersTakeTheirDrawsInOrderAndFrameOnePictures) {
  f.clock().setHighResCounter(777);
  const TMonoSprite* first = build(4).front();
  RandSeed = 777;
  EXPECT_EQ(first->PosX, Random(50000));
  EXPECT_EQ(first->PosY, Random(600));
  EXPECT_EQ(first->Kind, Random(8));
  EXPECT_EQ(first->Speed, Random(20) + 1);
  EXPECT_EQ(first->WobblePhase, Random(2147483647));
  EXPECT_EQ(first->ZOrder(), 2);
  EXPECT_EQ(first->Image, images().FindByName(MonsterImageName(first->Kind, 1)));
  EXPECT_EQ(first->Width, first->Image->Width());
  EXPECT_GT(first->Width, 0);
  // A fixed group skips the kind draw: Speed comes right after PosY.
  f.clock().setHighResCounter(99);
  const std::vector<TMonoSprite*> monsters = build(1);
  RandSeed = 99;
  for (int i = 0; i < 201 * 5; ++i) Random(1);  // the random group's five draws each
  const TMonoSprite* mine = monsters[201];
  EXPECT_EQ(mine->PosX, Random(50000));
  EXPECT_EQ(mine->PosY, Random(600));
  EXPECT_EQ(mine->Speed, Random(5) + 1);
  EXPECT_EQ(mine->WobblePhase, Random(2147483647));
  EXPECT_EQ(mine->Kind, 0);
}

TEST_F(LevelBuilderTest, SharkAndBackgroundStartInPlace) {
  build(7);
  const std::vector<TPlayerSprite*> sharks = spritesOf<TPlayerSprite>();
  const std::vector<TMFonSprite*> backgrounds = spritesOf<TMFonSprite>();
  ASSERT_EQ(sharks.size(), 1u);
  ASSERT_EQ(backgrounds.size(), 1u);
  EXPECT_EQ(sharks[0]->PosX, 0);
  EXPECT_EQ(sharks[0]->PosY, 300);
  EXPECT_EQ(sharks[0]->Image, images().FindByName("a1"));
  EXPECT_EQ(sharks[0]->ZOrder(), 2);
  EXPECT_EQ(backgrounds[0]->ZOrder(), -2);
  EXPECT_EQ(backgrounds[0]->Width, 800);
  // The background is drawn below every other sprite.
  EXPECT_EQ(engine().DrawOrder().front(), backgrounds[0]);
}

TEST_F(LevelBuilderTest, StartUpBuildsLevelOneBehindTheMenuWithThePanelOnTop) {
  EXPECT_EQ(spritesOf<TMonoSprite>().size(), 242u);
  const std::vector<TMPanelSprite*> panels = spritesOf<TMPanelSprite>();
  ASSERT_EQ(panels.size(), 1u);
  EXPECT_EQ(panels[0]->PosY, 550);
  EXPECT_EQ(panels[0]->Height, 50);
  EXPECT_EQ(engine().DrawOrder().back(), panels[0]);
}

}  // namespace
