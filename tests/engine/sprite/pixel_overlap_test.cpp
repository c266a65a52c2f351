#include "engine/sprite/pixel_overlap.h"

#include <gtest/gtest.h>

#include <memory>

#include "engine/graphics/direct_draw.h"
#include "engine/graphics/direct_draw_surface.h"

namespace {

// Surfaces of one depth, filled with their colour key (transparent) until pixels are set.
class PixelOverlapTest : public ::testing::Test {
 protected:
  std::unique_ptr<TDirectDrawSurface> surface(TDirectDraw& device, int w, int h, uint32_t key) {
    auto s = std::make_unique<TDirectDrawSurface>(&device);
    s->SetSize(w, h);
    s->SetColorKey(key);
    s->Fill(key);
    return s;
  }

  TDirectDraw ddraw16{nullptr};
};

TEST_F(PixelOverlapTest, OnlyAnOpaquePairInTheSharedRegionCollides) {
  auto a = surface(ddraw16, 10, 10, 0xF81F);
  auto b = surface(ddraw16, 10, 10, 0x0000);
  const TRect box{0, 0, 10, 10};
  a->SetPixel(9, 9, 0x1234);
  b->SetPixel(0, 0, 0x4321);
  EXPECT_TRUE(PatternsOverlap(box, a.get(), box, b.get(), 9, 9));
  EXPECT_FALSE(PatternsOverlap(box, a.get(), box, b.get(), 8, 8));
  EXPECT_FALSE(PatternsOverlap(box, a.get(), box, b.get(), 10, 9));  // boxes only touch
  // Negative offsets read the second pattern from inside.
  EXPECT_TRUE(PatternsOverlap(box, b.get(), box, a.get(), -9, -9));
  EXPECT_EQ(a->LockCount(), 0);
  EXPECT_EQ(b->LockCount(), 0);
}

TEST_F(PixelOverlapTest, PatternRectanglesAreOffsetsIntoTheirSurfaces) {
  auto sheet = surface(ddraw16, 20, 10, 0);
  sheet->SetPixel(12, 3, 0xFFFF);  // pattern 1 (10..20), its pixel (2, 3)
  sheet->SetPixel(2, 3, 0xFFFF);   // pattern 0, the same place
  const TRect p0{0, 0, 10, 10};
  const TRect p1{10, 0, 20, 10};
  EXPECT_TRUE(PatternsOverlap(p0, sheet.get(), p1, sheet.get(), 0, 0));
  EXPECT_FALSE(PatternsOverlap(p0, sheet.get(), p1, sheet.get(), 1, 0));
  EXPECT_EQ(sheet->LockCount(), 0);
}

TEST_F(PixelOverlapTest, MissingSurfaceLeavesTheBoxesAndFarOffsetsDoNotOverflow) {
  auto a = surface(ddraw16, 10, 10, 0);
  const TRect box{0, 0, 10, 10};
  EXPECT_TRUE(PatternsOverlap(box, a.get(), box, nullptr, 5, 5));
  EXPECT_FALSE(PatternsOverlap(box, a.get(), box, nullptr, 50, 5));
  EXPECT_FALSE(PatternsOverlap(box, a.get(), TRect{}, nullptr, 0, 0));  // empty pattern
  EXPECT_FALSE(PatternsOverlap(box, a.get(), box, a.get(), int64_t{INT32_MAX} * 2, 0));
  EXPECT_FALSE(PatternsOverlap(box, a.get(), box, a.get(), -int64_t{INT32_MAX} * 2, 0));
}

TEST_F(PixelOverlapTest, EmptyPatternOverlapsNothingWhereverItLies) {
  auto a = surface(ddraw16, 10, 10, 0);
  a->Fill(0xFFFF);
  const TRect box{0, 0, 10, 10};
  for (int64_t d : {-1, 0, 5, 9}) {
    EXPECT_FALSE(PatternsOverlap(box, a.get(), TRect{}, nullptr, d, d)) << d;
    EXPECT_FALSE(PatternsOverlap(TRect{}, nullptr, box, a.get(), -d, -d)) << d;
    EXPECT_FALSE(PatternsOverlap(box, a.get(), TRect{3, 3, 3, 8}, a.get(), d, d)) << d;
  }
}

TEST_F(PixelOverlapTest, DifferentDepthsCollideAndThirtyTwoBitsIgnoreTheTopByte) {
  TDirectDraw ddraw32(nullptr, PixelFormat888(32));
  auto a = surface(ddraw16, 4, 4, 0);
  auto b = surface(ddraw32, 4, 4, 0x00FF00FF);
  const TRect box{0, 0, 4, 4};
  EXPECT_TRUE(PatternsOverlap(box, a.get(), box, b.get(), 0, 0));

  auto c = surface(ddraw32, 4, 4, 0x00FF00FF);
  c->SetPixel(1, 1, 0xAAFF00FF);  // the key with another top byte: still transparent
  auto d = surface(ddraw32, 4, 4, 0);
  d->SetPixel(1, 1, 0x00000001);
  EXPECT_FALSE(PatternsOverlap(box, c.get(), box, d.get(), 0, 0));
  c->SetPixel(1, 1, 0x00FF00FE);
  EXPECT_TRUE(PatternsOverlap(box, c.get(), box, d.get(), 0, 0));
}

TEST_F(PixelOverlapTest, RegionOutsideItsSurfaceIsRefused) {
  auto a = surface(ddraw16, 10, 10, 0);
  a->Fill(0xFFFF);
  const TRect inside{0, 0, 10, 10};
  const TRect outside{5, 5, 15, 15};
  EXPECT_FALSE(PatternsOverlap(outside, a.get(), inside, a.get(), 0, 0));
  EXPECT_EQ(a->LockCount(), 0);
}

}  // namespace
