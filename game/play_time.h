#pragma once
// Play time: the game's frame-counted rules (hunger, the life drain of full hunger, the
// two animation clocks, the picture screens' counter) run in steps of 1/60 s of play
// time rather than once a frame, so the game plays alike on displays of any refresh
// rate; at 60 Hz that is one step a frame, as before. Movement keeps scaling with the
// lag count. One frame advances play by at most 100 ms: a longer stall (a dragged
// window, a suspended machine) is dropped rather than caught up in one leap.

#include <cstdint>

inline constexpr int32_t kStepsPerSecond = 60;
inline constexpr int32_t kMaxFrameLag = 100;  // milliseconds

// The lag a frame advances by and the whole steps of 1/60 s it completes.
struct TFrameTime {
  int32_t Lag = 0;
  int32_t Steps = 0;
};

class TPlayTime {
 public:
  // Takes one frame's lag count. paused tells that play stands still in this frame; the
  // first frame after a pause then advances by no more than the last frame played, so
  // play resumes where it stood instead of leaping over the pause.
  TFrameTime Advance(int32_t lagCount, bool paused);
  // The next frame follows a gap that was not play (the display was started or switched
  // between full screen and a window): it too advances by one frame's worth at most.
  void Resume() { wasPaused_ = true; }

 private:
  // Milliseconds x 60 not yet counted as a step. Starting at half a step counts steps to
  // the nearest 1/60 s, so frames of 16 and of 17 ms both make one step each.
  int64_t carried_ = 500;
  int32_t lastPlayedLag_ = (1000 + kStepsPerSecond - 1) / kStepsPerSecond;
  bool wasPaused_ = false;
};
