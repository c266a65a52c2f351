#include "game/held_repeat.h"

#include <gtest/gtest.h>

namespace {

TEST(HeldRepeat, FirstAfterFourTenthsOfASecondThenEveryTenthAtAnyFrameRate) {
  for (int32_t lag : {4, 7, 16, 17, 33, 50, 100}) {
    THeldRepeat repeat;
    repeat.Press();
    int repeats = 0;
    int32_t held = 0;
    while (held + lag < kFirstRepeatMs) {
      held += lag;
      repeats += repeat.Hold(true, lag);
    }
    EXPECT_EQ(repeats, 0) << lag << " ms frames";
    while (held < 1000) {
      held += lag;
      repeats += repeat.Hold(true, lag);
    }
    EXPECT_EQ(repeats, 7) << lag << " ms frames: at 0.4, 0.5, ... 1.0 s";
    EXPECT_EQ(repeat.Hold(false, lag), 0);
    EXPECT_EQ(repeat.Hold(true, 1000), 0) << "let go, it waits for a new press";
  }
}

TEST(HeldRepeat, AReleasedRepeatIgnoresADirectionHeldSinceBefore) {
  THeldRepeat repeat;
  repeat.Press();
  EXPECT_EQ(repeat.Hold(true, 100), 0);
  repeat.Release();
  EXPECT_EQ(repeat.Hold(true, 1000), 0);
  repeat.Press();
  EXPECT_EQ(repeat.Hold(true, 399), 0);
  EXPECT_EQ(repeat.Hold(true, 1), 1) << "a new press counts from itself";
}

}  // namespace
