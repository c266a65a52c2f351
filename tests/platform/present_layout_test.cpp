#include "platform/present_layout.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

void expectRect(const PresentRect& r, int x, int y, int width, int height) {
  EXPECT_EQ(r.x, x);
  EXPECT_EQ(r.y, y);
  EXPECT_EQ(r.width, width);
  EXPECT_EQ(r.height, height);
}

TEST(PresentRect, FitKeepsAspectWithBarsOnTheLongSides) {
  // A wide desktop: bars left and right.
  expectRect(presentRect(1920, 1080, 800, 600, PresentMode::FitKeepAspect), 240, 0, 1440, 1080);
  // A tall window: bars above and below.
  expectRect(presentRect(800, 1000, 800, 600, PresentMode::FitKeepAspect), 0, 200, 800, 600);
  // The same aspect fills everything.
  expectRect(presentRect(1600, 1200, 800, 600, PresentMode::FitKeepAspect), 0, 0, 1600, 1200);
  // Smaller than the picture: scaled down.
  expectRect(presentRect(400, 400, 800, 600, PresentMode::FitKeepAspect), 0, 50, 400, 300);
}

TEST(PresentRect, CenterAndStretch) {
  expectRect(presentRect(1024, 768, 800, 600, PresentMode::Center), 112, 84, 800, 600);
  // A window too small for the picture shows all of it, shrunk with its aspect kept.
  expectRect(presentRect(600, 400, 800, 600, PresentMode::Center), 33, 0, 533, 400);
  expectRect(presentRect(800, 570, 800, 600, PresentMode::Center), 20, 0, 760, 570);
  expectRect(presentRect(1024, 768, 800, 600, PresentMode::Stretch), 0, 0, 1024, 768);
}

TEST(PresentRect, IntegerScaleUsesTheLargestWholeFactorThatFits) {
  // 1920 x 1080 holds 1.8 pages across and down: one page, pixel for pixel, centred.
  expectRect(presentRect(1920, 1080, 800, 600, PresentMode::IntegerScale), 560, 240, 800, 600);
  // 2560 x 1440: two across would be 1600, two down 1200; both fit.
  expectRect(presentRect(2560, 1440, 800, 600, PresentMode::IntegerScale), 480, 120, 1600, 1200);
  // The narrower side decides: three across fit, only two down.
  expectRect(presentRect(2400, 1300, 800, 600, PresentMode::IntegerScale), 400, 50, 1600, 1200);
  // Not even one page fits: shrunk as Fit does rather than cut.
  expectRect(presentRect(640, 480, 800, 600, PresentMode::IntegerScale), 0, 0, 640, 480);
  expectRect(presentRect(800, 600, 0, 0, PresentMode::IntegerScale), 0, 0, 0, 0);
}

TEST(PresentRect, EmptySizesGiveEmptyRectangles) {
  expectRect(presentRect(0, 0, 800, 600, PresentMode::FitKeepAspect), 0, 0, 0, 0);
  expectRect(presentRect(800, 600, 0, 0, PresentMode::FitKeepAspect), 0, 0, 0, 0);
  expectRect(presentRect(-5, 600, 800, 600, PresentMode::Stretch), 0, 0, 0, 600);
}

struct Point {
  int x;
  int y;
};

Point map(int wx, int wy, int cw, int ch, PresentMode mode, int pw = 800, int ph = 600) {
  Point p{-1, -1};
  windowToPicture(wx, wy, cw, ch, pw, ph, mode, p.x, p.y);
  return p;
}

TEST(WindowToPicture, FitScalesThroughTheCentredPicture) {
  // 1920 x 1080: the picture covers x 240..1679 at 1.8 window pixels per picture pixel.
  Point p = map(240, 0, 1920, 1080, PresentMode::FitKeepAspect);
  EXPECT_EQ(p.x, 0);
  EXPECT_EQ(p.y, 0);
  p = map(960, 540, 1920, 1080, PresentMode::FitKeepAspect);
  EXPECT_EQ(p.x, 400);
  EXPECT_EQ(p.y, 300);
  p = map(1679, 1079, 1920, 1080, PresentMode::FitKeepAspect);
  EXPECT_EQ(p.x, 799);
  EXPECT_EQ(p.y, 599);
  // A menu item's bound: picture x 500 starts at window x 240 + 500 * 1.8 = 1140.
  EXPECT_EQ(map(1140, 540, 1920, 1080, PresentMode::FitKeepAspect).x, 500);
  EXPECT_EQ(map(1139, 540, 1920, 1080, PresentMode::FitKeepAspect).x, 499);
}

TEST(WindowToPicture, PointerOnABarClampsToTheEdge) {
  EXPECT_EQ(map(0, 500, 1920, 1080, PresentMode::FitKeepAspect).x, 0);
  EXPECT_EQ(map(239, 500, 1920, 1080, PresentMode::FitKeepAspect).x, 0);
  EXPECT_EQ(map(1680, 500, 1920, 1080, PresentMode::FitKeepAspect).x, 799);
  EXPECT_EQ(map(1919, 500, 1920, 1080, PresentMode::FitKeepAspect).x, 799);
  // Outside the window altogether (a captured pointer).
  Point p = map(-300, -300, 1920, 1080, PresentMode::FitKeepAspect);
  EXPECT_EQ(p.x, 0);
  EXPECT_EQ(p.y, 0);
  p = map(5000, 5000, 1920, 1080, PresentMode::FitKeepAspect);
  EXPECT_EQ(p.x, 799);
  EXPECT_EQ(p.y, 599);
}

TEST(WindowToPicture, IdentityWhenSizesMatch) {
  for (int x : {0, 1, 399, 400, 798, 799}) {
    EXPECT_EQ(map(x, x % 600, 800, 600, PresentMode::FitKeepAspect).x, x);
    EXPECT_EQ(map(x, x % 600, 800, 600, PresentMode::Center).x, x);
    EXPECT_EQ(map(x, x % 600, 800, 600, PresentMode::Stretch).y, x % 600);
  }
}

TEST(WindowToPicture, CenterAndStretch) {
  // Center in 1024 x 768: the picture starts at (112, 84), unscaled.
  Point p = map(112 + 600, 84 + 175, 1024, 768, PresentMode::Center);
  EXPECT_EQ(p.x, 600);
  EXPECT_EQ(p.y, 175);
  // Stretch into 400 x 300: two picture pixels per window pixel.
  p = map(100, 150, 400, 300, PresentMode::Stretch);
  EXPECT_EQ(p.x, 200);
  EXPECT_EQ(p.y, 300);
}

TEST(WindowToPicture, DegenerateSizesStayInsideThePicture) {
  Point p = map(10, 10, 0, 0, PresentMode::FitKeepAspect);
  EXPECT_EQ(p.x, 0);
  EXPECT_EQ(p.y, 0);
  p = map(10, 10, 800, 600, PresentMode::Stretch, 0, 0);
  EXPECT_EQ(p.x, 0);
  EXPECT_EQ(p.y, 0);
}

TEST(ChildRect, CentredAtItsOwnSizeOverTheParent) {
  // The name window (184 x 73) over a full-screen 1920 x 1080 game.
  expectRect(childRect(1920, 1080, 1920, 1080, 184, 73), 868, 503, 184, 73);
  // A message box wider than a small window shrinks with its aspect kept.
  expectRect(childRect(300, 200, 300, 200, 600, 100), 0, 75, 300, 50);
  // On a screen with two pixels per coordinate it is drawn at twice the size.
  expectRect(childRect(800, 600, 1600, 1200, 200, 100), 600, 500, 400, 200);
  // Nothing to centre on.
  expectRect(childRect(0, 0, 0, 0, 200, 100), 0, 0, 0, 0);
}

TEST(WindowToArea, PositionsOutsideTheAreaStayOutsideThePicture) {
  const PresentRect area{300, 250, 200, 100};
  Point p;
  windowToArea(300, 250, area, 200, 100, p.x, p.y);
  EXPECT_EQ(p.x, 0);
  EXPECT_EQ(p.y, 0);
  windowToArea(499, 349, area, 200, 100, p.x, p.y);
  EXPECT_EQ(p.x, 199);
  EXPECT_EQ(p.y, 99);
  // A button released beyond the window it was pressed in is not over any of its controls.
  windowToArea(299, 350, area, 200, 100, p.x, p.y);
  EXPECT_EQ(p.x, -1);
  EXPECT_EQ(p.y, 100);
  // A shrunk area maps back to the whole picture.
  windowToArea(150, 100, PresentRect{0, 75, 300, 50}, 600, 100, p.x, p.y);
  EXPECT_EQ(p.x, 300);
  EXPECT_EQ(p.y, 50);
  EXPECT_TRUE(areaContains(area, 300, 250));
  EXPECT_TRUE(areaContains(area, 499, 349));
  EXPECT_FALSE(areaContains(area, 500, 300));
  EXPECT_FALSE(areaContains(area, 400, 249));
  EXPECT_FALSE(areaContains(PresentRect{}, 0, 0));
}

}  // namespace
}  // namespace platform
