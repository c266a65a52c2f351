#include "engine/sprite/image_sprite.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/graphics/dx_draw.h"
#include "engine/graphics/image_list.h"
#include "engine/sprite/sprite_engine.h"
#include "framework/bitmap.h"
#include "framework/form.h"

namespace {

constexpr uint32_t kKey = 0x00FF00FF;  // magenta (0x00BBGGRR), the transparent colour
constexpr uint32_t kRed = 0x00FF0000;  // 0x00RRGGBB as bitmaps hold it

// A window with an initialized 800 x 600 display, an image list bound to it and a sprite
// engine drawing on its back surface.
class ImageSpriteTest : public ::testing::Test {
 protected:
  ImageSpriteTest() {
    form = std::make_unique<TForm>(nullptr);
    dxdraw = form->CreateComponent<TDXDraw>();
    dxdraw->Parent = form.get();
    form->AddControl(dxdraw);
    dxdraw->SetAutoSize(false);
    dxdraw->SetSurfaceSize(800, 600);
    images = form->CreateComponent<TDXImageList>();
    images->SetDXDraw(dxdraw);
    sprites = form->CreateComponent<TDXSpriteEngine>();
    sprites->SetDXDraw(dxdraw);
  }

  // An item of size w x h, transparent everywhere except the given opaque pixels.
  TPictureCollectionItem* image(const std::string& name, int w, int h,
                                const std::vector<std::pair<int, int>>& opaque,
                                int patternWidth = 0) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetSize(w, h);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) bitmap->SetPixel(x, y, 0x00FF00FF);
    }
    for (auto [x, y] : opaque) bitmap->SetPixel(x, y, kRed);
    TPictureCollectionItem* item = images->Items->Add();
    item->SetName(name);
    item->PatternWidth = patternWidth;
    item->SetTransparentColor(kKey);
    item->Picture().SetGraphic(std::move(bitmap));
    return item;
  }

  void initialize() {
    dxdraw->Initialize();
    ASSERT_TRUE(dxdraw->Initialized());
  }

  TImageSprite* sprite(TPictureCollectionItem* item, double x, double y) {
    TImageSprite* s = TSprite::Create<TImageSprite>(*sprites->Engine);
    s->Image = item;
    s->PosX = x;
    s->PosY = y;
    if (item != nullptr) {
      s->Width = item->CellWidth();
      s->Height = item->CellHeight();
    }
    return s;
  }

  // A form without an application has no window: the display presents nowhere, which
  // is all these tests need.
  std::unique_ptr<TForm> form;
  TDXDraw* dxdraw = nullptr;
  TDXImageList* images = nullptr;
  TDXSpriteEngine* sprites = nullptr;
};

TEST(ImageSpriteAnimation, OneWayAnimationStopsOnItsLastFrame) {
  TImageSprite s;
  s.FrameCount = 4;
  s.FrameSpeed = 0.01;
  s.MoveSelf(250);
  EXPECT_DOUBLE_EQ(s.FramePos, 2.5);
  EXPECT_EQ(s.CurrentFrame(), 2);
  s.MoveSelf(250);
  EXPECT_DOUBLE_EQ(s.FramePos, 3);
  EXPECT_EQ(s.FrameSpeed, 0);
  s.MoveSelf(250);
  EXPECT_DOUBLE_EQ(s.FramePos, 3);
}

TEST(ImageSpriteAnimation, BackwardsStopsOnFrameZero) {
  TImageSprite s;
  s.FrameCount = 4;
  s.FramePos = 1;
  s.FrameSpeed = -0.01;
  s.MoveSelf(250);
  EXPECT_EQ(s.FramePos, 0);
  EXPECT_EQ(s.FrameSpeed, 0);
  // Without frames the position and speed end at 0.
  TImageSprite none;
  none.FrameSpeed = 1;
  none.MoveSelf(10);
  EXPECT_EQ(none.FramePos, 0);
  EXPECT_EQ(none.FrameSpeed, 0);
}

TEST(ImageSpriteAnimation, LoopingWrapsBothWays) {
  TImageSprite s;
  s.FrameLoop = true;
  s.FrameCount = 4;
  s.FramePos = 3.5;
  s.FrameSpeed = 0.01;
  s.MoveSelf(100);
  EXPECT_DOUBLE_EQ(s.FramePos, 0.5);
  s.FrameSpeed = -0.01;
  s.MoveSelf(100);
  EXPECT_DOUBLE_EQ(s.FramePos, 3.5);
  s.FrameCount = 0;
  s.MoveSelf(100);
  EXPECT_EQ(s.FramePos, 0);
}

TEST(ImageSpriteAnimation, CurrentFrameAddsTheStart) {
  TImageSprite s;
  s.FrameStart = 3;
  s.FramePos = 1.9;
  EXPECT_EQ(s.CurrentFrame(), 4);
}

TEST(ImageSpriteBounds, WrapAroundAn800By600Surface) {
  TDirectDraw ddraw(nullptr);
  TDirectDrawSurface surface(&ddraw);
  surface.SetSize(800, 600);
  TSpriteEngine engine;
  engine.SetSurface(&surface);
  TImageSprite* s = TSprite::Create<TImageSprite>(engine);
  s->Wrap = true;
  s->Width = 100;
  s->Height = 50;
  const std::vector<std::pair<double, int>> cases = {{850, -50}, {-950, -50}, {800, 800},
                                                     {0, 0},     {-99, -99},  {-100, 800}};
  for (auto [x, left] : cases) {
    s->PosX = x;
    EXPECT_EQ(s->GetBounds().Left, left) << "PosX " << x;
    EXPECT_EQ(s->GetBounds().Right, left + 100);
  }
  s->PosX = 0;
  s->PosY = 700;
  EXPECT_EQ(s->GetBounds().Top, 50);
  EXPECT_EQ(s->PosY, 700);  // the position itself is never changed
}

TEST(ImageSpriteBounds, WrapWithoutASurfaceOrSizeDoesNotDivideByZero) {
  TSpriteEngine engine;
  TImageSprite* s = TSprite::Create<TImageSprite>(engine);
  s->Wrap = true;
  s->PosX = 123;
  EXPECT_EQ(s->GetBounds().Left, 123);
}

TEST_F(ImageSpriteTest, ImageIsCentredInALargerBox) {
  TPictureCollectionItem* item = image("fish", 20, 10, {});
  TImageSprite* s = sprite(item, 100, 100);
  EXPECT_EQ(s->ImageRect(), s->GetBounds());
  s->Width = 25;
  s->Height = 5;
  EXPECT_EQ(s->ImageRect().Left, 102);
  EXPECT_EQ(s->ImageRect().Top, 98);
}

TEST_F(ImageSpriteTest, DrawsTheCurrentPatternAtTheImageRect) {
  // Two 10 x 10 patterns: the second has one opaque pixel at (3, 4).
  TPictureCollectionItem* item = image("strip", 20, 10, {{13, 4}}, 10);
  initialize();
  ASSERT_EQ(item->PatternCount(), 2);
  TImageSprite* s = sprite(item, 50, 60);
  s->FramePos = 1;
  TDirectDrawSurface& back = dxdraw->Surface();
  back.Fill(0);
  sprites->Draw();
  const uint32_t red = back.MatchColor(0x000000FF);
  EXPECT_EQ(back.GetPixel(53, 64), red);
  EXPECT_EQ(back.GetPixel(52, 64), 0u);
  EXPECT_EQ(sprites->Engine->DrawnCount(), 1);
  // A frame outside the image's patterns draws nothing.
  back.Fill(0);
  s->FramePos = 2;
  sprites->Draw();
  EXPECT_EQ(back.GetPixel(53, 64), 0u);
}

TEST_F(ImageSpriteTest, TransparentOverlapDoesNotCollideButOneOpaquePairDoes) {
  // 10 x 10 images with one opaque pixel each.
  TPictureCollectionItem* a = image("a", 10, 10, {{9, 9}});
  TPictureCollectionItem* b = image("b", 10, 10, {{0, 0}});
  initialize();
  TImageSprite* shark = sprite(a, 0, 0);
  TImageSprite* fish = sprite(b, 5, 5);
  shark->PixelHit = true;
  EXPECT_FALSE(shark->TestHit(*fish));
  EXPECT_EQ(shark->CheckCollisions(), 0);
  fish->PosX = fish->PosY = 9;  // b's pixel (0, 0) lands on a's (9, 9)
  EXPECT_TRUE(shark->TestHit(*fish));
  EXPECT_EQ(shark->CheckCollisions(), 1);
  EXPECT_EQ(a->Surfaces(0)->LockCount(), 0);
  EXPECT_EQ(b->Surfaces(0)->LockCount(), 0);
}

TEST_F(ImageSpriteTest, PatternsOfOneSurfaceAreLockedOnce) {
  TPictureCollectionItem* strip = image("strip", 20, 10, {{9, 9}, {10, 0}}, 10);
  initialize();
  ASSERT_EQ(strip->SurfaceCount(), 1);
  TImageSprite* first = sprite(strip, 0, 0);
  TImageSprite* second = sprite(strip, 9, 9);
  second->FramePos = 1;
  first->PixelHit = true;
  EXPECT_TRUE(first->TestHit(*second));
  second->PosX = 8;
  EXPECT_FALSE(first->TestHit(*second));
  EXPECT_EQ(strip->Surfaces(0)->LockCount(), 0);
}

TEST_F(ImageSpriteTest, FineTestPassesWithoutPixelHitOrAgainstPlainSprites) {
  TPictureCollectionItem* a = image("a", 10, 10, {});
  initialize();
  TImageSprite* s = sprite(a, 0, 0);
  TImageSprite* t = sprite(a, 0, 0);
  TSprite* plain = TSprite::Create<TSprite>(*sprites->Engine);
  EXPECT_TRUE(s->TestHit(*t));  // PixelHit false
  s->PixelHit = true;
  EXPECT_TRUE(s->TestHit(*plain));
  EXPECT_FALSE(s->TestHit(*t));
  EXPECT_TRUE(t->TestHit(*s));  // t's own PixelHit decides t's test
}

TEST_F(ImageSpriteTest, FrameOutsideThePatternsHitsNothingWhereverItStands) {
  TPictureCollectionItem* a = image("a", 10, 10, {{0, 0}, {5, 5}, {9, 9}});
  initialize();
  TImageSprite* ghost = sprite(a, 0, 0);
  ghost->FramePos = 3;  // the image has one pattern
  TImageSprite* solid = sprite(a, 0, 0);
  ghost->PixelHit = solid->PixelHit = true;
  for (int y = -10; y <= 10; ++y) {
    for (int x = -10; x <= 10; ++x) {
      solid->PosX = x;
      solid->PosY = y;
      ASSERT_FALSE(ghost->TestHit(*solid)) << x << "," << y;
      ASSERT_FALSE(solid->TestHit(*ghost)) << x << "," << y;
    }
  }
}

TEST_F(ImageSpriteTest, LockedSurfaceMeansNoCollision) {
  TPictureCollectionItem* a = image("a", 10, 10, {{0, 0}});
  initialize();
  TImageSprite* s = sprite(a, 0, 0);
  TImageSprite* t = sprite(a, 0, 0);
  s->PixelHit = true;
  TDDSurfaceDesc desc;
  ASSERT_TRUE(a->Surfaces(0)->Lock(desc));
  EXPECT_FALSE(s->TestHit(*t));
  a->Surfaces(0)->Unlock();
  EXPECT_TRUE(s->TestHit(*t));
}

TEST_F(ImageSpriteTest, SpriteWithoutAnImage) {
  initialize();
  TImageSprite* s = sprite(nullptr, 0, 0);
  s->Width = s->Height = 10;
  TImageSprite* t = sprite(nullptr, 0, 0);
  t->Width = t->Height = 10;
  s->PixelHit = true;
  EXPECT_EQ(s->ImageRect(), s->GetBounds());
  EXPECT_TRUE(s->TestHit(*t));
  sprites->Draw();
  EXPECT_EQ(sprites->Engine->DrawnCount(), 2);
}

}  // namespace
