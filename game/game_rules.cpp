#include "game/game_rules.h"

#include <cmath>
#include <numbers>

#include "game/game_texts.h"

int32_t LevelTarget(int32_t level) { return level * 50 + 50; }

int64_t RoundPoints(double points) {
  // nearbyint rounds halves to even in the default rounding mode.
  return static_cast<int64_t>(std::nearbyint(points));
}

int64_t TotalScore(const TGameVars& vars) {
  return RoundPoints(vars.Points) + static_cast<int64_t>(vars.LevelBonus);
}

int64_t TruncateToward0(double value) { return static_cast<int64_t>(std::trunc(value)); }

void ResetLevelValues(TGameVars& vars) {
  vars.Points = 0;
  vars.Hunger = 0;
  vars.Life = 100;
}

void ResetGameValues(TGameVars& vars) {
  vars.Level = 1;
  vars.LevelBonus = 0;
  ResetLevelValues(vars);
}

void RunPlayClocks(TGameVars& vars) {
  constexpr double kHungerPerFrame = 0.025;
  constexpr double kStarvingLifePerFrame = 0.03;
  constexpr double kFullHunger = 100.0;
  if (vars.Hunger < kFullHunger) vars.Hunger += kHungerPerFrame;
  if (vars.Hunger >= kFullHunger) {
    vars.Hunger = kFullHunger;
    vars.Life -= kStarvingLifePerFrame;
  }
  if (++vars.SharkFrameTicks == 10) {
    vars.SharkFrameTicks = 0;
    vars.SharkFrame = vars.SharkFrame == 0 ? 1 : 0;
  }
  if (++vars.MonsterFrameTicks == 5) {
    vars.MonsterFrameTicks = 0;
    vars.MonsterFrame = vars.MonsterFrame % 3 + 1;
  }
}

void AdvanceIntroAngle(TGameVars& vars, int32_t lagCount) {
  constexpr double kPi = std::numbers::pi;
  if (vars.IntroAngle <= kPi) vars.IntroAngle += lagCount / 100.0;
  if (vars.IntroAngle > kPi || vars.IntroAngle < -kPi) vars.IntroAngle = -kPi;
}

bool ApplyGameOver(TGameVars& vars) {
  if (vars.Life > 0) return false;
  vars.GameState = gsGameOver;
  vars.Level = 1;
  ResetLevelValues(vars);
  return true;
}

bool ApplyLevelCompletion(TGameVars& vars) {
  if (!(vars.Points >= LevelTarget(vars.Level) && vars.Level < kLastLevel)) return false;
  ++vars.Level;
  vars.LevelBonus += LevelTarget(vars.Level - 1);
  vars.LevelReady = 0;
  vars.GameState = gsLevelIntro;
  ResetLevelValues(vars);
  return true;
}

bool IsPictureScreen(int32_t gameState) {
  return gameState == gsMenu || gameState == gsGameOver || gameState == gsLevelIntro ||
         gameState == gsRecords || gameState == gsPicture;
}

std::string LifeText(const TGameVars& vars) {
  return GameText("Жизни: ") + std::to_string(TruncateToward0(vars.Life));
}

std::string PointsText(const TGameVars& vars) {
  return GameText("Очки: ") + std::to_string(RoundPoints(vars.Points));
}

std::string HungerText(const TGameVars& vars) {
  return GameText("Голод:") + std::to_string(TruncateToward0(vars.Hunger));
}
