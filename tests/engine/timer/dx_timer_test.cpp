#include "engine/timer/dx_timer.h"

#include <gtest/gtest.h>

#include <limits>

#include "support/fake_app.h"

namespace {

struct TimerTest : ::testing::Test {
  FakeApp f;
  TDXTimer* timer = nullptr;
  std::vector<int32_t> lags;
  int activations = 0;
  int deactivations = 0;

  void SetUp() override {
    timer = f.app->CreateComponent<TDXTimer>();
    timer->OnTimer = [this](TObject*, int32_t lag) { lags.push_back(lag); };
    timer->OnActivate = [this](TObject*) { ++activations; };
    timer->OnDeactivate = [this](TObject*) { ++deactivations; };
  }
  // Settings as a stored description gives them, then the after-loading start.
  void load(bool activeOnly, int64_t interval) {
    timer->ComponentState |= csLoading;
    timer->SetActiveOnly(activeOnly);
    timer->SetInterval(interval);
    timer->SetEnabled(true);
    timer->Loaded();
  }
  void idleAt(uint32_t tick) {
    f.clock().setTicks(tick);
    f.step();
  }
};

TEST_F(TimerTest, IntervalZeroFiresOnEveryIdlePassWithLagAtLeastOne) {
  f.clock().setTicks(1000);
  load(false, 0);
  idleAt(1000);
  idleAt(1000);
  idleAt(1017);
  EXPECT_EQ(lags, (std::vector<int32_t>{1, 1, 17}));
}

TEST_F(TimerTest, IntervalFiftyCountsWholeIntervalsAndDropsTheRest) {
  f.clock().setTicks(0);
  load(false, 50);
  idleAt(49);
  EXPECT_TRUE(lags.empty());
  idleAt(120);
  ASSERT_EQ(lags, (std::vector<int32_t>{2}));
  idleAt(169);  // 49 ms after the last event, not after 100
  EXPECT_EQ(lags.size(), 1u);
  idleAt(170);
  EXPECT_EQ(lags.back(), 1);
}

TEST_F(TimerTest, NegativeIntervalMeansEveryPass) {
  timer->SetInterval(-5);
  EXPECT_EQ(timer->Interval(), 0u);
  f.clock().setTicks(7);
  load(false, -5);
  idleAt(7);
  EXPECT_EQ(lags, (std::vector<int32_t>{1}));
}

TEST_F(TimerTest, TickCounterWrapGivesTheTrueElapsedTime) {
  f.clock().setTicks(4294967290u);
  load(false, 0);
  idleAt(10);
  EXPECT_EQ(lags, (std::vector<int32_t>{16}));
}

// A lag beyond the signed range (a machine suspended for weeks) is capped, not negative.
TEST_F(TimerTest, ALagBeyondTheSignedRangeIsCappedNotTurnedNegative) {
  f.clock().setTicks(0);
  load(false, 0);
  idleAt(3'000'000'000u);
  EXPECT_EQ(lags, (std::vector<int32_t>{std::numeric_limits<int32_t>::max()}));
}

TEST_F(TimerTest, FramesPerSecondOverTheRateWindow) {
  f.clock().setTicks(0);
  load(false, 0);
  for (int i = 1; i <= 60; ++i) idleAt(static_cast<uint32_t>(i * 16));
  EXPECT_EQ(timer->FramesPerSecond(), 0);  // no full window yet
  idleAt(1016);
  EXPECT_EQ(timer->FramesPerSecond(), 60);  // 61 x 1000 / 1016 = 60.04
  for (int i = 1; i <= 30; ++i) idleAt(static_cast<uint32_t>(1016 + i * 33 + (i == 30 ? 10 : 0)));
  EXPECT_EQ(timer->FramesPerSecond(), 30);  // 30 events in exactly 1000 ms
  EXPECT_EQ(FramesPerSecondOf(61, 1000), 61);
  EXPECT_EQ(FramesPerSecondOf(1, 2000), 0);  // 0.5 rounds to even
  EXPECT_EQ(FramesPerSecondOf(3, 2000), 2);  // 1.5 rounds to even
}

TEST_F(TimerTest, ActiveOnlyPausesInTheBackgroundAndResumesOnActivation) {
  load(true, 0);
  idleAt(10);
  EXPECT_TRUE(lags.empty());  // the application has not been activated yet
  EXPECT_TRUE(timer->Started());
  f.events().pushFocus(0, true);
  f.step(2);  // the focus event, then the posted activation
  EXPECT_EQ(activations, 1);
  idleAt(25);
  EXPECT_EQ(lags, (std::vector<int32_t>{15}));  // measured from the resume
  // Disabled and enabled again while inactive: stays paused until activated.
  f.events().pushFocus(0, false);
  f.step(3);
  EXPECT_EQ(deactivations, 1);
  timer->SetEnabled(false);
  timer->SetEnabled(true);
  idleAt(40);
  EXPECT_EQ(lags.size(), 1u);
  EXPECT_FALSE(f.app->HasIdleHandler());
  f.events().pushFocus(0, true);
  f.step(2);
  idleAt(41);
  EXPECT_EQ(lags.size(), 2u);
}

TEST_F(TimerTest, WithoutActiveOnlyLosingFocusReportsButFramesGoOn) {
  load(false, 0);
  f.events().pushFocus(0, true);
  f.step(2);
  f.events().pushFocus(0, false);
  f.step(3);
  EXPECT_EQ(deactivations, 1);
  idleAt(5);
  idleAt(6);
  EXPECT_EQ(lags.size(), 2u);
}

TEST_F(TimerTest, FocusMovingBetweenOwnWindowsIsNoDeactivation) {
  load(false, 0);
  f.events().pushFocus(0, true);
  f.step(2);
  f.events().pushFocus(0, false);
  f.events().pushFocus(0, true);
  f.step(4);
  EXPECT_EQ(deactivations, 0);
  EXPECT_EQ(activations, 1);
}

TEST_F(TimerTest, DisablingStopsAndDestructionFreesTheIdleSlot) {
  load(false, 0);
  EXPECT_TRUE(f.app->HasIdleHandler());
  timer->SetEnabled(false);
  EXPECT_FALSE(f.app->HasIdleHandler());
  EXPECT_FALSE(timer->Started());
  timer->SetEnabled(true);
  f.app->DestroyComponents();
  EXPECT_FALSE(f.app->HasIdleHandler());
}

TEST_F(TimerTest, AnExceptionInTheFrameIsShownAndTheNextFrameRuns) {
  std::vector<std::string> shown;
  f.app->OnShowMessage = [&](const std::string& text) { shown.push_back(text); };
  int frames = 0;
  timer->OnTimer = [&](TObject*, int32_t) {
    if (++frames == 1) throw Exception("Image 'm3' not found");
  };
  load(false, 0);
  idleAt(1);
  idleAt(2);
  EXPECT_EQ(frames, 2);
  EXPECT_EQ(shown, (std::vector<std::string>{"Image 'm3' not found"}));
}

}  // namespace
