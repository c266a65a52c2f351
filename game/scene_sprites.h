#pragma once
// The sprites that complete the scene: the level's background, the status panel along
// the bottom edge, and the bubbles and debris that rise from monsters and the shark.

#include <cstdint>

#include "engine/sprite/image_sprite.h"

class TPictureCollection;
class TPictureCollectionItem;

// The full-screen background of one level. It lifts itself from below everything to
// ZOrder 0 on its first move and removes itself when the level is over.
class TMFonSprite : public TImageSprite {
 public:
  explicit TMFonSprite(TPictureCollection& images) : images_(images) {}
  void MoveSelf(int32_t lagCount) override;

 private:
  TPictureCollection& images_;
};

// The status panel: drawn above everything in every state, never moves.
class TMPanelSprite : public TImageSprite {};

// A bubble or a piece of debris: rises at its own speed and disappears above the screen.
class TeffectSprite : public TImageSprite {
 public:
  void MoveSelf(int32_t lagCount) override;
  int32_t Speed = 0;
};

// Gives a sprite the image's cell size.
void FitToImage(TImageSprite& sprite, TPictureCollectionItem* image);

// Releases an effect at (x, y) under the tree's root: its ZOrder is Random(5) + zBase,
// then its Speed Random(5) + 1, drawn in that order.
TeffectSprite* ReleaseEffect(TSprite& root, TPictureCollectionItem* image, int32_t x, int32_t y,
                             int32_t zBase);
