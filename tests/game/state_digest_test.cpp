#include "game/state_digest.h"

#include <gtest/gtest.h>

#include <tuple>

#include "game/game_vars.h"
#include "game/random.h"
#include "game/records.h"

namespace {

// A recorded game's check covers every field of the game state and the random seed, and a
// run starts from the values a fresh process has, the records table's included.
TEST(StateDigest, EveryCheckedValueChangesTheDigestAndARunStartsFresh) {
  ResetProgramValues();
  const uint64_t fresh = GameStateDigest(nullptr);
  int field = 0;
  const auto changes = [&](auto member) {
    GameVars.*member += 1;
    EXPECT_NE(GameStateDigest(nullptr), fresh) << "field " << field++;
    ResetProgramValues();
  };
  std::apply([&](auto... member) { (changes(member), ...); }, kGameVarsFields);
  RandSeed = 1;
  EXPECT_NE(GameStateDigest(nullptr), fresh);

  GameVars.Level = 3;
  RecordNames[0] = "Sharky";
  RecordScores[9] = 40;
  ResetProgramValues();
  EXPECT_EQ(GameStateDigest(nullptr), fresh);
  EXPECT_EQ(RecordNames[0], "");
  EXPECT_EQ(RecordScores[9], 0);
}

}  // namespace
