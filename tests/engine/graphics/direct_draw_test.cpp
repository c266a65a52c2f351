#include "engine/graphics/direct_draw.h"

#include <gtest/gtest.h>

#include "engine/graphics/direct_draw_surface.h"

TEST(PixelFormats, ChannelsKeepTheirTopBitsBothWays) {
  EXPECT_EQ(RGBToPixel(0xFF8040, PixelFormat565()), (0x1Fu << 11) | (0x20u << 5) | 0x08u);
  EXPECT_EQ(RGBToPixel(0xFF8040, PixelFormat555()), (0x1Fu << 10) | (0x10u << 5) | 0x08u);
  EXPECT_EQ(RGBToPixel(0x123456, PixelFormat888(32)), 0x123456u);
  EXPECT_EQ(RGBToPixel(0x123456, PixelFormatIndexed(8)), 0u);
  EXPECT_EQ(PixelToRGB(0xFFFF, PixelFormat565()), 0xF8FCF8u);
  EXPECT_EQ(PixelToRGB(RGBToPixel(0xF8FCF8, PixelFormat565()), PixelFormat565()), 0xF8FCF8u);
  EXPECT_EQ(ColorToRGB(0x00112233), 0x332211u);  // 0x00BBGGRR to 0x00RRGGBB
  EXPECT_EQ(ColorToRGB(0x80000005), 0xFFFFFFu);  // the window colour
  EXPECT_EQ(ColorToRGB(0x800000FE), 0u);         // no such system colour
}

TEST(DirectDrawDevice, DisplayMemoryIsCountedUntilTheLastSurfaceLetsGo) {
  TDirectDraw ddraw(nullptr);
  {
    TDirectDrawSurface a(&ddraw);
    a.SetSize(10, 10);
    EXPECT_EQ(ddraw.DisplayMemoryUsed(), 200);
    TDirectDrawSurface b(&ddraw);
    b.Assign(&a);
    a.ReleaseISurface();
    EXPECT_EQ(ddraw.DisplayMemoryUsed(), 200);  // b still shows it
    TDirectDrawSurface system(&ddraw);
    system.SystemMemory = true;
    system.SetSize(10, 10);
    EXPECT_EQ(ddraw.DisplayMemoryUsed(), 200);
  }
  EXPECT_EQ(ddraw.DisplayMemoryUsed(), 0);
  EXPECT_EQ(ddraw.SurfaceCount(), 0);
}

TEST(DirectDrawDevice, PalettesAndClippersJoinAndLeaveItsLists) {
  TDirectDraw ddraw(nullptr);
  TDirectDrawPalette palette(&ddraw);
  EXPECT_EQ(ddraw.PaletteCount(), 1);
  TPaletteEntry32 entries[2] = {{1, 2, 3, 0x40}, {4, 5, 6, 0x40}};
  EXPECT_TRUE(palette.SetEntries(254, entries, 2));
  EXPECT_EQ(palette.Entries()[255], (TPaletteEntry32{4, 5, 6, 0x40}));
  EXPECT_FALSE(palette.SetEntries(255, entries, 2));
  EXPECT_EQ(palette.LastResult(), DDERR_INVALIDPARAMS);
  {
    TDirectDrawClipper clipper(&ddraw);
    EXPECT_EQ(ddraw.ClipperCount(), 1);
  }
  EXPECT_EQ(ddraw.ClipperCount(), 0);
}
