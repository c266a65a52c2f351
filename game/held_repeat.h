#pragma once
// A direction held on a menu or on the name window's letters: it acts once when pressed,
// again after kFirstRepeatMs, then every kRepeatMs for as long as it is held, as a console
// game's menus do. The pace follows the time that passes, not the frames, so it is the
// same at any refresh rate.

#include <cstdint>

inline constexpr int32_t kFirstRepeatMs = 400;
inline constexpr int32_t kRepeatMs = 100;

class THeldRepeat {
 public:
  // A new press, acted on by the caller: the repeats count from here.
  void Press() {
    holding_ = true;
    heldMs_ = 0;
  }
  // Forgets the press: a direction already held when this repeat is used again (a stick
  // held from play into the name window) waits for a new press.
  void Release() { holding_ = false; }
  // The direction was held (or not) for lagMs more: how many repeats fall due now. Let
  // go, it repeats no more until pressed again.
  int Hold(bool held, int32_t lagMs);

 private:
  bool holding_ = false;
  int64_t heldMs_ = 0;
};
