#include "game/state_digest.h"

#include <cstdio>
#include <cstring>
#include <string_view>

#include "engine/sprite/sprite_engine.h"
#include "game/game_rules.h"
#include "game/game_vars.h"
#include "game/main_form.h"
#include "game/random.h"

namespace {

// FNV-1a over the values' bytes, value by value (no padding gets in).
class Digest {
 public:
  template <typename T>
  void add(const T& value) {
    unsigned char bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof(T));
    for (unsigned char byte : bytes) addByte(byte);
  }
  void add(std::string_view text) {
    add(text.size());
    for (char c : text) addByte(static_cast<unsigned char>(c));
  }
  uint64_t value() const { return hash_; }

 private:
  void addByte(unsigned char byte) {
    hash_ ^= byte;
    hash_ *= 0x100000001B3ull;
  }
  uint64_t hash_ = 0xCBF29CE484222325ull;
};

void addSprites(Digest& digest, const TSprite& parent) {
  digest.add(parent.ChildCount());
  for (int i = 0; i < parent.ChildCount(); ++i) {
    const TSprite& sprite = *parent.ChildAt(i);
    digest.add(sprite.PosX);
    digest.add(sprite.PosY);
    digest.add(sprite.Width);
    digest.add(sprite.Height);
    digest.add(sprite.ZOrder());
    addSprites(digest, sprite);
  }
}

}  // namespace

uint64_t GameStateDigest(const TMainForm* form) {
  const TGameVars& v = GameVars;
  Digest digest;
  for (int32_t field : {v.GameState, v.LevelReady, v.Level, v.ResumeLock, v.LevelBonus,
                        v.SharkFrame, v.SharkFrameTicks, v.MonsterFrame, v.MonsterFrameTicks,
                        v.PointerX, v.PointerY, v.HoverItem}) {
    digest.add(field);
  }
  for (double field : {v.Life, v.Hunger, v.LastLag, v.Points, v.IntroAngle}) digest.add(field);
  digest.add(RandSeed);
  if (form != nullptr) {
    digest.add(form->MenuTicks);
    digest.add(form->FrameCount);
    if (form->Label1 != nullptr) digest.add(std::string_view(form->Label1->Caption));
    if (form->DXSpriteEngine != nullptr) addSprites(digest, *form->DXSpriteEngine->Engine);
  }
  return digest.value();
}

std::string EndStateLine(const TMainForm* form) {
  char line[256];
  std::snprintf(
      line, sizeof line, "level %d, points %.2f, life %.2f, hunger %.2f, total %lld, frames %u",
      GameVars.Level, GameVars.Points, GameVars.Life, GameVars.Hunger,
      static_cast<long long>(TotalScore(GameVars)), form != nullptr ? form->FrameCount : 0u);
  return line;
}
