#include "game/state_digest.h"

#include <cstdio>
#include <cstring>
#include <string_view>
#include <tuple>

#include "engine/sprite/sprite_engine.h"
#include "game/game_rules.h"
#include "game/game_vars.h"
#include "game/main_form.h"
#include "game/random.h"
#include "game/records.h"

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

// The program-wide values of the game, each in one row: how a run starts it (as a fresh
// process has it), and how the check of a recorded game reads it. A run resets every row
// and the check reads every row that has a digest, so a new global is one row here and a
// new field of TGameVars one entry of kGameVarsFields.
struct ProgramValue {
  void (*reset)();
  void (*digest)(Digest& digest);  // null: outside the check
};

const ProgramValue kProgramValues[] = {
    {[] { GameVars = TGameVars{}; },
     [](Digest& digest) {
       std::apply([&](auto... field) { (digest.add(GameVars.*field), ...); }, kGameVarsFields);
     }},
    {[] { RandSeed = 0; }, [](Digest& digest) { digest.add(RandSeed); }},
    // Read at start from the records the recording holds and written only by a save; the
    // recordings made so far were checked without it, so it stays outside the check.
    {[] {
       RecordNames.fill("");
       RecordScores.fill(0);
     },
     nullptr},
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

void ResetProgramValues() {
  for (const ProgramValue& value : kProgramValues) value.reset();
}

uint64_t GameStateDigest(const TMainForm* form) {
  Digest digest;
  for (const ProgramValue& value : kProgramValues) {
    if (value.digest != nullptr) value.digest(digest);
  }
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
