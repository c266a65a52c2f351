#include "game/monster_sprite.h"

#include <cmath>
#include <string>

#include "engine/graphics/image_list.h"
#include "engine/sprite/sprite_engine.h"
#include "engine/timer/cos_table.h"
#include "framework/exceptions.h"
#include "game/creature_kinds.h"
#include "game/game_vars.h"
#include "game/random.h"
#include "game/scene_sprites.h"

namespace {
constexpr double kSwimPerMs = 0.03;    // per unit of Speed
constexpr double kSwayPerMs = 0.2;     // at the cosine's peak
constexpr double kPhasePerMs = 0.1;    // cosine-table steps
constexpr int32_t kScreenWidth = 800;  // bubbles only while on screen
constexpr int32_t kBubbleOdds = 20;
constexpr int32_t kBubbleDraw = 10;
constexpr int32_t kDebrisOffsetX = 70;
constexpr int32_t kDebrisOffsetY = -50;
}  // namespace

// Asked for by every monster on every frame, so built without a format string.
std::string MonsterImageName(int32_t kind, int32_t frame) {
  return "F" + std::to_string(kind) + std::to_string(frame);
}

void TMonoSprite::MoveSelf(int32_t lagCount) {
  TImageSprite::MoveSelf(lagCount);
  GameVars.LastLag = lagCount;
  // A finished level's monsters go; the rest of this move still runs.
  if (GameVars.LevelReady == 0) Kill();
  Randomize();
  PixelHit = true;
  WobblePhase = WobblePhase + lagCount * kPhasePerMs;
  PosX = PosX - Speed * kSwimPerMs * lagCount;
  const auto step = static_cast<int64_t>(std::trunc(WobblePhase)) & 0xFF;
  PosY = PosY + Cos256(step) * kSwayPerMs * lagCount;
  Image = images_.FindByName(MonsterImageName(Kind, GameVars.MonsterFrame));
  const bool onScreen = 0 < PosX && PosX < kScreenWidth;
  if (onScreen && Random(kBubbleOdds) == kBubbleDraw) releaseBubble();
}

void TMonoSprite::releaseBubble() {
  const auto x = static_cast<int32_t>(std::trunc(PosX));
  const auto y = static_cast<int32_t>(std::trunc(PosY));
  if (RootEngine() == nullptr) return;
  TSprite& root = *RootEngine();
  ReleaseEffect(root, images_.FindByName("puz"), x, y, 0);
  if (CreatureKind(Kind).LeaksDebris) {
    ReleaseEffect(root, images_.FindByName("shlak"), x + kDebrisOffsetX, y + kDebrisOffsetY, 5);
  }
}
