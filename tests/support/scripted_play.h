#pragma once
// A player made of a script for the whole program on the fake platform: actions at times
// of the game's own clock (which moves a fixed step at every reading, so once a frame),
// carried out whenever the program looks for events. For programs that run their own
// loop to the end, such as a recorded game.

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "platform/fake_input.h"
#include "platform/fake_platform.h"
#include "support/typing.h"

class ScriptedPlay {
 public:
  using Action = std::function<void(ScriptedPlay&)>;

  // frameMs: the clock's step at every reading. The high-resolution counter moves on a
  // little at every reading too, so that every re-seeding draws other numbers.
  ScriptedPlay(platform::FakePlatform& fake, uint32_t frameMs) : fake_(fake) {
    fake_.clock().setAutoAdvance(frameMs);
    fake_.clock().setHighResCounter(0x5EED);
    fake_.clock().setHighResAutoAdvance(7919);
    fake_.events().onPoll = [this] { runDue(); };
  }
  ~ScriptedPlay() { fake_.events().onPoll = nullptr; }
  ScriptedPlay(const ScriptedPlay&) = delete;
  ScriptedPlay& operator=(const ScriptedPlay&) = delete;

  // Adds an action at a time in milliseconds of the game's clock (in any order).
  ScriptedPlay& at(uint32_t ms, Action action) {
    actions_.push_back({ms, std::move(action)});
    return *this;
  }

  // Adds an action carried out once, at the first look for events at which the
  // condition holds (from the given time on).
  ScriptedPlay& when(std::function<bool()> condition, Action action, uint32_t fromMs = 0) {
    conditions_.push_back({fromMs, std::move(condition), std::move(action)});
    return *this;
  }

  platform::FakePlatform& fake() { return fake_; }
  // The main window (made first) and the newest window (a box or the name window).
  uint32_t mainWindow() const { return fake_.windows().front()->id(); }
  uint32_t topWindow() const { return fake_.lastWindow()->id(); }

  // A window other than the main one is up: a message box or the name-entry window.
  bool boxShown() const {
    const platform::FakeWindow* top = fake_.lastWindow();
    return top != nullptr && top != fake_.windows().front() && top->visible();
  }

  void focus(bool gained) { fake_.events().pushFocus(mainWindow(), gained); }
  void click(int x, int y) {
    fake_.events().pushMouseMove(mainWindow(), x, y);
    fake_.events().pushMouseDown(mainWindow(), x, y);
    fake_.events().pushMouseUp(mainWindow(), x, y);
  }
  void key(uint32_t window, uint16_t key, uint32_t shift = 0) {
    fake_.events().pushKeyDown(window, key, shift);
    fake_.events().pushKeyUp(window, key, shift);
  }
  void type(uint32_t window, const std::string& text) { PushTyped(fake_.events(), window, text); }
  // Holds exactly these keys for the shark.
  void hold(std::initializer_list<uint16_t> keys) {
    auto& input = static_cast<platform::FakeInputSystem&>(fake_.input());
    input.keys.fill(0);
    for (uint16_t k : keys) input.setKey(k, true);
  }
  // Asks the program to close, as SIGTERM does.
  void close() { fake_.events().pushClose(0); }

 private:
  struct Timed {
    uint32_t ms;
    Action action;
  };
  struct Conditional {
    uint32_t fromMs;
    std::function<bool()> condition;
    Action action;
  };
  void runDue() {
    const uint32_t now = fake_.clock().peekTicks();
    for (size_t i = 0; i < conditions_.size();) {
      if (conditions_[i].fromMs > now || !conditions_[i].condition()) {
        ++i;
        continue;
      }
      Action action = std::move(conditions_[i].action);
      conditions_.erase(conditions_.begin() + static_cast<std::ptrdiff_t>(i));
      action(*this);
    }
    for (size_t i = 0; i < actions_.size();) {
      if (actions_[i].ms > now) {
        ++i;
        continue;
      }
      Action action = std::move(actions_[i].action);
      actions_.erase(actions_.begin() + static_cast<std::ptrdiff_t>(i));
      action(*this);
    }
  }

  platform::FakePlatform& fake_;
  std::vector<Timed> actions_;
  std::vector<Conditional> conditions_;
};
