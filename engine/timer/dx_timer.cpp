#include "engine/timer/dx_timer.h"

#include <algorithm>
#include <limits>

#include "framework/application.h"

int32_t FramesPerSecondOf(int32_t frames, int32_t windowMs) {
  const int64_t num = static_cast<int64_t>(frames) * 1000;
  const int64_t den = std::max<int64_t>(windowMs, 1);
  int64_t q = num / den;
  const int64_t twice = 2 * (num % den);
  if (twice > den || (twice == den && (q & 1) != 0)) ++q;
  return static_cast<int32_t>(q);
}

TCustomDXTimer::TCustomDXTimer(TComponent* owner) : TComponent(owner) {
  hookId_ = Application->HookMainWindow([this](TMessage& message) {
    AppHook(message.Msg);
    return false;  // the framework goes on handling every message
  });
}

TCustomDXTimer::~TCustomDXTimer() {
  StopTimer();
  if (Application != nullptr) Application->UnhookMainWindow(hookId_);
}

void TCustomDXTimer::SetEnabled(bool value) {
  if (enabled_ == value) return;
  enabled_ = value;
  if (Loading()) return;
  if (enabled_) {
    StartTimer();
  } else {
    StopTimer();
  }
}

void TCustomDXTimer::SetInterval(int64_t value) {
  if (value == static_cast<int64_t>(interval_)) return;
  interval_ =
      static_cast<uint32_t>(std::clamp<int64_t>(value, 0, std::numeric_limits<int32_t>::max()));
  intervalDivisor_ = std::max<uint32_t>(interval_, 1);
}

void TCustomDXTimer::Loaded() {
  TComponent::Loaded();
  if (!Designing() && enabled_) StartTimer();
}

void TCustomDXTimer::SetStoredProperty(const std::string& name, const TPropertyValue& value) {
  if (name == "ActiveOnly") {
    SetActiveOnly(value.AsBoolean(name));
  } else if (name == "Enabled") {
    SetEnabled(value.AsBoolean(name));
  } else if (name == "Interval") {
    SetInterval(value.AsInteger(name));
  } else if (name == "OnActivate") {
    OnActivate = MethodByName<TNotifyEvent>(name, value.AsIdentifier(name));
  } else if (name == "OnDeactivate") {
    OnDeactivate = MethodByName<TNotifyEvent>(name, value.AsIdentifier(name));
  } else if (name == "OnTimer") {
    OnTimer = MethodByName<TDXTimerEvent>(name, value.AsIdentifier(name));
  } else {
    TComponent::SetStoredProperty(name, value);
  }
}

void TCustomDXTimer::FireActivate() {
  if (OnActivate) OnActivate(this);
}

void TCustomDXTimer::FireDeactivate() {
  if (OnDeactivate) OnDeactivate(this);
}

void TCustomDXTimer::FireTimer(int32_t lagCount) {
  if (OnTimer) OnTimer(this, lagCount);
}

void TCustomDXTimer::StartTimer() {
  StopTimer();
  if (!activeOnly_ || Application->Active()) InstallIdle();
  started_ = true;
}

void TCustomDXTimer::StopTimer() {
  if (!started_) return;
  RemoveIdle();
  started_ = false;
}

void TCustomDXTimer::InstallIdle() {
  platform::Clock& clock = Application->Platform().clock();
  lastTick_ = clock.ticks();
  rateTick_ = clock.ticks();
  Application->SetIdleHandler([this](TObject*, bool& done) { AppIdle(done); });
}

void TCustomDXTimer::RemoveIdle() {
  if (Application != nullptr) Application->RemoveIdleHandler();
}

void TCustomDXTimer::AppIdle(bool& done) {
  done = false;  // keep the loop spinning while the timer runs
  const uint32_t t = Application->Platform().clock().ticks();
  const uint32_t elapsed = t - lastTick_;
  if (elapsed < interval_) return;
  lastTick_ = t;
  // Lags beyond 24 days are capped rather than turning negative.
  const uint32_t lag =
      std::clamp<uint32_t>(elapsed / intervalDivisor_, 1, std::numeric_limits<int32_t>::max());
  ++frameCounter_;
  const int32_t window = std::max(static_cast<int32_t>(t - rateTick_), 1);
  if (window >= 1000) {
    framesPerSecond_ = FramesPerSecondOf(frameCounter_, window);
    frameCounter_ = 0;
    rateTick_ = t;
  }
  FireTimer(static_cast<int32_t>(lag));
}

bool TCustomDXTimer::AppHook(uint32_t message) {
  if (message == CM_ACTIVATE) {
    FireActivate();
    if (started_ && activeOnly_) InstallIdle();
  } else if (message == CM_DEACTIVATE) {
    FireDeactivate();
    if (started_ && activeOnly_) RemoveIdle();
  }
  return false;
}
