#pragma once
// An input component on a form of a headless application, over scripted devices.

#include <gtest/gtest.h>

#include <memory>

#include "engine/input/dx_input.h"
#include "framework/form.h"
#include "platform/fake_input.h"
#include "support/fake_app.h"

struct InputTest : ::testing::Test {
  FakeApp f;
  platform::FakeInputSystem* sys = nullptr;
  TForm* form = nullptr;

  InputTest() {
    auto fake = std::make_unique<platform::FakeInputSystem>();
    sys = fake.get();
    f.platform.setInput(std::move(fake));
    form = f.app->CreateForm<TForm>();
    setActive(true);
  }

  // A component as a description leaves it: settings applied while loading, then opened.
  TDXInput* create(const std::function<void(TDXInput&)>& settings = nullptr) {
    auto* input = form->CreateComponent<TDXInput>();
    input->ComponentState |= csLoading;
    if (settings) settings(*input);
    input->Loaded();
    return input;
  }

  // The game's joystick settings: dead zones 50, ranges 300.
  static void gameJoystick(TDXInput& input) {
    for (int offset : {kOffsetX, kOffsetY, kOffsetZ}) {
      input.Joystick->SetDeadZones(offset, 50);
      input.Joystick->SetRanges(offset, 300);
    }
    input.Joystick->SetForceFeedback(true);
  }

  void setActive(bool active) {
    f.events().pushFocus(0, active);
    f.app->ProcessMessages();
  }
};
