#include "platform/window_placement.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

// The window with its frame lies wholly on the work area.
void expectOnArea(const Placement& p, const ScreenArea& area, const FrameExtents& frame) {
  EXPECT_GE(p.x - frame.left, area.x);
  EXPECT_GE(p.y - frame.top, area.y);
  EXPECT_LE(p.x + p.width + frame.right, area.x + area.width);
  EXPECT_LE(p.y + p.height + frame.bottom, area.y + area.height);
}

TEST(CentredPlacement, CentresClientAndFrameOnTheWorkArea) {
  const FrameExtents frame{2, 28, 2, 2};
  // A panel of 32 pixels at the top of a 1280 x 1024 screen.
  const ScreenArea area{0, 32, 1280, 992};
  const Placement p = centredPlacement(800, 600, area, frame);
  EXPECT_EQ(p.width, 800);
  EXPECT_EQ(p.height, 600);
  EXPECT_EQ(p.x, 240);
  EXPECT_EQ(p.y, 32 + (992 - 630) / 2 + 28);
  expectOnArea(p, area, frame);
  // A second screen to the right: the same place relative to it.
  const Placement right = centredPlacement(800, 600, ScreenArea{1280, 0, 1024, 768}, frame);
  EXPECT_EQ(right.x, 1280 + 112);
  EXPECT_EQ(right.y, (768 - 630) / 2 + 28);
}

TEST(CentredPlacement, ALargerWindowShrinksToTheWorkArea) {
  const FrameExtents frame{1, 20, 1, 1};
  const ScreenArea area{0, 0, 800, 600};
  const Placement p = centredPlacement(800, 600, area, frame);
  EXPECT_EQ(p.width, 798);
  EXPECT_EQ(p.height, 579);
  EXPECT_EQ(p.x, 1);
  EXPECT_EQ(p.y, 20);
  expectOnArea(p, area, frame);
  // An unknown work area: the size asked for, at the origin.
  const Placement unknown = centredPlacement(800, 600, ScreenArea{}, frame);
  EXPECT_EQ(unknown.width, 800);
  EXPECT_EQ(unknown.height, 600);
}

TEST(FitPlacement, MovesAndShrinksOnlyWhatIsOffTheArea) {
  const FrameExtents frame{2, 24, 2, 2};
  const ScreenArea area{0, 0, 1280, 1024};
  // Today's first window: hanging off the bottom right.
  Placement off;
  off.x = 488;
  off.y = 461;
  off.width = 800;
  off.height = 600;
  const Placement moved = fitPlacement(off, area, frame);
  EXPECT_EQ(moved.width, 800);
  EXPECT_EQ(moved.height, 600);
  EXPECT_EQ(moved.x, 1280 - 2 - 800);
  EXPECT_EQ(moved.y, 1024 - 2 - 600);
  expectOnArea(moved, area, frame);
  // Wholly on the area already: unchanged.
  Placement inside = off;
  inside.x = 100;
  inside.y = 100;
  const Placement same = fitPlacement(inside, area, frame);
  EXPECT_EQ(same.x, 100);
  EXPECT_EQ(same.y, 100);
  // Above and left of the area, and larger than it.
  Placement huge;
  huge.x = -50;
  huge.y = -50;
  huge.width = 3000;
  huge.height = 2000;
  huge.maximized = true;
  const Placement fitted = fitPlacement(huge, area, frame);
  EXPECT_EQ(fitted.width, 1276);
  EXPECT_EQ(fitted.height, 998);
  EXPECT_TRUE(fitted.maximized);
  expectOnArea(fitted, area, frame);
  // Unknown work area: left alone.
  EXPECT_EQ(fitPlacement(huge, ScreenArea{}, frame).width, 3000);
}

}  // namespace
}  // namespace platform
