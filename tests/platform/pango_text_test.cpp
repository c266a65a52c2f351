#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/platform.h"

namespace {

class PangoTextTest : public ::testing::Test {
 protected:
  std::unique_ptr<platform::TextRenderer> text = platform::createTextRenderer();

  static platform::FontSpec font(const char* family, double points, uint32_t color = 0x00FFFFFF) {
    platform::FontSpec f;
    f.family = family;
    f.sizePoints = points;
    f.color = color;
    return f;
  }
};

}  // namespace

TEST_F(PangoTextTest, PointsAreConvertedAtNinetySixDotsPerInch) {
  int w12 = 0, h12 = 0, w24 = 0, h24 = 0;
  text->textExtent("Рекорды", font("MS Sans Serif", 12), w12, h12);
  text->textExtent("Рекорды", font("MS Sans Serif", 24), w24, h24);
  // 12 points are 16 pixels at 96 dpi; a line is a little taller than the em.
  EXPECT_GE(h12, 16);
  EXPECT_LE(h12, 24);
  EXPECT_NEAR(static_cast<double>(w24) / w12, 2.0, 0.15);
  int w = 0, h = 0;
  text->textExtent("", font("MS Sans Serif", 12), w, h);
  EXPECT_EQ(w, 0);
  EXPECT_GT(h, 0);
}

TEST_F(PangoTextTest, RussianAndLatinComeOutInOneFaceWithoutBoxes) {
  // A face that lacks a letter would leave it to a fallback face of other metrics, or
  // draw a box: the casual face chosen covers both alphabets, so the widths of the same
  // word in either alphabet stay in proportion to its letters.
  int latin = 0, russian = 0, h = 0;
  text->textExtent("ooooo", font("Comic Sans MS", 20), latin, h);
  text->textExtent("ооооо", font("Comic Sans MS", 20), russian, h);  // Cyrillic o
  EXPECT_EQ(latin, russian);
}

TEST_F(PangoTextTest, DrawsIntoFiveSixFiveAndThirtyTwoBitPixels) {
  std::vector<uint16_t> rgb565(64 * 32, 0);
  text->drawText(rgb565.data(), 64, 32, 128, platform::PixelFormat::RGB565, 2, 2, "Жж",
                 font("Comic Sans MS", 14, 0x0000FF00));
  int green = 0;
  for (uint16_t p : rgb565) {
    EXPECT_EQ(p & 0xF81F, 0);  // nothing but green
    green += p == 0x07E0 ? 1 : 0;
  }
  EXPECT_GT(green, 10);

  std::vector<uint32_t> rgb32(64 * 32, 0);
  text->drawText(rgb32.data(), 64, 32, 256, platform::PixelFormat::ARGB8888, 2, 2, "Жж",
                 font("Comic Sans MS", 14, 0x00FF0000));
  int blue = 0;
  for (uint32_t p : rgb32) blue += (p & 0xFFFFFF) == 0x0000FF ? 1 : 0;
  EXPECT_GT(blue, 10);
}

TEST_F(PangoTextTest, RowsOfAnOddPitchAndBadInputAreHandled) {
  // 5-pixel rows of 10 bytes, not a multiple of four: drawn through a copy.
  std::vector<uint16_t> odd(5 * 20, 0x1234);
  text->drawText(odd.data(), 5, 20, 10, platform::PixelFormat::RGB565, 0, 0, "Ж",
                 font("MS Sans Serif", 12, 0x00FFFFFF));
  int changed = 0;
  for (uint16_t p : odd) changed += p != 0x1234 ? 1 : 0;
  EXPECT_GT(changed, 0);
  text->drawText(odd.data(), 5, 20, 4, platform::PixelFormat::RGB565, 0, 0, "x",
                 font("MS Sans Serif", 12));  // a pitch shorter than a row: nothing
  text->drawText(nullptr, 5, 20, 10, platform::PixelFormat::RGB565, 0, 0, "x", font("Arial", 12));
  text->drawText(odd.data(), 5, 20, 10, platform::PixelFormat::RGB565, 0, 0,
                 std::string("\xC3\x28\xFF", 3), font("No Such Family", 0));
}
