#pragma once
// The thirteen monster kinds, facing left, four frames each (frames 1 to 3 are one swim
// cycle; frame 4 is the half-way pose).

#include "game/creature_kinds.h"
#include "tools/art/raster.h"

namespace art {

// The kinds, their names and the stems of their files are the game's creature table.
constexpr int kMonsterKinds = kCreatureKindCount;

// Canvas size of a kind's frames.
void monsterSize(int kind, int* w, int* h);
// Draws kind at swim phase 0..1 in its own frame (for the sprite and the guide).
void drawMonster(cairo_t* cr, int kind, double phase);
// Frame 1..4 of kind, keyed on white.
Raster paintMonster(int kind, int frame);

}  // namespace art
