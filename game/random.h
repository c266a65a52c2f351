#pragma once
// The game's one random generator: a 32-bit linear congruential generator shared by the
// level builder, the monsters and the shark, re-seeded from the high-resolution clock.

#include <cstdint>

// The generator's state; 0 until the first re-seeding.
extern uint32_t RandSeed;

// An integer from 0 to n - 1: the seed steps on, and the upper 32 bits of seed x n are
// the result. Random(0) and Random(1) are always 0.
int32_t Random(int32_t n);

// Takes the low 32 bits of the high-resolution counter as the new seed, or the
// millisecond tick count on a machine without such a counter.
void Randomize();
