#include "engine/input/force_feedback_effect.h"

#include <algorithm>
#include <cmath>

#include "engine/input/custom_input.h"

namespace {

constexpr int32_t kMaxLevel = 10000;

int32_t clampLevel(int32_t v) { return std::clamp(v, 0, kMaxLevel); }
int32_t clampSigned(int32_t v) { return std::clamp(v, -kMaxLevel, kMaxLevel); }
int32_t clampTime(int32_t v) { return std::max(v, 0); }

}  // namespace

TForceFeedbackEffect::TForceFeedbackEffect(TForceFeedbackEffect* parent) : parent_(parent) {
  if (parent_ != nullptr) parent_->children_.emplace_back(this);
}

TForceFeedbackEffect::~TForceFeedbackEffect() {
  // Children first, while the device they play on is still known through the parent.
  while (!children_.empty()) children_.pop_back();
  releaseDeviceEffects();
}

TCustomInput* TForceFeedbackEffect::Input() const {
  return parent_ != nullptr ? parent_->Input() : nullptr;
}

platform::HapticDevice* TForceFeedbackEffect::motor() const {
  TCustomInput* input = Input();
  return input != nullptr ? input->ForceFeedbackMotor() : nullptr;
}

TForceFeedbackEffect* TForceFeedbackEffect::Find(const std::string& path) {
  TForceFeedbackEffect* node = this;
  std::string rest = path;
  while (true) {
    // A child whose whole name matches wins, even when the name holds a point.
    for (const auto& child : node->children_) {
      if (child->Name == rest) return child.get();
    }
    const size_t point = rest.find('.');
    if (point == std::string::npos) break;
    const std::string first = rest.substr(0, point);
    TForceFeedbackEffect* next = nullptr;
    for (const auto& child : node->children_) {
      if (child->Name == first) {
        next = child.get();
        break;
      }
    }
    if (next == nullptr) break;
    node = next;
    rest = rest.substr(point + 1);
  }
  throw EForceFeedbackEffectError(Format(SEffectNotFound, path));
}

void TForceFeedbackEffect::Clear() {
  while (!children_.empty()) children_.pop_back();
}

void TForceFeedbackEffect::Assign(const TForceFeedbackEffect& source) {
  if (&source == this) return;
  Name = source.Name;
  effectType_ = source.effectType_;
  attackLevel_ = source.attackLevel_;
  attackTime_ = source.attackTime_;
  conditionX_ = source.conditionX_;
  conditionY_ = source.conditionY_;
  constantX_ = source.constantX_;
  constantY_ = source.constantY_;
  fadeLevel_ = source.fadeLevel_;
  fadeTime_ = source.fadeTime_;
  period_ = source.period_;
  power_ = source.power_;
  time_ = source.time_;
  startDelayTime_ = source.startDelayTime_;
  Clear();
  for (const auto& child : source.children_) {
    auto* copy = new TForceFeedbackEffect(this);
    copy->Assign(*child);
  }
}

void TForceFeedbackEffect::Start() {
  for (const auto& child : children_) child->Start();
  if (deviceEffectCount_ == 0) createDeviceEffects();
  if (deviceEffectCount_ == 0) return;
  for (int i = 0; i < deviceEffectCount_; ++i) {
    if (owner_->runEffect(handles_[static_cast<size_t>(i)], 1)) continue;
    // A device that lost its acquisition is acquired again once, and the effect retried;
    // acquiring may have re-created the effects, so the handle is read anew.
    if (TCustomInput* input = Input()) input->Acquire();
    if (i < deviceEffectCount_) owner_->runEffect(handles_[static_cast<size_t>(i)], 1);
  }
  playing_ = true;
}

bool TForceFeedbackEffect::stillPlaying() {
  if (time_ == -1) return true;
  for (int i = 0; i < deviceEffectCount_; ++i) {
    // A device that cannot tell is taken as still playing, so that Stop does stop it.
    if (owner_->effectStatus(handles_[static_cast<size_t>(i)]) != 0) return true;
  }
  return false;
}

void TForceFeedbackEffect::Stop() {
  if (playing_) {
    const bool playing = stillPlaying();
    playing_ = false;
    if (playing) stopDeviceEffects();
  }
  for (const auto& child : children_) child->Stop();
}

void TForceFeedbackEffect::stopDeviceEffects() {
  for (int i = 0; i < deviceEffectCount_; ++i) owner_->stopEffect(handles_[static_cast<size_t>(i)]);
}

void TForceFeedbackEffect::releaseDeviceEffects() {
  for (int i = 0; i < deviceEffectCount_; ++i)
    owner_->destroyEffect(handles_[static_cast<size_t>(i)]);
  handles_ = {-1, -1};
  deviceEffectCount_ = 0;
  owner_ = nullptr;
}

void TForceFeedbackEffect::createDeviceEffects() {
  releaseDeviceEffects();
  platform::HapticDevice* device = motor();
  if (device == nullptr || effectType_ == TForceFeedbackEffectType::etNone) return;
  const std::vector<platform::HapticKind> kinds = device->supportedKinds();
  int count = 0;
  if (effectType_ == TForceFeedbackEffectType::etConstantForce) {
    if (std::find(kinds.begin(), kinds.end(), platform::HapticKind::Constant) == kinds.end())
      return;
    kinds_[0] = platform::HapticKind::Constant;
    count = 1;
  } else {
    const bool periodic = effectType_ == TForceFeedbackEffectType::etPeriodic;
    auto it = std::find_if(kinds.begin(), kinds.end(),
                           periodic ? platform::isPeriodicKind : platform::isConditionKind);
    if (it == kinds.end()) return;
    kinds_ = {*it, *it};
    count = periodic ? 1 : 2;
  }
  std::array<int, 2> created{-1, -1};
  for (int i = 0; i < count; ++i) {
    platform::HapticEffect effect;
    buildParameters(i, effect);
    created[static_cast<size_t>(i)] = device->createEffect(effect);
    if (created[static_cast<size_t>(i)] < 0) {
      for (int j = 0; j < i; ++j) device->destroyEffect(created[static_cast<size_t>(j)]);
      return;
    }
  }
  handles_ = created;
  deviceEffectCount_ = count;
  owner_ = device;
  if (playing_ && time_ == -1) Start();
}

bool TForceFeedbackEffect::buildParameters(int index, platform::HapticEffect& effect) const {
  effect = platform::HapticEffect{};
  effect.kind = kinds_[static_cast<size_t>(index)];
  effect.infinite = time_ == -1;
  effect.durationMs = effect.infinite ? 0 : static_cast<uint32_t>(time_);
  effect.delayMs = static_cast<uint32_t>(startDelayTime_);
  effect.gain = power_;
  effect.attackLevel = attackLevel_;
  effect.attackTimeMs =
      static_cast<uint32_t>(effect.infinite ? attackTime_ : std::min(attackTime_, time_));
  if (!effect.infinite) {
    effect.fadeLevel = fadeLevel_;
    effect.fadeTimeMs = static_cast<uint32_t>(std::min(fadeTime_, time_));
  }
  if (effectType_ == TForceFeedbackEffectType::etCondition) {
    effect.axis = index;
    const int32_t condition = index == 0 ? conditionX_ : conditionY_;
    effect.offset = index == 0 ? constantX_ : constantY_;
    effect.positiveCoefficient = condition;
    effect.negativeCoefficient = -condition;
    return true;
  }
  effect.directionX = -constantX_;
  effect.directionY = -constantY_;
  const double x = constantX_;
  const double y = constantY_;
  effect.magnitude = static_cast<int>(std::sqrt(x * x + y * y));
  if (effectType_ == TForceFeedbackEffectType::etPeriodic)
    effect.periodMs = static_cast<uint32_t>(period_);
  return true;
}

void TForceFeedbackEffect::sendParameters(bool restart) {
  for (int i = 0; i < deviceEffectCount_; ++i) {
    platform::HapticEffect effect;
    buildParameters(i, effect);
    const int handle = handles_[static_cast<size_t>(i)];
    owner_->updateEffect(handle, effect);
    if (restart) owner_->runEffect(handle, 1);
  }
}

void TForceFeedbackEffect::changed() {
  if (deviceEffectCount_ > 0) sendParameters(playing_);
}

void TForceFeedbackEffect::timingChanged() {
  Stop();
  sendParameters(false);
}

void TForceFeedbackEffect::SetEffectType(TForceFeedbackEffectType value) {
  if (value == effectType_) return;
  effectType_ = value;
  Stop();
  createDeviceEffects();
}

void TForceFeedbackEffect::SetAttackLevel(int32_t value) {
  value = clampLevel(value);
  if (value == attackLevel_) return;
  attackLevel_ = value;
  changed();
}

void TForceFeedbackEffect::SetAttackTime(int32_t value) {
  value = clampTime(value);
  if (value == attackTime_) return;
  attackTime_ = value;
  changed();
}

void TForceFeedbackEffect::SetConditionX(int32_t value) {
  value = clampSigned(value);
  if (value == conditionX_) return;
  conditionX_ = value;
  changed();
}

void TForceFeedbackEffect::SetConditionY(int32_t value) {
  value = clampSigned(value);
  if (value == conditionY_) return;
  conditionY_ = value;
  changed();
}

void TForceFeedbackEffect::SetConstantX(int32_t value) {
  value = clampSigned(value);
  if (value == constantX_) return;
  constantX_ = value;
  changed();
}

void TForceFeedbackEffect::SetConstantY(int32_t value) {
  value = clampSigned(value);
  if (value == constantY_) return;
  constantY_ = value;
  changed();
}

void TForceFeedbackEffect::SetFadeLevel(int32_t value) {
  value = clampLevel(value);
  if (value == fadeLevel_) return;
  fadeLevel_ = value;
  changed();
}

void TForceFeedbackEffect::SetFadeTime(int32_t value) {
  value = clampTime(value);
  if (value == fadeTime_) return;
  fadeTime_ = value;
  changed();
}

void TForceFeedbackEffect::SetPeriod(int32_t value) {
  value = clampTime(value);
  if (value == period_) return;
  period_ = value;
  changed();
}

void TForceFeedbackEffect::SetPower(int32_t value) {
  value = clampLevel(value);
  if (value == power_) return;
  power_ = value;
  changed();
}

void TForceFeedbackEffect::SetTime(int32_t value) {
  if (value < -1) value = 0;
  if (value == time_) return;
  time_ = value;
  timingChanged();
}

void TForceFeedbackEffect::SetStartDelayTime(int32_t value) {
  value = clampTime(value);
  if (value == startDelayTime_) return;
  startDelayTime_ = value;
  timingChanged();
}

void TForceFeedbackEffect::Initialize() {
  createDeviceEffects();
  for (const auto& child : children_) child->Initialize();
}

void TForceFeedbackEffect::Finalize() {
  for (const auto& child : children_) child->Finalize();
  if (playing_) stopDeviceEffects();
  playing_ = false;
  releaseDeviceEffects();
}

void TForceFeedbackEffect::Acquire() {
  if (playing_ && time_ == -1) Start();
  for (const auto& child : children_) child->Initialize();
}
