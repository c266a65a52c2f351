#include "engine/sprite/image_sprite.h"

#include "engine/graphics/image_list.h"
#include "engine/sprite/pixel_overlap.h"
#include "engine/sprite/sprite_engine.h"
#include "engine/sprite/sprite_math.h"

void TImageSprite::MoveSelf(int32_t lagCount) {
  FramePos += lagCount * FrameSpeed;
  if (FrameLoop) {
    FramePos = FrameCount > 0 ? FloatMod(FrameCount, FramePos) : 0;
    return;
  }
  // A one-way animation stops on its last frame, or on frame 0 when running backwards.
  if (FramePos >= FrameCount) {
    FramePos = FrameCount - 1;
    FrameSpeed = 0;
  }
  if (FramePos < 0) {
    FramePos = 0;
    FrameSpeed = 0;
  }
}

int32_t TImageSprite::CurrentFrame() const {
  return AddClamped(TruncToInt32(FramePos), FrameStart);
}

TRect TImageSprite::GetBounds() const {
  int64_t x = TruncToInt32(WorldX());
  int64_t y = TruncToInt32(WorldY());
  if (Wrap && RootEngine() != nullptr) {
    // The left edge ends up after -Width and no further than the surface's right edge,
    // so a sprite leaving one edge comes back in at the other.
    const TRect& surface = RootEngine()->SurfaceRect();
    const int32_t spanX = AddClamped(surface.Right, Width);
    const int32_t spanY = AddClamped(surface.Bottom, Height);
    x = IntMod(static_cast<int32_t>(x), spanX);
    y = IntMod(static_cast<int32_t>(y), spanY);
    if (x > surface.Right) x -= spanX;
    if (y > surface.Bottom) y -= spanY;
  }
  const int32_t left = static_cast<int32_t>(x);
  const int32_t top = static_cast<int32_t>(y);
  return TRect{left, top, AddClamped(left, Width), AddClamped(top, Height)};
}

TRect TImageSprite::ImageRect() const {
  TRect r = GetBounds();
  if (Image == nullptr) return r;
  const int32_t shiftX = static_cast<int32_t>((int64_t{Width} - Image->CellWidth()) / 2);
  const int32_t shiftY = static_cast<int32_t>((int64_t{Height} - Image->CellHeight()) / 2);
  r.Left = AddClamped(r.Left, shiftX);
  r.Right = AddClamped(r.Right, shiftX);
  r.Top = AddClamped(r.Top, shiftY);
  r.Bottom = AddClamped(r.Bottom, shiftY);
  return r;
}

void TImageSprite::DrawSelf() {
  if (Image == nullptr || RootEngine() == nullptr) return;
  TDirectDrawSurface* surface = RootEngine()->Surface();
  if (surface == nullptr) return;
  const TRect r = ImageRect();
  Image->DrawPattern(*surface, r.Left, r.Top, CurrentFrame());
}

bool TImageSprite::TestHit(TSprite& other) {
  auto* partner = dynamic_cast<TImageSprite*>(&other);
  if (partner == nullptr || !PixelHit) return true;
  if (Image == nullptr || partner->Image == nullptr) return true;
  const TRect r1 = ImageRect();
  const TRect r2 = partner->ImageRect();
  const int32_t f1 = CurrentFrame();
  const int32_t f2 = partner->CurrentFrame();
  return PatternsOverlap(Image->PatternRect(f1), Image->PatternSurface(f1),
                         partner->Image->PatternRect(f2), partner->Image->PatternSurface(f2),
                         int64_t{r2.Left} - r1.Left, int64_t{r2.Top} - r1.Top);
}
