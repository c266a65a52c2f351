#pragma once
// The thirteen creature kinds of the game in one table: what each is, the stem of its
// picture files, what touching it does to the shark, and which group of the level builder
// places it. The catalogue, the level builder, the monsters and the shark all read their
// facts about a kind from here, so a creature is changed in one row.
//
// A kind's number is its index in the table; it is the monster's `Kind`, and it is part of
// the pictures' item names (`f<kind><frame>`), so the numbers never change.

#include <array>
#include <cstddef>
#include <cstdint>

#include "game/game_vars.h"

enum TCreatureKind : int32_t {
  ckMine = 0,
  ckSmallFish = 1,
  ckAngelfish = 2,
  ckPiranha = 3,
  ckPufferfish = 4,
  ckBarrel = 5,
  ckWrasse = 6,
  ckCuttlefish = 7,
  ckGreenfish = 8,
  ckPorcupineFish = 9,
  ckAnglerfish = 10,
  ckEyefish = 11,
  ckWhale = 12,
};

inline constexpr int32_t kCreatureKindCount = 13;

// What one touch does, before the game's clamps. Food and harmful kinds change the values
// by these amounts once per touch and are then sent back to the far right; predators
// (Drains) change them by these amounts per millisecond of the frame for as long as they
// overlap the shark, and stay where they are.
struct TTouchEffect {
  double Points;
  double Life;
  double Hunger;
  bool Drains;
};

// A fixed group of the level builder: Count monsters of one kind on the levels
// FirstLevel to LastLevel. Count 0: the kind has no fixed group.
struct TFixedGroup {
  int32_t Count;
  int32_t FirstLevel;
  int32_t LastLevel;
};

struct TCreatureKindInfo {
  const char* Name;  // for readers and tools; the game shows no creature names
  // The picture files are Data\Monsters\Levels\<Stem><frame>.bmp, frames 1 to 4.
  const char* Stem;
  TTouchEffect Touch;
  // Drops debris along with its bubbles.
  bool LeaksDebris;
  TFixedGroup FixedGroup;
};

// The predators' drain per millisecond is written as the game has always computed it: a
// base rate doubled for life.
inline constexpr std::array<TCreatureKindInfo, kCreatureKindCount> kCreatureKinds = {{
    {"mine", "bomba", {0, -7, 7, false}, false, {41, 1, 2}},
    {"small fish", "f", {2, 2, -2, false}, false, {}},
    {"angelfish", "Angel", {9, 9, -9, false}, false, {}},
    {"piranha", "pirania", {3, 3, -3, false}, false, {}},
    {"pufferfish", "Pigoplip", {6, 6, -6, false}, false, {}},
    {"leaking barrel", "bochka", {0, -12, 12, false}, true, {21, 2, 3}},
    {"wrasse", "guban", {7, 7, -7, false}, false, {}},
    {"cuttlefish", "kar", {-0.01, -0.05 * 2, 0.005, true}, false, {16, 6, kLastLevel}},
    {"greenfish", "Zelenuska", {9, 9, -9, false}, false, {}},
    {"porcupine fish", "kol", {-2, -7, 7, false}, false, {}},
    {"anglerfish", "ves", {-0.01, -0.07 * 2, 0.005, true}, false, {16, 8, kLastLevel}},
    {"eyefish", "Glaz", {1, 1, -1, false}, false, {}},
    {"whale", "kit", {-0.03, -0.09 * 2, 0.005, true}, false, {}},
}};

// The row of a kind, 0 to 12 (std::out_of_range for any other number).
constexpr const TCreatureKindInfo& CreatureKind(int32_t kind) {
  return kCreatureKinds.at(static_cast<std::size_t>(kind));
}

// The kinds the level builder draws at random on a level: 0 to Level + 3, where a draw
// past the last kind (only 13, at level 10) stands for the small fish.
constexpr int32_t RandomKindDraws(int32_t level) { return level + 4; }
constexpr int32_t KindOfDraw(int32_t draw) {
  return draw >= kCreatureKindCount ? ckSmallFish : draw;
}
