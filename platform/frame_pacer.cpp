#include "platform/frame_pacer.h"

#include <thread>

namespace platform {
namespace {

constexpr int kDefaultRefreshRate = 60;
// With a presenter that waits for the vertical blank itself, frames are held back only
// when they come quicker than this share of a refresh.
constexpr int kGuardPercent = 90;

}  // namespace

FramePacer::FramePacer()
    : FramePacer([] { return Clock::now(); },
                 [](Clock::time_point until) { std::this_thread::sleep_until(until); }) {}

FramePacer::FramePacer(Now now, SleepUntil sleepUntil)
    : now_(std::move(now)), sleepUntil_(std::move(sleepUntil)) {
  setRefreshRate(kDefaultRefreshRate);
}

void FramePacer::setRefreshRate(int hertz) {
  if (hertz <= 0) hertz = kDefaultRefreshRate;
  period_ = std::chrono::duration_cast<Clock::duration>(std::chrono::seconds(1)) / hertz;
}

void FramePacer::frameShown(bool presenterWaited) {
  const Clock::duration period = presenterWaited ? period_ * kGuardPercent / 100 : period_;
  Clock::time_point now = now_();
  if (next_ && now < *next_) {
    sleepUntil_(*next_);
    now = *next_;
  }
  if (next_ && now - *next_ < period) {
    *next_ += period;
  } else {
    next_ = now + period;
  }
}

}  // namespace platform
