#pragma once
// A monster: every creature that swims towards the shark, food and danger alike. It
// swims left at its own speed, sways up and down, shows the animation frame all monsters
// share and now and then releases a bubble.

#include <cstdint>
#include <string>

#include "engine/sprite/image_sprite.h"

class TPictureCollection;

class TMonoSprite : public TImageSprite {
 public:
  explicit TMonoSprite(TPictureCollection& images) : images_(images) {}
  void MoveSelf(int32_t lagCount) override;

  // Phase of the sway, in steps of the 256-step cosine table.
  double WobblePhase = 0;
  // Horizontal speed factor: Speed x 0.03 pixels per millisecond.
  int32_t Speed = 0;
  // What the monster is: 0 to 12.
  int32_t Kind = 0;

 private:
  void releaseBubble();
  TPictureCollection& images_;
};

// The image name of a monster kind's animation frame: "F" + kind + frame.
std::string MonsterImageName(int32_t kind, int32_t frame);
