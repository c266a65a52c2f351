#pragma once
// Force feedback for a pad that has no effect-playing motor but can rumble, as most pads
// can: a constant or periodic effect plays as a rumble of both motors at the effect's
// strength for the effect's length. A rumble knows no waveform, direction, delay or
// envelope, so those are left out; conditions (springs and the like) are not offered.

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/input_system.h"

namespace platform {

class RumbleMotor : public HapticDevice {
 public:
  // Rumbles the low- and high-frequency motors (0 to 0xFFFF) for ms milliseconds; both at
  // 0 stop. False when the pad refuses.
  using RumbleFunction = std::function<bool(uint16_t low, uint16_t high, uint32_t ms)>;
  explicit RumbleMotor(RumbleFunction rumble);

  // Both motors' strength for an effect: its magnitude scaled by its gain.
  static uint16_t strength(const HapticEffect& effect);

  std::vector<HapticKind> supportedKinds() override;
  int createEffect(const HapticEffect& effect) override;
  bool updateEffect(int handle, const HapticEffect& effect) override;
  bool runEffect(int handle, uint32_t iterations) override;
  bool stopEffect(int handle) override;
  // 0 for an effect that is not the one rumbling; for that one the pad cannot tell.
  int effectStatus(int handle) override;
  void destroyEffect(int handle) override;
  bool setAutocenter(bool on) override;

 private:
  struct Slot {
    HapticEffect effect;
    bool alive = true;
  };
  Slot* find(int handle);

  RumbleFunction rumble_;
  std::vector<Slot> slots_;
  int rumbling_ = -1;  // the handle whose rumble was started last
};

}  // namespace platform
