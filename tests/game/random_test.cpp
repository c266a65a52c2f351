#include "game/random.h"

#include <gtest/gtest.h>

#include "support/fake_app.h"

namespace {

TEST(Random, StepsTheSeedAndKeepsTheUpperHalfOfTheProduct) {
  RandSeed = 0;
  EXPECT_EQ(Random(1000), 0);  // seed 0 steps to 1, and 1 x 1000 has no upper half
  EXPECT_EQ(RandSeed, 1u);
  // 134775814 x 100 = 13477581400 = 3 x 2^32 + ...
  EXPECT_EQ(Random(100), 3);
  EXPECT_EQ(RandSeed, 134775814u);
  // The seed wraps at 32 bits: 134775814 x 134775813 + 1 mod 2^32.
  const uint32_t expected = static_cast<uint32_t>(uint64_t{134775814} * 134775813u + 1u);
  Random(7);
  EXPECT_EQ(RandSeed, expected);
}

TEST(Random, OneAndZeroAlwaysGiveZeroAndResultsStayInRange) {
  RandSeed = 0xFFFFFFFFu;
  for (int i = 0; i < 1000; ++i) {
    EXPECT_EQ(Random(1), 0);
    EXPECT_EQ(Random(0), 0);
    const int32_t r = Random(50000);
    ASSERT_GE(r, 0);
    ASSERT_LT(r, 50000);
  }
}

TEST(Random, ReseedingTakesTheLowHalfOfTheCounterOrTheTicksWithoutOne) {
  FakeApp f;
  f.clock().setHighResCounter(0x123456789ABCDEF0ull);
  Randomize();
  EXPECT_EQ(RandSeed, 0x9ABCDEF0u);
  f.clock().setHighResFrequency(0);
  f.clock().setTicks(4242);
  Randomize();
  EXPECT_EQ(RandSeed, 4242u);
}

}  // namespace
