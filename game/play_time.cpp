#include "game/play_time.h"

#include <algorithm>

TFrameTime TPlayTime::Advance(int32_t lagCount, bool paused) {
  constexpr int64_t kStepSize = 1000;  // a step is 1000 ms x 1/60 s of carried time
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
