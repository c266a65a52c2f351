#pragma once
// The player's shark: steered by the joystick or the direction keys, trails bubbles, and
// applies the effect of every monster it touches.

#include <cstdint>

#include "engine/sprite/image_sprite.h"

class TPictureCollection;
class TCustomDXInput;
class TMonoSprite;

class TPlayerSprite : public TImageSprite {
 public:
  TPlayerSprite(TPictureCollection& images, TCustomDXInput& input)
      : images_(images), input_(input) {}
  void MoveSelf(int32_t lagCount) override;
  void HandleCollision(TSprite& other, bool& stop) override;
  // The effect of one touch of a monster on the game's values, and the monster sent back
  // to the far right unless it is a predator.
  void EatMonster(TMonoSprite& monster);

 private:
  void steer(int32_t lagCount);
  TPictureCollection& images_;
  TCustomDXInput& input_;
};
