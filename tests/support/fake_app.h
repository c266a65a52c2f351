#pragma once
// A headless application over the fake platform, for tests that drive the real message
// loop with a settable clock and scripted events.

#include <memory>

#include "framework/application.h"
#include "platform/audio_system.h"
#include "platform/fake_platform.h"
#include "platform/input_system.h"

struct FakeApp {
  platform::FakePlatform platform;
  std::unique_ptr<TApplication> app = std::make_unique<TApplication>(platform);

  platform::FakeClock& clock() { return platform.clock(); }
  platform::FakeEventSource& events() { return platform.events(); }
  // Runs the loop for a number of HandleMessage steps.
  void step(int count = 1) {
    for (int i = 0; i < count; ++i) app->HandleMessage();
  }
};
