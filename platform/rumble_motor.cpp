#include "platform/rumble_motor.h"

#include <algorithm>
#include <limits>

namespace platform {

namespace {
constexpr long long kFullMotor = 0xFFFF;
}  // namespace

RumbleMotor::RumbleMotor(RumbleFunction rumble) : rumble_(std::move(rumble)) {}

uint16_t RumbleMotor::strength(const HapticEffect& effect) {
  const long long magnitude = std::clamp(effect.magnitude, 0, kFullLevel);
  return static_cast<uint16_t>(withGain(magnitude * kFullMotor, effect.gain) / kFullLevel);
}

std::vector<HapticKind> RumbleMotor::supportedKinds() {
  return {HapticKind::Constant, HapticKind::Sine};
}

RumbleMotor::Slot* RumbleMotor::find(int handle) {
  if (handle < 0 || handle >= static_cast<int>(slots_.size())) return nullptr;
  Slot& slot = slots_[static_cast<size_t>(handle)];
  return slot.alive ? &slot : nullptr;
}

int RumbleMotor::createEffect(const HapticEffect& effect) {
  if (effect.kind != HapticKind::Constant && !isPeriodicKind(effect.kind)) return -1;
  slots_.push_back(Slot{effect});
  return static_cast<int>(slots_.size()) - 1;
}

bool RumbleMotor::updateEffect(int handle, const HapticEffect& effect) {
  Slot* slot = find(handle);
  if (slot == nullptr) return false;
  slot->effect = effect;
  return true;
}

bool RumbleMotor::runEffect(int handle, uint32_t iterations) {
  Slot* slot = find(handle);
  if (slot == nullptr) return false;
  const HapticEffect& e = slot->effect;
  const uint16_t level = strength(e);
  uint32_t ms = std::numeric_limits<uint32_t>::max();
  if (!e.infinite) {
    const uint64_t total = static_cast<uint64_t>(e.durationMs) * std::max<uint32_t>(iterations, 1);
    ms = static_cast<uint32_t>(std::min<uint64_t>(total, std::numeric_limits<uint32_t>::max()));
  }
  rumbling_ = handle;
  return rumble_(level, level, ms);
}

bool RumbleMotor::stopEffect(int handle) {
  if (find(handle) == nullptr) return false;
  if (handle != rumbling_) return true;
  rumbling_ = -1;
  return rumble_(0, 0, 0);
}

int RumbleMotor::effectStatus(int handle) {
  if (find(handle) == nullptr || handle != rumbling_) return 0;
  return -1;
}

void RumbleMotor::destroyEffect(int handle) {
  if (find(handle) == nullptr) return;
  // A destroyed effect stops, as it does on a motor that plays effects itself.
  stopEffect(handle);
  slots_[static_cast<size_t>(handle)].alive = false;
}

bool RumbleMotor::setAutocenter(bool) { return false; }

}  // namespace platform
