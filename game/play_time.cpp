#include "game/play_time.h"

#include <algorithm>

TFrameTime TPlayTime::Advance(int32_t lagCount, bool paused) {
  // A step of 1/60 s is 1000/60 ms: 1000 in the carried units of milliseconds x 60.
  constexpr int64_t kStepSize = 1000;
  int32_t lag = std::clamp(lagCount, 1, kMaxFrameLag);
  if (paused) {
    wasPaused_ = true;
  } else {
    if (wasPaused_) lag = std::min(lag, lastPlayedLag_);
    wasPaused_ = false;
    lastPlayedLag_ = lag;
  }
  carried_ += int64_t{lag} * kStepsPerSecond;
  const auto steps = static_cast<int32_t>(carried_ / kStepSize);
  carried_ %= kStepSize;
  return {lag, steps};
}
