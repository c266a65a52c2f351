#include "platform/frame_pacer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

namespace platform {
namespace {

using namespace std::chrono_literals;
using TimePoint = FramePacer::Clock::time_point;

// A clock that moves only when the test or the pacer's sleep moves it.
class FakeTime {
 public:
  TimePoint now = TimePoint{} + 1s;
  std::vector<std::chrono::microseconds> sleeps;
  FramePacer pacer() {
    return FramePacer(
        [this] { return now; },
        [this](TimePoint until) {
          sleeps.push_back(std::chrono::duration_cast<std::chrono::microseconds>(until - now));
          if (until > now) now = until;
        });
  }
};

TEST(FramePacer, UnknownRatesMeanSixtyHertz) {
  FakeTime time;
  FramePacer pacer = time.pacer();
  EXPECT_EQ(std::chrono::duration_cast<std::chrono::microseconds>(pacer.period()).count(), 16666);
  pacer.setRefreshRate(75);
  EXPECT_EQ(std::chrono::duration_cast<std::chrono::microseconds>(pacer.period()).count(), 13333);
  pacer.setRefreshRate(0);
  EXPECT_EQ(std::chrono::duration_cast<std::chrono::microseconds>(pacer.period()).count(), 16666);
}

TEST(FramePacer, QuickFramesWaitForTheNextRefreshAndKeepTheCadence) {
  FakeTime time;
  FramePacer pacer = time.pacer();
  pacer.setRefreshRate(50);  // 20 ms
  const TimePoint start = time.now;
  pacer.frameShown(false);  // the first frame starts the cadence without waiting
  EXPECT_TRUE(time.sleeps.empty());
  for (int frame = 1; frame <= 5; ++frame) {
    time.now += 3ms;  // drawing takes 3 ms
    pacer.frameShown(false);
    EXPECT_EQ(time.now - start, frame * 20ms);
  }
  ASSERT_EQ(time.sleeps.size(), 5u);
  EXPECT_EQ(time.sleeps.back(), 17ms);
}

TEST(FramePacer, ALateFrameShortensTheNextWaitButALongStallStartsAfresh) {
  FakeTime time;
  FramePacer pacer = time.pacer();
  pacer.setRefreshRate(50);
  pacer.frameShown(false);
  const TimePoint start = time.now;
  time.now += 25ms;  // 5 ms late for the slot at 20 ms
  pacer.frameShown(false);
  EXPECT_TRUE(time.sleeps.empty());
  time.now += 2ms;  // the slot at 40 ms is kept: 13 ms of waiting
  pacer.frameShown(false);
  EXPECT_EQ(time.now - start, 40ms);
  // A stall of several refreshes is not made up by a burst of frames.
  time.now += 100ms;
  pacer.frameShown(false);
  const TimePoint afterStall = time.now;
  time.now += 1ms;
  pacer.frameShown(false);
  EXPECT_EQ(time.now - afterStall, 20ms);
}

TEST(FramePacer, APresenterThatWaitsItselfIsHeldBackOnlyWhenFarTooQuick) {
  FakeTime time;
  FramePacer pacer = time.pacer();
  pacer.setRefreshRate(50);
  pacer.frameShown(true);
  // Frames a whole refresh apart (a vsync that works) never wait.
  for (int i = 0; i < 10; ++i) {
    time.now += 20ms;
    pacer.frameShown(true);
  }
  EXPECT_TRUE(time.sleeps.empty());
  // A vsync that returns at once: frames come no quicker than 90 % of a refresh.
  const TimePoint start = time.now;
  for (int i = 0; i < 4; ++i) {
    time.now += 1ms;
    pacer.frameShown(true);
  }
  EXPECT_GE(time.now - start, 3 * 18ms);
}

}  // namespace
}  // namespace platform
