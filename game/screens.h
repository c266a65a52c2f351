#pragma once
// What every screen but play draws, as lists of drawings the frame step carries out: the
// menu, the game-over banner, the level intro, the records table, the picture screen and
// the game's own pointer.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "game/game_vars.h"

// One picture: pattern 0 of an image-list item at (X, Y), either at its own size or
// scaled into a Width x Height box with its rows shifted by a sine wave.
struct TPictureDrawing {
  std::string Image;
  int X = 0;
  int Y = 0;
  bool Wave = false;
  int Width = 0;
  int Height = 0;
  int Amplitude = 0;
  int Wavelength = 0;
  int Phase = 0;
  bool operator==(const TPictureDrawing&) const = default;
};

// One text at (X, Y), its top-left corner; the font keeps what earlier texts (or the
// previous frame) left unless the drawing changes it.
struct TTextDrawing {
  int X = 0;
  int Y = 0;
  std::string Text;
  std::optional<int> Size;
  std::optional<uint32_t> Color;
  bool operator==(const TTextDrawing&) const = default;
};

// The pictures of the screen of vars.GameState, drawn over the frozen scene; none in play.
std::vector<TPictureDrawing> ScreenPictures(const TGameVars& vars, int32_t menuTicks);
// The pulsing level number and, below level 9, the level's target.
std::vector<TTextDrawing> LevelIntroTexts(const TGameVars& vars);
// Rank, name and score of each of the ten records.
std::vector<TTextDrawing> RecordsTexts();
// The version text of the menu.
TTextDrawing VersionText();
// The game's pointer at the pointer position, its top-left corner the hot spot.
TPictureDrawing CursorPicture(const TGameVars& vars, int32_t menuTicks);
