#include "game/player_sprite.h"

#include <cmath>

#include "engine/graphics/image_list.h"
#include "engine/input/dx_input.h"
#include "engine/sprite/sprite_engine.h"
#include "framework/exceptions.h"
#include "game/creature_kinds.h"
#include "game/game_vars.h"
#include "game/monster_sprite.h"
#include "game/random.h"
#include "game/scene_sprites.h"

namespace {
// The keys move the shark one pixel per millisecond within these bounds (tested before
// the step, so it may end one step beyond them).
constexpr double kTop = 0;
constexpr double kBottom = 430;
constexpr double kLeft = 0;
constexpr double kRight = 600;
constexpr double kJoystickScale = 1000;  // axis units per pixel per millisecond
// Bubbles rise from the shark's mouth, a little in front of its body.
constexpr int32_t kBubbleSpreadX = 25;
constexpr double kBubbleOffsetX = 120;
constexpr double kBubbleOffsetY = 25;
constexpr int32_t kBubbleOdds = 50;
constexpr int32_t kBubbleAbove = 45;
constexpr int32_t kSendBackRange = 50000;
constexpr double kMaxLife = 100;
}  // namespace

void TPlayerSprite::MoveSelf(int32_t lagCount) {
  // A finished level's shark goes; being dead, it finds nothing to eat below.
  if (GameVars.LevelReady == 0) Kill();
  TImageSprite::MoveSelf(lagCount);
  const int32_t spread = Random(kBubbleSpreadX);
  const auto bubbleX =
      static_cast<int32_t>(spread + static_cast<int64_t>(std::trunc(PosX + kBubbleOffsetX)));
  const auto bubbleY = static_cast<int32_t>(std::trunc(PosY + kBubbleOffsetY));
  if (Random(kBubbleOdds) > kBubbleAbove && RootEngine() != nullptr) {
    ReleaseEffect(*RootEngine(), images_.FindByName("puz"), bubbleX, bubbleY, 0);
  }
  steer(lagCount);
  CheckCollisions();
  Image = images_.FindByName(Format("a%d", GameVars.SharkFrame));
}

void TPlayerSprite::steer(int32_t lagCount) {
  const int32_t jx = input_.Joystick->AxisX();
  const int32_t jy = input_.Joystick->AxisY();
  if (jx != 0 || jy != 0) {
    // The stick knows no screen edges.
    PosX = PosX + jx / kJoystickScale * lagCount;
    PosY = PosY + jy / kJoystickScale * lagCount;
    return;
  }
  const TDXInputStates& states = input_.States;
  if (states.Contains(isUp) && PosY > kTop) PosY = PosY - lagCount;
  if (states.Contains(isDown) && PosY < kBottom) PosY = PosY + lagCount;
  if (states.Contains(isLeft) && PosX > kLeft) PosX = PosX - lagCount;
  if (states.Contains(isRight) && PosX < kRight) PosX = PosX + lagCount;
}

void TPlayerSprite::HandleCollision(TSprite& other, bool& stop) {
  if (auto* monster = dynamic_cast<TMonoSprite*>(&other)) EatMonster(*monster);
  stop = false;
}

void TPlayerSprite::EatMonster(TMonoSprite& monster) {
  const TTouchEffect& touch = CreatureKind(monster.Kind).Touch;
  // A predator's amounts are per millisecond of the frame it overlaps the shark in.
  const double scale = touch.Drains ? GameVars.LastLag : 1;
  GameVars.Points = GameVars.Points + touch.Points * scale;
  GameVars.Life = GameVars.Life + touch.Life * scale;
  GameVars.Hunger = GameVars.Hunger + touch.Hunger * scale;
  if (GameVars.Points < 0) GameVars.Points = 0;
  if (GameVars.Hunger < 0) GameVars.Hunger = 0;
  if (GameVars.Life > kMaxLife) GameVars.Life = kMaxLife;
  if (!touch.Drains) monster.PosX = Random(kSendBackRange);
  input_.Joystick->Effects->Find("eff1")->Start();
}
