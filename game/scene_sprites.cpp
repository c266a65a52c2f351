#include "game/scene_sprites.h"

#include "engine/graphics/image_list.h"
#include "game/game_vars.h"
#include "game/random.h"

namespace {
// An effect this far above the screen's top edge is gone for good.
constexpr double kEffectVanishY = -100;
constexpr double kEffectRisePerMs = 0.05;
}  // namespace

void TMFonSprite::MoveSelf(int32_t lagCount) {
  TImageSprite::MoveSelf(lagCount);
  PosX = 0;
  PosY = 0;
  SetZOrder(0);
  if (GameVars.LevelReady == 0) Kill();
  Image = images_.FindByName("background");
}

void TeffectSprite::MoveSelf(int32_t lagCount) {
  TImageSprite::MoveSelf(lagCount);
  // The speed factor and the lag are multiplied as integers first.
  PosY = PosY - static_cast<double>(static_cast<int64_t>(Speed) * lagCount) * kEffectRisePerMs;
  if (PosY < kEffectVanishY) Kill();
}

void FitToImage(TImageSprite& sprite, TPictureCollectionItem* image) {
  sprite.Image = image;
  sprite.Width = image != nullptr ? image->CellWidth() : 0;
  sprite.Height = image != nullptr ? image->CellHeight() : 0;
}

TeffectSprite* ReleaseEffect(TSprite& root, TPictureCollectionItem* image, int32_t x, int32_t y,
                             int32_t zBase) {
  auto* effect = TSprite::Create<TeffectSprite>(root);
  FitToImage(*effect, image);
  effect->PosX = x;
  effect->PosY = y;
  const int32_t zOrder = Random(5) + zBase;
  effect->SetZOrder(zOrder);
  effect->Speed = Random(5) + 1;
  return effect;
}
