#pragma once
// The frame step's own rules over GameVars: scores, the play clocks, the intro phase,
// and the game-over and level-completion tests.

#include <cstdint>
#include <string>

#include "game/game_vars.h"

// The points a level needs: 100 for level 1, 550 for level 10.
int32_t LevelTarget(int32_t level);
// Points rounded to the nearest integer, ties to even.
int64_t RoundPoints(double points);
// The total score of the running game: rounded Points plus LevelBonus, in 64 bits.
int64_t TotalScore(const TGameVars& vars);
// Whole numbers as the status line writes them: truncated toward zero.
int64_t TruncateToward0(double value);

// A fresh start of a level's values: no points, no hunger, full life.
void ResetLevelValues(TGameVars& vars);
// A new game from level 1: the level values and no bonus yet.
void ResetGameValues(TGameVars& vars);

// Hunger, the life drain of full hunger, and the two animation clocks; per frame.
void RunPlayClocks(TGameVars& vars);
// The pulsing phase of the level-intro text, swept from -pi to pi.
void AdvanceIntroAngle(TGameVars& vars, int32_t lagCount);
// Life exhausted: back to the game-over state with fresh values. True when it fired.
bool ApplyGameOver(TGameVars& vars);
// The level's target reached below the last level: next level, intro screen.
bool ApplyLevelCompletion(TGameVars& vars);
// Screens drawn with pictures (every state but play).
bool IsPictureScreen(int32_t gameState);

// The three texts of the status line.
std::string LifeText(const TGameVars& vars);
std::string PointsText(const TGameVars& vars);
std::string HungerText(const TGameVars& vars);
