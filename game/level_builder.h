#pragma once
// The monster groups of a level: a large group of random kinds and, at some levels, the
// fixed groups the creature table gives (mines, barrels and predators).

#include <cstdint>
#include <vector>

inline constexpr int32_t kRandomKind = -1;

struct TMonsterGroup {
  int32_t Count;
  int32_t Kind;  // kRandomKind: drawn for each monster from the kinds of the level
};

// The groups of a level in the order they are built.
std::vector<TMonsterGroup> LevelMonsterGroups(int32_t level);
