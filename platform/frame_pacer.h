#pragma once
// Frame pacing for presenters that cannot wait for the vertical blank (SDL's software
// renderer, a virtual display, a renderer without vsync): after each shown frame it waits
// for the next refresh of the display, so a game that presents as fast as it can runs at
// the display's rate instead of spinning a whole core. It only ever waits; the time that
// passes stays real time for whoever measures it.

#include <chrono>
#include <functional>
#include <optional>

namespace platform {

class FramePacer {
 public:
  using Clock = std::chrono::steady_clock;
  using Now = std::function<Clock::time_point()>;
  using SleepUntil = std::function<void(Clock::time_point)>;

  // The steady clock and a real sleep.
  FramePacer();
  // For tests: a clock and a sleep of their own.
  FramePacer(Now now, SleepUntil sleepUntil);

  // Hertz of the display; 0 or less (unknown) means 60.
  void setRefreshRate(int hertz);
  Clock::duration period() const { return period_; }

  // Called once a frame is shown. Waits until one period after the previous frame's slot.
  // A frame that comes late by less than a period keeps the cadence (the next wait is
  // shorter); one later than that starts a new cadence instead of hurrying to catch up.
  // `presenterWaited` tells that the presenter itself waited for the vertical blank: then
  // only a frame far quicker than a refresh (a vsync that did not wait) is held back.
  void frameShown(bool presenterWaited);

 private:
  Now now_;
  SleepUntil sleepUntil_;
  Clock::duration period_;
  std::optional<Clock::time_point> next_;
};

}  // namespace platform
