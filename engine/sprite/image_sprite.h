#pragma once
// The image sprite: shows one image of the image list, centred in its box, advances an
// animation position every move, can wrap around the drawing surface, and can refine
// the rectangle collision to the opaque pixels of the two images.

#include <cstdint>

#include "engine/sprite/sprite.h"

class TPictureCollectionItem;

class TImageSprite : public TSprite {
 public:
  void DrawSelf() override;
  void MoveSelf(int32_t lagCount) override;
  TRect GetBounds() const override;
  bool TestHit(TSprite& other) override;

  // The pattern of Image to draw.
  int32_t CurrentFrame() const;
  // The rectangle the image is drawn in: the box with the image cell centred in it.
  TRect ImageRect() const;

  int32_t FrameCount = 0;
  bool FrameLoop = false;
  double FramePos = 0;
  double FrameSpeed = 0;  // frames per unit of lag count
  int32_t FrameStart = 0;
  // Without an image the sprite draws nothing and collides by its box alone.
  TPictureCollectionItem* Image = nullptr;
  bool PixelHit = false;
  bool Wrap = false;
};
