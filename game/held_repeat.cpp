#include "game/held_repeat.h"

#include <algorithm>

namespace {

// The repeats due once a direction has been held this long.
int64_t repeatsAfter(int64_t heldMs) {
  return heldMs < kFirstRepeatMs ? 0 : 1 + (heldMs - kFirstRepeatMs) / kRepeatMs;
}

}  // namespace

int THeldRepeat::Hold(bool held, int32_t lagMs) {
  if (!held) holding_ = false;
  if (!holding_) return 0;
  const int64_t before = repeatsAfter(heldMs_);
  heldMs_ += std::max(lagMs, 0);
  return static_cast<int>(repeatsAfter(heldMs_) - before);
}
