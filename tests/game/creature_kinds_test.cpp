// The creature table checked against the rules the game plays: each kind is touched by a
// shark, swims with a bubble, is placed by the level builder and drawn from its files, and
// the outcome is compared with the game's rules written out here independently.

#include "game/creature_kinds.h"

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <map>

#include "engine/input/dx_input.h"
#include "game/level_builder.h"
#include "game/monster_fixture.h"
#include "game/monster_sprite.h"
#include "game/player_sprite.h"
#include "game/scene_sprites.h"

namespace {

// What a touch does by kind: fixed amounts, or for predators amounts per millisecond.
struct Rule {
  double points;
  double life;
  double hunger;
  bool predator;
};
constexpr std::array<Rule, 13> kRules = {{
    {0, -7, 7, false},            // mine
    {2, 2, -2, false},            // small fish
    {9, 9, -9, false},            // angelfish
    {3, 3, -3, false},            // piranha
    {6, 6, -6, false},            // pufferfish
    {0, -12, 12, false},          // leaking barrel
    {7, 7, -7, false},            // wrasse
    {-0.01, -0.1, 0.005, true},   // cuttlefish
    {9, 9, -9, false},            // greenfish
    {-2, -7, 7, false},           // porcupine fish
    {-0.01, -0.14, 0.005, true},  // anglerfish
    {1, 1, -1, false},            // eyefish
    {-0.03, -0.18, 0.005, true},  // whale
}};

constexpr std::array<const char*, 13> kStems = {"bomba",  "f",     "Angel", "pirania",   "Pigoplip",
                                                "bochka", "guban", "kar",   "Zelenuska", "kol",
                                                "ves",    "Glaz",  "kit"};

struct CreatureKindsTest : MonsterFixture {
  // A monster as big as its picture, so that touching it is a matter of placing it.
  TMonoSprite* monster(int kind, double x, double y) {
    TMonoSprite* m = MonsterFixture::monster(kind, x, y);
    FitToImage(*m, images().FindByName(MonsterImageName(kind, 1)));
    return m;
  }
};

TEST_F(CreatureKindsTest, EachKindTouchesTheSharkAsTheRulesSay) {
  auto* shark = TSprite::Create<TPlayerSprite>(engine(), images(), *form->DXInput);
  for (int kind = 0; kind < kCreatureKindCount; ++kind) {
    const Rule& rule = kRules[static_cast<size_t>(kind)];
    GameVars.Points = 50;
    GameVars.Life = 50;
    GameVars.Hunger = 50;
    GameVars.LastLag = 20;
    TMonoSprite* m = monster(kind, 300, 200);
    f.clock().setHighResCounter(SeedGiving(50000, 40000));
    Randomize();
    shark->EatMonster(*m);
    const double scale = rule.predator ? 20 : 1;
    EXPECT_NEAR(GameVars.Points, 50 + rule.points * scale, 1e-12) << "kind " << kind;
    EXPECT_NEAR(GameVars.Life, 50 + rule.life * scale, 1e-12) << "kind " << kind;
    EXPECT_NEAR(GameVars.Hunger, 50 + rule.hunger * scale, 1e-12) << "kind " << kind;
    // Food and harm go back to the far right; predators stay and go on draining.
    EXPECT_EQ(m->PosX, rule.predator ? 300 : 40000) << "kind " << kind;
  }
}

TEST_F(CreatureKindsTest, OnlyTheLeakingBarrelDropsDebris) {
  f.clock().setHighResCounter(SeedGiving(20, 10));  // every monster releases a bubble
  for (int kind = 0; kind < kCreatureKindCount; ++kind) {
    engine().ClearChildren();
    monster(kind, 400, 300)->MoveSelf(10);
    EXPECT_EQ(spritesOf<TeffectSprite>().size(), kind == 5 ? 2u : 1u) << "kind " << kind;
  }
}

TEST_F(CreatureKindsTest, FixedGroupsPlaceMinesBarrelsAndPredatorsOnTheirLevels) {
  for (int level = 1; level <= 10; ++level) {
    std::map<int, int> fixed;
    const std::vector<TMonsterGroup> groups = LevelMonsterGroups(level);
    ASSERT_FALSE(groups.empty());
    EXPECT_EQ(groups.front().Count, 3 * level + 198);
    EXPECT_EQ(groups.front().Kind, kRandomKind);
    for (size_t i = 1; i < groups.size(); ++i) fixed[groups[i].Kind] += groups[i].Count;
    std::map<int, int> expected;
    if (level <= 2) expected[0] = 41;
    if (level == 2 || level == 3) expected[5] = 21;
    if (level >= 6) expected[7] = 16;
    if (level >= 8) expected[10] = 16;
    EXPECT_EQ(fixed, expected) << "level " << level;
  }
  // Random draws cover 0 to Level + 3; the one draw past the last kind is a small fish.
  EXPECT_EQ(RandomKindDraws(1), 5);
  EXPECT_EQ(KindOfDraw(12), 12);
  EXPECT_EQ(KindOfDraw(13), 1);
}

TEST_F(CreatureKindsTest, EachKindIsDrawnFromItsOwnFiles) {
  // The kinds' pictures all differ in size, so an item loaded from another kind's file
  // shows in its width and height.
  for (int kind = 0; kind < kCreatureKindCount; ++kind) {
    for (int frame = 1; frame <= 4; ++frame) {
      const std::string file = std::string(REEFMAW_SOURCE_DIR) + "/Data/Monsters/Levels/" +
                               kStems[static_cast<size_t>(kind)] + std::to_string(frame) + ".bmp";
      std::ifstream in(file, std::ios::binary);
      ASSERT_TRUE(in) << file;
      std::array<unsigned char, 26> header{};
      in.read(reinterpret_cast<char*>(header.data()), header.size());
      const int width = header[18] | header[19] << 8;
      const int height = header[22] | header[23] << 8;
      const TPictureCollectionItem* item = images().FindByName(MonsterImageName(kind, frame));
      EXPECT_EQ(item->Width(), width) << item->Name();
      EXPECT_EQ(item->Height(), height) << item->Name();
    }
  }
}

TEST(CreatureKindTable, AnyOtherNumberIsRefused) {
  EXPECT_THROW(CreatureKind(13), std::out_of_range);
  EXPECT_THROW(CreatureKind(-1), std::out_of_range);
}

}  // namespace
