#pragma once
// The one game-state record, read and written directly by the screens, the frame step,
// the sprites and the handlers. Zero-filled before the main window is created.

#include <cstdint>

// Values of GameState.
inline constexpr int32_t gsMenu = 0;
inline constexpr int32_t gsPlay = 1;
inline constexpr int32_t gsGameOver = 2;
inline constexpr int32_t gsLevelIntro = 3;
inline constexpr int32_t gsRecords = 25;
inline constexpr int32_t gsPicture = 100;

// ResumeLock while there is no game to continue; HoverItem over no menu item.
inline constexpr int32_t kNoResume = 5;
inline constexpr int32_t kNoItem = 100;
inline constexpr int32_t kLastLevel = 10;

struct TGameVars {
  int32_t GameState = 0;
  int32_t LevelReady = 0;
  int32_t Level = 0;
  int32_t ResumeLock = 0;
  int32_t LevelBonus = 0;
  double Life = 0;
  double Hunger = 0;
  double LastLag = 0;
  double Points = 0;
  double IntroAngle = 0;
  int32_t SharkFrame = 0;
  int32_t SharkFrameTicks = 0;
  int32_t MonsterFrame = 0;
  int32_t MonsterFrameTicks = 0;
  int32_t PointerX = 0;
  int32_t PointerY = 0;
  int32_t HoverItem = 0;
};

extern TGameVars GameVars;
