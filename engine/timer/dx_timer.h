#pragma once
// The frame timer: runs the game from the application's idle loop. On every idle pass it
// decides from the millisecond tick counter whether a frame is due and fires OnTimer
// with the lag count, the number of intervals since the previous frame. It also reports
// the application gaining and losing focus, and can pause while it is in the background.

#include <cstdint>
#include <functional>

#include "framework/component.h"

using TDXTimerEvent = std::function<void(TObject* Sender, int32_t LagCount)>;

class TCustomDXTimer : public TComponent {
 public:
  explicit TCustomDXTimer(TComponent* owner);
  ~TCustomDXTimer() override;
  std::string ClassName() const override { return "TCustomDXTimer"; }

  bool ActiveOnly() const { return activeOnly_; }
  void SetActiveOnly(bool value) { activeOnly_ = value; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  int32_t FramesPerSecond() const { return framesPerSecond_; }
  uint32_t Interval() const { return interval_; }
  void SetInterval(int64_t value);
  bool Started() const { return started_; }

  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TDXTimerEvent OnTimer;

  void Loaded() override;
  void SetStoredProperty(const std::string& name, const TPropertyValue& value) override;

 protected:
  virtual void FireActivate();
  virtual void FireDeactivate();
  virtual void FireTimer(int32_t lagCount);

 private:
  void StartTimer();
  void StopTimer();
  void InstallIdle();
  void RemoveIdle();
  void AppIdle(bool& done);
  bool AppHook(uint32_t message);

  bool activeOnly_ = true;
  bool enabled_ = true;
  int32_t framesPerSecond_ = 0;
  bool started_ = false;
  uint32_t interval_ = 1000;
  uint32_t intervalDivisor_ = 1000;
  int32_t frameCounter_ = 0;
  uint32_t lastTick_ = 0;
  uint32_t rateTick_ = 0;
  int hookId_ = 0;
};

class TDXTimer : public TCustomDXTimer {
 public:
  using TCustomDXTimer::TCustomDXTimer;
  std::string ClassName() const override { return "TDXTimer"; }
};

// FrameCounter x 1000 / window, rounded to the nearest integer, halves to even.
int32_t FramesPerSecondOf(int32_t frames, int32_t windowMs);
