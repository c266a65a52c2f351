// The level builder: turns the current Level into a few hundred monsters, the background
// and the shark. The previous level's sprites have removed themselves by then (they watch
// LevelReady), so nothing here clears the tree.

#include "game/level_builder.h"

#include "engine/graphics/image_list.h"
#include "engine/input/dx_input.h"
#include "engine/sprite/sprite_engine.h"
#include "game/creature_kinds.h"
#include "game/game_vars.h"
#include "game/main_form.h"
#include "game/monster_sprite.h"
#include "game/player_sprite.h"
#include "game/random.h"
#include "game/scene_sprites.h"

namespace {

constexpr int32_t kSpreadX = 50000;  // most monsters start far right of the screen
constexpr int32_t kSpreadY = 600;
constexpr int32_t kSceneZ = 2;
constexpr int32_t kBackgroundZ = -2;
constexpr int32_t kPanelZ = 2147483647;  // above everything
constexpr int32_t kPanelY = 550;
constexpr int32_t kSharkStartY = 300;
constexpr int32_t kMaxPhase = 2147483647;

}  // namespace

std::vector<TMonsterGroup> LevelMonsterGroups(int32_t level) {
  std::vector<TMonsterGroup> groups{{3 * level + 198, kRandomKind}};
  for (int32_t kind = 0; kind < kCreatureKindCount; ++kind) {
    const TFixedGroup& fixed = CreatureKind(kind).FixedGroup;
    if (fixed.Count > 0 && fixed.FirstLevel <= level && level <= fixed.LastLevel) {
      groups.push_back({fixed.Count, kind});
    }
  }
  return groups;
}

void TMainForm::createPanel() {
  auto* panel = TSprite::Create<TMPanelSprite>(*DXSpriteEngine->Engine);
  FitToImage(*panel, ImageList->Items->FindByName("panel"));
  panel->PosX = 0;
  panel->PosY = kPanelY;
  panel->SetZOrder(kPanelZ);
}

void TMainForm::Button1Click(TObject*) {
  TPictureCollection& images = *ImageList->Items;
  TSpriteEngine& root = *DXSpriteEngine->Engine;
  const int32_t level = GameVars.Level;
  Randomize();
  for (const TMonsterGroup& group : LevelMonsterGroups(level)) {
    for (int32_t i = 0; i < group.Count; ++i) {
      auto* monster = TSprite::Create<TMonoSprite>(root, images);
      monster->PosX = Random(kSpreadX);
      monster->PosY = Random(kSpreadY);
      monster->SetZOrder(kSceneZ);
      monster->Kind = group.Kind == kRandomKind ? Random(RandomKindDraws(level)) : group.Kind;
      monster->Speed = Random(level * 5) + 1;
      monster->Kind = KindOfDraw(monster->Kind);
      FitToImage(*monster, images.FindByName(MonsterImageName(monster->Kind, 1)));
      monster->WobblePhase = Random(kMaxPhase);
    }
  }
  auto* background = TSprite::Create<TMFonSprite>(root, images);
  FitToImage(*background, images.FindByName("background"));
  background->PosX = 0;
  background->PosY = 0;
  background->SetZOrder(kBackgroundZ);
  auto* shark = TSprite::Create<TPlayerSprite>(root, images, *DXInput);
  shark->PosY = kSharkStartY;
  FitToImage(*shark, images.FindByName("a1"));
  shark->SetZOrder(kSceneZ);
  GameVars.LevelReady = 1;
}
