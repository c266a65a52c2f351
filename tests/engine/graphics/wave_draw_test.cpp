#include <gtest/gtest.h>

#include <cmath>

#include "engine/graphics/direct_draw_surface.h"
#include "engine/timer/cos_table.h"

namespace {

class WaveDrawTest : public ::testing::Test {
 protected:
  TDirectDraw ddraw{nullptr};

  std::unique_ptr<TDirectDrawSurface> surface(int w, int h) {
    auto s = std::make_unique<TDirectDrawSurface>(&ddraw);
    s->SetSize(w, h);
    return s;
  }
  // Pixel (x, y) = 100 * y + x + 1, so every pixel says where it came from.
  std::unique_ptr<TDirectDrawSurface> numbered(int w, int h) {
    auto s = surface(w, h);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) s->SetPixel(x, y, static_cast<uint32_t>(100 * y + x + 1));
    }
    return s;
  }
  // The column of the leftmost drawn pixel of a row, or -1.
  static int firstDrawn(TDirectDrawSurface& s, int row) {
    for (int x = 0; x < s.Width(); ++x) {
      if (s.GetPixel(x, row) != 0) return x;
    }
    return -1;
  }
};

}  // namespace

TEST_F(WaveDrawTest, AmplitudeZeroIsAPlainScaledCopy) {
  auto src = numbered(4, 4);
  auto dest = surface(10, 10);
  dest->DrawWave(1, 1, 8, 8, src->ClipRect(), src.get(), false, 0, 80, 37);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      ASSERT_EQ(dest->GetPixel(1 + x, 1 + y), static_cast<uint32_t>(100 * (y / 2) + x / 2 + 1));
    }
  }
  EXPECT_EQ(dest->GetPixel(0, 0), 0u);
}

TEST_F(WaveDrawTest, ALargerSourceIsSampledWithNearestPixels) {
  auto src = numbered(8, 2);
  auto dest = surface(4, 1);
  dest->DrawWave(0, 0, 4, 1, src->ClipRect(), src.get(), false, 0, 0, 0);
  EXPECT_EQ(dest->GetPixel(0, 0), 1u);
  EXPECT_EQ(dest->GetPixel(1, 0), 3u);
  EXPECT_EQ(dest->GetPixel(3, 0), 7u);
}

TEST_F(WaveDrawTest, WavelengthZeroShiftsEveryRowAlike) {
  auto src = numbered(2, 5);
  auto dest = surface(20, 5);
  // Phase 64 is a quarter turn: the sine is 1, every row moves by the amplitude.
  dest->DrawWave(5, 0, 2, 5, src->ClipRect(), src.get(), false, 3, 0, 64);
  for (int y = 0; y < 5; ++y) EXPECT_EQ(firstDrawn(*dest, y), 8);
}

TEST_F(WaveDrawTest, ABoxAboveTheScreenContinuesItsRowsAndPhase) {
  auto src = numbered(6, 12);
  auto clipped = surface(40, 20);
  auto whole = surface(40, 23);
  clipped->DrawWave(10, -3, 6, 12, src->ClipRect(), src.get(), false, 4, 7, 50);
  whole->DrawWave(10, 0, 6, 12, src->ClipRect(), src.get(), false, 4, 7, 50);
  for (int y = 0; y < 9; ++y) {
    for (int x = 0; x < 40; ++x)
      ASSERT_EQ(clipped->GetPixel(x, y), whole->GetPixel(x, y + 3)) << x << "," << y;
  }
}

TEST_F(WaveDrawTest, RowsPushedOffTheSurfaceAreSkippedWithoutEndingTheDraw) {
  auto src = numbered(3, 16);
  auto dest = surface(30, 16);
  // Amplitude 30 throws some rows off the right and some off the left; a wavelength of
  // 16 rows brings the ones near the zero crossings back on screen.
  dest->DrawWave(10, 0, 3, 16, src->ClipRect(), src.get(), false, 30, 16, 0);
  int drawn = 0;
  for (int y = 0; y < 16; ++y) {
    const int expected =
        10 + static_cast<int>(std::nearbyint(Cos256(((256 * y / 16) + 192) & 255) * 30));
    if (expected + 3 <= 0 || expected >= 30) {
      EXPECT_EQ(firstDrawn(*dest, y), -1) << y;
    } else {
      EXPECT_EQ(firstDrawn(*dest, y), std::max(expected, 0)) << y;
      ++drawn;
    }
  }
  EXPECT_GE(drawn, 3);
  EXPECT_NE(firstDrawn(*dest, 15), -1);  // a row after the skipped ones
}

TEST_F(WaveDrawTest, ALargePhaseTakesItsAngleFromTheTruncatedDivision) {
  auto src = surface(1, 1);
  src->SetPixel(0, 0, 7);
  auto dest = surface(300, 2);
  // Phase 32768 makes the accumulator negative; the second row's angle is 22 (truncated
  // toward zero), not 21 (rounded down): an offset of 86 rather than 87.
  dest->DrawWave(100, 0, 1, 2, src->ClipRect(), src.get(), false, 100, 3, 32768);
  EXPECT_EQ(firstDrawn(*dest, 0), 100);
  EXPECT_EQ(firstDrawn(*dest, 1), 186);
}

TEST_F(WaveDrawTest, TheKeyLeavesTheDestinationAndBadRectanglesDrawNothing) {
  auto src = numbered(3, 1);
  src->SetColorKey(2);
  auto dest = surface(3, 1);
  dest->Fill(0x55);
  dest->DrawWave(0, 0, 3, 1, src->ClipRect(), src.get(), true, 0, 0, 0);
  EXPECT_EQ(dest->GetPixel(0, 0), 1u);
  EXPECT_EQ(dest->GetPixel(1, 0), 0x55u);
  dest->Fill(0);
  dest->DrawWave(0, 0, 3, 1, TRect{0, 0, 4, 1}, src.get(), false, 0, 0, 0);
  dest->DrawWave(0, 0, 3, 1, TRect{2, 0, 2, 1}, src.get(), false, 0, 0, 0);
  dest->DrawWave(0, 0, 0, 1, src->ClipRect(), src.get(), false, 0, 0, 0);
  dest->DrawWave(0, 0, 3, 1, src->ClipRect(), nullptr, false, 0, 0, 0);
  dest->DrawWave(0, 5, 3, 1, src->ClipRect(), src.get(), false, 0, 0, 0);
  EXPECT_EQ(firstDrawn(*dest, 0), -1);
  EXPECT_EQ(dest->LockCount(), 0);
  EXPECT_EQ(src->LockCount(), 0);
}
