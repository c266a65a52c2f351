#include "engine/graphics/direct_draw_surface.h"

#include <gtest/gtest.h>

#include "engine/graphics/dib.h"

namespace {

class SurfaceTest : public ::testing::Test {
 protected:
  TDirectDraw ddraw{nullptr};

  // A w x h surface whose pixel at (x, y) is 100 * y + x + 1.
  std::unique_ptr<TDirectDrawSurface> numbered(int w, int h) {
    auto s = std::make_unique<TDirectDrawSurface>(&ddraw);
    s->SetSize(w, h);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) s->SetPixel(x, y, static_cast<uint32_t>(100 * y + x + 1));
    }
    return s;
  }
  std::unique_ptr<TDirectDrawSurface> blank(int w, int h) {
    auto s = std::make_unique<TDirectDrawSurface>(&ddraw);
    s->SetSize(w, h);
    return s;
  }
};

}  // namespace

TEST_F(SurfaceTest, ABlitOffTheLeftEdgeCopiesTheVisibleColumns) {
  auto dest = blank(100, 10);
  auto src = numbered(50, 1);
  dest->BlitFrom(-10, 0, src->ClipRect(), src.get(), false);
  EXPECT_EQ(dest->GetPixel(0, 0), 11u);   // source column 10
  EXPECT_EQ(dest->GetPixel(39, 0), 50u);  // source column 49
  EXPECT_EQ(dest->GetPixel(40, 0), 0u);
}

TEST_F(SurfaceTest, ABlitAtOrPastTheRightEdgeDrawsNothing) {
  auto dest = blank(20, 5);
  auto src = numbered(5, 5);
  dest->BlitFrom(20, 0, src->ClipRect(), src.get(), false);
  dest->BlitFrom(21, 0, src->ClipRect(), src.get(), false);
  dest->BlitFrom(0, 6, src->ClipRect(), src.get(), false);
  for (int x = 0; x < 20; ++x) EXPECT_EQ(dest->GetPixel(x, 0), 0u);
  dest->BlitFrom(18, 3, src->ClipRect(), src.get(), false);  // right and bottom cut
  EXPECT_EQ(dest->GetPixel(18, 3), 1u);
  EXPECT_EQ(dest->GetPixel(19, 4), 102u);
}

TEST_F(SurfaceTest, ASourceRectangleLeavingTheSourceIsCutOnBothSides) {
  auto dest = blank(10, 10);
  auto src = numbered(4, 4);
  // Source columns -2..1: the two missing columns move the destination right by two.
  dest->BlitFrom(3, 3, TRect{-2, -1, 2, 6}, src.get(), false);
  EXPECT_EQ(dest->GetPixel(5, 4), 1u);
  EXPECT_EQ(dest->GetPixel(6, 7), 302u);
  EXPECT_EQ(dest->GetPixel(4, 4), 0u);
  EXPECT_EQ(dest->GetPixel(5, 8), 0u);
}

TEST_F(SurfaceTest, TransparentCopiesSkipTheSourceKey) {
  auto dest = blank(4, 1);
  dest->Fill(0x7777);
  auto src = numbered(4, 1);
  src->SetColorKey(2);
  dest->BlitFrom(0, 0, src->ClipRect(), src.get(), true);
  EXPECT_EQ(dest->GetPixel(0, 0), 1u);
  EXPECT_EQ(dest->GetPixel(1, 0), 0x7777u);
  EXPECT_EQ(dest->GetPixel(2, 0), 3u);
  dest->BlitFrom(0, 0, src->ClipRect(), src.get(), false);
  EXPECT_EQ(dest->GetPixel(1, 0), 2u);
}

TEST_F(SurfaceTest, AReversedRectangleCopiesMirroredAndCutsTheRightEnd) {
  auto dest = blank(10, 3);
  auto src = numbered(4, 2);
  dest->BlitFrom(2, 0, TRect{4, 0, 0, 2}, src.get(), false);
  EXPECT_EQ(dest->GetPixel(2, 0), 4u);
  EXPECT_EQ(dest->GetPixel(5, 0), 1u);
  dest->Fill(0);
  dest->BlitFrom(0, 0, TRect{0, 2, 4, 0}, src.get(), false);
  EXPECT_EQ(dest->GetPixel(0, 0), 101u);
  EXPECT_EQ(dest->GetPixel(0, 1), 1u);
  // Off the left edge, the columns that would have been drawn there are the ones lost.
  dest->Fill(0);
  dest->BlitFrom(-1, 0, TRect{4, 0, 0, 2}, src.get(), false);
  EXPECT_EQ(dest->GetPixel(0, 0), 3u);
  EXPECT_EQ(dest->GetPixel(2, 0), 1u);
  EXPECT_EQ(dest->GetPixel(3, 0), 0u);
}

TEST_F(SurfaceTest, MatchColorKeepsTheTopBitsOfEachChannel) {
  auto s = blank(2, 2);
  EXPECT_EQ(s->MatchColor(0x00008000), 0x0400u);  // green (0, 128, 0)
  EXPECT_EQ(s->MatchColor(0x00FFFFFF), 0xFFFFu);
  EXPECT_EQ(s->MatchColor(0x000000FF), 0xF800u);  // red sits in the high bits
  EXPECT_EQ(s->MatchColor(0x00FF0000), 0x001Fu);
  EXPECT_EQ(s->MatchColor(0x8000000F), s->MatchColor(0x00C8D0D4));  // the button face
  TDirectDraw ddraw555(nullptr, PixelFormat555());
  TDirectDrawSurface s555(&ddraw555);
  s555.SetSize(1, 1);
  EXPECT_EQ(s555.MatchColor(0x00008000), 0x0200u);
  TDirectDrawSurface none(&ddraw);
  EXPECT_EQ(none.MatchColor(0x00FFFFFF), 0u);
}

TEST_F(SurfaceTest, LocksDoNotNest) {
  auto s = numbered(3, 3);
  EXPECT_EQ(s->GetPixel(-1, 0), 0u);
  EXPECT_EQ(s->LockCount(), 0);
  TDDSurfaceDesc desc;
  ASSERT_TRUE(s->Lock(desc));
  EXPECT_EQ(desc.Pitch, 8);
  TDDSurfaceDesc second;
  EXPECT_FALSE(s->Lock(second));
  EXPECT_EQ(s->GetPixel(1, 1), 0u);  // its own lock fails while locked
  s->Unlock();
  s->Unlock();
  EXPECT_EQ(s->LockCount(), 0);
  EXPECT_EQ(s->GetPixel(1, 1), 102u);
  TRect part{1, 1, 3, 3};
  ASSERT_TRUE(s->Lock(&part, desc));
  EXPECT_EQ(*static_cast<uint16_t*>(desc.Surface), 102u);
  s->Unlock();
  TRect outside{2, 2, 4, 3};
  EXPECT_FALSE(s->Lock(&outside, desc));
}

TEST_F(SurfaceTest, SetSizeWithoutAreaChangesNothing) {
  TDirectDrawSurface s(&ddraw);
  s.SetSize(0, 10);
  EXPECT_FALSE(s.HasSurface());
  EXPECT_EQ(s.Width(), 0);
  EXPECT_THROW(s.ISurface(), EDirectDrawSurfaceError);
  s.SetSize(4, 3);
  s.SetPixel(1, 1, 9);
  s.SetSize(-1, 3);
  EXPECT_EQ(s.Width(), 4);
  EXPECT_EQ(s.GetPixel(1, 1), 9u);
}

TEST_F(SurfaceTest, DisplayMemoryRunsOutIntoSystemMemory) {
  ddraw.SetDisplayMemoryBudget(100);
  TDirectDrawSurface s(&ddraw);
  s.SetSize(100, 100);
  EXPECT_TRUE(s.SystemMemory);
  TDirectDrawSurface huge(&ddraw);
  try {
    huge.SetSize(100000, 100000);
    FAIL();
  } catch (const EDirectDrawSurfaceError& e) {
    EXPECT_EQ(e.Message(), "Surface cannot be made");
  }
}

TEST_F(SurfaceTest, PixelsAtEveryDepth) {
  for (int bits : {1, 4, 8, 16, 24, 32}) {
    SCOPED_TRACE(bits);
    TDirectDraw device(nullptr, bits <= 8    ? PixelFormatIndexed(bits)
                                : bits == 16 ? PixelFormat565()
                                             : PixelFormat888(bits));
    TDirectDrawSurface s(&device);
    s.SetSize(11, 2);
    const uint32_t mask = bits == 32 ? 0xFFFFFFFFu : (1u << bits) - 1u;
    for (int x = 0; x < 11; ++x)
      s.SetPixel(x, 1, (0x9E3779B9u * static_cast<uint32_t>(x + 1)) & mask);
    for (int x = 0; x < 11; ++x) {
      EXPECT_EQ(s.GetPixel(x, 1), (0x9E3779B9u * static_cast<uint32_t>(x + 1)) & mask);
      EXPECT_EQ(s.GetPixel(x, 0), 0u);
    }
  }
  TDirectDraw mono(nullptr, PixelFormatIndexed(1));
  TDirectDrawSurface s(&mono);
  s.SetSize(9, 1);
  s.SetPixel(0, 0, 1);
  TDDSurfaceDesc desc;
  ASSERT_TRUE(s.Lock(desc));
  EXPECT_EQ(*static_cast<uint8_t*>(desc.Surface), 0x80);  // leftmost pixel, top bit
  s.Unlock();
}

TEST_F(SurfaceTest, PicturesLoadThroughTheSameColourConversion) {
  TDIB dib;
  dib.SetSize(4, 2, 24);
  dib.SetPixel(0, 0, 0x008000);  // green as 0x00RRGGBB
  dib.SetPixel(3, 1, 0xFFFFFF);
  auto s = blank(1, 1);
  s->LoadGraphic(dib);
  EXPECT_EQ(s->Width(), 4);
  EXPECT_EQ(s->GetPixel(0, 0), s->MatchColor(0x00008000));
  EXPECT_EQ(s->GetPixel(3, 1), 0xFFFFu);
  // Stretched twice as large with nearest pixels, from a part of the picture.
  s->LoadGraphicRect(dib, TRect{2, 0, 4, 2}, 4, 4);
  EXPECT_EQ(s->GetPixel(3, 3), 0xFFFFu);
  EXPECT_EQ(s->GetPixel(2, 2), 0xFFFFu);
  EXPECT_EQ(s->GetPixel(1, 3), 0u);
  TDIB back;
  s->AssignTo(back);
  EXPECT_EQ(back.BitCount(), 24);
  EXPECT_EQ(back.PixelRGB(3, 3), 0xF8FCF8u);
}

TEST_F(SurfaceTest, LostSurfacesRefuseCopiesUntilRestored) {
  auto dest = blank(4, 4);
  auto src = numbered(2, 2);
  ddraw.MarkSurfacesLost();
  EXPECT_TRUE(dest->IsLost());
  EXPECT_FALSE(dest->Fill(5));
  EXPECT_EQ(dest->LastResult(), DDERR_SURFACELOST);
  EXPECT_TRUE(dest->RestoreLost());
  EXPECT_TRUE(src->RestoreLost());
  EXPECT_TRUE(dest->Fill(5));
  dest->BlitFrom(0, 0, src->ClipRect(), src.get(), false);
  EXPECT_EQ(dest->GetPixel(1, 1), 102u);
}

TEST_F(SurfaceTest, AClipperSendsCopiesThroughTheClippingCopy) {
  auto dest = blank(6, 6);
  auto src = numbered(4, 4);
  TDirectDrawClipper clipper(&ddraw);
  clipper.SetClipRect(TRect{0, 0, 3, 3});
  dest->SetClipper(&clipper);
  EXPECT_TRUE(dest->HasClipper());
  dest->BlitFrom(1, 1, src->ClipRect(), src.get(), false);
  EXPECT_EQ(dest->GetPixel(1, 1), 1u);
  EXPECT_EQ(dest->GetPixel(2, 2), 102u);
  EXPECT_EQ(dest->GetPixel(3, 3), 0u);  // outside the clip list
}

TEST_F(SurfaceTest, TheDeviceLeavesItsSurfacesEmptyWhenItGoes) {
  auto device = std::make_unique<TDirectDraw>(nullptr);
  TDirectDrawSurface s(device.get());
  s.SetSize(3, 3);
  TDirectDrawSurface shared(device.get());
  shared.Assign(&s);
  EXPECT_EQ(shared.Width(), 3);
  EXPECT_EQ(device->SurfaceCount(), 2);
  device.reset();
  EXPECT_EQ(s.Width(), 0);
  EXPECT_EQ(s.DDraw(), nullptr);
  EXPECT_THROW(s.SetSize(2, 2), EDirectDrawSurfaceError);
}
