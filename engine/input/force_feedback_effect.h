#pragma once
// A tree of named force-feedback effects. Each node keeps its values, finds descendants
// by a dotted path, and, on a device with a force-feedback motor, is backed by one or two
// effects of that motor which Start and Stop play.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/exceptions.h"
#include "platform/input_system.h"

class TCustomInput;

class EForceFeedbackEffectError : public Exception {
 public:
  using Exception::Exception;
};

inline constexpr const char* SEffectNotFound = "Effect '%s' not found";

enum class TForceFeedbackEffectType { etNone, etConstantForce, etPeriodic, etCondition };

class TForceFeedbackEffect {
 public:
  // A child appends itself to its parent, which owns it; the root has no parent.
  explicit TForceFeedbackEffect(TForceFeedbackEffect* parent);
  virtual ~TForceFeedbackEffect();
  TForceFeedbackEffect(const TForceFeedbackEffect&) = delete;
  TForceFeedbackEffect& operator=(const TForceFeedbackEffect&) = delete;

  std::string Name;

  TForceFeedbackEffect* Parent() const { return parent_; }
  int Count() const { return static_cast<int>(children_.size()); }
  TForceFeedbackEffect* Effects(int index) const {
    return children_.at(static_cast<size_t>(index)).get();
  }
  // The descendant named by path; EForceFeedbackEffectError when there is none.
  TForceFeedbackEffect* Find(const std::string& path);
  // Removes every child.
  void Clear();
  // Copies another node's values and its whole subtree.
  void Assign(const TForceFeedbackEffect& source);

  // Play and stop this node and its whole subtree; on a device without force feedback
  // they do nothing.
  void Start();
  void Stop();
  bool Playing() const { return playing_; }
  int DeviceEffectCount() const { return deviceEffectCount_; }

  TForceFeedbackEffectType EffectType() const { return effectType_; }
  int32_t AttackLevel() const { return attackLevel_; }
  int32_t AttackTime() const { return attackTime_; }
  int32_t ConditionX() const { return conditionX_; }
  int32_t ConditionY() const { return conditionY_; }
  int32_t ConstantX() const { return constantX_; }
  int32_t ConstantY() const { return constantY_; }
  int32_t FadeLevel() const { return fadeLevel_; }
  int32_t FadeTime() const { return fadeTime_; }
  int32_t Period() const { return period_; }
  int32_t Power() const { return power_; }
  int32_t Time() const { return time_; }
  int32_t StartDelayTime() const { return startDelayTime_; }

  // Each setter clamps its value and brings the device effects up to date.
  void SetEffectType(TForceFeedbackEffectType value);
  void SetAttackLevel(int32_t value);
  void SetAttackTime(int32_t value);
  void SetConditionX(int32_t value);
  void SetConditionY(int32_t value);
  void SetConstantX(int32_t value);
  void SetConstantY(int32_t value);
  void SetFadeLevel(int32_t value);
  void SetFadeTime(int32_t value);
  void SetPeriod(int32_t value);
  void SetPower(int32_t value);
  void SetTime(int32_t value);  // -1 plays until stopped
  void SetStartDelayTime(int32_t value);

  // Device life of the whole subtree: create the device effects when the device opens,
  // stop and release them when it closes, and after the device is acquired again
  // restart what played without end.
  void Initialize();
  void Finalize();
  void Acquire();

 protected:
  // The device whose motor plays the tree; the root knows it.
  virtual TCustomInput* Input() const;

 private:
  void createDeviceEffects();
  void releaseDeviceEffects();
  void stopDeviceEffects();
  bool buildParameters(int index, platform::HapticEffect& effect) const;
  void sendParameters(bool restart);
  void changed();
  void timingChanged();
  bool stillPlaying();
  platform::HapticDevice* motor() const;

  TForceFeedbackEffect* parent_;
  std::vector<std::unique_ptr<TForceFeedbackEffect>> children_;
  TForceFeedbackEffectType effectType_ = TForceFeedbackEffectType::etNone;
  int32_t attackLevel_ = 0;
  int32_t attackTime_ = 0;
  int32_t conditionX_ = 0;
  int32_t conditionY_ = 0;
  int32_t constantX_ = 0;
  int32_t constantY_ = 0;
  int32_t fadeLevel_ = 0;
  int32_t fadeTime_ = 0;
  int32_t period_ = 50;
  int32_t power_ = 10000;
  int32_t time_ = 1000;
  int32_t startDelayTime_ = 0;

  bool playing_ = false;
  // Device effect handles, with the motor and the kind they were made for.
  std::array<int, 2> handles_{-1, -1};
  std::array<platform::HapticKind, 2> kinds_{};
  int deviceEffectCount_ = 0;
  platform::HapticDevice* owner_ = nullptr;
};
