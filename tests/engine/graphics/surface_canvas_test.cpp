#include "engine/graphics/surface_canvas.h"

#include <gtest/gtest.h>

#include "engine/graphics/direct_draw_surface.h"
#include "platform/platform.h"

namespace {

class CanvasTest : public ::testing::Test {
 protected:
  std::unique_ptr<platform::TextRenderer> text = platform::createTextRenderer();
  TDirectDraw ddraw{text.get()};
  TDirectDrawSurface surface{&ddraw};

  void SetUp() override { surface.SetSize(200, 60); }

  // How many pixels hold exactly this value.
  int count(uint32_t value) {
    int n = 0;
    for (int y = 0; y < surface.Height(); ++y) {
      for (int x = 0; x < surface.Width(); ++x) n += surface.GetPixel(x, y) == value ? 1 : 0;
    }
    return n;
  }
  // The leftmost and topmost non-black pixel.
  std::pair<int, int> topLeft() {
    int left = surface.Width();
    int top = surface.Height();
    for (int y = 0; y < surface.Height(); ++y) {
      for (int x = 0; x < surface.Width(); ++x) {
        if (surface.GetPixel(x, y) != 0) {
          left = std::min(left, x);
          top = std::min(top, y);
        }
      }
    }
    return {left, top};
  }
};

}  // namespace

TEST_F(CanvasTest, RussianTextIsDrawnInTheFontColourBelowAndRightOfItsCorner) {
  TDirectDrawSurfaceCanvas& canvas = surface.Canvas();
  canvas.Brush.Style = bsClear;
  canvas.Font.Color = 0x000000FF;  // red
  canvas.Font.Size = 20;
  canvas.Font.Name = "Comic Sans MS";
  canvas.TextOut(30, 10, "Жизни: 100");
  surface.ReleaseCanvas();
  EXPECT_GT(count(0xF800), 50);  // solid red inside the letters
  const auto [left, top] = topLeft();
  EXPECT_GE(left, 30);
  EXPECT_LT(left, 40);
  EXPECT_GE(top, 10);
  EXPECT_LT(top, 25);
  // Only reds: no other colour leaks in (anti-aliasing darkens red, nothing more).
  for (int y = 0; y < surface.Height(); ++y) {
    for (int x = 0; x < surface.Width(); ++x) ASSERT_EQ(surface.GetPixel(x, y) & 0x07FF, 0u);
  }
}

TEST_F(CanvasTest, FontAndBrushSurviveTheRelease) {
  TDirectDrawSurfaceCanvas& canvas = surface.Canvas();
  canvas.Font.Name = "Comic Sans MS";
  canvas.Font.Size = 14;
  canvas.Font.Color = 0x00FFFFFF;
  canvas.Brush.Style = bsClear;
  canvas.TextOut(0, 0, "Очки");
  EXPECT_TRUE(canvas.Holding());
  surface.ReleaseCanvas();
  EXPECT_FALSE(canvas.Holding());
  EXPECT_EQ(&surface.Canvas(), &canvas);
  EXPECT_EQ(surface.Canvas().Font.Size, 14);
  EXPECT_EQ(surface.Canvas().Font.Name, "Comic Sans MS");
  EXPECT_EQ(surface.Canvas().Brush.Style, bsClear);
}

TEST_F(CanvasTest, ASolidBrushFillsTheTextBox) {
  TDirectDrawSurfaceCanvas& canvas = surface.Canvas();
  canvas.Brush.Style = bsSolid;
  canvas.Brush.Color = 0x00FF0000;  // blue
  canvas.Font.Color = 0x00FFFFFF;
  canvas.Font.Size = 10;
  const int width = canvas.TextWidth("Голод:0");
  const int height = canvas.TextHeight("Голод:0");
  EXPECT_GT(width, 20);
  EXPECT_GT(height, 8);
  canvas.TextOut(5, 5, "Голод:0");
  EXPECT_EQ(surface.GetPixel(5, 5), 0x001Fu);
  EXPECT_EQ(surface.GetPixel(5 + width - 1, 5 + height - 1), 0x001Fu);
  EXPECT_EQ(surface.GetPixel(5 + width, 5), 0u);
  EXPECT_GT(count(0xFFFF), 10);
}

TEST_F(CanvasTest, TextOffTheSurfaceIsClippedAndBrokenTextIsSafe) {
  TDirectDrawSurfaceCanvas& canvas = surface.Canvas();
  canvas.Brush.Style = bsSolid;
  canvas.Brush.Color = 0x00FFFFFF;
  canvas.TextOut(-50, -50, "Рекорды");
  canvas.TextOut(190, 55, "Рекорды");
  canvas.TextOut(10, 10, std::string("\xD0\xFF\xFE bad", 7));
  EXPECT_EQ(surface.GetPixel(190, 55), 0xFFFFu);  // the box, cut at the edges
  TDirectDrawSurface none(&ddraw);
  none.Canvas().TextOut(0, 0, "x");  // no pixels: nothing happens
}
