#include "game/play_time.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The steps a run of frames makes, frame by frame.
std::vector<int32_t> stepsOf(TPlayTime& time, const std::vector<int32_t>& lags,
                             bool paused = false) {
  std::vector<int32_t> steps;
  for (int32_t lag : lags) steps.push_back(time.Advance(lag, paused).Steps);
  return steps;
}

TEST(PlayTime, SixtyHertzMakesOneStepEveryFrameWhateverTheMillisecondPattern) {
  for (const std::vector<int32_t>& pattern :
       {std::vector<int32_t>{17, 17, 16}, {17, 16, 17}, {16, 17, 17}}) {
    TPlayTime time;
    for (int round = 0; round < 200; ++round) {
      EXPECT_EQ(stepsOf(time, pattern), (std::vector<int32_t>{1, 1, 1})) << round;
    }
  }
}

TEST(PlayTime, ASecondMakesSixtyStepsAtAnyFrameRate) {
  for (int32_t lag : {1, 4, 5, 7, 13, 16, 17, 25, 33, 40, 50, 100}) {
    TPlayTime time;
    int64_t steps = 0;
    int32_t played = 0;
    for (; played < 10000; played += lag) steps += time.Advance(lag, false).Steps;
    EXPECT_NEAR(static_cast<double>(steps), played * 60 / 1000.0, 1.0) << lag;
  }
}

TEST(PlayTime, AFrameAdvancesAtMostAHundredMilliseconds) {
  TPlayTime time;
  const TFrameTime stall = time.Advance(5000, false);
  EXPECT_EQ(stall.Lag, kMaxFrameLag);
  EXPECT_EQ(stall.Steps, 6);
  EXPECT_EQ(time.Advance(100, false).Lag, 100);
}

TEST(PlayTime, TheFirstFrameAfterAPauseAdvancesByTheLastFramePlayed) {
  TPlayTime time;
  stepsOf(time, {20, 20});
  EXPECT_EQ(time.Advance(100, true).Lag, 100);  // picture screens go on meanwhile
  EXPECT_EQ(time.Advance(3000, false).Lag, 20);
  EXPECT_EQ(time.Advance(90, false).Lag, 90);
}

TEST(PlayTime, AResumedDisplayAdvancesByOneFrameAtMost) {
  TPlayTime time;
  time.Resume();
  EXPECT_EQ(time.Advance(400, false).Lag, 17);
  EXPECT_EQ(time.Advance(40, false).Lag, 40);
}

}  // namespace
