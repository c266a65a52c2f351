#include "engine/timer/cos_table.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/timer/geometry.h"

TEST(Cos256, QuarterPointsAndWrapOfTheArgument) {
  EXPECT_EQ(Cos256(0), 1.0);
  EXPECT_NEAR(Cos256(64), 0.0, 1e-16);
  EXPECT_EQ(Cos256(128), -1.0);
  EXPECT_EQ(Cos256(256), Cos256(0));
  EXPECT_EQ(Cos256(512), Cos256(0));
  EXPECT_EQ(Cos256(-1), Cos256(255));
  EXPECT_DOUBLE_EQ(Cos256(32), std::sqrt(0.5));
}

TEST(Rectangles, OverlapNeedsSharedInteriorOnBothAxes) {
  const TRect a{0, 0, 10, 10};
  EXPECT_TRUE(OverlapRect(a, TRect{9, 9, 20, 20}));
  EXPECT_FALSE(OverlapRect(a, TRect{10, 0, 20, 10}));  // touching edges
  EXPECT_FALSE(OverlapRect(a, TRect{0, 10, 10, 20}));
  EXPECT_TRUE(OverlapRect(a, TRect{-5, 2, 50, 3}));
  EXPECT_EQ(MaxInt32(-3, 2), 2);
  EXPECT_EQ(MinInt32(INT32_MIN, 0), INT32_MIN);
}

TEST(Rectangles, EmptyRectangleOverlapsNothing) {
  const TRect a{0, 0, 10, 10};
  // Corners strictly inside a, in either argument place.
  for (const TRect& empty : {TRect{5, 5, 5, 8}, TRect{5, 5, 8, 5}, TRect{5, 5, 5, 5},
                             TRect{6, 6, 4, 8}, TRect{6, 6, 8, 4}}) {
    EXPECT_FALSE(OverlapRect(a, empty)) << empty.Left << "," << empty.Top;
    EXPECT_FALSE(OverlapRect(empty, a)) << empty.Left << "," << empty.Top;
    EXPECT_FALSE(OverlapRect(empty, empty));
  }
}
