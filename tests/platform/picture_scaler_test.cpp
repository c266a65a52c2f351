#include "platform/picture_scaler.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace platform {
namespace {

constexpr uint32_t kGarbage = 0xABABABABu;

// A 5-6-5 picture whose every pixel differs from its neighbours.
std::vector<uint16_t> picture565(int width, int height) {
  std::vector<uint16_t> p(static_cast<size_t>(width) * height);
  for (size_t i = 0; i < p.size(); ++i) p[i] = static_cast<uint16_t>(i * 40503u + 7u);
  return p;
}

// A 32-bit target with room for a guard row and column around it.
struct Target32 {
  int width, height, pitch;
  std::vector<uint32_t> memory;
  Target32(int w, int h) : width(w), height(h), pitch((w + 3) * 4) {
    memory.assign(static_cast<size_t>(pitch / 4) * (h + 1), kGarbage);
  }
  PixelTarget target(SurfaceLayout layout) {
    return PixelTarget{memory.data(), width, height, pitch, layout};
  }
  uint32_t at(int x, int y) const { return memory[static_cast<size_t>(y) * (pitch / 4) + x]; }
};

// What a 5-6-5 pixel must become on a 0x00RRGGBB surface, from its channels.
uint32_t expectedXrgb(uint16_t p) {
  const uint32_t r = (p >> 11) * 255 / 31, g = ((p >> 5) & 63) * 255 / 63, b = (p & 31) * 255 / 31;
  return 0xFF000000u | r << 16 | g << 8 | b;
}

TEST(PictureScaler, ChannelsWidenToTheFullRange) {
  EXPECT_EQ(rgb565ToXrgb(0x0000), 0x000000u);
  EXPECT_EQ(rgb565ToXrgb(0xFFFF), 0xFFFFFFu);
  EXPECT_EQ(rgb565ToXrgb(0xF800), 0xFF0000u);
  EXPECT_EQ(rgb565ToXrgb(0x07E0), 0x00FF00u);
  EXPECT_EQ(rgb565ToXrgb(0x001F), 0x0000FFu);
  // Every value lands within one step of the exact scaling.
  for (uint32_t p = 0; p < 0x10000; p += 97) {
    const uint32_t got = rgb565ToXrgb(static_cast<uint16_t>(p));
    const uint32_t want = expectedXrgb(static_cast<uint16_t>(p));
    for (int shift : {0, 8, 16}) {
      const int a = static_cast<int>(got >> shift & 0xFF),
                b = static_cast<int>(want >> shift & 0xFF);
      EXPECT_LE(std::abs(a - b), 1) << p;
    }
  }
}

TEST(PictureScaler, OneToOneAndTwoToOneShowEverySourcePixelExactly) {
  const int w = 40, h = 30;
  const auto source = picture565(w, h);
  const PixelSource src{source.data(), w, h, w * 2, PixelFormat::RGB565};
  PictureScaler scaler;
  for (int factor : {1, 2}) {
    Target32 t(w * factor, h * factor);
    scaler.draw(src, t.target(SurfaceLayout::XRGB8888), PresentRect{0, 0, w * factor, h * factor});
    for (int y = 0; y < t.height; ++y) {
      for (int x = 0; x < t.width; ++x) {
        ASSERT_EQ(t.at(x, y), 0xFF000000u | rgb565ToXrgb(source[(y / factor) * w + x / factor]))
            << "factor " << factor << " at " << x << "," << y;
      }
      ASSERT_EQ(t.at(t.width, y), kGarbage) << "wrote past the row";
    }
  }
}

TEST(PictureScaler, EveryLayoutFromEitherFormat) {
  const uint16_t p565 = 0xF81F;  // magenta
  const uint32_t argb = 0x00123456;
  Target32 t(4, 1);
  std::vector<uint16_t> t16(4, 0);
  const PixelTarget target16{t16.data(), 4, 1, 8, SurfaceLayout::RGB565};
  PictureScaler scaler;
  const PixelSource from565{&p565, 1, 1, 2, PixelFormat::RGB565};
  const PixelSource from8888{&argb, 1, 1, 4, PixelFormat::ARGB8888};
  const PresentRect all{0, 0, 4, 1};
  scaler.draw(from565, t.target(SurfaceLayout::XBGR8888), all);
  EXPECT_EQ(t.at(3, 0), 0xFFFF00FFu);
  scaler.draw(from8888, t.target(SurfaceLayout::XRGB8888), all);
  EXPECT_EQ(t.at(0, 0), 0xFF123456u);
  scaler.draw(from8888, t.target(SurfaceLayout::XBGR8888), all);
  EXPECT_EQ(t.at(2, 0), 0xFF563412u);
  scaler.draw(from565, target16, all);
  EXPECT_EQ(t16[1], 0xF81F);
  scaler.draw(from8888, target16, all);
  EXPECT_EQ(t16[3], (0x12 >> 3) << 11 | (0x34 >> 2) << 5 | 0x56 >> 3);
  // A layout the scaler does not know is left to someone else.
  Target32 other(4, 1);
  scaler.draw(from8888, other.target(SurfaceLayout::Other), all);
  EXPECT_EQ(other.at(0, 0), kGarbage);
}

TEST(PictureScaler, AnAreaReachingPastTheTargetIsClipped) {
  const auto source = picture565(8, 8);
  Target32 t(6, 6);
  PictureScaler scaler;
  // The picture's middle lands on the target; its edges would fall outside.
  scaler.draw(PixelSource{source.data(), 8, 8, 16, PixelFormat::RGB565},
              t.target(SurfaceLayout::XRGB8888), PresentRect{-1, -1, 8, 8});
  EXPECT_EQ(t.at(0, 0), 0xFF000000u | rgb565ToXrgb(source[1 * 8 + 1]));
  EXPECT_EQ(t.at(5, 5), 0xFF000000u | rgb565ToXrgb(source[6 * 8 + 6]));
  for (int y = 0; y <= 6; ++y) EXPECT_EQ(t.at(6, y), kGarbage);
  for (int x = 0; x < 6; ++x) EXPECT_EQ(t.at(x, 6), kGarbage);
  // Nothing at all for empty pictures or areas.
  Target32 untouched(6, 6);
  scaler.draw(PixelSource{source.data(), 8, 8, 16, PixelFormat::RGB565},
              untouched.target(SurfaceLayout::XRGB8888), PresentRect{0, 0, 0, 6});
  scaler.draw(PixelSource{source.data(), 0, 8, 16, PixelFormat::RGB565},
              untouched.target(SurfaceLayout::XRGB8888), PresentRect{0, 0, 6, 6});
  scaler.draw(PixelSource{source.data(), 8, 8, 16, PixelFormat::RGB565},
              untouched.target(SurfaceLayout::XRGB8888), PresentRect{10, 0, 6, 6});
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 6; ++x) EXPECT_EQ(untouched.at(x, y), kGarbage);
  }
}

TEST(PictureScaler, BarsAroundATallArea) {
  Target32 t(5, 7);
  fillOutside(t.target(SurfaceLayout::XRGB8888), PresentRect{0, 2, 5, 3});
  for (int x = 0; x < 5; ++x) {
    EXPECT_EQ(t.at(x, 0), 0u);
    EXPECT_EQ(t.at(x, 1), 0u);
    EXPECT_EQ(t.at(x, 2), kGarbage);
    EXPECT_EQ(t.at(x, 4), kGarbage);
    EXPECT_EQ(t.at(x, 5), 0u);
    EXPECT_EQ(t.at(x, 6), 0u);
  }
  EXPECT_EQ(t.at(5, 0), kGarbage);  // the padding past the row stays as it was
}

}  // namespace
}  // namespace platform
