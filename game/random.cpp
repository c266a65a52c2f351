#include "game/random.h"

#include "framework/application.h"

uint32_t RandSeed = 0;

int32_t Random(int32_t n) {
  RandSeed = RandSeed * 134775813u + 1u;
  // The product of the seed and n, taken as an unsigned 32-bit by signed 32-bit
  // multiplication, keeps its upper half.
  const int64_t product = static_cast<int64_t>(RandSeed) * static_cast<int64_t>(n);
  return static_cast<int32_t>(product >> 32);
}

void Randomize() {
  platform::Clock& clock = Application->Platform().clock();
  RandSeed =
      clock.highResFrequency() != 0 ? static_cast<uint32_t>(clock.highResCounter()) : clock.ticks();
}
